#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>

#include "engine/cp1252.h"
#include "engine/text.h"
#include "platform/file_system.h"

namespace tamiral {

namespace {

class LinuxFile : public File {
 public:
  explicit LinuxFile(int fd) : fd_(fd) {}
  ~LinuxFile() override { close(); }

  int64_t read(char* buffer, size_t size) override {
    for (;;) {
      ssize_t got = ::read(fd_, buffer, size);
      if (got < 0 && errno == EINTR) continue;
      return got;
    }
  }

  int64_t write(const char* data, size_t size) override {
    size_t done = 0;
    while (done < size) {
      ssize_t put = ::write(fd_, data + done, size - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return done > 0 ? static_cast<int64_t>(done) : -1;
      done += static_cast<size_t>(put);
    }
    return static_cast<int64_t>(done);
  }

  bool seek(uint64_t offset) override { return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0; }

  std::optional<uint64_t> size() override {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return std::nullopt;
    return static_cast<uint64_t>(info.st_size);
  }

  bool close() override {
    if (fd_ < 0) return true;
    int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

std::string environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Names compared as Windows does: without regard to case.
std::string foldedName(std::string_view utf8Name) { return upperPt(utf8ToCp1252(utf8Name)); }

bool pathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool folderExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder above the one holding this program: the install prefix when
// the program is installed ("<prefix>/bin/roteiro").
std::string programPrefix() {
  static const std::string prefix = [] {
    char exe[4096];
    ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe);
    if (length <= 0 || length == static_cast<ssize_t>(sizeof exe)) return std::string();
    std::string path(exe, static_cast<size_t>(length));
    path.erase(path.rfind('/'));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.erase(slash);
  }();
  return prefix;
}

// Without TAMIRAL_DRIVE_X: the user's folder when it exists, else the one
// installed with the program, else the build tree's; the last two carry the
// data (letters folder), so programs find it with or without an install.
std::string defaultDriveFolder(char lower) {
  std::string name = std::string("/drive_") + lower;
  std::string user = environmentVariable("HOME") + "/.local/share/tamiral" + name;
  if (folderExists(user)) return user;
  std::string prefix = programPrefix();
  if (!prefix.empty() && folderExists(prefix + "/share/tamiral" + name)) return prefix + "/share/tamiral" + name;
#ifdef TAMIRAL_BUILD_DRIVES
  if (folderExists(TAMIRAL_BUILD_DRIVES + name)) return TAMIRAL_BUILD_DRIVES + name;
#endif
  return user;
}

class LinuxFileSystem : public FileSystem {
 public:
  std::unique_ptr<File> open(std::string_view path, OpenMode mode) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kRead: flags |= O_RDONLY; break;
      case OpenMode::kWrite: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
      case OpenMode::kAppend: flags |= O_WRONLY | O_APPEND; break;
      case OpenMode::kCreateNew: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
    }
    int fd = ::open(nativePath(path).c_str(), flags, 0644);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<LinuxFile>(fd);
  }

  bool isFile(std::string_view path) override {
    struct stat info {};
    return ::stat(nativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
  }

  // Deleting a folder is not deleting a file.
  bool removeFile(std::string_view path) override { return isFile(path) && ::unlink(nativePath(path).c_str()) == 0; }

  bool rename(std::string_view from, std::string_view to) override {
    std::string source = nativePath(from), destination = nativePath(to);
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without no-replace renames: check, then rename.
    return !pathExists(destination) && ::rename(source.c_str(), destination.c_str()) == 0;
  }

  bool replace(std::string_view from, std::string_view to) override {
    return ::rename(nativePath(from).c_str(), nativePath(to).c_str()) == 0;
  }

  bool makeFolder(std::string_view path) override { return ::mkdir(nativePath(path).c_str(), 0755) == 0; }
  bool removeFolder(std::string_view path) override { return ::rmdir(nativePath(path).c_str()) == 0; }
  bool changeFolder(std::string_view path) override { return ::chdir(nativePath(path).c_str()) == 0; }

  std::string workingFolder() override {
    char* cwd = ::getcwd(nullptr, 0);
    std::string folder = cwd ? utf8ToCp1252(cwd) : std::string(".");
    std::free(cwd);
    return folder;
  }

  std::optional<std::vector<DirectoryEntry>> list(std::string_view pattern) override {
    size_t slash = pattern.find_last_of("/\\");
    std::string_view folder = slash == std::string_view::npos ? std::string_view() : pattern.substr(0, slash + 1);
    std::string_view namePattern = slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);
    std::string native = folder.empty() ? std::string(".") : nativePath(folder);
    DIR* dir = ::opendir(native.c_str());
    if (!dir) return std::nullopt;
    std::vector<DirectoryEntry> entries;
    while (dirent* entry = ::readdir(dir)) {
      std::string_view name = entry->d_name;
      bool dots = name == "." || name == "..";
      if (dots && isRootFolder(native)) continue;  // as on Windows, a root has neither
      std::string shown = utf8ToCp1252(name);
      if (!matchesPattern(shown, namePattern)) continue;
      DirectoryEntry found;
      found.name = shown;
      found.isFolder = isFolderEntry(native, entry);
      found.isHidden = !dots && name.front() == '.';
      entries.push_back(std::move(found));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
      auto rank = [](const DirectoryEntry& e) { return e.name == "." ? 0 : e.name == ".." ? 1 : 2; };
      if (rank(a) != rank(b)) return rank(a) < rank(b);
      return upperPt(a.name) < upperPt(b.name);
    });
    return entries;
  }

  std::string nativePath(std::string_view path) override {
    std::string text(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    std::string mapped;
    if (text.size() >= 2 && isAsciiLetter(text[0]) && text[1] == ':') {
      mapped = driveFolder(text[0]);
      std::string_view rest = std::string_view(text).substr(2);
      if (!rest.empty() && rest.front() != '/') mapped += '/';
      mapped += cp1252ToUtf8(rest);
    } else {
      mapped = cp1252ToUtf8(text);
    }
    return matchCase(mapped);
  }

 private:
  static bool isRootFolder(const std::string& native) {
    char* real = ::realpath(native.c_str(), nullptr);
    bool root = real && std::string_view(real) == "/";
    std::free(real);
    return root;
  }

  static bool isFolderEntry(const std::string& folder, const dirent* entry) {
    if (entry->d_type == DT_DIR) return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return false;
    struct stat info {};
    return ::stat((folder + "/" + entry->d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::string driveFolder(char letter) {
    char lower = static_cast<char>(letter | 0x20);
    std::string variable = "TAMIRAL_DRIVE_";
    variable += static_cast<char>(lower - 0x20);
    std::string folder = environmentVariable(variable.c_str());
    if (folder.empty()) folder = defaultDriveFolder(lower);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
  }

  // Each component missing under its exact name takes the name of an entry
  // that differs only in case; one with no such entry stays as written.
  static std::string matchCase(const std::string& path) {
    if (path.empty() || pathExists(path)) return path;
    std::string resolved = path.front() == '/' ? "/" : "";
    size_t start = resolved.size();
    bool searching = true;
    while (start <= path.size()) {
      size_t end = path.find('/', start);
      if (end == std::string::npos) end = path.size();
      std::string component = path.substr(start, end - start);
      if (!component.empty()) {
        if (!resolved.empty() && resolved.back() != '/') resolved += '/';
        if (searching && component != "." && component != ".." && !pathExists(resolved + component)) {
          std::optional<std::string> match = caseInsensitiveEntry(resolved.empty() ? "." : resolved, component);
          if (match) {
            component = *match;
          } else {
            searching = false;  // nothing below a missing folder can exist
          }
        }
        resolved += component;
      }
      if (end == path.size()) break;
      start = end + 1;
    }
    if (path.back() == '/' && (resolved.empty() || resolved.back() != '/')) resolved += '/';
    return resolved;
  }

  static std::optional<std::string> caseInsensitiveEntry(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return std::nullopt;
    std::string wanted = foldedName(name);
    std::optional<std::string> found;
    while (dirent* entry = ::readdir(dir)) {
      if (foldedName(entry->d_name) == wanted) {
        found = entry->d_name;
        break;
      }
    }
    ::closedir(dir);
    return found;
  }
};

}  // namespace

std::unique_ptr<FileSystem> makeLinuxFileSystem() { return std::make_unique<LinuxFileSystem>(); }

}  // namespace tamiral
