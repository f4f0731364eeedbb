#include "console/terminal_screen.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/recording_front_end.h"
#include "tests/support/terminal_replay.h"

namespace tamiral {
namespace {

TerminalTraits trueColourTerminal(int columns = 80, int rows = 25) {
  TerminalTraits traits;
  traits.trueColour = true;
  traits.size = {columns, rows};
  return traits;
}

// What a cell of the model should look like: its character in Unicode, its
// colours through the colour map and the palette.
char32_t shownCode(uint8_t byte) {
  static constexpr uint8_t kUndefined[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
  if (byte < 0x20 || byte == 0x7F || std::find(std::begin(kUndefined), std::end(kUndefined), byte) != std::end(kUndefined))
    return U'?';
  return cp1252ToCodePoint(byte);
}

TerminalReplay::Colour rgbColour(Rgb rgb) { return {true, rgb.red << 16 | rgb.green << 8 | rgb.blue}; }

class TerminalScreenTest : public ::testing::Test {
 protected:
  void use(TerminalTraits traits, VideoSettings video = {}) {
    model = std::make_unique<ConsoleModel>(video, frontEnd);
    screen = TerminalScreen(traits);
    replay = TerminalReplay(traits.size.columns, traits.size.rows);
  }
  // Sends the update to the replay terminal; returns the bytes sent.
  std::string show() {
    std::string bytes = screen.update(*model);
    replay.feed(bytes);
    return bytes;
  }
  // Every cell the terminal can show matches the model (24-bit colours).
  void expectTerminalShowsTheModel() {
    EXPECT_EQ(replay.errors, std::vector<std::string>{});
    const ColourMap& map = model->video().colourMap;
    int rows = std::min(replay.rows, 25), columns = std::min(replay.columns, 80);
    for (int row = 0; row < rows; ++row) {
      for (int column = 0; column < columns; ++column) {
        const TerminalReplay::Cell& cell = replay.at(row, column);
        uint8_t attr = model->screenAttrAt(column + 1, row + 1);
        SCOPED_TRACE(testing::Message() << "row " << row + 1 << ", column " << column + 1);
        ASSERT_EQ(cell.code, shownCode(model->screenCharAt(column + 1, row + 1)));
        ASSERT_EQ(cell.text, rgbColour(map.colour(attr & 15)));
        ASSERT_EQ(cell.background, rgbColour(map.colour(attr >> 4)));
      }
    }
  }
  void fillScreen() {
    for (int row = 1; row <= 25; ++row) {
      model->gotoXY(1, row);
      model->setTextColor(row % 16);
      model->writeBuffer(std::string(80, static_cast<char>('A' + row % 26)));
    }
    show();
  }

  RecordingFrontEnd frontEnd;
  std::unique_ptr<ConsoleModel> model = std::make_unique<ConsoleModel>(VideoSettings{}, frontEnd);
  TerminalScreen screen{trueColourTerminal()};
  TerminalReplay replay;
};

TEST_F(TerminalScreenTest, TheTerminalShowsWhatTheModelHoldsAfterEveryUpdate) {
  using Step = std::function<void(ConsoleModel&)>;
  auto write = [](std::string text) { return [text](ConsoleModel& m) { m.writeBuffer(text); }; };
  std::string manyLines;
  for (int i = 1; i <= 40; ++i) manyLines += "linha " + std::to_string(i) + "\r\n";
  struct Case {
    std::string_view name;
    TerminalTraits traits;
    std::vector<Step> steps;
  } cases[] = {
      {"text and colours",
       trueColourTerminal(),
       {write("abc"), [](ConsoleModel& m) { m.setTextColor(14); m.setTextBackground(1); },
        write("def\r\n\x80\xe7\xe3 \x81\x7f"), write("\r\nmore")}},
      {"rubbing out and clearing to the end of the row",
       trueColourTerminal(),
       {write("abcdefghij"), [](ConsoleModel& m) { m.gotoXY(3, 1); m.setTextBackground(4); m.clearEndOfLine(); },
        write("x\b")}},
      {"changes far apart on one row",
       trueColourTerminal(),
       {write(std::string(80, '.')),
        [](ConsoleModel& m) {
          m.gotoXY(1, 1); m.writeBuffer("a");
          m.gotoXY(4, 1); m.writeBuffer("b");
          m.gotoXY(40, 1); m.writeBuffer("c");
          m.gotoXY(80, 1); m.writeBuffer("d");
        }}},
      {"writing the last cell and wrapping", trueColourTerminal(),
       {[](ConsoleModel& m) { m.gotoXY(78, 3); }, write("abcd")}},
      {"scrolling a line at a time", trueColourTerminal(),
       {write(manyLines.substr(0, 200)), write("x\r\n"), write("y\r\n"), write("z\r\nw")}},
      {"scrolling several lines in one update", trueColourTerminal(),
       {write(manyLines.substr(0, 300)), write("a\r\nb\r\nc\r\n")}},
      {"scrolling past the whole screen", trueColourTerminal(), {write(manyLines)}},
      {"clearing the screen", trueColourTerminal(),
       {write(manyLines), [](ConsoleModel& m) { m.setTextBackground(2); m.clearScreen(); }, write("ok")}},
      {"a terminal larger than the grid", trueColourTerminal(100, 40), {write(manyLines), write("fim")}},
      {"a terminal smaller than the grid", trueColourTerminal(60, 20),
       {write(manyLines), write(std::string(70, 'x'))}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    use(c.traits);
    show();
    for (const Step& step : c.steps) {
      step(*model);
      show();
      expectTerminalShowsTheModel();
    }
  }
}

TEST_F(TerminalScreenTest, OnlyChangedCellsAreSent) {
  fillScreen();
  model->gotoXY(10, 5);
  std::string bytes = show();
  model->writeBuffer("x");
  bytes = show();
  EXPECT_LT(bytes.size(), 40u) << bytes;
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 'x'), 1);
  EXPECT_EQ(show(), "");  // nothing changed since
  expectTerminalShowsTheModel();
}

TEST_F(TerminalScreenTest, AScrollUsesTheTerminalsScrollInsteadOfARepaint) {
  fillScreen();
  model->gotoXY(1, 25);
  model->writeBuffer("\r\nnova");
  std::string bytes = show();
  EXPECT_NE(bytes.find("\x1b[S"), std::string::npos);
  EXPECT_LT(bytes.size(), 400u);
  expectTerminalShowsTheModel();
}

TEST_F(TerminalScreenTest, SixteenColourTerminalsGetTheStandardColourPlayingEachPart) {
  // Standard colours: 0 black, 1 red, 2 green, 3 yellow, 4 blue, ..., +8 bright.
  struct Case {
    std::string_view name;
    std::string_view tabCores;
    int text, background;
    int shownText, shownBackground;
  } cases[] = {
      {"white on black", "", 15, 0, 15, 0},
      {"brown is yellow, not black", "", 6, 0, 3, 0},
      {"dark grey is bright black, blue is blue", "", 8, 1, 8, 4},
      {"light red on yellow", "", 12, 14, 9, 11},
      {"the colour map first", "15, 0", 0, 1, 15, 0},
      {"a mapped value above 15 is black", "20", 0, 7, 0, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VideoSettings video;
    video.colourMap.apply(c.tabCores);
    use(TerminalTraits{}, video);
    show();
    model->setTextColor(c.text);
    model->setTextBackground(c.background);
    model->writeBuffer("a");
    show();
    EXPECT_EQ(replay.at(0, 0).text, (TerminalReplay::Colour{false, c.shownText}));
    EXPECT_EQ(replay.at(0, 0).background, (TerminalReplay::Colour{false, c.shownBackground}));
    EXPECT_EQ(replay.errors, std::vector<std::string>{});
  }
}

TEST_F(TerminalScreenTest, TwentyFourBitColoursComeFromThePaletteThroughTheColourMap) {
  VideoSettings video;
  video.colourMap.apply("15, 0");
  use(trueColourTerminal(), video);
  model->setTextColor(5);
  model->setTextBackground(0);
  model->writeBuffer("m");
  std::string bytes = show();
  EXPECT_NE(bytes.find("\x1b[38;2;142;0;142;48;2;255;255;255mm"), std::string::npos) << bytes;
}

TEST_F(TerminalScreenTest, TheCaretShowsAtTheCursorOnlyWhileWanted) {
  show();
  model->writeBuffer("abc\r\nde");
  show();
  EXPECT_FALSE(replay.cursorVisible);
  EXPECT_EQ(replay.cursorRow, 1);
  EXPECT_EQ(replay.cursorColumn, 2);
  screen.setCaretShown(true);
  show();
  EXPECT_TRUE(replay.cursorVisible);
  model->gotoXY(80, 25);
  model->writeBuffer("z");  // the cursor rests past the last column
  show();
  EXPECT_EQ(replay.cursorRow, 24);
  EXPECT_EQ(replay.cursorColumn, 79);
  screen.setCaretShown(false);
  show();
  EXPECT_FALSE(replay.cursorVisible);
}

TEST(TerminalBytesTest, TitlesAreUtf8WithoutControlCharacters) {
  EXPECT_EQ(terminalTitleBytes("Cl\xe1udio \x80 teste\x07\x1b"), "\x1b]2;Cl\xc3\xa1udio \xe2\x82\xac teste\a");
  EXPECT_EQ(terminalClipboardBytes("\xe7"), "\x1b]52;c;w6c=\a");
}

TEST(TerminalBytesTest, TraitsFollowTheEnvironment) {
  struct Case {
    TerminalEnvironment environment;
    bool trueColour, doubleSize;
  } cases[] = {
      {{"xterm-256color", "truecolor", false, false}, true, true},
      {{"xterm", "24bit", false, false}, true, true},
      {{"xterm", "", false, false}, false, true},
      {{"tmux-256color", "", true, false}, true, false},
      {{"screen", "", false, true}, false, false},
      {{"linux", "", false, false}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.environment.term + " " + c.environment.colorTerm);
    TerminalTraits traits = terminalTraits(c.environment, {80, 25});
    EXPECT_EQ(traits.trueColour, c.trueColour);
    EXPECT_EQ(traits.doubleSizeLines, c.doubleSize);
  }
}

class MagnifierStripTest : public TerminalScreenTest {
 protected:
  void magnify(bool doubleSize) {
    TerminalTraits traits = trueColourTerminal();
    traits.doubleSizeLines = doubleSize;
    use(traits);
    model->writeBuffer("grade de baixo\r\nsegunda linha\r\nterceira");
    LowVisionSettings lowVision;
    lowVision.factor = 2;
    model->loadLowVisionSettings(lowVision);
    show();
  }
  std::string text = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ";
};

TEST_F(MagnifierStripTest, OnAPlainTerminalTheStripCoversTheTopRowInItsColours) {
  magnify(false);
  model->drawMagnifiedLine(text, 3);
  show();
  EXPECT_EQ(replay.rowText(0), "abcdefghijklmnopqrstuvwxyz0123456789ABCD");  // 80 / 2 characters
  EXPECT_EQ(replay.at(0, 0).text, rgbColour(paletteEntry(14)));
  EXPECT_EQ(replay.at(0, 0).background, rgbColour(paletteEntry(6)));
  EXPECT_EQ(replay.at(0, 1).text, rgbColour(paletteEntry(3)));  // the character before the position
  EXPECT_EQ(replay.at(0, 60).background, rgbColour(paletteEntry(6)));
  EXPECT_EQ(replay.rowText(1), "segunda linha");
  model->repaintConsole();
  show();
  expectTerminalShowsTheModel();
}

TEST_F(MagnifierStripTest, DoubleSizeLinesShowItTwiceAsLargeUntilTheTopRowsChange) {
  magnify(true);
  model->drawMagnifiedLine(text, 3);
  show();
  EXPECT_EQ(replay.lineSize[0], 3);
  EXPECT_EQ(replay.lineSize[1], 4);
  EXPECT_EQ(replay.rowText(0), "abcdefghijklmnopqrstuvwxyz0123456789ABCD");
  EXPECT_EQ(replay.rowText(1), replay.rowText(0));
  EXPECT_EQ(replay.at(1, 1).text, rgbColour(paletteEntry(3)));

  model->gotoXY(1, 10);
  model->writeBuffer("abaixo");  // below the strip: it stays
  show();
  EXPECT_EQ(replay.lineSize[0], 3);

  struct Case {
    std::string_view name;
    std::function<void(ConsoleModel&)> change;
  } cases[] = {
      {"a write on the second row", [](ConsoleModel& m) { m.gotoXY(5, 2); m.writeBuffer("x"); }},
      {"a scroll", [](ConsoleModel& m) { m.gotoXY(1, 25); m.writeBuffer("\r\n"); }},
      {"the strip removed", [](ConsoleModel& m) { m.repaintConsole(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model->drawMagnifiedLine(text, 3);
    show();
    c.change(*model);
    show();
    EXPECT_EQ(replay.lineSize[0], 5);
    EXPECT_EQ(replay.lineSize[1], 5);
    expectTerminalShowsTheModel();
  }
}

TEST_F(TerminalScreenTest, AResetDrawsEverythingAgainAtTheNewSize) {
  fillScreen();
  screen.reset(trueColourTerminal(90, 30));
  replay = TerminalReplay(90, 30);  // a resized terminal may show anything
  show();
  expectTerminalShowsTheModel();
}

}  // namespace
}  // namespace tamiral
