#include "commands/arithmetic.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

class ArithmeticTest : public EngineTest {};

TEST_F(ArithmeticTest, SomaCountsOnTheNumberAtTheEndOfTheText) {
  struct Case {
    std::string_view before;
    std::string_view line;
    std::string_view after;
  } cases[] = {
      {"9", "SOMA p 1", "10"},
      {"", "SOMA p 1", "1"},
      {"-1", "SOMA p 1", "0"},
      {"pagina7", "SOMA p 1", "pagina8"},
      {"arq9", "SOMA p 1", "arq10"},
      {"x-3", "SOMA p 1", "x-2"},
      {"abc", "SOMA p 5", "abc5"},
      {"abc-", "SOMA p 5", "abc5"},
      {"a007", "SOMA p 1", "a8"},
      {"5", "SOMA p -7 resto ignorado", "-2"},
      {"2147483647", "SOMA p 1", "-2147483648"},
      {"1", "SOMA p \"$10\"", "17"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line) + " on " + std::string(c.before));
    setVar("p", std::string(c.before));
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(var("p"), c.after);
  }
}

TEST_F(ArithmeticTest, Operations) {
  struct Case {
    std::string_view before;
    std::string_view line;
    std::string_view after;
  } cases[] = {
      {"10", "SUBTRAI n 3", "7"},
      {"-2147483648", "SUBTRAI n 1", "2147483647"},
      {"1000000000", "MULTIPLICA n 3", "-1294967296"},
      {"-7", "DIVIDE n 2", "-3"},
      {"7", "DIVIDE n -2", "-3"},
      {"-2147483648", "DIVIDE n -1", "-2147483648"},  // the quotient wraps
      {"$10", "MULTIPLICA n 2", "32"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line) + " on " + std::string(c.before));
    setVar("n", std::string(c.before));
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(var("n"), c.after);
  }
}

TEST_F(ArithmeticTest, Failures) {
  struct Case {
    std::string_view before;
    std::string_view line;
    std::string_view after;  // what the variable holds afterwards
  } cases[] = {
      {"1", "SOMA p \"x\"", "1"},
      {"1", "SOMA p", "1"},
      {"a99999999999", "SOMA p 1", "a99999999999"},  // digits that do not fit are kept, not lost
      {"pagina7", "SUBTRAI p 1", "pagina7"},
      {"5", "SUBTRAI p \"x\"", "5"},
      {"5", "DIVIDE p 0", "5"},
      {"5", "MULTIPLICA p 2 3", "10"},  // text left fails after the change
      {"", "MULTIPLICA p 2", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line) + " on " + std::string(c.before));
    setVar("p", std::string(c.before));
    EXPECT_FALSE(exec(c.line));
    EXPECT_EQ(var("p"), c.after);
  }
}

TEST_F(ArithmeticTest, DivisionByZeroIsReported) {
  setVar("n", "4");
  EXPECT_FALSE(exec("DIVIDE n 0"));
  EXPECT_EQ(console.written, "Divisão por zero\n"_cp);
  EXPECT_EQ(console.spoken, (std::vector<std::string>{std::string("Divisão por zero"_cp)}));
}

}  // namespace
}  // namespace tamiral
