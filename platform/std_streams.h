// The process's standard input and output as byte streams: the plain front
// end's keyboard and screen.
#pragma once

#include <memory>
#include <string_view>

namespace tamiral {

class StdStreams {
 public:
  virtual ~StdStreams() = default;
  // Waits up to timeoutMs (-1: forever) for a byte of standard input.
  // False on time-out or at the end of input.
  virtual bool readByte(unsigned char& byte, int timeoutMs) = 0;
  virtual bool inputEnded() const = 0;
  virtual void write(std::string_view bytes) = 0;
};

std::unique_ptr<StdStreams> makeProcessStdStreams();

}  // namespace tamiral
