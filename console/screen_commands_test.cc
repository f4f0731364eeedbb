#include "console/screen_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "tests/support/console_runtime_fixture.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

class EscreveTest : public EngineTest {};

TEST_F(EscreveTest, Forms) {
  setVar("n", "3");
  struct Case {
    std::string_view line;
    std::string_view written;
    std::vector<std::string> spoken;
  } cases[] = {
      {"ESCREVE \"valor \" n", "valor 3\n", {"valor 3"}},
      {"ESCREVE \"valor \" n &", "valor 3", {"valor 3"}},
      {"ESCREVE \"a\"$nada\"b\"", "ab\n", {"ab"}},
      {"ESCREVE (2*21)", "42\n", {"42"}},
      {"escreve mudo \"calado\"", "calado\n", {}},
      {"ESCREVE MUDO \"calado\" &", "calado", {}},
      {"ESCREVE mudo&", "\n", {}},
      {"ESCREVE", "\n", {}},
      {"ESCREVE &", "\n", {}},
      {"ESCREVE \"ação\""_cp, "ação\n"_cp, {std::string("ação"_cp)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.written.clear();
    console.spoken.clear();
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(console.written, c.written);
    EXPECT_EQ(console.spoken, c.spoken);
  }
}

TEST_F(EscreveTest, TextLeftThatIsNotAValueFailsAfterWriting) {
  EXPECT_FALSE(exec("ESCREVE \"antes\" = depois"));
  EXPECT_EQ(console.written, "antes\n");
  EXPECT_EQ(console.spoken, (std::vector<std::string>{"antes"}));
}

TEST_F(EscreveTest, HandleFormNeedsADigit) {
  EXPECT_FALSE(exec("ESCREVE #x \"a\""));
  EXPECT_EQ(console.written, "Erro no processamento de arquivo\n");
}

TEST_F(EscreveTest, ResetsIoStatus) {
  rt.run.ioStatus = 5;
  ASSERT_TRUE(exec("ESCREVE \"x\""));
  EXPECT_EQ(rt.run.ioStatus, 0);
}

TEST_F(EngineTest, DebugTurnsOffOnlyForCapitalNOrDash) {
  struct Case {
    std::string_view line;
    bool on;
    std::string_view said;
  } cases[] = {
      {"DEBUG", true, "Debug ligado"},        {"DEBUG -", false, "Debug desligado"},
      {"DEBUG S", true, "Debug ligado"},      {"DEBUG Não"_cp, false, "Debug desligado"},
      {"DEBUG n", true, "Debug ligado"},      {"DEBUG N", false, "Debug desligado"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    rt.run.debugTrace = !c.on;
    console.spoken.clear();
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(rt.run.debugTrace, c.on);
    EXPECT_EQ(console.spoken.back(), c.said);
  }
}

}  // namespace
}  // namespace tamiral

using namespace std::string_literals;

namespace tamiral {
namespace {

using Heard = std::vector<std::string>;

class LeConsoleTest : public ConsoleRuntimeTest {};

TEST_F(LeConsoleTest, LineForms) {
  struct Case {
    std::string_view line;
    std::string offered;
    std::string_view keys;
    std::string stored;
    Heard heard;
    int rowAfter;  // a line end was written when the cursor went down a row
  } cases[] = {
      {"le x", "", "abc<Enter>", "abc", {"char:a", "char:b", "char:c"}, 2},
      {"LÊ x"_cp, "", "ab<BS><Enter>", "a", {"char:a", "char:b", "item:_DEL", "char:b"}, 2},
      {"le x", "", "abc<Esc>", "", {"char:a", "char:b", "char:c"}, 2},
      {"le edita x", "abc", "<End>d<Enter>", "abcd", {"char:d"}, 1},
      {"le edita x", "abc", "<Esc>", "", {}, 1},
      {"le edita x", "abc", "<Up>", "abc", {}, 1},
      {"le mudo x", "", "ab<Enter>", "ab", {}, 2},
      {"le senha x", "", "ab<Enter>", "ab", {}, 2},
      {"le x sobra", "", "z<Enter>", "z", {"char:z"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.clearScreen();
    setVar("x", c.offered);
    ASSERT_TRUE(run(c.line, c.keys));
    EXPECT_EQ(var("x"), c.stored);
    EXPECT_EQ(console.heard, c.heard);
    EXPECT_EQ(console.whereY(), c.rowAfter);
  }
}

TEST_F(LeConsoleTest, SingleKeyForms) {
  struct Case {
    std::string_view line;
    std::string_view keys;
    std::string stored;
    Heard heard;
  } cases[] = {
      {"le x &", "<F1>", "#0#59", {"char:\x00"s}},
      {"le x &", "<Enter>", "#13", {"char:\r"}},
      {"le x &", "a", "a", {"char:a"}},
      {"le mudo x &", "a", "a", {}},
      {"le senha x &", "<Esc>", "#27", {}},
      {"le tecla x", "<Ctrl+Right>", "010#0#116", {"char:\x00"s}},
      {"le tecla x", "a", "000#97", {"char:a"}},
      {"le tecla x", "<Shift+F1>", "100#0#59", {"char:\x00"s}},
      {"le tecla x", "<Ctrl+A>", "010#1", {"char:\x01"}},
      {"le x tecla &", "<Alt+Right>", "001#0#77", {"char:\x00"s}},
      {"le mudo tecla x", "b", "000#98", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_TRUE(run(c.line, c.keys));
    EXPECT_EQ(var("x"), c.stored);
    EXPECT_EQ(console.heard, c.heard);
  }
}

TEST_F(LeConsoleTest, AKeyReadAndDroppedIsTakenWhole) {
  ASSERT_TRUE(run("le &", "<F1>x"));
  ASSERT_TRUE(run("le y &"));
  EXPECT_EQ(var("y"), "x");  // not the F1 code as a character
}

TEST_F(LeConsoleTest, APasswordIsTypedInvisibleAndTheColoursComeBack) {
  console.setTextColor(14);
  ASSERT_TRUE(run("le senha p", "ab<Enter>"));
  EXPECT_EQ(var("p"), "ab");
  EXPECT_EQ(console.model().screenCharAt(1, 1), 'a');
  EXPECT_EQ(console.model().screenAttrAt(1, 1), 0);
  EXPECT_EQ(console.model().screenAttrAt(2, 1), 0);
  EXPECT_EQ(console.textAttr(), 0x0E);
}

TEST_F(LeConsoleTest, APlainLeReadsALineAndKeepsNothing) {
  ASSERT_TRUE(run("le", "abc<Enter>"));
  EXPECT_EQ(console.row(1), "abc");
  EXPECT_EQ(console.heard, Heard{});
  EXPECT_FALSE(run("le 5", "<Enter>"));
  EXPECT_FALSE(run("le mudo", "<Enter>"));
}

TEST_F(EngineTest, LeMouseGivesThePointerOrZeroBeforeAnyReport) {
  struct Case {
    std::string_view line;
    bool ok;
    std::string x, y;
  } cases[] = {
      {"LE MOUSE x y", true, "0", "0"},
      {"le rato tela x y", true, "0", "0"},
      {"LE MOUSE x", false, "-", "-"},
      {"LE MOUSE x y z", false, "0", "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    setVar("x", "-");
    setVar("y", "-");
    EXPECT_EQ(exec(c.line), c.ok);
    if (c.ok) {
      EXPECT_EQ(var("x"), c.x);
      EXPECT_EQ(var("y"), c.y);
    }
  }
  console.pointer = TalkingConsole::PointerPosition{26, 56};
  ASSERT_TRUE(exec("LE MOUSE $px $py"));
  EXPECT_EQ(var("PX"), "26");
  EXPECT_EQ(var("PY"), "56");
}

}  // namespace
}  // namespace tamiral
