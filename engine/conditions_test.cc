#include "engine/conditions.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"
#include "engine/text.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

class ConditionTest : public EngineTest {
 protected:
  // -1: cannot be read; 0: does not hold; 1: holds.
  int check(std::string_view text) {
    Condition condition = readCondition(rt, text);
    return condition.readOk ? condition.holds : -1;
  }
};

TEST_F(ConditionTest, Comparisons) {
  struct Case {
    std::string_view x;
    std::string_view condition;
    int expected;
  } cases[] = {
      {"ABC", "x = \"abc\"", 1},       {"Abc", "x = \"abc\"", 1},      {"Abc", "x == \"abc\"", 0},
      {"abc", "x == \"abc\"", 1},      {"10", "x > 9", 1},             {"9", "x > 9", 0},
      {"7", "x = 007", 1},             {"0", "x = 00", 1},             {"", "x = \"\"", 1},
      {"", "x = 0", 0},                {"", "x < 0", 1},               {"-5", "x < \"-3\"", 0},
      {"abc", "x *=* \"b\"", 1},       {"ABC", "x *=* \"b\"", 0},      {"abc", "x =* \"ab\"", 1},
      {"c:\\pasta\\", "x *= \"\\\"", 1}, {"\\", "x *= \"\\\"", 1},     {"c:\\pasta", "x *= \"\\\"", 0},
      {"ab", "x *= \"abc\"", 0},       {"abc", "x *=* \"\"", 0},       {"abc", "x =* \"\"", 0},
      {"b", "x >= \"a\"", 1},          {"a", "x <= \"a\"", 1},         {"a", "x <> \"A\"", 0},
      {"a", "x <> \"b\"", 1},          {"ab", "x > \"a\"", 1},         {"ação"_cp, "x = \"AÇÃO\""_cp, 1},
      {"99", "x < 100", 1},            {"99", "x<100", 1},             {"abc", "x=\"ABC\"", 1},
      // 25 digits: only the last 21 count
      {"1000000000000000000000007", "x = 7", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.condition) + " with x = " + std::string(c.x));
    setVar("x", std::string(c.x));
    EXPECT_EQ(check(c.condition), c.expected);
  }
}

TEST_F(ConditionTest, NegationAndUnreadableConditions) {
  setVar("x", "1");
  struct Case {
    std::string_view condition;
    int expected;
  } cases[] = {
      {"NÃO x = 1"_cp, 0}, {"NAO x = 2", 1}, {"não x = 2"_cp, 1}, {"não$x = 2"_cp, 1}, {"nao x = 1", 0},
      {"NÃO"_cp, -1},      {"", -1},         {"x", -1},           {"x <", -1},         {"x ! 3", -1},
      {"= 3", -1},         {"x = (1/0)", -1}, {"x = ", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.condition);
    EXPECT_EQ(check(c.condition), c.expected);
  }
}

TEST_F(ConditionTest, ListMembership) {
  ASSERT_TRUE(exec("LISTA [cores] CRIA"));
  ASSERT_TRUE(exec("LISTA [cores] ADICIONA \"Azul\""));
  ASSERT_TRUE(exec("LISTA [cores] ADICIONA \"verde\""));
  ASSERT_TRUE(exec("LISTA [vazia] CRIA"));
  ASSERT_TRUE(exec("LISTA [um] CRIA"));
  ASSERT_TRUE(exec("LISTA [um] ADICIONA \"x\""));
  struct Case {
    std::string_view condition;
    int expected;
  } cases[] = {
      {"\"azul\" EM [cores]", 1},
      {"\"VERDE\" em [cores]", 1},
      {"\"roxo\" EM [cores]", 0},
      {"NÃO \"azul\" EM [cores]"_cp, 1},  // holds as soon as one item differs
      {"NÃO \"x\" EM [um]"_cp, 0},
      {"\"x\" EM [vazia]", 0},
      {"NÃO \"x\" EM [vazia]"_cp, 0},
      {"\"x\" EM [Cores]", -1},  // names are exact
      {"\"x\" EM cores", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.condition);
    EXPECT_EQ(check(c.condition), c.expected);
  }
}

TEST_F(ConditionTest, LeavesTheTextAfterTheCondition) {
  std::string_view text = "  x = 1   ESCREVE \"sim\"  ";
  setVar("x", "1");
  Condition condition = readCondition(rt, text);
  EXPECT_TRUE(condition.holds);
  EXPECT_EQ(text, "ESCREVE \"sim\"");
}

}  // namespace
}  // namespace tamiral

namespace tamiral {
namespace {

// The ordering defined directly: fold, and pad digit strings with twenty
// zeros keeping the last 21 characters.
std::string paddedForm(std::string_view text) {
  std::string folded = upperPt(text);
  if (folded.find_first_not_of("0123456789") != std::string::npos) return folded;
  std::string padded = std::string(20, '0') + folded;
  return padded.size() > 21 ? padded.substr(padded.size() - 21) : padded;
}

TEST(CompareNormalised, AgreesWithThePaddedFormOnManyPairs) {
  const std::vector<std::string> samples = {
      "", "0", "00", "000", "7", "007", "10", "9", "99", "100", "0100", "123456789012345678901",
      "0123456789012345678901", "999999999999999999999", "1000000000000000000000", "a", "A", "ab", "b", "-5", "-3",
      "1a", "a1", "\xE7", "\xC7", "10000000000000000000007", "7 "};
  for (const std::string& left : samples) {
    for (const std::string& right : samples) {
      std::string a = paddedForm(left), b = paddedForm(right);
      int expected = a < b ? -1 : a > b ? 1 : 0;
      EXPECT_EQ(compareNormalised(left, right), expected) << "'" << left << "' vs '" << right << "'";
    }
  }
}

}  // namespace
}  // namespace tamiral
