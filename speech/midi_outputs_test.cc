#include "speech/midi_outputs.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tamiral {
namespace {

class Registry : public BackgroundSounds {
 public:
  void addBackgroundSound(BackgroundSound& sound) override { sounds.push_back(&sound); }
  void removeBackgroundSound(BackgroundSound& sound) override { std::erase(sounds, &sound); }
  std::vector<BackgroundSound*> sounds;
};

struct SynthLog {
  std::vector<std::string> calls;
  int16_t level = 0;  // every rendered sample
};

class FakeSynth : public SoftSynth {
 public:
  explicit FakeSynth(SynthLog& log) : log_(log) {}
  void noteOn(int channel, int key, int velocity) override {
    log_.calls.push_back("on " + std::to_string(channel) + " " + std::to_string(key) + " " + std::to_string(velocity));
  }
  void noteOff(int channel, int key) override {
    log_.calls.push_back("off " + std::to_string(channel) + " " + std::to_string(key));
  }
  void programChange(int channel, int program) override {
    log_.calls.push_back("program " + std::to_string(channel) + " " + std::to_string(program));
  }
  void controlChange(int channel, int control, int value) override {
    log_.calls.push_back("control " + std::to_string(channel) + " " + std::to_string(control) + " " +
                         std::to_string(value));
  }
  void reset() override { log_.calls.push_back("reset"); }
  void render(int16_t* frames, size_t count) override { std::fill(frames, frames + 2 * count, log_.level); }

 private:
  SynthLog& log_;
};

// Blocks finish on a clock that advance() moves.
struct SinkLog {
  std::vector<WaveFormat> opened;
  std::vector<std::string> blocks;
  int openError = 0;
  bool closed = false;
};

class ClockSink : public WaveSink {
 public:
  explicit ClockSink(SinkLog& log) : log_(log) {}
  int open(const WaveFormat& format) override {
    log_.opened.push_back(format);
    bytesPerMs_ = format.bytesPerSecond() / 1000.0;
    return log_.openError;
  }
  void close() override { log_.closed = true; }
  bool write(const uint8_t* data, size_t length) override {
    log_.blocks.emplace_back(reinterpret_cast<const char*>(data), length);
    ends_.push_back(std::max(now_, ends_.empty() ? 0.0 : ends_.back()) + length / bytesPerMs_);
    return true;
  }
  int takeFinishedBlocks() override {
    auto finished = std::find_if(ends_.begin(), ends_.end(), [this](double end) { return end > now_; });
    int count = static_cast<int>(finished - ends_.begin());
    ends_.erase(ends_.begin(), finished);
    return count;
  }
  void reset() override { ends_.clear(); }
  bool realTime() const override { return false; }
  void advance(int milliseconds) override { now_ += milliseconds; }

 private:
  SinkLog& log_;
  double bytesPerMs_ = 1;
  double now_ = 0;
  std::vector<double> ends_;
};

class SynthMidiOutputTest : public ::testing::Test {
 protected:
  Registry registry;
  SynthLog synth;
  SinkLog sink;
  bool synthMissing = false;
  SynthMidiOutput output{registry, [this] { return synthMissing ? nullptr : std::make_unique<FakeSynth>(synth); },
                         [this] { return std::make_unique<ClockSink>(sink); }};
};

constexpr size_t kBlockBytes = SynthMidiOutput::kBlockFrames * 4;

TEST_F(SynthMidiOutputTest, MessagesBecomeSynthesizerCalls) {
  ASSERT_TRUE(output.open());
  for (uint32_t message : {0x644190u, 0x4190u, 0x7F4081u, 0x05C0u, 0x5A07B3u, 0xFFu, 63u}) EXPECT_TRUE(output.send(message));
  EXPECT_EQ(synth.calls, (std::vector<std::string>{"on 0 65 100", "off 0 65", "off 1 64", "program 0 5", "control 3 7 90",
                                                   "reset"}));
}

TEST_F(SynthMidiOutputTest, KeepsTheOutputFedWhileOpen) {
  ASSERT_TRUE(output.open());
  EXPECT_EQ(sink.opened, (std::vector<WaveFormat>{WaveFormat{22050, 16, 2}}));
  EXPECT_EQ(registry.sounds, std::vector<BackgroundSound*>{&output});
  EXPECT_TRUE(output.sounding());
  ASSERT_EQ(sink.blocks.size(), size_t{SynthMidiOutput::kBlocksAhead});
  EXPECT_EQ(sink.blocks[0], std::string(kBlockBytes, '\0'));

  synth.level = 1000;
  output.pump(0);  // nothing has finished: nothing more is rendered
  EXPECT_EQ(sink.blocks.size(), size_t{SynthMidiOutput::kBlocksAhead});
  output.pump(24);  // a little over two blocks of 11.6 ms
  ASSERT_EQ(sink.blocks.size(), size_t{SynthMidiOutput::kBlocksAhead} + 2);
  const int16_t* samples = reinterpret_cast<const int16_t*>(sink.blocks.back().data());
  EXPECT_EQ(samples[0], 1000);
  EXPECT_EQ(samples[2 * SynthMidiOutput::kBlockFrames - 1], 1000);
  output.pump(1000);
  EXPECT_EQ(sink.blocks.size(), size_t{SynthMidiOutput::kBlocksAhead} * 2 + 2);

  output.close();
  EXPECT_TRUE(sink.closed);
  EXPECT_TRUE(registry.sounds.empty());
  EXPECT_FALSE(output.sounding());
  EXPECT_FALSE(output.send(0x644190));
}

TEST_F(SynthMidiOutputTest, DoesNotOpenWithoutASynthesizerOrAnOutput) {
  synthMissing = true;
  EXPECT_FALSE(output.open());
  synthMissing = false;
  sink.openError = 2;
  EXPECT_FALSE(output.open());
  EXPECT_TRUE(registry.sounds.empty());
  EXPECT_FALSE(output.send(0x644190));
}

struct Opened {
  std::vector<std::string>& log;
  std::string name;
  bool opens;
};

class NamedOutput : public MidiOutput {
 public:
  explicit NamedOutput(Opened opened) : opened_(std::move(opened)) {}
  bool open() override {
    opened_.log.push_back("open " + opened_.name);
    return opened_.opens;
  }
  void close() override { opened_.log.push_back("close " + opened_.name); }
  bool send(uint32_t) override {
    opened_.log.push_back("send " + opened_.name);
    return true;
  }

 private:
  Opened opened_;
};

TEST(FirstMidiOutputTest, TheFirstOutputThatOpensTakesTheMessages) {
  std::vector<std::string> log;
  FirstMidiOutput output({
      [&] { return std::make_unique<NamedOutput>(Opened{log, "sequencer", false}); },
      [] { return std::unique_ptr<MidiOutput>(); },
      [&] { return std::make_unique<NamedOutput>(Opened{log, "synth", true}); },
      [&] { return std::make_unique<NamedOutput>(Opened{log, "never", true}); },
  });
  EXPECT_FALSE(output.send(0x90));
  ASSERT_TRUE(output.open());
  EXPECT_TRUE(output.send(0x90));
  output.close();
  EXPECT_FALSE(output.send(0x90));
  EXPECT_EQ(log, (std::vector<std::string>{"open sequencer", "open synth", "send synth", "close synth"}));
}

TEST(MidiWaveSettingTest, CapturesGoToAFileOfTheirOwn) {
  struct Case {
    std::string_view speech, midi;
  } cases[] = {
      {"", ""},
      {"nenhuma", "nenhuma"},
      {"hw:1", "hw:1"},
      {"arquivo:/tmp/som.wav", "arquivo:/tmp/som-midi.wav"},
      {"ARQUIVO:/tmp/v1.0/som", "ARQUIVO:/tmp/v1.0/som-midi"},
      {"arquivo:som", "arquivo:som-midi"},
  };
  for (const Case& c : cases) EXPECT_EQ(midiWaveSetting(std::string(c.speech)), c.midi) << c.speech;
}

}  // namespace
}  // namespace tamiral
