// A sound output that plays in real time and makes no sound: with it, the
// console's waits sleep as they do with a sound device.
#pragma once

#include <utility>

#include "platform/wave_sink.h"

namespace tamiral {

class RealTimeSilence : public WaveSink {
 public:
  int open(const WaveFormat&) override { return 0; }
  void close() override {}
  bool write(const uint8_t*, size_t) override {
    ++queued_;
    return true;
  }
  // Every block has finished by the time anyone asks.
  int takeFinishedBlocks() override { return std::exchange(queued_, 0); }
  void reset() override { queued_ = 0; }
  bool realTime() const override { return true; }
  void advance(int) override {}

 private:
  int queued_ = 0;
};

}  // namespace tamiral
