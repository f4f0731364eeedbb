#include <alsa/asoundlib.h>

#include <deque>
#include <vector>

#include "platform/wave_sink.h"

namespace tamiral {

namespace {

// alsa-lib prints its own errors to stderr unless told not to; an absent
// device must be an error code, not a wall of text.
void quietErrorHandler(const char*, int, const char*, int, const char*, ...) {}

class AlsaSink : public WaveSink {
 public:
  explicit AlsaSink(std::string device) : device_(std::move(device)) { snd_lib_error_set_handler(quietErrorHandler); }
  ~AlsaSink() override { close(); }

  int open(const WaveFormat& format) override {
    close();
    int result = snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (result < 0) {
      pcm_ = nullptr;
      return -result;
    }
    snd_pcm_format_t sampleFormat = format.bits == 16 ? SND_PCM_FORMAT_S16_LE : SND_PCM_FORMAT_U8;
    result = snd_pcm_set_params(pcm_, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels, format.rate, 1,
                                500000);
    if (result < 0) {
      close();
      return -result;
    }
    frameBytes_ = format.channels * (format.bits / 8u);
    return 0;
  }

  void close() override {
    if (!pcm_) return;
    snd_pcm_drop(pcm_);
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
    finishedUnreported_ += static_cast<int>(blocks_.size());
    blocks_.clear();
    pending_.clear();
  }

  bool write(const uint8_t* data, size_t length) override {
    if (!pcm_ || frameBytes_ == 0) return false;
    pending_.insert(pending_.end(), data, data + length);
    framesQueued_ += length / frameBytes_;
    blocks_.push_back(framesQueued_);
    feed();
    return true;
  }

  int takeFinishedBlocks() override {
    feed();
    uint64_t played = framesPlayed();
    while (!blocks_.empty() && blocks_.front() <= played) {
      blocks_.pop_front();
      ++finishedUnreported_;
    }
    int finished = finishedUnreported_;
    finishedUnreported_ = 0;
    return finished;
  }

  void reset() override {
    if (pcm_) {
      snd_pcm_drop(pcm_);
      snd_pcm_prepare(pcm_);
    }
    finishedUnreported_ += static_cast<int>(blocks_.size());
    blocks_.clear();
    pending_.clear();
    framesQueued_ = framesWritten_ = 0;
  }

  bool realTime() const override { return true; }
  void advance(int) override {}

 private:
  // Hands the device what it can take now; the rest waits for the next poll.
  void feed() {
    while (pcm_ && !pending_.empty()) {
      snd_pcm_sframes_t frames = snd_pcm_writei(pcm_, pending_.data(), pending_.size() / frameBytes_);
      if (frames == -EAGAIN) return;
      if (frames < 0) {
        if (snd_pcm_recover(pcm_, static_cast<int>(frames), 1) < 0) return;
        continue;
      }
      pending_.erase(pending_.begin(), pending_.begin() + frames * frameBytes_);
      framesWritten_ += static_cast<uint64_t>(frames);
    }
  }

  uint64_t framesPlayed() {
    if (!pcm_) return framesQueued_;
    snd_pcm_sframes_t delay = 0;
    if (snd_pcm_delay(pcm_, &delay) < 0 || delay < 0) delay = 0;
    uint64_t inDevice = static_cast<uint64_t>(delay);
    return framesWritten_ > inDevice ? framesWritten_ - inDevice : 0;
  }

  std::string device_;
  snd_pcm_t* pcm_ = nullptr;
  unsigned frameBytes_ = 1;
  std::vector<uint8_t> pending_;
  std::deque<uint64_t> blocks_;  // frame count at the end of each queued block
  uint64_t framesQueued_ = 0;
  uint64_t framesWritten_ = 0;
  int finishedUnreported_ = 0;
};

}  // namespace

std::unique_ptr<WaveSink> makeSoundDeviceSink(const std::string& device) { return std::make_unique<AlsaSink>(device); }

}  // namespace tamiral
