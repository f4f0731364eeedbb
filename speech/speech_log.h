// The speech log: every text handed to speech is appended to a file as one
// UTF-8 line, for scripts, tests and users who read rather than listen.
#pragma once

#include <string>
#include <string_view>

namespace tamiral {

class SpeechLog {
 public:
  // An empty path switches the log off. The path is written as settings
  // write paths (Windows-1252, '\' allowed).
  void open(std::string_view path);
  bool isOpen() const { return !nativePath_.empty(); }
  void append(std::string_view text);

 private:
  std::string nativePath_;
};

}  // namespace tamiral
