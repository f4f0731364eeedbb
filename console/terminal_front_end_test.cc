#include "console/terminal_front_end.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "console/model_console.h"
#include "platform/file_system.h"
#include "tests/support/fake_terminal.h"
#include "tests/support/real_time_silence.h"
#include "tests/support/settings_fixture.h"

namespace tamiral {
namespace {

class TerminalFrontEndTest : public SettingsFolderTest {
 protected:
  void SetUp() override { console.speech().useWaveSink(std::make_unique<RealTimeSilence>()); }
  // The bytes written since the last call.
  std::string newlyWritten() {
    std::string bytes = terminal.written.substr(seen_);
    seen_ = terminal.written.size();
    return bytes;
  }

  Settings settings_ = settings();
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  FakeTerminal terminal;
  TerminalFrontEnd frontEnd{terminal};
  std::optional<int> endStatus;
  ModelConsole console{frontEnd, frontEnd, settings_, *fs, [this](int status) { endStatus = status; }};

 private:
  size_t seen_ = 0;
};

TEST_F(TerminalFrontEndTest, TheTerminalIsTakenOverAtFirstUseAndGivenBackOnce) {
  console.setWindowTitle("t\xedtulo");
  EXPECT_EQ(terminal.written, "");
  console.clearScreen();
  EXPECT_EQ(terminal.takeOvers, 1);
  std::string bytes = newlyWritten();
  EXPECT_TRUE(bytes.starts_with(terminalEnterBytes()));
  EXPECT_NE(bytes.find("\x1b]2;t\xc3\xadtulo\a"), std::string::npos);
  console.writeText("ol\xe1\a");
  bytes = newlyWritten();
  EXPECT_NE(bytes.find("ol\xc3\xa1"), std::string::npos);
  EXPECT_NE(bytes.find('\a'), std::string::npos);

  console.programEnded(true);
  bytes = newlyWritten();
  EXPECT_EQ(bytes, "\x1b]2;Programa terminado\a" + std::string(terminalLeaveBytes()));
  EXPECT_EQ(terminal.giveBacks, 1);
  console.writeText("depois");
  console.consoleDone(0);
  EXPECT_EQ(newlyWritten(), "");
  EXPECT_EQ(terminal.giveBacks, 1);
}

TEST_F(TerminalFrontEndTest, TerminalBytesArriveAsKeyBytes) {
  struct Case {
    std::string_view name;
    std::string bytes;
    std::string keys;
  } cases[] = {
      {"F1", "\x1bOP", {'\0', 59}},
      {"Ctrl+Right", "\x1b[1;5C", {'\0', 116}},
      {"Shift+Insert", "\x1b[2;2~", {'\0', static_cast<char>(254)}},
      {"wheel away from the user", "\x1b[<64;10;5M", {'\0', 72}},
      {"wheel toward the user", "\x1b[<65;10;5M", {'\0', 80}},
      {"left click, release ignored", "\x1b[<0;3;4M\x1b[<0;3;4m", "\r"},
      {"Ctrl+C is a key", "\x03", "\x03"},
      {"Ctrl+J is Ctrl+Enter", "\n", "\n"},
      {"UTF-8 letter", "\xc3\xa7", "\xe7"},
      {"sequence split over reads", "\x1b[1;", {'\0', 115}},  // completed below
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    terminal.input(c.bytes, terminal.now);
    if (c.name == "sequence split over reads") terminal.input("5D", terminal.now + 5);
    std::string keys;
    for (size_t i = 0; i < c.keys.size(); ++i) keys += static_cast<char>(console.readKey());
    EXPECT_EQ(keys, c.keys);
    EXPECT_FALSE(console.keyPressed());
  }
}

TEST_F(TerminalFrontEndTest, ThePointerIsWhereTheLastMouseReportPutIt) {
  EXPECT_FALSE(console.pointerPosition());
  terminal.input("\x1b[<0;3;2M\x1b[<0;3;2m", terminal.now);
  console.readKey();
  // Column 3, row 2 (1-based) in cells of the default 13 x 28 pixels.
  std::optional<TalkingConsole::PointerPosition> pointer = console.pointerPosition();
  ASSERT_TRUE(pointer);
  EXPECT_EQ(pointer->x, 26);
  EXPECT_EQ(pointer->y, 28);
}

TEST_F(TerminalFrontEndTest, TheKeyBufferKeepsTheModifiersSeen) {
  terminal.input("\x1b[2;2~");
  ASSERT_TRUE(console.keyPressed());
  std::optional<QueuedKey> first = console.model().keys().peek();
  ASSERT_TRUE(first);
  EXPECT_TRUE(first->modifiers.shift);
  EXPECT_FALSE(first->modifiers.ctrl);
}

TEST_F(TerminalFrontEndTest, ALoneEscIsTheEscKeyOnceTheTimeOutHasPassed) {
  terminal.input("\x1b");
  EXPECT_FALSE(console.keyPressed());
  EXPECT_EQ(console.readKey(), 27);
  EXPECT_GE(terminal.now, kEscTimeoutMs);
  terminal.input("\x1b", terminal.now).input("[A", terminal.now + 5);
  EXPECT_EQ(console.readKey(), 0);
  EXPECT_EQ(console.readKey(), 72);  // Up, not Esc
}

TEST_F(TerminalFrontEndTest, APasteFillsTheClipboardAndIsShiftInsert) {
  console.clearScreen();
  terminal.input("\x1b[200~ol\xc3\xa1\nmundo\x1b[201~");
  EXPECT_EQ(console.readKey(), 0);
  EXPECT_EQ(console.readKey(), 254);
  EXPECT_EQ(console.pasteFromClipboard(), "ol\xe1\r\nmundo");
  EXPECT_EQ(newlyWritten().find("\x1b]52;"), std::string::npos);  // not sent back
  console.copyToClipboard("c\xf3pia");
  EXPECT_NE(newlyWritten().find("\x1b]52;c;Y8OzcGlh\a"), std::string::npos);
}

TEST_F(TerminalFrontEndTest, TheCaretShowsOnlyWhileAReaderWaits) {
  console.writeText("abc");
  EXPECT_EQ(newlyWritten().find("\x1b[?25h"), std::string::npos);
  terminal.input("x", 100);
  EXPECT_EQ(console.readKey(), 'x');
  std::string bytes = newlyWritten();
  size_t shown = bytes.find("\x1b[?25h");
  ASSERT_NE(shown, std::string::npos);
  EXPECT_NE(bytes.find("\x1b[?25l", shown), std::string::npos);
  console.writeText("d");
  EXPECT_EQ(newlyWritten().find("\x1b[?25h"), std::string::npos);
}

TEST_F(TerminalFrontEndTest, ADelayLastsItsTimeWhileKeysArrive) {
  console.clearScreen();
  terminal.input("a", 10).input("b", 30);
  console.delayMs(100);
  EXPECT_EQ(terminal.now, 100);
  EXPECT_EQ(console.readKey(), 'a');
  EXPECT_EQ(console.readKey(), 'b');
}

TEST_F(TerminalFrontEndTest, TheProgramEndsWhenTheTerminalClosesOrAnEndIsAsked) {
  for (int status : {129, 143}) {
    SCOPED_TRACE(status);
    FakeTerminal closing;
    TerminalFrontEnd front(closing);
    std::optional<int> ended;
    ModelConsole waiting(front, front, settings_, *fs, [&](int s) { ended = s; });
    closing.input("a", 0).end(status, 50);
    EXPECT_EQ(waiting.readKey(), 'a');
    EXPECT_EQ(waiting.readKey(), 13);
    EXPECT_EQ(ended, status);
    EXPECT_EQ(closing.giveBacks, 1);
    EXPECT_TRUE(closing.written.ends_with(terminalLeaveBytes()));
  }
}

TEST_F(TerminalFrontEndTest, AResizeDrawsEverythingAgain) {
  console.writeText("antes do tamanho novo");
  newlyWritten();
  terminal.resize({100, 30}, 10);
  console.delayMs(20);
  std::string bytes = newlyWritten();
  EXPECT_NE(bytes.find("\x1b[2J"), std::string::npos);
  EXPECT_NE(bytes.find("antes do tamanho novo"), std::string::npos);
}

}  // namespace
}  // namespace tamiral
