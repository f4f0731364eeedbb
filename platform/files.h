// Whole-file reads and appends on native (Linux) paths.
#pragma once

#include <string>
#include <string_view>

namespace tamiral {

bool readWholeFile(const std::string& nativePath, std::string& contents);
bool appendToFile(const std::string& nativePath, std::string_view bytes);
bool fileExists(const std::string& nativePath);

// A path as scripts and settings write it (Windows-1252, '\' separators)
// turned into the native path handed to the OS.
std::string nativePath(std::string_view path);

}  // namespace tamiral
