#include "speech/media_commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/engine.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_console.h"

namespace tamiral {
namespace {

// One transcript of what was sent and how long the command waited.
class TranscriptConsole : public FakeConsole {
 public:
  explicit TranscriptConsole(std::vector<std::string>& transcript) : transcript_(transcript) {}
  void delayMs(int milliseconds) override { transcript_.push_back("delay " + std::to_string(milliseconds)); }

 private:
  std::vector<std::string>& transcript_;
};

class ScriptedMedia : public MediaControl {
 public:
  using Answer = std::function<std::string(std::string_view)>;
  ScriptedMedia(std::vector<std::string>& transcript, Answer answer)
      : transcript_(transcript), answer_(std::move(answer)) {}
  std::string send(std::string_view command) override {
    transcript_.emplace_back(command);
    return answer_(command);
  }

 private:
  std::vector<std::string>& transcript_;
  Answer answer_;
};

class MediaCommandTest : public ::testing::Test {
 protected:
  MediaCommandTest() { resetEngine(rt); }

  bool exec(std::string_view line) { return executeLine(rt, line, false); }
  void answerWith(ScriptedMedia::Answer answer) { rt.media = std::make_unique<ScriptedMedia>(transcript, answer); }
  // "playing" for the first `times` mode questions, then "stopped".
  void playFor(int times) {
    answerWith([this, times](std::string_view command) -> std::string {
      if (command != "status myfile mode") return "";
      return ++modeQuestions <= times ? "playing" : "stopped";
    });
  }

  std::vector<std::string> transcript;
  int modeQuestions = 0;
  TranscriptConsole console{transcript};
  FakeClock clock;
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  Runtime rt{console, clock, *fs};
};

TEST_F(MediaCommandTest, TocaWaitsForTheEndAskingEveryTenthOfASecond) {
  playFor(2);
  ASSERT_TRUE(exec("TOCA \"som\\musica.mp3\""));
  EXPECT_EQ(transcript, (std::vector<std::string>{
                            "open \"som\\musica.mp3\" alias myfile", "play myfile",
                            "delay 100", "status myfile mode",
                            "delay 100", "status myfile mode",
                            "delay 100", "status myfile mode",
                            "stop myfile", "close myfile",
                        }));
}

TEST_F(MediaCommandTest, AKeyStopsTocaAndIsNotKept) {
  answerWith([this](std::string_view command) -> std::string {
    if (command == "status myfile mode" && ++modeQuestions == 2) console.feedKeys("a\r");
    return command == "status myfile mode" ? "playing" : "";
  });
  ASSERT_TRUE(exec("TOCA \"longa.mp3\""));
  EXPECT_EQ(transcript, (std::vector<std::string>{
                            "open \"longa.mp3\" alias myfile", "play myfile",
                            "delay 100", "status myfile mode",
                            "delay 100", "status myfile mode",
                            "stop myfile", "close myfile",
                        }));
  EXPECT_TRUE(console.keys.empty());
}

TEST_F(MediaCommandTest, TocaWithAmpersandStartsThePlayAndReturns) {
  playFor(1000);
  ASSERT_TRUE(exec("TOCA \"som\\fundo musical.mp3\" &"));
  EXPECT_EQ(transcript, std::vector<std::string>{"play \"som\\fundo musical.mp3\""});
}

TEST_F(MediaCommandTest, TocaAndMciRefuseMissingOrLeftOverArguments) {
  playFor(0);
  for (std::string_view line : {
           "TOCA", "TOCA &", "TOCA \"a.mp3\" \"b.mp3\"", "TOCA \"a.mp3\" & &", "MCI", "MCI r", "MCI \"play x\"",
           "MCI r \"play x\" resto",
       }) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(exec(line));
  }
  EXPECT_TRUE(transcript.empty());
}

TEST_F(MediaCommandTest, MciKeepsTheAnswerEvenWhenEmpty) {
  answerWith([](std::string_view command) -> std::string { return command == "status musica length" ? "215000" : ""; });
  rt.vars.set(rt.vars.namedSlot("COMANDO"), "status musica length");
  ASSERT_TRUE(exec("MCI $duracao $comando"));
  EXPECT_EQ(rt.vars.get(rt.vars.namedSlot("DURACAO")), "215000");
  rt.vars.set(VariableStore::letterSlot('r'), "antes");
  ASSERT_TRUE(exec("mci r \"close musica\""));
  EXPECT_EQ(rt.vars.get(VariableStore::letterSlot('r')), "");
  EXPECT_EQ(transcript, (std::vector<std::string>{"status musica length", "close musica"}));
}

}  // namespace
}  // namespace tamiral
