#include "platform/file_system.h"

#include "engine/text.h"

namespace tamiral {

namespace {

// Classic wildcard matching with one backtracking point per '*'.
bool wildcardMatch(std::string_view name, std::string_view pattern) {
  size_t n = 0, p = 0, starPattern = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || upperPtChar(pattern[p]) == upperPtChar(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::optional<std::string> readWholeFile(FileSystem& fs, std::string_view path) {
  std::unique_ptr<File> file = fs.open(path, OpenMode::kRead);
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[8192];
  int64_t got;
  while ((got = file->read(chunk, sizeof chunk)) > 0) bytes.append(chunk, static_cast<size_t>(got));
  file->close();
  if (got < 0) return std::nullopt;
  return bytes;
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  // "x.*" also matches "x" with no extension, as Windows does.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      wildcardMatch(name, pattern.substr(0, pattern.size() - 2))) {
    return true;
  }
  return wildcardMatch(name, pattern);
}

}  // namespace tamiral
