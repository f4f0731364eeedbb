#include "speech/wave_playback.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/fake_console.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

// Records every block and finishes them on a clock that delays move.
class RecordingSink : public WaveSink {
 public:
  struct State {
    std::vector<WaveFormat> opened;
    std::vector<std::string> blocks;
    std::vector<double> ends;
    double now = 0;
    int resets = 0;
    int openError = 0;
  };
  explicit RecordingSink(State& state) : state_(state) {}
  int open(const WaveFormat& format) override {
    state_.opened.push_back(format);
    format_ = format;
    return state_.openError;
  }
  void close() override {}
  bool write(const uint8_t* data, size_t length) override {
    state_.blocks.emplace_back(reinterpret_cast<const char*>(data), length);
    double start = pending_.empty() ? state_.now : std::max(state_.now, pending_.back());
    pending_.push_back(start + 1000.0 * length / format_.bytesPerSecond());
    return true;
  }
  int takeFinishedBlocks() override {
    int finished = 0;
    while (!pending_.empty() && pending_.front() <= state_.now) {
      pending_.erase(pending_.begin());
      ++finished;
    }
    return finished + std::exchange(dropped_, 0);
  }
  void reset() override {
    ++state_.resets;
    dropped_ += static_cast<int>(pending_.size());
    pending_.clear();
  }
  bool realTime() const override { return false; }
  void advance(int milliseconds) override { state_.now += milliseconds; }

 private:
  State& state_;
  WaveFormat format_;
  std::vector<double> pending_;
  int dropped_ = 0;
};

// The console's event loop, as far as playback sees it: delays move the
// output's clock, and a key can arrive after so many delays.
class LoopConsole : public FakeConsole {
 public:
  void processMessages() override {
    if (playback) playback->collectFinishedBlocks();
  }
  void delayMs(int milliseconds) override {
    ++delays;
    if (delays == keyAfterDelays) keys.push_back('x');
    if (playback) {
      playback->advanceClock(milliseconds);
      playback->collectFinishedBlocks();
    }
  }
  WavePlayback* playback = nullptr;
  int delays = 0;
  int keyAfterDelays = -1;
};

std::string waveFile(std::string_view tag, const std::string& samples, uint32_t rate, uint16_t bits,
                     uint16_t channels) {
  std::string image = buildWaveHeader(samples.size(), rate, bits, channels) + samples;
  image.replace(0, 4, tag);
  return image;
}

class WavePlaybackTest : public ::testing::Test {
 protected:
  WavePlaybackTest() : playback(console, *fs, std::make_unique<RecordingSink>(sink)) { console.playback = &playback; }

  std::string file(std::string_view name, const std::string& contents) { return folder.write(name, contents); }

  LoopConsole console;
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  RecordingSink::State sink;
  WavePlayback playback;
  TempFolder folder;
};

TEST(BuildWaveHeader, Fields) {
  std::string header = buildWaveHeader(1000, 11025, 8, 1);
  ASSERT_EQ(header.size(), 44u);
  EXPECT_EQ(header.substr(0, 4), "RIFF");
  EXPECT_EQ(header.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(header.substr(36, 4), "data");
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(header[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(header[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(header[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(header[at + 3])) << 24;
  };
  EXPECT_EQ(u32(4), 1036u);
  EXPECT_EQ(u32(16), 16u);
  EXPECT_EQ(u32(20) & 0xFFFF, 1u);       // PCM
  EXPECT_EQ(u32(20) >> 16, 1u);          // channels
  EXPECT_EQ(u32(24), 11025u);
  EXPECT_EQ(u32(28), 11025u);
  EXPECT_EQ(u32(32) & 0xFFFF, 1u);       // block align
  EXPECT_EQ(u32(32) >> 16, 8u);          // bits
  EXPECT_EQ(u32(40), 1000u);
}

TEST_F(WavePlaybackTest, DataChunkIsCutSoTheLastBlockKeeps256Bytes) {
  std::string name = file("a.wav", waveFile("RIFF", std::string(8300, 'a'), 11025, 8, 1));
  EXPECT_EQ(playback.playWaveFile(name), 0);
  ASSERT_EQ(sink.blocks.size(), 2u);
  EXPECT_EQ(sink.blocks[0].size(), 7936u);
  EXPECT_EQ(sink.blocks[1].size(), 364u);
  EXPECT_EQ(playback.queuedBlocks(), 0);  // waited for the end
}

TEST_F(WavePlaybackTest, ShortBlocksArePaddedWithSilenceAndEndOnSilence) {
  playback.configure({11025, 8, 1});
  std::string data(100, 'a');
  ASSERT_TRUE(playback.writeBlock(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
  ASSERT_EQ(sink.blocks.size(), 1u);
  std::string expected = std::string(99, 'a') + std::string(157, '\x80');
  EXPECT_EQ(sink.blocks[0], expected);
  std::string full(8192, 'b');
  ASSERT_TRUE(playback.writeBlock(reinterpret_cast<const uint8_t*>(full.data()), full.size()));
  EXPECT_EQ(sink.blocks[1], full);  // a full block is left as it is
}

TEST_F(WavePlaybackTest, FilesThatAreNotWaveFilesPlayNothing) {
  struct Case {
    std::string name;
    std::string contents;
    int result;
    size_t blocks;
  } cases[] = {
      {"minusculas.wav", waveFile("riff", std::string(300, 'a'), 11025, 8, 1), 0, 1},
      {"texto.wav", "isto não é som", -1, 0},
      {"sem_dados.wav", waveFile("RIFF", "", 11025, 8, 1).substr(0, 36), -1, 0},
      {"vazio.wav", "", -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sink.blocks.clear();
    EXPECT_EQ(playback.playWaveFile(file(c.name, c.contents)), c.result);
    EXPECT_EQ(sink.blocks.size(), c.blocks);
  }
  EXPECT_EQ(playback.playWaveFile(folder.path() + "/falta.wav"), -1);
}

TEST_F(WavePlaybackTest, OtherChunksBeforeTheDataAreSkipped) {
  std::string image = buildWaveHeader(0, 11025, 8, 1).substr(0, 36) + "LIST" + std::string("\x04\0\0\0", 4) + "abcd" +
                      "data" + std::string("\x2C\x01\0\0", 4) + std::string(300, 'z');
  EXPECT_EQ(playback.playWaveFile(file("lista.wav", image)), 0);
  ASSERT_EQ(sink.blocks.size(), 1u);
  EXPECT_EQ(sink.blocks[0].substr(0, 299), std::string(299, 'z'));
}

TEST_F(WavePlaybackTest, AKeyCutsALongFileWithinOneBlock) {
  console.keyAfterDelays = 3;
  std::string name = file("longo.wav", waveFile("RIFF", std::string(30 * 8192, 'a'), 11025, 8, 1));
  EXPECT_EQ(playback.playWaveFile(name), 0);
  EXPECT_LE(sink.blocks.size(), 17u);  // the ring was full when the key came; no block after it
  EXPECT_GE(sink.resets, 1);
  EXPECT_EQ(playback.queuedBlocks(), 0);
  EXPECT_EQ(console.keys.size(), 1u);  // the key stays for the next reader
}

TEST_F(WavePlaybackTest, RapidPlaybackAndPeriodDroppingChangeTheFormat) {
  std::string samples16;
  for (int i = 0; i < 22050; ++i) {
    int16_t value = static_cast<int16_t>(8000 * ((i % 147) < 20 ? 1 : 0));  // a pulse every 147 samples
    samples16 += static_cast<char>(value & 0xFF);
    samples16 += static_cast<char>((value >> 8) & 0xFF);
  }
  std::string name = file("voz.wav", waveFile("RIFF", samples16, 22050, 16, 1));
  playback.periodDropping = true;
  playback.rapidPlayback = true;
  EXPECT_EQ(playback.playWaveFile(name), 0);
  ASSERT_FALSE(sink.opened.empty());
  EXPECT_EQ(sink.opened.back(), (WaveFormat{33075, 8, 1}));
  size_t played = 0;
  for (const std::string& block : sink.blocks) played += block.size();
  EXPECT_GT(played, 22050u * 35 / 100);  // about half of the 22050 samples
  EXPECT_LT(played, 22050u * 65 / 100);
}

TEST_F(WavePlaybackTest, PeriodDroppingPrefersARecordedFastVersion) {
  file("som/rapido/msg.wav", waveFile("RIFF", std::string(500, 'r'), 11025, 8, 1));
  std::string name = file("som/msg.wav", waveFile("RIFF", std::string(5000, 'n'), 11025, 8, 1));
  playback.periodDropping = true;
  EXPECT_EQ(playback.playWaveFile(name), 0);
  ASSERT_EQ(sink.blocks.size(), 1u);
  EXPECT_EQ(sink.blocks[0].substr(0, 499), std::string(499, 'r'));
  EXPECT_TRUE(playback.periodDropping);  // switched back on afterwards
}

TEST_F(WavePlaybackTest, AnOutputThatCannotOpenReturnsItsError) {
  sink.openError = 2;
  EXPECT_EQ(playback.playWaveFile(file("a.wav", waveFile("RIFF", std::string(300, 'a'), 11025, 8, 1))), 2);
  EXPECT_TRUE(sink.blocks.empty());
}

TEST_F(WavePlaybackTest, NoWaitModeReturnsWithBlocksQueued) {
  playback.noWait = true;
  EXPECT_EQ(playback.playWaveFile(file("a.wav", waveFile("RIFF", std::string(20000, 'a'), 11025, 8, 1))), 0);
  EXPECT_GT(playback.queuedBlocks(), 0);
  while (playback.busy()) console.delayMs(10);
  EXPECT_EQ(playback.queuedBlocks(), 0);
}

TEST(DropPitchPeriods, ShortSoundsAreLeftAlone) {
  std::vector<uint8_t> samples(999, 128);
  EXPECT_EQ(dropPitchPeriods(samples.data(), samples.size(), 8, 11025), 999u);
  std::vector<uint8_t> sixteen = {0x00, 0x80, 0xFF, 0x7F, 0x00, 0x00};
  EXPECT_EQ(dropPitchPeriods(sixteen.data(), sixteen.size(), 16, 11025), 3u);
  EXPECT_EQ(sixteen[0], 0x00);  // -32768 becomes 0
  EXPECT_EQ(sixteen[1], 0xFF);  // 32767 becomes 255
  EXPECT_EQ(sixteen[2], 0x80);  // 0 becomes 128
}

}  // namespace
}  // namespace tamiral
