// The line editor's echo latency: from a typed key being in the key buffer
// to its recorded sound being queued on the wave output, and to the typed
// character's bytes being written to the terminal. The editor runs whole:
// the terminal front end with its decoder and diff drawing, the key read,
// the cut of speech, the field redrawn, the character's recording read from
// the letters folder and queued in no-wait mode. The keys are accented
// letters, whose UTF-8 bytes never occur in escape sequences, so the first
// write holding them is the echo on screen.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "console/model_console.h"
#include "console/terminal_front_end.h"
#include "engine/cp1252.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/terminal.h"
#include "platform/wave_sink.h"
#include "speech/settings.h"
#include "speech/wave_capture.h"

namespace tamiral {
namespace {

using SteadyClock = std::chrono::steady_clock;

// What one key is waiting for, and the times measured so far.
struct Probe {
  SteadyClock::time_point keyTime;
  std::string echoBytes;  // the typed character as the terminal receives it
  bool soundPending = false, screenPending = false;
  std::vector<double> soundMicros, screenMicros;

  double since() const { return std::chrono::duration<double, std::micro>(SteadyClock::now() - keyTime).count(); }
};

// A terminal that types one key each time the console waits for input with
// no time limit (so keys never pile up and cut the echo of the one before),
// and notes when the echo of the last key is written.
class TypingTerminal : public Terminal {
 public:
  TypingTerminal(Probe& probe, std::vector<std::string> keys) : probe_(probe), keys_(std::move(keys)) {}

  void takeOver(std::string_view, std::string_view) override {}
  void giveBack() override {}
  void write(std::string_view bytes) override {
    if (probe_.screenPending && bytes.find(probe_.echoBytes) != std::string_view::npos) {
      probe_.screenMicros.push_back(probe_.since());
      probe_.screenPending = false;
    }
  }
  TerminalWake wait(int timeoutMs, std::string& input) override {
    if (timeoutMs >= 0) return {};
    if (next_ == keys_.size()) return {false, 0};
    input = keys_[next_++];
    bool letter = static_cast<unsigned char>(input[0]) >= 0x80;
    probe_.echoBytes = input;
    probe_.soundPending = probe_.screenPending = letter;
    probe_.keyTime = SteadyClock::now();
    return {};
  }
  int64_t nowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now().time_since_epoch()).count();
  }
  TerminalSize size() override { return {}; }
  TerminalEnvironment environment() override { return {"xterm-256color", "truecolor", false, false}; }

 private:
  Probe& probe_;
  std::vector<std::string> keys_;
  size_t next_ = 0;
};

// Notes when the first block of the echo reaches the output, after the
// output itself (a sound device, when given one) has taken it.
class TimingSink : public WaveSink {
 public:
  TimingSink(Probe& probe, std::unique_ptr<WaveSink> device) : probe_(probe), device_(std::move(device)) {}

  int open(const WaveFormat& format) override { return device_ ? device_->open(format) : 0; }
  void close() override {
    if (device_) device_->close();
  }
  bool write(const uint8_t* data, size_t length) override {
    bool queued = device_ ? device_->write(data, length) : true;
    if (probe_.soundPending) {
      probe_.soundMicros.push_back(probe_.since());
      probe_.soundPending = false;
    }
    ++written_;
    return queued;
  }
  int takeFinishedBlocks() override {
    if (device_) return device_->takeFinishedBlocks();
    return std::exchange(written_, 0);
  }
  void reset() override {
    if (device_) device_->reset();
    written_ = 0;
  }
  bool realTime() const override { return true; }
  void advance(int) override {}

 private:
  Probe& probe_;
  std::unique_ptr<WaveSink> device_;
  int written_ = 0;
};

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

// Fields of 50 letters, each ended by Enter.
std::vector<std::string> typedKeys(int fields) {
  static const char* const kLetters[] = {"ç", "é", "ã", "õ", "á", "ê", "í", "ú"};
  std::vector<std::string> keys;
  for (int field = 0; field < fields; ++field) {
    for (int i = 0; i < 50; ++i) keys.emplace_back(kLetters[(field + i) % 8]);
    keys.emplace_back("\r");
  }
  return keys;
}

void measure(const char* output, std::unique_ptr<WaveSink> device, int fields) {
  Probe probe;
  TypingTerminal terminal(probe, typedKeys(fields));
  TerminalFrontEnd frontEnd(terminal);
  Settings settings(readEnvironment());
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  ModelConsole console(frontEnd, frontEnd, settings, *fs, [](int) {});
  console.speech().useWaveSink(std::make_unique<TimingSink>(probe, std::move(device)));
  console.clearScreen();
  for (int field = 0; field < fields; ++field) {
    std::string text;
    console.editField(text, 1, 10, 79, 255);
  }
  console.programEnded(true);
  std::printf("  %-26s keys %5zu  sound: median %6.1f  p99 %6.1f  max %7.1f   screen: median %6.1f  p99 %6.1f  max %7.1f\n",
              output, probe.screenMicros.size(), percentile(probe.soundMicros, 0.5),
              percentile(probe.soundMicros, 0.99), percentile(probe.soundMicros, 1.0),
              percentile(probe.screenMicros, 0.5), percentile(probe.screenMicros, 0.99),
              percentile(probe.screenMicros, 1.0));
  if (probe.soundMicros.size() != probe.screenMicros.size())
    std::printf("  (%zu echoes reached the output: is the letters folder in place?)\n", probe.soundMicros.size());
}

}  // namespace
}  // namespace tamiral

int main() {
  using namespace tamiral;
  std::printf("Key in the key buffer -> its echo (microseconds; goal for the sound: under 5000)\n");
  measure("output call only", nullptr, 40);
  // ALSA's "null" device takes blocks like a sound card and discards them,
  // so its write path is timed where no card exists.
  std::unique_ptr<WaveSink> null = makeSoundDeviceSink("null");
  if (null->open({11025, 8, 1}) == 0) {
    null->close();
    measure("ALSA \"null\" device", std::move(null), 40);
  } else {
    std::printf("  ALSA \"null\" device: not available here\n");
  }
  std::unique_ptr<WaveSink> card = makeSoundDeviceSink("default");
  if (card->open({11025, 8, 1}) == 0) {
    card->close();
    measure("ALSA default device", std::move(card), 40);
  } else {
    std::printf("  ALSA default device: not available here\n");
  }
  return 0;
}
