#include "speech/media_interpreter.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "engine/cp1252.h"

namespace tamiral {
namespace {

TEST(MediaStringsTest, ReadsTheFormsScriptsSend) {
  struct Case {
    std::string_view text;
    MediaVerb verb;
    std::string_view device;
    std::string_view type = "";
    std::string_view alias = "";
  } cases[] = {
      {"open \"c:\\som\\a b.wav\" alias myfile", MediaVerb::kOpen, "c:\\som\\a b.wav", "", "myfile"},
      {"open \"mpegvideo!https://x.y/v?a=1!b\" alias musica", MediaVerb::kOpen, "https://x.y/v?a=1!b", "mpegvideo",
       "musica"},
      {"OPEN som.mp3 TYPE mpegvideo ALIAS m WAIT", MediaVerb::kOpen, "som.mp3", "mpegvideo", "m"},
      {"open c:\\x!y.wav", MediaVerb::kOpen, "c:\\x!y.wav"},  // not a type before the '!'
      {"play musica from 4000", MediaVerb::kPlay, "musica"},
      {"Play \"c:\\a b.wav\" wait", MediaVerb::kPlay, "c:\\a b.wav"},
      {"pause musica", MediaVerb::kPause, "musica"},
      {"resume musica", MediaVerb::kResume, "musica"},
      {"stop myfile", MediaVerb::kStop, "myfile"},
      {"close all", MediaVerb::kClose, "all"},
      {"seek musica to 5000", MediaVerb::kSeek, "musica"},
      {"seek musica to start", MediaVerb::kSeek, "musica"},
      {"status myfile mode", MediaVerb::kStatus, "myfile"},
      {"setaudio musica left volume to 980", MediaVerb::kSetAudio, "musica"},
      {"setaudio musica volume to 20", MediaVerb::kSetAudio, "musica"},
      {"window musica handle 4242", MediaVerb::kWindow, "musica"},
      {"set musica time format milliseconds", MediaVerb::kSet, "musica"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::optional<MediaCommand> command = parseMediaCommand(c.text);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->verb, c.verb);
    EXPECT_EQ(command->device, c.device);
    EXPECT_EQ(command->deviceType, c.type);
    EXPECT_EQ(command->alias, c.alias);
  }
  EXPECT_EQ(parseMediaCommand("play musica from 4000")->from, 4000);
  EXPECT_EQ(parseMediaCommand("seek musica to 5000")->position, 5000);
  EXPECT_EQ(parseMediaCommand("seek musica to start")->seekTarget, MediaSeekTarget::kStart);
  EXPECT_EQ(parseMediaCommand("status x position")->item, MediaStatusItem::kPosition);
  EXPECT_EQ(parseMediaCommand("setaudio x right volume to 7")->channel, MediaChannel::kRight);
  EXPECT_EQ(parseMediaCommand("setaudio x right volume to 7")->volume, 7);
}

TEST(MediaStringsTest, RefusesWhatItDoesNotKnow) {
  for (std::string_view text : {
           "", "play", "record x", "open", "open x alias", "open x colour red", "play x from", "play x from -5",
           "play x to 100", "seek x 100", "seek x to", "seek x to later", "status x", "status x volume",
           "status x mode now", "setaudio x left volume 5", "setaudio x volume to loud", "window x handle",
           "window x text t", "set x time format frames", "stop x y", "close x y",
       }) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(parseMediaCommand(text));
  }
}

// Players that record what they are told and report what the test sets.
struct PlayerState {
  std::string address;
  std::vector<std::string> calls;
  std::optional<int64_t> position = 0;
  std::optional<int64_t> length = 3000;
  bool ended = false;
  bool alive = true;
};

class FakePlayer : public MediaPlayer {
 public:
  explicit FakePlayer(PlayerState& state) : state_(state) {}
  ~FakePlayer() override { state_.alive = false; }
  void setPaused(bool paused) override { state_.calls.push_back(paused ? "pause" : "play"); }
  void seek(int64_t ms) override { state_.calls.push_back("seek " + std::to_string(ms)); }
  std::optional<int64_t> positionMs() override { return state_.position; }
  std::optional<int64_t> lengthMs() override { return state_.length; }
  bool ended() override { return state_.ended; }
  void setVolume(int left, int right) override {
    state_.calls.push_back("volume " + std::to_string(left) + " " + std::to_string(right));
  }

 private:
  PlayerState& state_;
};

class FakePlayers : public MediaPlayers {
 public:
  explicit FakePlayers(std::vector<std::unique_ptr<PlayerState>>& states) : states_(states) {}
  std::unique_ptr<MediaPlayer> open(const std::string& address) override {
    if (address.find("missing") != std::string::npos) return nullptr;
    states_.push_back(std::make_unique<PlayerState>());
    states_.back()->address = address;
    return std::make_unique<FakePlayer>(*states_.back());
  }

 private:
  std::vector<std::unique_ptr<PlayerState>>& states_;
};

class MediaInterpreterTest : public ::testing::Test {
 protected:
  std::string send(std::string_view text) { return media.send(text); }
  PlayerState& player(size_t n) { return *players.at(n); }

  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  std::vector<std::unique_ptr<PlayerState>> players;
  MediaInterpreter media{*fs, std::make_unique<FakePlayers>(players)};
};

TEST_F(MediaInterpreterTest, OpenAnswersTheLowestFreeDeviceNumber) {
  EXPECT_EQ(send("open \"mpegvideo!https://v.example/x?id=1\" alias musica"), "1");
  EXPECT_EQ(player(0).address, "https://v.example/x?id=1");
  EXPECT_EQ(send("open \"/tmp/a.wav\" alias outro"), "2");
  EXPECT_EQ(send("open \"/tmp/b.wav\" alias MUSICA"), "");  // aliases ignore case
  EXPECT_EQ(send("open \"/tmp/missing.wav\" alias falta"), "");
  EXPECT_EQ(send("close musica"), "");
  EXPECT_FALSE(player(0).alive);
  EXPECT_EQ(send("status musica mode"), "");
  EXPECT_EQ(send("open \"mpegvideo!https://v.example/y\" alias musica"), "1");
  send("close all");
  EXPECT_FALSE(player(1).alive);
  EXPECT_FALSE(player(2).alive);
}

TEST_F(MediaInterpreterTest, FileNamesGoThroughThePathMappingAsUtf8) {
  send("open \"/tmp/canção.wav\" alias m"_cp);
  EXPECT_EQ(player(0).address, "/tmp/canção.wav");
}

TEST_F(MediaInterpreterTest, ModesFollowPlayPauseStopSeekAndTheEnd) {
  send("open \"/tmp/a.wav\" alias m");
  struct Step {
    std::string_view command;
    std::string_view mode;
    std::vector<std::string> calls;
  } steps[] = {
      {"", "stopped", {}},
      {"play m", "playing", {"play"}},
      {"pause m", "paused", {"pause"}},
      {"pause m", "paused", {}},
      {"resume m", "playing", {"play"}},
      {"seek m to 1500", "stopped", {"pause", "seek 1500"}},
      {"resume m", "stopped", {}},  // only a paused device resumes
      {"play m from 1", "playing", {"seek 1", "play"}},
      {"stop m", "stopped", {"pause"}},
      {"seek m to end", "stopped", {"pause", "seek 3000"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.command);
    player(0).calls.clear();
    if (!step.command.empty()) {
      EXPECT_EQ(send(step.command), "");
    }
    EXPECT_EQ(player(0).calls, step.calls);
    EXPECT_EQ(send("status m mode"), step.mode);
  }
  send("play m");
  player(0).ended = true;
  EXPECT_EQ(send("status m mode"), "stopped");
}

TEST_F(MediaInterpreterTest, LengthAndPositionInMilliseconds) {
  send("open \"/tmp/a.wav\" alias m");
  player(0).position = 1234;
  EXPECT_EQ(send("status m length"), "3000");
  EXPECT_EQ(send("STATUS M POSITION"), "1234");
  send("seek m to 2000");
  EXPECT_EQ(send("status m position"), "2000");  // however near the player landed
  send("play m");
  EXPECT_EQ(send("status m position"), "1234");
  player(0).length.reset();  // a live stream
  EXPECT_EQ(send("status m length"), "0");
  EXPECT_EQ(send("status nada length"), "");
  EXPECT_EQ(send("status m tempo"), "");
}

TEST_F(MediaInterpreterTest, ChannelVolumesAreKeptApart) {
  send("open \"/tmp/a.wav\" alias m");
  send("setaudio m left volume to 980");
  send("setaudio m right volume to 2000");
  send("setaudio m volume to 20");
  EXPECT_EQ(player(0).calls, (std::vector<std::string>{"volume 980 1000", "volume 980 1000", "volume 20 20"}));
}

TEST_F(MediaInterpreterTest, PlayOfAFileOpensItAndClosesItOnceEnded) {
  EXPECT_EQ(send("play \"/tmp/a b.wav\""), "");
  ASSERT_EQ(players.size(), 1u);
  EXPECT_EQ(player(0).address, "/tmp/a b.wav");
  EXPECT_EQ(player(0).calls, std::vector<std::string>{"play"});
  EXPECT_EQ(send("status \"/tmp/a b.wav\" mode"), "playing");
  player(0).ended = true;
  send("status x mode");
  EXPECT_FALSE(player(0).alive);
  EXPECT_EQ(send("play \"/tmp/missing.wav\""), "");
}

TEST_F(MediaInterpreterTest, DevicesOpenedByNameStayOpenAfterTheEnd) {
  send("open \"/tmp/a.wav\" alias m");
  send("play m");
  player(0).ended = true;
  EXPECT_EQ(send("status m mode"), "stopped");
  EXPECT_TRUE(player(0).alive);
}

}  // namespace
}  // namespace tamiral
