// A file system that forwards every call to the real one but can make files
// fail part way: writes draw on a number of free bytes, as on a disk that
// fills up (a write beyond them is short, or -1 when nothing fits); reads can
// give an error after so many bytes of each file; closes can report failure.
// The bytes that do go through reach the real files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace tamiral {

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(uint64_t freeBytes = UINT64_MAX) : real_(makeLinuxFileSystem()) {
    state_.freeBytes = freeBytes;
  }

  // Free space shared by every file written from now on.
  void setFreeBytes(uint64_t bytes) { state_.freeBytes = bytes; }
  // Bytes each file opened for reading from now on gives before its reads fail.
  void setReadableBytes(std::optional<uint64_t> bytes) { state_.readableBytes = bytes; }
  // Closes still close the file but report failure.
  void setFailingCloses(bool failing) { state_.failingCloses = failing; }
  // Files opened and not yet closed or destroyed.
  int openFiles() const { return state_.openFiles; }

  std::unique_ptr<File> open(std::string_view path, OpenMode mode) override {
    std::unique_ptr<File> file = real_->open(path, mode);
    if (!file) return nullptr;
    return std::make_unique<FaultyFile>(std::move(file), state_,
                                        mode == OpenMode::kRead ? state_.readableBytes : std::nullopt);
  }
  bool isFile(std::string_view path) override { return real_->isFile(path); }
  bool removeFile(std::string_view path) override { return real_->removeFile(path); }
  bool rename(std::string_view from, std::string_view to) override { return real_->rename(from, to); }
  bool replace(std::string_view from, std::string_view to) override { return real_->replace(from, to); }
  bool makeFolder(std::string_view path) override { return real_->makeFolder(path); }
  bool removeFolder(std::string_view path) override { return real_->removeFolder(path); }
  bool changeFolder(std::string_view path) override { return real_->changeFolder(path); }
  std::string workingFolder() override { return real_->workingFolder(); }
  std::optional<std::vector<DirectoryEntry>> list(std::string_view pattern) override { return real_->list(pattern); }
  std::string nativePath(std::string_view path) override { return real_->nativePath(path); }

 private:
  struct State {
    uint64_t freeBytes = UINT64_MAX;
    std::optional<uint64_t> readableBytes;
    bool failingCloses = false;
    int openFiles = 0;
  };

  class FaultyFile : public File {
   public:
    FaultyFile(std::unique_ptr<File> real, State& state, std::optional<uint64_t> readable)
        : real_(std::move(real)), state_(state), readable_(readable) {
      ++state_.openFiles;
    }
    ~FaultyFile() override { close(); }

    int64_t read(char* buffer, size_t size) override {
      if (readable_) {
        if (*readable_ == 0) return -1;
        size = static_cast<size_t>(std::min<uint64_t>(size, *readable_));
      }
      int64_t got = real_->read(buffer, size);
      if (readable_ && got > 0) *readable_ -= static_cast<uint64_t>(got);
      return got;
    }

    int64_t write(const char* data, size_t size) override {
      if (size == 0) return 0;
      if (state_.freeBytes == 0) return -1;
      int64_t put = real_->write(data, static_cast<size_t>(std::min<uint64_t>(size, state_.freeBytes)));
      if (put > 0) state_.freeBytes -= static_cast<uint64_t>(put);
      return put;
    }

    bool seek(uint64_t offset) override { return real_->seek(offset); }
    std::optional<uint64_t> size() override { return real_->size(); }

    bool close() override {
      if (closed_) return true;
      closed_ = true;
      --state_.openFiles;
      bool closedWell = real_->close();
      return closedWell && !state_.failingCloses;
    }

   private:
    std::unique_ptr<File> real_;
    State& state_;
    std::optional<uint64_t> readable_;
    bool closed_ = false;
  };

  std::unique_ptr<FileSystem> real_;
  State state_;
};

}  // namespace tamiral
