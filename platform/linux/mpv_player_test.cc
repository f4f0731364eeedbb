// The media layer over a real mpv playing a generated sound, with audio
// output off. Skipped only where mpv is not installed (tools/setup.sh
// installs it).
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/media_control.h"
#include "speech/media_interpreter.h"
#include "speech/wave_playback.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

bool programOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (!folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0) return true;
  }
  return false;
}

// Three seconds of a 440 Hz tone, 8-bit mono at 8000 samples per second.
std::string threeSecondTone() {
  constexpr uint32_t kRate = 8000;
  std::string samples;
  for (uint32_t i = 0; i < 3 * kRate; ++i)
    samples += static_cast<char>(128 + std::lround(60 * std::sin(2 * M_PI * 440 * i / kRate)));
  return buildWaveHeader(samples.size(), kRate, 8, 1) + samples;
}

// Polls until the condition holds or the time is up.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool noChildrenLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

class MpvMediaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!programOnPath("mpv")) GTEST_SKIP() << "mpv is not installed (bash tools/setup.sh installs it)";
    MediaOptions options;
    options.audioDevice = "null";
    options.socketFolder = sockets.path();
    media = std::make_unique<MediaInterpreter>(*fs, makeMpvPlayers(options));
  }

  int64_t position() { return std::stoll(media->send("status som position")); }

  TempFolder folder;
  TempFolder sockets;
  std::string tone = folder.write("tom de teste.wav", threeSecondTone());
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  std::unique_ptr<MediaInterpreter> media;
};

TEST_F(MpvMediaTest, PlaysPausesSeeksAndCloses) {
  ASSERT_EQ(media->send("open \"" + tone + "\" alias som"), "1");
  EXPECT_TRUE(std::filesystem::is_empty(sockets.path()));  // nothing left should this process be killed
  EXPECT_EQ(media->send("status som length"), "3000");
  EXPECT_EQ(media->send("status som mode"), "stopped");
  EXPECT_EQ(position(), 0);

  media->send("play som");
  EXPECT_EQ(media->send("status som mode"), "playing");
  EXPECT_TRUE(eventually([&] { return position() >= 300; })) << position();

  media->send("pause som");
  EXPECT_EQ(media->send("status som mode"), "paused");
  // A block already decoded may still move the position a few milliseconds
  // (seen on a loaded machine); once settled it must hold.
  int64_t paused = -1;
  EXPECT_TRUE(eventually([&] {
    int64_t before = position();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    paused = position();
    return paused == before;
  }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(position(), paused);

  media->send("seek som to 2000");
  EXPECT_EQ(position(), 2000);
  EXPECT_EQ(media->send("status som mode"), "stopped");

  media->send("setaudio som left volume to 500");
  media->send("play som");
  EXPECT_TRUE(eventually([&] { return position() > 2000; })) << position();
  EXPECT_TRUE(eventually([&] { return media->send("status som mode") == "stopped"; }));
  EXPECT_GE(position(), 2900);

  media->send("play som from 1000");
  EXPECT_EQ(media->send("status som mode"), "playing");
  EXPECT_TRUE(eventually([&] { return position() > 1000; })) << position();

  media->send("close som");
  EXPECT_EQ(media->send("status som mode"), "");
  EXPECT_TRUE(noChildrenLeft());
}

TEST_F(MpvMediaTest, WhatCannotBePlayedDoesNotOpen) {
  std::string text = folder.write("texto.wav", "isto não é som");
  EXPECT_EQ(media->send("open \"" + text + "\" alias x"), "");
  EXPECT_EQ(media->send("open \"" + folder.path() + "/falta.wav\" alias x"), "");
  EXPECT_TRUE(noChildrenLeft());
}

TEST_F(MpvMediaTest, PlayersEndWithTheMediaLayer) {
  ASSERT_EQ(media->send("open \"" + tone + "\" alias um"), "1");
  ASSERT_EQ(media->send("play \"" + tone + "\""), "");
  EXPECT_EQ(media->send("status \"" + tone + "\" mode"), "playing");
  media.reset();
  EXPECT_TRUE(noChildrenLeft());
}

}  // namespace
}  // namespace tamiral
