#include "console/model_console.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "platform/file_system.h"
#include "tests/support/real_time_silence.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/scripted_events.h"
#include "tests/support/settings_fixture.h"

namespace tamiral {
namespace {

class ModelConsoleTest : public SettingsFolderTest {
 protected:
  void SetUp() override { console.speech().useWaveSink(std::make_unique<RealTimeSilence>()); }
  // The rows of the screen down to the last one holding text.
  std::string shownRows() {
    std::string text = console.model().screenText();
    return text.substr(0, text.find_last_not_of('\n') + 1);
  }

  Settings settings_ = settings();
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  RecordingFrontEnd screen;
  ScriptedEvents events;
  std::optional<int> endStatus;
  ModelConsole console{screen, events, settings_, *fs, [this](int status) { endStatus = status; }};
};

TEST_F(ModelConsoleTest, WritesLandOnTheGridAndAreDrawnAtOnce) {
  console.writeText("Ol\xe1");
  console.writeLine(", mundo");
  console.writeText("segunda");
  console.gotoXY(10, 4);
  int flushesBefore = screen.flushes;
  console.writeText("x");
  EXPECT_EQ(shownRows(), "Ol\xe1, mundo\nsegunda\n\n         x");
  EXPECT_EQ(console.whereX(), 11);
  EXPECT_EQ(console.whereY(), 4);
  EXPECT_GT(screen.flushes, flushesBefore);
  EXPECT_GT(screen.created, 0);
}

TEST_F(ModelConsoleTest, ColoursTitleAndClipboardGoThroughTheModel) {
  console.setTextColor(14);
  console.setTextBackground(1);
  console.writeText("a");
  EXPECT_EQ(console.model().screenAttrAt(1, 1), 0x1E);
  console.setWindowTitle("roteiro.rot");
  EXPECT_EQ(screen.titles, (std::vector<std::string>{"roteiro.rot"}));
  console.copyToClipboard("abc");
  EXPECT_EQ(console.pasteFromClipboard(), "abc");
  EXPECT_EQ(screen.clipboardTexts, (std::vector<std::string>{"abc"}));
}

TEST_F(ModelConsoleTest, ReadKeyWaitsWithTheCaretShownAndKeepsExtendedKeysWhole) {
  events.type("a").key({'\0', 59});
  EXPECT_EQ(console.readKey(), 'a');
  EXPECT_FALSE(events.reading);
  EXPECT_EQ(events.readingWaits, 1);
  EXPECT_EQ(console.readKey(), 0);
  EXPECT_EQ(console.readKey(), 59);
  EXPECT_EQ(events.readingWaits, 2);  // the code byte was already queued
  EXPECT_FALSE(console.keyPressed());
}

TEST_F(ModelConsoleTest, ReadConsoleLineEchoesAndKeepsWhatFits) {
  struct Case {
    std::string_view name;
    std::string_view keys;
    int capacity;
    std::string line;
  } cases[] = {
      {"backspace rubs out", "ab\bc\r", 128, "ac"},
      {"backspace on an empty line", "\b\bx\r", 128, "x"},
      {"control keys ignored", "a\x01\t\x1b" "b\r", 128, "ab"},
      {"capacity minus two kept", "abcdef\r", 5, "abc"},
      {"accented letters", "a\xe7\xe3o\r", 128, "a\xe7\xe3o"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    console.clearScreen();
    events.type(c.keys);
    EXPECT_EQ(console.readConsoleLine(c.capacity), c.line);
    EXPECT_EQ(shownRows(), c.line);
    EXPECT_EQ(console.whereX(), 1);
    EXPECT_EQ(console.whereY(), 2);
  }
}

TEST_F(ModelConsoleTest, ADelayLastsItsTimeAndKeepsKeysTypedMeanwhile) {
  events.keyAt(30, "x");
  console.delayMs(100);
  EXPECT_EQ(events.now, 100);
  EXPECT_TRUE(console.keyPressed());
  EXPECT_EQ(console.readKey(), 'x');
  console.delayMs(-5);
  EXPECT_EQ(events.now, 100);
  console.delayMs(70000);  // a 16-bit count of milliseconds at most
  EXPECT_EQ(events.now, 100 + 65535);
}

TEST_F(ModelConsoleTest, WithoutRealTimeSoundADelayTakesNoTime) {
  ModelConsole capturing(screen, events, settings_, *fs, [](int) {});
  events.keyAt(30, "x");
  capturing.delayMs(100);
  EXPECT_EQ(events.now, 0);
  EXPECT_FALSE(capturing.keyPressed());
}

TEST_F(ModelConsoleTest, TheConsoleGoingAwayEndsTheProgramAndLaterReadsGiveEnter) {
  events.type("ab").end(143);
  EXPECT_EQ(console.readKey(), 'a');
  EXPECT_EQ(console.readKey(), 'b');
  EXPECT_FALSE(endStatus);
  EXPECT_EQ(console.readKey(), 13);
  EXPECT_EQ(endStatus, 143);
  EXPECT_TRUE(events.closed);
  EXPECT_TRUE(console.done());
  int waits = events.readingWaits;
  EXPECT_EQ(console.readConsoleLine(128), "");
  EXPECT_EQ(events.readingWaits, waits);  // nothing waits on a console that is gone
}

TEST_F(ModelConsoleTest, KeysLeftWhenTheConsoleGoesAreDropped) {
  events.keyAt(10, "x").end(129, 15);
  console.delayMs(20);
  EXPECT_EQ(endStatus, 129);
  EXPECT_FALSE(console.keyPressed());
  EXPECT_EQ(console.readKey(), 13);
}

TEST_F(ModelConsoleTest, TheEndOfTheProgramShowsInTheTitleUnlessTheRunFailed) {
  for (bool normally : {true, false}) {
    SCOPED_TRACE(normally);
    RecordingFrontEnd front;
    ScriptedEvents source;
    ModelConsole ending(front, source, settings_, *fs, [](int) {});
    ending.setWindowTitle("roteiro.rot");
    ending.programEnded(normally);
    EXPECT_EQ(front.titles.back(), normally ? "Programa terminado" : "roteiro.rot");
    EXPECT_TRUE(source.closed);
  }
}

TEST_F(ModelConsoleTest, ASpeechStartLoadsTheLowVisionSettings) {
  userIni("[TRADUTOR]\nSAIDADEAUDIO=nenhuma\n[BAIXAVISAO]\nAMPLIACAO=2\n");
  Settings withMagnifier = settings();
  ModelConsole magnifying(screen, events, withMagnifier, *fs, [](int) {});
  EXPECT_FALSE(magnifying.model().magnifier().on());
  magnifying.speechInit(0, "");
  EXPECT_TRUE(magnifying.model().magnifier().on());
  EXPECT_EQ(magnifying.model().magnifier().settings().factor, 2);
}

class CountingSound : public BackgroundSound {
 public:
  void pump(int) override { ++pumps; }
  bool sounding() const override { return true; }
  int pumps = 0;
};

// MIDI sounds beside speech and has no thread of its own: long waits must
// come back to it often.
TEST_F(ModelConsoleTest, SoundBesideSpeechIsFedThroughDelaysAndKeyWaits) {
  CountingSound sound;
  console.speech().addBackgroundSound(sound);
  console.delayMs(100);
  EXPECT_EQ(events.now, 100);
  EXPECT_GE(sound.pumps, 10);
  int beforeKey = sound.pumps;
  events.keyAt(150, "x");
  EXPECT_EQ(console.readKey(), 'x');
  EXPECT_GE(sound.pumps - beforeKey, 5);
  console.speech().removeBackgroundSound(sound);
}

}  // namespace
}  // namespace tamiral
