#include "console/magnifier.h"

#include <gtest/gtest.h>

namespace tamiral {
namespace {

const std::string kBlanks(80, ' ');

class MagnifierTest : public ::testing::Test {
 protected:
  MagnifierTest() {
    for (int i = 0; i < 100; ++i) text += static_cast<char>(33 + i);
  }
  // Characters from..to of the text, 1-based.
  std::string chars(int from, int to) const { return text.substr(from - 1, to - from + 1); }

  std::string text;
  Magnifier magnifier;
};

TEST_F(MagnifierTest, OffUntilAFactorIsSet) {
  EXPECT_FALSE(magnifier.strip(text, 5));
  magnifier.configure({.factor = 0, .textColour = 1});
  EXPECT_FALSE(magnifier.strip(text, 5));
}

TEST_F(MagnifierTest, WindowFollowsThePositionAndMarksTheCharacterBeforeIt) {
  magnifier.configure({.factor = 2, .textColour = 14, .backgroundColour = 6, .cursorColour = 3});
  struct Step {
    int position;
    int windowStart;
    std::string before, mark, after;
  } steps[] = {
      // 40 characters fit; position 60 pulls the window to start at 20.
      {60, 20, chars(20, 58), chars(59, 59), kBlanks},
      // Inside the window: it stays.
      {30, 20, chars(20, 28), chars(29, 29), chars(30, 59) + kBlanks},
      // Back before the window: it starts one before the position.
      {10, 9, "", chars(9, 9), chars(10, 48) + kBlanks},
      {1, 1, "", "", chars(1, 40) + kBlanks},
      {-5, 1, "", "", chars(1, 40) + kBlanks},
      {41, 1, chars(1, 39), chars(40, 40), kBlanks},
      {42, 2, chars(2, 40), chars(41, 41), kBlanks},
      // Past the end of the text: the shown part is shorter.
      {101, 61, chars(61, 99), chars(100, 100), kBlanks},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE("position " + std::to_string(step.position));
    std::optional<MagnifierStrip> strip = magnifier.strip(text, step.position);
    ASSERT_TRUE(strip);
    EXPECT_EQ(magnifier.windowStart(), step.windowStart);
    EXPECT_EQ(strip->before, step.before);
    EXPECT_EQ(strip->mark, step.mark);
    EXPECT_EQ(strip->after, step.after);
    EXPECT_EQ(strip->markColumn, static_cast<int>(step.before.size()));
    EXPECT_EQ(strip->afterColumn, static_cast<int>(step.before.size() + step.mark.size()));
  }
}

TEST_F(MagnifierTest, StripCarriesTheFactorAndColours) {
  magnifier.configure({.factor = 3, .textColour = 14, .backgroundColour = 6, .cursorColour = 3});
  std::optional<MagnifierStrip> strip = magnifier.strip(text, 30);
  ASSERT_TRUE(strip);
  // 80 div 3 = 26 characters fit.
  EXPECT_EQ(magnifier.windowStart(), 4);
  EXPECT_EQ(strip->before, chars(4, 28));
  EXPECT_EQ(strip->factor, 3);
  EXPECT_EQ(strip->textColour, 14);
  EXPECT_EQ(strip->backgroundColour, 6);
  EXPECT_EQ(strip->cursorColour, 3);
}

TEST_F(MagnifierTest, LoadingTheSettingsAgainRestartsTheWindow) {
  magnifier.configure({.factor = 2});
  magnifier.strip(text, 90);
  EXPECT_EQ(magnifier.windowStart(), 50);
  magnifier.configure({.factor = 4});
  EXPECT_EQ(magnifier.windowStart(), 1);
  EXPECT_EQ(magnifier.strip("curto", 3)->before, "c");
}

}  // namespace
}  // namespace tamiral
