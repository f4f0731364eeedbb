#include "engine/assignment.h"

#include <gtest/gtest.h>

#include "engine/builtins.h"
#include "engine/cp1252.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

class SejaTest : public EngineTest {};

TEST_F(SejaTest, AssignsValues) {
  setVar("y", std::string("três"_cp));
  struct Case {
    std::string_view line;
    std::string_view variable;
    std::string_view value;
  } cases[] = {
      {"SEJA a \"x\"", "a", "x"},
      {"seja a=\"x\"", "a", "x"},
      {"SEJA a = \"x\"", "a", "x"},
      {"SEJA $Total 5", "TOTAL", "5"},
      {"SEJA n -12", "n", "-12"},
      {"SEJA n 0012", "n", "0012"},
      {"SEJA x y", "x", "três"_cp},
      {"SEJA x $nunca", "x", ""},
      {"SEJA q \"\"\"citado\"\"\"", "q", "\"citado\""},
      {"SEJA q \"aberto", "q", "aberto"},
      {"SEJA s (2+3)", "s", "5"},
      {"SEJA c CRLF", "c", "\r\n"},
      {"SEJA c crlf", "c", "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(var(c.variable), c.value);
  }
}

TEST_F(SejaTest, Refuses) {
  for (std::string_view line : {
           "SEJA a1 \"x\"",
           "SEJA",
           "SEJA a",
           "SEJA a =",
           "SEJA 1 2",
           "SEJA n (2+3)x",
           "SEJA n (2+3",
           "SEJA a \"a\" \"b\"",
           "SEJA a 1 2",
       }) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(exec(line));
  }
}

TEST_F(SejaTest, AValueFollowedByMoreTextIsAssignedBeforeTheFailure) {
  EXPECT_FALSE(exec("SEJA x \"a\" \"b\""));
  EXPECT_EQ(var("x"), "a");
}

TEST_F(SejaTest, NamesIgnoreCaseAndKeepFirstMetIdentity) {
  ASSERT_TRUE(exec("SEJA $Total 5"));
  ASSERT_TRUE(exec("SEJA x $TOTAL"));
  EXPECT_EQ(var("x"), "5");
  ASSERT_TRUE(exec("SEJA x $nunca"));
  EXPECT_EQ(rt.vars.registeredNames(), (std::vector<std::string>{"TOTAL", "NUNCA"}));
}

TEST_F(SejaTest, ManyDistinctNamesEachKeepTheirValue) {
  for (int i = 0; i < 10000; ++i) {
    ASSERT_TRUE(exec("SEJA $v" + std::to_string(i) + " " + std::to_string(i * 3)));
  }
  for (int i = 0; i < 10000; i += 997) EXPECT_EQ(var("V" + std::to_string(i)), std::to_string(i * 3));
}

TEST_F(SejaTest, Functions) {
  setVar("t", " \t meio  ");
  struct Case {
    std::string_view line;
    std::string_view value;
  } cases[] = {
      {"SEJA r TAMANHO \"ação\""_cp, "4"},
      {"SEJA r TAMANHO \"\"", "0"},
      {"SEJA r tamanho t", "9"},
      {"SEJA r MAIUSC \"ação é\""_cp, "AÇÃO É"_cp},
      {"SEJA r TRIM t", "meio"},
      {"SEJA r POS \"=\" \"a=b\"", "2"},
      {"SEJA r POS \"\" \"abc\"", "0"},
      {"SEJA r POS \"z\" \"abc\"", "0"},
      {"SEJA r POS \"b\" \"abcb\"", "2"},
      {"SEJA r PALAVRA 2 \"um  dois tres\"", "dois"},
      {"SEJA r PALAVRA 3 \"um  dois tres\"", "tres"},
      {"SEJA r PALAVRA 4 \"um dois\"", ""},
      {"SEJA r PALAVRA 1 \" um\"", ""},
      {"SEJA r PALAVRA 2 \" um\"", "um"},
      {"SEJA r ASC \"A\"", "#65"},
      {"SEJA r ASC \"\xE7\"", "#231"},
      {"SEJA r ASC \"AB\"", ""},
      {"SEJA r CHR \"#65\"", "A"},
      {"SEJA r CHR \"010#65\"", "A"},
      {"SEJA r CHR \"#321\"", "A"},
      {"SEJA r CHR \"#0#59\"", ""},
      {"SEJA r CHR \"65\"", ""},
      {"SEJA r CHR \"#x\"", ""},
      {"SEJA r CHR \"#\"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    setVar("r", "antes");
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(var("r"), c.value);
  }
}

TEST_F(SejaTest, FunctionsWithBadArgumentsFailAndLeaveTheVariable) {
  for (std::string_view line : {
           "SEJA r TAMANHO )",
           "SEJA r TAMANHO \"a\" \"b\"",
           "SEJA r POS \"a\"",
           "SEJA r RAND \"dez\"",
           "SEJA r PALAVRA 0 \"um\"",
           "SEJA r PALAVRA -1 \"um\"",
           "SEJA r PALAVRA x \"um\"",
           "SEJA r ASC \"A\" x",
       }) {
    SCOPED_TRACE(line);
    setVar("r", "antes");
    EXPECT_FALSE(exec(line));
    EXPECT_EQ(var("r"), "antes");
  }
}

TEST_F(SejaTest, BuiltInWordsWinOverVariables) {
  clock.local = {.year = 2026, .month = 3, .day = 5, .weekday = 4, .hour = 9, .minute = 7, .second = 3};
  setVar("d", "letra d");
  struct Case {
    std::string_view line;
    std::string_view value;
  } cases[] = {
      {"SEJA x DATA", "05/03/2026"},
      {"SEJA x HORA", "09:07:03"},
      {"SEJA x DIA", "Quinta"},
      {"SEJA x dia", "Quinta"},
      {"SEJA x PARAMS", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(var("x"), c.value);
  }
}

TEST(Builtins, WeekdayNames) {
  EXPECT_EQ(weekdayName(0), "Domingo");
  EXPECT_EQ(weekdayName(2), "Terça"_cp);
  EXPECT_EQ(weekdayName(6), "Sábado"_cp);
}

TEST(Builtins, ParamsReplaceSpacesInsideParameters) {
  EXPECT_EQ(paramsText({}), "0");
  EXPECT_EQ(paramsText({"a b"}), "1 a%20b");
  EXPECT_EQ(paramsText({"x", "a b", ""}), "3 x a%20b ");
}

TEST(Builtins, TempoCountsAcrossMidnightAndTheWeek) {
  DateTime reference{.weekday = 6, .hour = 23, .minute = 59, .second = 59, .millisecond = 500};
  TimeReference ref = timeReferenceAt(reference);
  DateTime later = reference;
  later.millisecond = 990;
  EXPECT_EQ(hundredthsSince(ref, later), 49);
  DateTime afterMidnight{.weekday = 0, .hour = 0, .minute = 0, .second = 1, .millisecond = 0};
  EXPECT_EQ(hundredthsSince(ref, afterMidnight), 150);
  DateTime twoDaysOn{.weekday = 1, .hour = 23, .minute = 59, .second = 59, .millisecond = 500};
  EXPECT_EQ(hundredthsSince(ref, twoDaysOn), 2 * 24 * 3600 * 100);
}

TEST_F(SejaTest, TempoIsMeasuredFromTheReset) {
  clock.local = {.weekday = 2, .hour = 10};
  resetEngine(rt);
  clock.local.second = 3;
  clock.local.millisecond = 250;
  ASSERT_TRUE(exec("SEJA t TEMPO"));
  EXPECT_EQ(var("t"), "325");
}

TEST(Builtins, RandomDrawsFollowTheLinearCongruence) {
  uint32_t seed = 0;
  EXPECT_EQ(drawRandom(seed, 10), 0);  // seed 1: 1 * 10 >> 32
  EXPECT_EQ(seed, 1u);
  EXPECT_EQ(drawRandom(seed, 10), 0);  // seed 134775814
  EXPECT_EQ(seed, 134775814u);
  uint32_t any = 12345;
  EXPECT_EQ(drawRandom(any, 0), 0);
  for (int i = 0; i < 1000; ++i) {
    int32_t draw = drawRandom(any, 7);
    ASSERT_GE(draw, 0);
    ASSERT_LT(draw, 7);
  }
}

TEST_F(SejaTest, RandWithoutRandomizaRepeatsAcrossProcesses) {
  std::vector<std::string> first;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(exec("SEJA r RAND 1000"));
    first.push_back(var("r"));
  }
  FakeConsole otherConsole;
  Runtime other(otherConsole, clock, *fs);
  resetEngine(other);
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(executeLine(other, "SEJA r RAND 1000", false));
    EXPECT_EQ(other.vars.get(VariableStore::letterSlot('r')), first[i]);
  }
  EXPECT_NE(first, std::vector<std::string>(5, first[0]));
}

TEST_F(SejaTest, RandomizaSeedsFromTheTimeOfDay) {
  clock.utc = {.hour = 1, .minute = 2, .second = 3, .millisecond = 4};
  ASSERT_TRUE(exec("RANDOMIZA"));
  EXPECT_EQ(rt.randomSeed, ((1u * 60 + 2) * 60 + 3) * 1000 + 4);
  EXPECT_FALSE(exec("RANDOMIZA agora"));
}

}  // namespace
}  // namespace tamiral
