// A buffered text file on a handle: lines end in CR LF when written; CR LF
// and LF both end a line when read.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tamiral {

// I/O result codes as scripts see them through CHECA.
inline constexpr int kIoOk = 0;
inline constexpr int kIoEndOfFile = 1;
inline constexpr int kIoReadError = 100;
inline constexpr int kIoWriteError = 101;
inline constexpr int kIoNotOpenForInput = 104;
inline constexpr int kIoNotOpenForOutput = 105;

class TextFile {
 public:
  enum class Direction { kRead, kWrite };
  TextFile(std::unique_ptr<File> file, Direction direction) : file_(std::move(file)), direction_(direction) {}
  ~TextFile() { close(); }

  // The next line without its end; kIoEndOfFile (line empty) when nothing is
  // left.
  int readLine(std::string& line);
  // Buffered; the code reports an error of a buffer written out now.
  int write(std::string_view text);
  int flush();
  // Writes out the buffer and closes; false when anything was lost.
  bool close();

 private:
  bool fillReadBuffer();

  static constexpr size_t kBufferSize = 64 * 1024;
  std::unique_ptr<File> file_;
  Direction direction_;
  std::string readBuffer_;
  size_t readPos_ = 0;
  bool readFailed_ = false;
  std::string writeBuffer_;
  bool writeFailed_ = false;
};

}  // namespace tamiral
