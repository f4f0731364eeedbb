#include "console/window_commands.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

class WindowCommandTest : public EngineTest {};

TEST_F(WindowCommandTest, TelaClearsHidesRestoresAndPlacesTheCursor) {
  struct Case {
    std::string_view line;
    bool ok;
    int clears = 0, hides = 0, restores = 0;
    int x = 1, y = 1;
  } cases[] = {
      {"TELA LIMPA", true, 1},
      {"tela limpa", true, 1},
      {"TELA MINIMIZADA", true, 0, 1},
      {"TELA NORMAL", true, 0, 0, 1},
      {"TELA @10,5", true, 0, 0, 0, 10, 5},
      {"TELA @ 10 , 5 ", true, 0, 0, 0, 10, 5},
      {"TELA @a,5", false},
      {"TELA @10", false},
      {"TELA @10,", false},
      {"TELA p", true, 0, 0, 0, 7, 3},  // p holds "@7,3"
      {"TELA l", false},                // l holds "limpa": a variable's value is not upper-cased
      {"TELA", false},
      {"TELA OUTRA", false},
  };
  setVar("p", "@7,3");
  setVar("l", "limpa");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.clearCount = console.hideCount = console.restoreCount = 0;
    console.gotoXY(1, 1);
    EXPECT_EQ(exec(c.line), c.ok);
    EXPECT_EQ(console.clearCount, c.clears);
    EXPECT_EQ(console.hideCount, c.hides);
    EXPECT_EQ(console.restoreCount, c.restores);
    EXPECT_EQ(console.whereX(), c.x);
    EXPECT_EQ(console.whereY(), c.y);
  }
}

TEST_F(WindowCommandTest, ColoursAndTitleTakeValues) {
  setVar("c", "1");
  EXPECT_TRUE(exec("COR 14"));
  EXPECT_TRUE(exec("FUNDO c"));  // c holds 1
  EXPECT_FALSE(exec("COR \"amarelo\""));
  EXPECT_FALSE(exec("FUNDO"));
  EXPECT_EQ(console.textColour(), 14);
  EXPECT_EQ(console.backgroundColour(), 1);

  setVar("LONGO", std::string(400, 't'));
  EXPECT_TRUE(exec("TITULO $longo"));
  EXPECT_EQ(console.title, std::string(300, 't'));
  EXPECT_TRUE(exec("TÍTULO \"Olá\""_cp));
  EXPECT_EQ(console.title, "Olá"_cp);
  EXPECT_FALSE(exec("TITULO"));
}

}  // namespace
}  // namespace tamiral
