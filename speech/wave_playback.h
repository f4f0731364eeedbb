// Wave playback: a ring of 16 blocks of up to 8192 bytes queued on one
// output, RIFF WAVE files and images, and the two speed devices (rapid
// playback at 1.5 times the rate, and period dropping that removes every
// other pitch period of mono speech). Every wait handles the console's
// events, and a key press cuts playback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/wave_sink.h"

namespace tamiral {

class TalkingConsole;

// The 44-byte RIFF WAVE header of a sound of dataLength bytes. Block align
// stays 1: every image the runtime builds is 8-bit mono.
std::string buildWaveHeader(size_t dataLength, uint32_t rate, uint16_t bits, uint16_t channels);

// Shortens mono speech in place by dropping every other pitch period;
// 16-bit samples become 8-bit first. Returns the new length in samples.
size_t dropPitchPeriods(uint8_t* samples, size_t length, uint16_t bits, uint32_t rate);

class WavePlayback {
 public:
  static constexpr size_t kBlockSize = 8192;
  static constexpr size_t kMinimumBlock = 256;
  static constexpr int kQueueLimit = 16;

  WavePlayback(TalkingConsole& host, FileSystem& fs, std::unique_ptr<WaveSink> sink)
      : host_(host), fs_(fs), sink_(std::move(sink)) {}

  // 0, or the output's error code. The output stays open while the format
  // does not change; a new format waits for the queue to empty first.
  int configure(const WaveFormat& format);
  // Queues one block (at most kBlockSize); 8-bit mono blocks shorter than
  // kMinimumBlock are padded with silence. False when it could not be queued.
  bool writeBlock(const uint8_t* data, size_t length);
  // Whether blocks are still queued; a pending key stops playback first.
  bool busy();
  void stop();

  // Returns once the last block is queued; 0 or the output's error code.
  int playSamples(std::string samples, uint32_t rate, uint16_t channels, uint16_t bits);
  // A RIFF WAVE image in memory; does not wait. Anything else plays nothing.
  int playWaveImage(std::string_view image);
  // 0, -1 for a missing or non-WAVE file, or the output's error code. Waits
  // for the end unless in no-wait mode.
  int playWaveFile(std::string_view name);

  // From the event loop: blocks the output has finished leave the queue.
  void collectFinishedBlocks();
  // From the event loop's delays: outputs that are not real time move on.
  void advanceClock(int milliseconds) { sink_->advance(milliseconds); }
  bool realTime() const { return sink_->realTime(); }
  int queuedBlocks() const { return queued_; }

  bool noWait = false;
  bool rapidPlayback = false;
  bool periodDropping = false;

 private:
  bool keyPressed();

  TalkingConsole& host_;
  FileSystem& fs_;
  std::unique_ptr<WaveSink> sink_;
  bool open_ = false;
  WaveFormat format_;
  int queued_ = 0;
  std::string block_;
};

}  // namespace tamiral
