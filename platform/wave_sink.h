// Where wave blocks go: a sound device, a capture file or nowhere. Blocks
// are queued and finish later; the playback layer polls for finished ones
// from the event loop, so waits stay on the one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace tamiral {

struct WaveFormat {
  uint32_t rate = 11025;
  uint16_t bits = 8;
  uint16_t channels = 1;
  bool operator==(const WaveFormat&) const = default;
  uint32_t bytesPerSecond() const { return rate * channels * (bits / 8u); }
};

class WaveSink {
 public:
  virtual ~WaveSink() = default;
  // 0, or an error code when the output cannot take this format.
  virtual int open(const WaveFormat& format) = 0;
  virtual void close() = 0;
  // Queues one block; false when it cannot be queued.
  virtual bool write(const uint8_t* data, size_t length) = 0;
  // How many queued blocks finished playing since the last call.
  virtual int takeFinishedBlocks() = 0;
  // Drops everything queued at once; those blocks count as finished.
  virtual void reset() = 0;
  // False for outputs that finish blocks on a clock moved by advance()
  // rather than in real time.
  virtual bool realTime() const = 0;
  virtual void advance(int milliseconds) = 0;
};

// The sound device (e.g. "default"); opening reports an error code, never a
// wall of library messages, when there is no device.
std::unique_ptr<WaveSink> makeSoundDeviceSink(const std::string& device);

}  // namespace tamiral
