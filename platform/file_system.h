// Files and folders, reached only through this interface. Paths are given as
// scripts and settings write them (Windows-1252, '\' or '/', optionally a
// drive prefix such as "c:\"); the implementation maps them to the OS:
// '\' becomes '/', a drive prefix becomes that drive's folder, and a path
// component that does not exist under its exact name is matched without
// regard to case. New files and folders keep the name as written.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamiral {

// An open file; no buffering of its own.
class File {
 public:
  virtual ~File() = default;
  // Bytes read, 0 at the end of the file, -1 on an error.
  virtual int64_t read(char* buffer, size_t size) = 0;
  // Bytes written (fewer than asked when the device is full), -1 on an error.
  virtual int64_t write(const char* data, size_t size) = 0;
  virtual bool seek(uint64_t offset) = 0;
  virtual std::optional<uint64_t> size() = 0;
  // False when the OS reports an error on closing.
  virtual bool close() = 0;
};

enum class OpenMode {
  kRead,
  kWrite,      // created, or truncated when it exists
  kAppend,     // written after the existing contents; fails when missing
  kCreateNew,  // created; fails when the name exists
};

struct DirectoryEntry {
  std::string name;  // Windows-1252, without its folder
  bool isFolder = false;
  bool isHidden = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual std::unique_ptr<File> open(std::string_view path, OpenMode mode) = 0;
  virtual bool isFile(std::string_view path) = 0;
  virtual bool removeFile(std::string_view path) = 0;
  // Renames or moves a file; an existing destination is not replaced.
  virtual bool rename(std::string_view from, std::string_view to) = 0;
  // Puts a finished file in place of `to` in one step, replacing it: how a
  // file written under a temporary name becomes the real one.
  virtual bool replace(std::string_view from, std::string_view to) = 0;
  virtual bool makeFolder(std::string_view path) = 0;
  virtual bool removeFolder(std::string_view path) = 0;
  virtual bool changeFolder(std::string_view path) = 0;
  // The working folder as a full path, Windows-1252.
  virtual std::string workingFolder() = 0;
  // The entries of the folder a pattern names ("dir\*.txt"), in name order,
  // "." and ".." first; only names matching its last part ('*' and '?',
  // case ignored). Nothing when the folder cannot be read.
  virtual std::optional<std::vector<DirectoryEntry>> list(std::string_view pattern) = 0;
  // The OS path a script path maps to (UTF-8), for messages and logs.
  virtual std::string nativePath(std::string_view path) = 0;
};

// Where drive prefixes lead: drive "c:" to the folder TAMIRAL_DRIVE_C names
// (any letter), else to drive_c in ~/.local/share/tamiral when that exists,
// else in <install prefix>/share/tamiral, else in the build tree.
std::unique_ptr<FileSystem> makeLinuxFileSystem();

// The whole contents of a file; nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(FileSystem& fs, std::string_view path);

// Windows wildcard matching of one name: '*' any run, '?' one character,
// case ignored; "*.*" matches every name, with or without a dot.
bool matchesPattern(std::string_view name, std::string_view pattern);

}  // namespace tamiral
