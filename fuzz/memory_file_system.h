// Files and folders kept in memory, so fuzzed scripts can open, write, copy,
// rename and remove whatever their paths name without ever reaching the
// disk. Paths fold case like the real mapping and resolve '\', '/', "." and
// ".." against a working folder; every drive letter is an empty root. As on
// a real disk, no part of a path may be longer than 255 bytes.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/text.h"
#include "platform/file_system.h"

namespace tamiral {

class MemoryFileSystem : public FileSystem {
 public:
  std::unique_ptr<File> open(std::string_view path, OpenMode mode) override {
    Resolved where = resolve(path);
    auto found = nodes_.find(where.key);
    bool exists = found != nodes_.end() || isRoot(where.key);
    if (exists && (isRoot(where.key) || found->second.folder)) return nullptr;
    switch (mode) {
      case OpenMode::kRead:
        if (!exists) return nullptr;
        return std::make_unique<MemoryFile>(found->second.data, false, 0);
      case OpenMode::kAppend:
        if (!exists) return nullptr;
        return std::make_unique<MemoryFile>(found->second.data, true, found->second.data->size());
      case OpenMode::kCreateNew:
        if (exists) return nullptr;
        [[fallthrough]];
      case OpenMode::kWrite:
        if (!parentExists(where.key)) return nullptr;
        Node& node = nodes_[where.key];
        node.name = where.name;
        node.data = std::make_shared<std::string>();  // an open handle keeps the old contents
        return std::make_unique<MemoryFile>(node.data, true, 0);
    }
    return nullptr;
  }

  bool isFile(std::string_view path) override {
    auto found = nodes_.find(resolve(path).key);
    return found != nodes_.end() && !found->second.folder;
  }

  bool removeFile(std::string_view path) override {
    auto found = nodes_.find(resolve(path).key);
    if (found == nodes_.end() || found->second.folder) return false;
    nodes_.erase(found);
    return true;
  }

  bool rename(std::string_view from, std::string_view to) override { return move(from, to, false); }
  bool replace(std::string_view from, std::string_view to) override { return move(from, to, true); }

  bool makeFolder(std::string_view path) override {
    Resolved where = resolve(path);
    if (isRoot(where.key) || nodes_.count(where.key) || !parentExists(where.key)) return false;
    nodes_[where.key] = Node{true, where.name, nullptr};
    return true;
  }

  bool removeFolder(std::string_view path) override {
    Resolved where = resolve(path);
    auto found = nodes_.find(where.key);
    if (found == nodes_.end() || !found->second.folder || !children(where.key).empty()) return false;
    nodes_.erase(found);
    return true;
  }

  bool changeFolder(std::string_view path) override {
    Resolved where = resolve(path);
    if (!isFolder(where.key)) return false;
    working_ = where.parts;
    return true;
  }

  std::string workingFolder() override {
    std::string shown = working_[0] + "\\";
    for (size_t i = 1; i < working_.size(); ++i) shown += (i > 1 ? "\\" : "") + working_[i];
    return shown;
  }

  std::optional<std::vector<DirectoryEntry>> list(std::string_view pattern) override {
    Resolved where = resolve(pattern);
    std::string folder = parentKey(where.key);
    if (!isFolder(folder)) return std::nullopt;
    std::vector<DirectoryEntry> entries;
    for (std::string_view dot : {".", ".."}) {
      if (matchesPattern(dot, where.name)) entries.push_back({std::string(dot), true, false});
    }
    std::vector<const Node*> found = children(folder);
    std::sort(found.begin(), found.end(), [](const Node* a, const Node* b) { return upperPt(a->name) < upperPt(b->name); });
    for (const Node* node : found) {
      if (matchesPattern(node->name, where.name)) entries.push_back({node->name, node->folder, node->name.starts_with('.')});
    }
    return entries;
  }

  std::string nativePath(std::string_view path) override { return "/memory/" + resolve(path).key; }

 private:
  static constexpr size_t kMaxName = 255;

  struct Node {
    bool folder = false;
    std::string name;  // the last part as written when created
    std::shared_ptr<std::string> data;
  };

  class MemoryFile : public File {
   public:
    MemoryFile(std::shared_ptr<std::string> data, bool writable, size_t position)
        : data_(std::move(data)), writable_(writable), position_(position) {}
    int64_t read(char* buffer, size_t size) override {
      if (!data_) return -1;
      size_t count = position_ < data_->size() ? std::min(size, data_->size() - position_) : 0;
      if (count) std::memcpy(buffer, data_->data() + position_, count);
      position_ += count;
      return static_cast<int64_t>(count);
    }
    int64_t write(const char* data, size_t size) override {
      if (!data_ || !writable_) return -1;
      if (data_->size() < position_ + size) data_->resize(position_ + size);
      if (size) std::memcpy(data_->data() + position_, data, size);
      position_ += size;
      return static_cast<int64_t>(size);
    }
    // Only within the contents: a seek far past the end would make the next
    // write allocate the gap.
    bool seek(uint64_t offset) override {
      if (!data_ || offset > data_->size()) return false;
      position_ = static_cast<size_t>(offset);
      return true;
    }
    std::optional<uint64_t> size() override {
      if (!data_) return std::nullopt;
      return data_->size();
    }
    bool close() override {
      bool wasOpen = data_ != nullptr;
      data_.reset();
      return wasOpen;
    }

   private:
    std::shared_ptr<std::string> data_;
    bool writable_;
    size_t position_;
  };

  // key: "C:/FOLDER/FILE.TXT", folded; name: the last part as written.
  struct Resolved {
    std::string key;
    std::string name;
    std::vector<std::string> parts;
  };

  Resolved resolve(std::string_view path) const {
    std::string text(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    std::vector<std::string> parts;  // the drive, then each part as written
    std::string_view rest = text;
    if (rest.size() >= 2 && isAsciiLetter(rest[0]) && rest[1] == ':') {
      parts.emplace_back(rest.substr(0, 2));
      rest.remove_prefix(2);
    } else {
      parts = working_;
      if (!rest.empty() && rest.front() == '/') parts.resize(1);  // the working drive's root
    }
    for (std::string_view part : splitView(rest)) {
      if (part == ".") continue;
      if (part == "..") {
        if (parts.size() > 1) parts.pop_back();
        continue;
      }
      parts.emplace_back(part);
    }
    std::string key = upperPt(parts[0]);
    for (size_t i = 1; i < parts.size(); ++i) key += "/" + upperPt(parts[i]);
    bool valid = std::all_of(parts.begin(), parts.end(), [](const std::string& part) { return part.size() <= kMaxName; });
    if (!valid) return {"", "", {}};  // names no node and no folder
    return {key, parts.size() > 1 ? parts.back() : std::string(), parts};
  }

  static std::vector<std::string_view> splitView(std::string_view text) {
    std::vector<std::string_view> parts;
    for (size_t start = 0; start <= text.size();) {
      size_t end = std::min(text.find('/', start), text.size());
      if (end > start) parts.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    return parts;
  }

  static bool isRoot(const std::string& key) { return key.size() == 2 && key[1] == ':'; }
  static std::string parentKey(const std::string& key) {
    size_t slash = key.rfind('/');
    return slash == std::string::npos ? key : key.substr(0, slash);
  }
  bool isFolder(const std::string& key) const {
    auto found = nodes_.find(key);
    return isRoot(key) || (found != nodes_.end() && found->second.folder);
  }
  bool parentExists(const std::string& key) const { return !isRoot(key) && isFolder(parentKey(key)); }

  std::vector<const Node*> children(const std::string& folder) const {
    std::vector<const Node*> found;
    std::string prefix = folder + "/";
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.starts_with(prefix); ++it) {
      if (it->first.find('/', prefix.size()) == std::string::npos) found.push_back(&it->second);
    }
    return found;
  }

  bool move(std::string_view fromPath, std::string_view toPath, bool replacing) {
    Resolved from = resolve(fromPath), to = resolve(toPath);
    auto source = nodes_.find(from.key);
    if (source == nodes_.end() || source->second.folder || !parentExists(to.key)) return false;
    if (from.key == to.key) return true;
    auto target = nodes_.find(to.key);
    if (target != nodes_.end() && (!replacing || target->second.folder)) return false;
    Node moved = std::move(source->second);
    moved.name = to.name;
    nodes_.erase(source);
    nodes_[to.key] = std::move(moved);
    return true;
  }

  std::map<std::string, Node> nodes_;
  std::vector<std::string> working_{"C:"};
};

}  // namespace tamiral
