#include "commands/strings.h"

#include <gtest/gtest.h>

#include "engine/text.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

TEST(CopyRange, Rules) {
  struct Case {
    int32_t from, to;
    std::string_view result;
  } cases[] = {
      {2, 4, "bcd"}, {5, 99, "ef"}, {4, 2, ""}, {0, 2, "abc"}, {-5, 2, "abcdef"}, {7, 9, ""},
      {6, 6, "f"},   {1, 6, "abcdef"}, {3, 3, "c"}, {INT32_MIN, INT32_MAX, "abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    EXPECT_EQ(copyRange("abcdef", c.from, c.to), c.result);
  }
}

TEST(DeleteRange, Rules) {
  struct Case {
    int32_t from, count;
    std::string_view result;
  } cases[] = {
      {2, 3, "aef"}, {9, 1, "abcdef"}, {0, 2, "abcdef"}, {3, 0, "abcdef"}, {3, -1, "abcdef"},
      {4, 99, "abc"}, {1, 6, ""}, {6, 1, "abcde"}, {7, 1, "abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + "+" + std::to_string(c.count));
    EXPECT_EQ(deleteRange("abcdef", c.from, c.count), c.result);
  }
}

// The replacement as literally described: from the end, over the text as
// changed so far, deleting and inserting in place.
std::string replaceByDeleteAndInsert(std::string text, std::string_view old, std::string_view replacement) {
  for (int64_t p = static_cast<int64_t>(text.size()) - static_cast<int64_t>(old.size()); p >= 0; --p) {
    if (text.compare(static_cast<size_t>(p), old.size(), old) == 0) {
      text.erase(static_cast<size_t>(p), old.size());
      text.insert(static_cast<size_t>(p), replacement);
    }
  }
  return text;
}

TEST(ReplaceFromEnd, Cases) {
  struct Case {
    std::string_view text, old, replacement, result;
  } cases[] = {
      {"a b c", " ", "+", "a+b+c"},
      {"aaa", "aa", "b", "ab"},
      {"aab", "ab", "b", "b"},  // a replacement completes an occurrence to its left
      {"abc", "", "-", "-a-b-c-"},
      {"", "", "-", "-"},
      {"abc", "abcd", "x", "abc"},
      {"abcabc", "abc", "", ""},
      {"xAx", "a", "b", "xAx"},  // case matters
      {"banana", "a", "bb", "bbbnbbnbb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + std::string(c.old));
    EXPECT_EQ(replaceFromEnd(c.text, c.old, c.replacement), c.result);
  }
}

TEST(ReplaceFromEnd, AgreesWithTheLiteralAlgorithmOnManyTexts) {
  const std::string_view alphabet = "ab";
  const std::string_view patterns[] = {"a", "ab", "ba", "aa", "aba", "bab"};
  const std::string_view replacements[] = {"", "a", "b", "ab", "ba", "bb", "aab"};
  for (int length = 0; length <= 8; ++length) {
    for (int bits = 0; bits < (1 << length); ++bits) {
      std::string text;
      for (int i = 0; i < length; ++i) text += alphabet[(bits >> i) & 1];
      for (std::string_view old : patterns) {
        for (std::string_view replacement : replacements) {
          ASSERT_EQ(replaceFromEnd(text, old, replacement), replaceByDeleteAndInsert(text, old, replacement))
              << text << " / " << old << " -> " << replacement;
        }
      }
    }
  }
}

TEST(ReplaceFromEnd, LongSearchTextsAgreeWithTheLiteralAlgorithm) {
  // Search texts longer than 16 characters are first compared by hash.
  std::string unit = "abaabbabab";
  std::string old = unit + "aab" + unit.substr(0, 5);  // 18 characters
  const std::string replacements[] = {"", "x", old.substr(1), old + "a", old.substr(0, 17)};
  for (int seed = 0; seed < 200; ++seed) {
    std::string text;
    for (int i = 0; i < 120; ++i) text += ((seed * 7919 + i * i * 31 + i) % 5 < 2) ? old.substr(i % 3) : unit;
    for (const std::string& replacement : replacements) {
      ASSERT_EQ(replaceFromEnd(text, old, replacement), replaceByDeleteAndInsert(text, old, replacement))
          << "seed " << seed << " -> " << replacement;
    }
  }
}

class StringCommandTest : public EngineTest {};

TEST_F(StringCommandTest, Commands) {
  struct Case {
    std::string_view line;
    std::string_view variable;
    std::string_view result;
  } cases[] = {
      {"CONCATENA s \"!\"", "s", "abcdef!"},
      {"COPIA d s 2 4", "d", "bcd"},
      {"COPIA d s \" 2 \" \"4\"", "d", "bcd"},
      {"COPIA s s 5 99 resto", "s", "ef"},
      {"DELETA s 2 3", "s", "aef"},
      {"SUBSTITUI s \"cd\" \"-\"", "s", "ab-ef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    setVar("s", "abcdef");
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(var(c.variable), c.result);
  }
}

TEST_F(StringCommandTest, TextsStopGrowingAtTheLimitInsteadOfExhaustingMemory) {
  setVar("s", std::string(kMaxTextLength / 2 + 1, 'a'));
  EXPECT_FALSE(exec("CONCATENA s s"));
  EXPECT_EQ(var("s").size(), kMaxTextLength / 2 + 1);
  setVar("t", std::string(kMaxTextLength / 4, 'a'));
  EXPECT_FALSE(exec("SUBSTITUI t \"\" \"xyz\""));  // would quadruple
  EXPECT_EQ(var("t").size(), kMaxTextLength / 4);
  EXPECT_FALSE(exec("ESCREVE s s"));
  EXPECT_TRUE(console.written.empty());  // nothing half-written
  setVar("u", std::string(1000, 'a'));
  EXPECT_TRUE(exec("CONCATENA u u"));
  EXPECT_EQ(var("u").size(), 2000u);
}

TEST_F(StringCommandTest, FailuresLeaveTheVariable) {
  for (std::string_view line : {"CONCATENA s \"a\" \"b\"", "CONCATENA s", "COPIA d s 2", "COPIA d s x 2",
                                "COPIA d s 2 \"4a\"", "DELETA s \"\" 1", "SUBSTITUI s \"a\"", "SUBSTITUI"}) {
    SCOPED_TRACE(line);
    setVar("s", "abcdef");
    setVar("d", "antes");
    setVar("x", "y");
    EXPECT_FALSE(exec(line));
    EXPECT_EQ(var("s"), "abcdef");
    EXPECT_EQ(var("d"), "antes");
  }
}

}  // namespace
}  // namespace tamiral
