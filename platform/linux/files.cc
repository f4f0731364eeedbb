#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/cp1252.h"
#include "platform/files.h"

namespace tamiral {

bool readWholeFile(const std::string& nativePath, std::string& contents) {
  int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  contents.clear();
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ::close(fd);
      return got == 0;
    }
    contents.append(buffer, static_cast<size_t>(got));
  }
}

bool appendToFile(const std::string& nativePath, std::string_view bytes) {
  int fd = ::open(nativePath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  while (!bytes.empty()) {
    ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return ::close(fd) == 0 && bytes.empty();
}

bool fileExists(const std::string& nativePath) {
  struct stat info {};
  return ::stat(nativePath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string nativePath(std::string_view path) {
  std::string native = cp1252ToUtf8(path);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

}  // namespace tamiral
