#include "console/screen_commands.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"
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
