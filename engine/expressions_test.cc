#include "engine/expressions.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/readers.h"

namespace tamiral {
namespace {

class ExpressionTest : public ::testing::Test {
 protected:
  ExpressionTest() {
    vars.set(VariableStore::letterSlot('x'), "5");
    vars.set(VariableStore::letterSlot('n'), "texto");
    vars.set(vars.namedSlot("A"), "10");
    vars.set(vars.namedSlot("HEX"), "$10");
  }

  // The value of a parenthesised expression as takeValue reads it.
  std::optional<std::string> value(std::string_view text) {
    std::optional<std::string> result = takeValue(vars, text);
    if (result && !text.empty()) return "left: " + std::string(text);
    return result;
  }

  VariableStore vars;
};

TEST_F(ExpressionTest, Evaluates) {
  struct Case {
    std::string_view text;
    std::string_view value;
  } cases[] = {
      {"(2+3*4)", "14"},
      {"((2+3)*4)", "20"},
      {"(-(2-5))", "3"},
      {"(7/2)", "3"},
      {"(-7/2)", "-3"},
      {"(7/-2)", "-3"},
      {"(10-2-3)", "5"},  // left to right
      {"(64/4/2)", "8"},
      {"( 1 + 2 )", "3"},
      {"(--4)", "4"},
      {"(x*2)", "10"},
      {"($a+x)", "15"},
      {"($hex)", "16"},
      {"(4294967296+1)", "1"},  // the literal wraps in 32 bits
      {"(2147483648)", "-2147483648"},
      {"(2147483647*2)", "4294967294"},  // products are 64-bit
      {"(2147483647*2147483647*4)", "-17179869180"},  // 64-bit wrap-around
      {"(2147483648*2147483648*2)", "-9223372036854775808"},
      {"(2*)", "2"},  // an operand that cannot be read drops its operator
      {"(2*+3)", "5"},
      {"(2-)", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(value(c.text), std::optional<std::string>(c.value));
  }
}

TEST_F(ExpressionTest, FailsInAnOrderlyWay) {
  for (std::string_view text : {
           "(2**3)",      // two operators of one level
           "(2+-)",       // negation of nothing
           "(2++3)",
           "()",
           "(+2)",        // no unary plus
           "(n+1)",       // a variable that is not a number
           "(q+1)",       // an empty variable
           "($nada+1)",   // a name never assigned
           "($a_b+1)",    // '_' is not part of a name here
           "(ab)",        // a following letter is a new token
           "(2+3",
           "(1/0)",       // division by zero
           "(5/(2-2))",
           "(2 3)",
           "(1+*3)",
       }) {
    SCOPED_TRACE(text);
    EXPECT_EQ(value(text), std::nullopt);
  }
}

TEST_F(ExpressionTest, MostNegativeDividedByMinusOneWraps) {
  EXPECT_EQ(value("(2147483648*2147483648*2/-1)"), std::optional<std::string>("-9223372036854775808"));
}

TEST_F(ExpressionTest, DeepNestingFailsInsteadOfExhaustingTheStack) {
  std::string deep(100000, '(');
  deep += '1';
  deep += std::string(100000, ')');
  EXPECT_EQ(value(deep), std::nullopt);
  std::string negations = "(" + std::string(100000, '-') + "1)";
  EXPECT_EQ(value(negations), std::nullopt);
  std::string modest = std::string(50, '(') + "1" + std::string(50, ')');
  EXPECT_EQ(value(modest), std::optional<std::string>("1"));
}

}  // namespace
}  // namespace tamiral
