#include "console/console_model.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "tests/support/recording_front_end.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

// The screen text with these first rows and the rest empty.
std::string screen(std::initializer_list<std::string_view> rows) {
  std::string text;
  int count = 0;
  for (std::string_view row : rows) {
    text.append(row);
    text.push_back('\n');
    ++count;
  }
  for (; count < 25; ++count) text.push_back('\n');
  return text;
}

class ConsoleModelTest : public ::testing::Test {
 protected:
  RecordingFrontEnd frontEnd;
  ConsoleModel console{VideoSettings{}, frontEnd};
};

TEST_F(ConsoleModelTest, StartsBlankInTheIniColoursWithTheCursorHome) {
  VideoSettings video;
  video.textAttr = 0x1E;
  ConsoleModel blue(video, frontEnd);
  EXPECT_EQ(blue.screenText(), screen({}));
  EXPECT_EQ(blue.screenAttrAt(1, 1), 0x1E);
  EXPECT_EQ(blue.screenAttrAt(80, 25), 0x1E);
  EXPECT_EQ(blue.screenCharAt(80, 25), ' ');
  EXPECT_EQ(blue.whereX(), 1);
  EXPECT_EQ(blue.whereY(), 1);
}

TEST_F(ConsoleModelTest, WritingControlCharacters) {
  struct Case {
    std::string_view name;
    std::string bytes;
    std::string expected;
    int x, y;
  } cases[] = {
      {"plain", "abc", screen({"abc"}), 4, 1},
      {"backspace rubs out", "ab\bc", screen({"ac"}), 3, 1},
      {"backspace at column 1", "\bx", screen({"x"}), 2, 1},
      {"backspace leaves a blank", "abc\b\b", screen({"a"}), 2, 1},
      {"carriage return keeps the text", "abc\rX", screen({"Xbc"}), 2, 1},
      {"line feed starts the next row", "ab\ncd", screen({"ab", "cd"}), 3, 2},
      {"crlf", "ab\r\ncd\r\n", screen({"ab", "cd"}), 1, 3},
      {"tab is ignored", "a\tb", screen({"ab"}), 3, 1},
      {"other control bytes too", std::string("a\x01\x0b\x0c\x1b\0b", 7), screen({"ab"}), 3, 1},
      {"high bytes are characters", "\xe7\xe3o", screen({"\xe7\xe3o"}), 4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    RecordingFrontEnd fresh;
    ConsoleModel model(VideoSettings{}, fresh);
    model.writeBuffer(c.bytes);
    EXPECT_EQ(model.screenText(), c.expected);
    EXPECT_EQ(model.whereX(), c.x);
    EXPECT_EQ(model.whereY(), c.y);
  }
}

TEST_F(ConsoleModelTest, BellRingsTheFrontEndAndWritesNothing) {
  console.writeBuffer("a\ab");
  EXPECT_EQ(frontEnd.bells, 1);
  EXPECT_EQ(console.screenText(), screen({"ab"}));
}

TEST_F(ConsoleModelTest, EightyCharactersLeaveTheCursorPastTheRowUntilTheNextOne) {
  std::string row(80, 'x');
  console.writeBuffer(row);
  EXPECT_EQ(console.whereX(), 81);
  EXPECT_EQ(console.whereY(), 1);
  console.writeBuffer("y");
  EXPECT_EQ(console.screenText(), screen({row, "y"}));
  EXPECT_EQ(console.whereX(), 2);
  EXPECT_EQ(console.whereY(), 2);

  // A line end at column 81 makes one new row, not two.
  console.gotoXY(1, 3);
  console.writeBuffer(row + "\r\nz");
  EXPECT_EQ(console.screenText(), screen({row, "y", row, "z"}));
  // Backspace from column 81 rubs out the last cell.
  console.gotoXY(1, 5);
  console.writeBuffer(row + "\b");
  EXPECT_EQ(console.screenCharAt(80, 5), ' ');
  EXPECT_EQ(console.whereX(), 80);
}

TEST_F(ConsoleModelTest, WritingBelowTheLastRowScrollsAndLosesTheTopRow) {
  for (int i = 1; i <= 25; ++i) console.writeBuffer("linha " + std::to_string(i) + (i < 25 ? "\r\n" : ""));
  EXPECT_EQ(console.whereY(), 25);
  console.takeChanges();

  console.setTextBackground(1);
  console.writeBuffer("\r\nnova");
  std::string expected;
  for (int i = 2; i <= 25; ++i) expected += "linha " + std::to_string(i) + "\n";
  EXPECT_EQ(console.screenText(), expected + "nova\n");
  EXPECT_EQ(console.whereY(), 25);
  // The new row is blank in the current colour.
  EXPECT_EQ(console.screenAttrAt(80, 25), 0x1F);
  EXPECT_EQ(console.screenAttrAt(80, 24), 0x0F);
  ConsoleChanges changes = console.takeChanges();
  EXPECT_EQ(changes.scrolls, 1);
  for (const RowSpan& span : changes.rows) EXPECT_EQ(span, (RowSpan{0, 80}));

  // Filling the last cell of row 25 does not scroll until the next character.
  console.gotoXY(1, 25);
  console.writeBuffer(std::string(80, 'z'));
  EXPECT_EQ(console.screenText().substr(0, 8), "linha 2\n");
  console.writeBuffer("!");
  EXPECT_EQ(console.screenText().substr(0, 8), "linha 3\n");
  EXPECT_EQ(console.whereX(), 2);
}

TEST_F(ConsoleModelTest, GotoClampsToTheGrid) {
  struct Case {
    int column, row, x, y;
  } cases[] = {{0, 0, 1, 1}, {200, 99, 80, 25}, {-5, 30, 1, 25}, {80, 25, 80, 25}, {40, 12, 40, 12}};
  for (const Case& c : cases) {
    console.gotoXY(c.column, c.row);
    EXPECT_EQ(console.whereX(), c.x) << c.column << "," << c.row;
    EXPECT_EQ(console.whereY(), c.y) << c.column << "," << c.row;
  }
  console.gotoXY(79, 2);
  console.writeBuffer("ab");
  EXPECT_EQ(console.screenCharAt(79, 2), 'a');
  EXPECT_EQ(console.screenCharAt(80, 2), 'b');
}

TEST_F(ConsoleModelTest, ClearingUsesTheCurrentColour) {
  console.writeBuffer("primeira\r\nsegunda linha");
  console.setTextBackground(4);
  console.gotoXY(4, 2);
  console.clearEndOfLine();
  EXPECT_EQ(console.screenText(), screen({"primeira", "seg"}));
  EXPECT_EQ(console.screenAttrAt(3, 2), 0x0F);
  EXPECT_EQ(console.screenAttrAt(4, 2), 0x4F);
  EXPECT_EQ(console.screenAttrAt(80, 2), 0x4F);
  EXPECT_EQ(console.whereX(), 4);

  console.clearScreen();
  EXPECT_EQ(console.screenText(), screen({}));
  EXPECT_EQ(console.screenAttrAt(1, 1), 0x4F);
  EXPECT_EQ(console.whereX(), 1);
  EXPECT_EQ(console.whereY(), 1);
}

TEST_F(ConsoleModelTest, ColoursChangeOneNibbleEach) {
  console.setTextColor(14);
  console.writeBuffer("a");
  console.setTextBackground(1);
  console.writeBuffer("b");
  console.setTextColor(0x23);  // only the low nibble counts
  console.writeBuffer("c");
  console.setTextBackground(17);
  console.writeBuffer("d");
  EXPECT_EQ(console.screenAttrAt(1, 1), 0x0E);
  EXPECT_EQ(console.screenAttrAt(2, 1), 0x1E);
  EXPECT_EQ(console.screenAttrAt(3, 1), 0x13);
  EXPECT_EQ(console.screenAttrAt(4, 1), 0x13);
  EXPECT_EQ(console.textAttr(), 0x13);
}

TEST_F(ConsoleModelTest, FixedColoursIgnoreColourChanges) {
  VideoSettings video;
  video.fixedColours = true;
  video.textAttr = 0x17;
  ConsoleModel fixed(video, frontEnd);
  fixed.setTextColor(14);
  fixed.setTextBackground(4);
  fixed.writeBuffer("x");
  EXPECT_EQ(fixed.screenAttrAt(1, 1), 0x17);
}

TEST_F(ConsoleModelTest, CellsOutsideTheGridReadAsZero) {
  console.writeBuffer("a");
  for (auto [column, row] : {std::pair{0, 1}, {81, 1}, {1, 0}, {1, 26}}) {
    EXPECT_EQ(console.screenCharAt(column, row), 0);
    EXPECT_EQ(console.screenAttrAt(column, row), 0);
  }
}

TEST_F(ConsoleModelTest, ChangeRecordNamesOnlyWhatChanged) {
  console.takeChanges();
  EXPECT_FALSE(console.takeChanges().any());

  console.gotoXY(10, 3);
  console.writeBuffer("abc");
  console.gotoXY(5, 3);
  console.writeBuffer("x\b");
  console.gotoXY(1, 7);
  console.clearEndOfLine();
  ConsoleChanges changes = console.takeChanges();
  for (int row = 0; row < 25; ++row) {
    RowSpan expected = row == 2 ? RowSpan{4, 12} : row == 6 ? RowSpan{0, 80} : RowSpan{};
    EXPECT_EQ(changes.rows[row], expected) << "row " << row;
  }
  EXPECT_TRUE(changes.cursorMoved);
  EXPECT_EQ(changes.scrolls, 0);
  EXPECT_FALSE(console.takeChanges().any());

  // Each drawing operation hands the change to the front end.
  int before = frontEnd.flushes;
  console.writeBuffer("a");
  console.clearScreen();
  EXPECT_EQ(frontEnd.flushes, before + 2);
}

TEST_F(ConsoleModelTest, DrawingOperationsMakeSureTheConsoleExists) {
  struct Case {
    std::string_view name;
    std::function<void(ConsoleModel&)> operation;
    int created;
  } cases[] = {
      {"write", [](ConsoleModel& m) { m.writeBuffer("a"); }, 1},
      {"clear", [](ConsoleModel& m) { m.clearScreen(); }, 1},
      {"clear end of line", [](ConsoleModel& m) { m.clearEndOfLine(); }, 1},
      {"text colour", [](ConsoleModel& m) { m.setTextColor(1); }, 1},
      {"background", [](ConsoleModel& m) { m.setTextBackground(1); }, 1},
      {"key test", [](ConsoleModel& m) { m.keyPressed(); }, 1},
      {"magnifier on", [](ConsoleModel& m) { m.loadLowVisionSettings(LowVisionSettings{.factor = 2}); }, 1},
      {"magnifier off", [](ConsoleModel& m) { m.loadLowVisionSettings(LowVisionSettings{}); }, 0},
      {"goto", [](ConsoleModel& m) { m.gotoXY(3, 3); }, 0},
  };
  for (const Case& c : cases) {
    RecordingFrontEnd fresh;
    ConsoleModel model(VideoSettings{}, fresh);
    c.operation(model);
    EXPECT_EQ(fresh.created, c.created) << c.name;
  }
}

TEST_F(ConsoleModelTest, TitleIsKeptToSeventyNineCharacters) {
  console.setWindowTitle(std::string(100, 't'));
  EXPECT_EQ(console.title(), std::string(79, 't'));
  ASSERT_EQ(frontEnd.titles.size(), 1u);
  EXPECT_EQ(frontEnd.titles[0], std::string(79, 't'));
}

TEST_F(ConsoleModelTest, Clipboard) {
  EXPECT_EQ(console.pasteFromClipboard(10), "");
  console.copyToClipboard("abcdefg");
  EXPECT_EQ(frontEnd.clipboardTexts, std::vector<std::string>{"abcdefg"});
  struct Case {
    int capacity;
    std::string_view expected;
  } cases[] = {{5, "abcd"}, {8, "abcdefg"}, {100, "abcdefg"}, {1, ""}, {0, ""}, {-3, ""}};
  for (const Case& c : cases) EXPECT_EQ(console.pasteFromClipboard(c.capacity), c.expected) << c.capacity;

  // A platform clipboard text ends at its first zero byte.
  console.copyToClipboard(std::string("um\0dois", 7));
  EXPECT_EQ(console.pasteFromClipboard(100), "um");
}

TEST_F(ConsoleModelTest, KeysWaitInTheBuffer) {
  EXPECT_FALSE(console.keyPressed());
  console.keys().push(13, {.ctrl = true});
  EXPECT_TRUE(console.keyPressed());
  EXPECT_EQ(console.keys().pop(), (QueuedKey{13, {.ctrl = true}}));
}

std::string tinyBmp() {
  // 1 x 1, 24 bits, one red pixel.
  std::string s(54, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
  };
  s[0] = 'B';
  s[1] = 'M';
  put32(10, 54);
  put32(14, 40);
  put32(18, 1);
  put32(22, 1);
  s[26] = 1;
  s[28] = 24;
  return s + std::string("\0\0\xff\0", 4);
}

TEST_F(ConsoleModelTest, PictureLoadDrawAndClear) {
  TempFolder folder;
  std::unique_ptr<FileSystem> files = makeLinuxFileSystem();
  std::string good = folder.write("foto.bmp", tinyBmp());
  std::string old = tinyBmp();
  old[14] = 12;  // the old-style header
  std::string bad = folder.write("velha.bmp", old);

  console.drawPicture(5, 5);  // nothing to draw yet
  EXPECT_FALSE(console.takeChanges().picture);

  ASSERT_TRUE(console.loadPicture(*files, good));
  ASSERT_NE(console.picture(), nullptr);
  EXPECT_EQ(console.picture()->pixel(0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(console.pictureX(), 0);
  EXPECT_EQ(console.pictureY(), 0);

  console.drawPicture(16, 32);
  EXPECT_EQ(console.pictureX(), 16);
  EXPECT_EQ(console.pictureY(), 32);
  EXPECT_TRUE(console.takeChanges().picture);

  // A failed load keeps the picture that was there.
  EXPECT_FALSE(console.loadPicture(*files, bad));
  EXPECT_FALSE(console.loadPicture(*files, folder.path() + "/nenhuma.bmp"));
  ASSERT_NE(console.picture(), nullptr);
  EXPECT_EQ(console.pictureX(), 16);

  console.clearPicture();
  EXPECT_EQ(console.picture(), nullptr);
  ConsoleChanges changes = console.takeChanges();
  EXPECT_TRUE(changes.picture);
  EXPECT_EQ(changes.rows[0], (RowSpan{0, 80}));  // the text underneath shows again
}

TEST_F(ConsoleModelTest, MagnifiedLineIsKeptUntilTheConsoleIsRepainted) {
  console.drawMagnifiedLine("texto", 3);
  EXPECT_FALSE(console.magnifierStrip());  // magnifier off

  TempFolder folder;
  folder.write("config/Tamiral/Tamiral.ini", "[BAIXAVISAO]\nAMPLIACAO=2\nCORLETRA=16\n");
  Environment env;
  env.configHome = folder.path() + "/config";
  env.systemFolder = folder.path() + "/etc";
  console.loadLowVisionSettings(Settings(env));
  EXPECT_EQ(console.magnifier().settings(), (LowVisionSettings{2, 14, 6, 3}));

  console.takeChanges();
  console.drawMagnifiedLine("texto", 3);
  ASSERT_TRUE(console.magnifierStrip());
  EXPECT_EQ(console.magnifierStrip()->before, "t");
  EXPECT_EQ(console.magnifierStrip()->mark, "e");
  EXPECT_TRUE(console.takeChanges().magnifier);

  // Writing over the top rows does not remove it; repainting does.
  console.writeBuffer("x");
  EXPECT_TRUE(console.magnifierStrip());
  console.repaintConsole();
  EXPECT_FALSE(console.magnifierStrip());
  ConsoleChanges changes = console.takeChanges();
  EXPECT_TRUE(changes.magnifier);
  EXPECT_EQ(changes.rows[24], (RowSpan{0, 80}));
}

TEST_F(ConsoleModelTest, AFactorOfZeroLoadedLaterSwitchesTheMagnifierOff) {
  console.loadLowVisionSettings(LowVisionSettings{.factor = 2});
  console.drawMagnifiedLine("texto", 3);
  ASSERT_TRUE(console.magnifierStrip());
  console.loadLowVisionSettings(LowVisionSettings{.factor = 0});
  EXPECT_FALSE(console.magnifierStrip());
  console.drawMagnifiedLine("texto", 3);
  EXPECT_FALSE(console.magnifierStrip());
}

}  // namespace
}  // namespace tamiral
