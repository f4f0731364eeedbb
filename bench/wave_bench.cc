// Wave playback costs that users feel: how long from asking for a sound
// file to its first block reaching the output, and how much CPU a wait for
// audio uses. The output is a stand-in device that takes blocks and finishes
// them in real time (no sound card is needed).
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "speech/wave_playback.h"
#include "tests/support/fake_console.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

using Clock = std::chrono::steady_clock;

class TimedSink : public WaveSink {
 public:
  int open(const WaveFormat& format) override {
    format_ = format;
    return 0;
  }
  void close() override {}
  bool write(const uint8_t*, size_t length) override {
    if (!firstWrite) firstWrite = Clock::now();
    auto start = ends_.empty() ? Clock::now() : std::max(Clock::now(), ends_.back());
    ends_.push_back(start + std::chrono::microseconds(1000000LL * length / format_.bytesPerSecond()));
    return true;
  }
  int takeFinishedBlocks() override {
    int finished = 0;
    while (!ends_.empty() && ends_.front() <= Clock::now()) {
      ends_.erase(ends_.begin());
      ++finished;
    }
    return finished;
  }
  void reset() override { ends_.clear(); }
  bool realTime() const override { return true; }
  void advance(int) override {}

  std::optional<Clock::time_point> firstWrite;

 private:
  WaveFormat format_;
  std::vector<Clock::time_point> ends_;
};

// Waits as the real console does: sleeping in the input wait.
class SleepingConsole : public FakeConsole {
 public:
  void processMessages() override {
    if (playback) playback->collectFinishedBlocks();
  }
  void delayMs(int milliseconds) override {
    struct timespec pause = {0, milliseconds * 1000000L};
    nanosleep(&pause, nullptr);
    processMessages();
  }
  WavePlayback* playback = nullptr;
};

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string waveFile(size_t samples) {
  return buildWaveHeader(samples, 11025, 8, 1) + std::string(samples, '\x90');
}

}  // namespace
}  // namespace tamiral

int main() {
  using namespace tamiral;
  TempFolder folder;
  std::string shortFile = folder.write("curto.wav", waveFile(3000));
  std::string longFile = folder.write("longo.wav", waveFile(11025 * 3));
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();

  std::vector<double> latencies;
  for (int run = 0; run < 200; ++run) {
    SleepingConsole console;
    auto sink = std::make_unique<TimedSink>();
    TimedSink* timed = sink.get();
    WavePlayback playback(console, *fs, std::move(sink));
    console.playback = &playback;
    playback.noWait = true;
    auto start = Clock::now();
    playback.playWaveFile(shortFile);
    latencies.push_back(std::chrono::duration<double, std::micro>(*timed->firstWrite - start).count());
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("playWaveFile to first block: median %.1f us, 95th percentile %.1f us (200 runs, file on disk)\n",
              latencies[100], latencies[190]);

  SleepingConsole console;
  WavePlayback playback(console, *fs, std::make_unique<TimedSink>());
  console.playback = &playback;
  double cpuBefore = cpuSeconds();
  auto start = Clock::now();
  playback.playWaveFile(longFile);  // waits for the 3 s of audio
  double wall = std::chrono::duration<double>(Clock::now() - start).count();
  double cpu = cpuSeconds() - cpuBefore;
  std::printf("waiting for %.2f s of audio used %.4f s of CPU (%.2f%% of a core)\n", wall, cpu, 100 * cpu / wall);
}
