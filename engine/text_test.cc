#include "engine/text.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"

namespace tamiral {
namespace {

TEST(UpperPt, FoldsAsciiAndTheHighLatinBlockOnly) {
  EXPECT_EQ(upperPt("abc xyz"), "ABC XYZ");
  EXPECT_EQ(upperPt("não ação"_cp), "NÃO AÇÃO"_cp);
  EXPECT_EQ(upperPt("\xF7\xFF"), "\xD7\xDF");  // the rule is arithmetic, not linguistic
  EXPECT_EQ(upperPt("\xE0"), "\xC0");
  EXPECT_EQ(upperPt("\xDF\xB5\x9A{}1@"), "\xDF\xB5\x9A{}1@");  // below 0xE0 and non-letters stay
}

TEST(ToInt, AcceptsTheIntegerForms) {
  struct Case {
    std::string_view text;
    int32_t value;
  } cases[] = {
      {"42", 42},          {"   42", 42},         {"+7", 7},       {"-7", -7},
      {"$1F", 31},         {"x1f", 31},          {"X10", 16},     {"0x10", 16},
      {"0X10", 16},        {"-$10", -16},        {"007", 7},      {"0", 0},
      {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"$7FFFFFFF", INT32_MAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::optional<int32_t> value = toInt(c.text);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, c.value);
  }
}

TEST(ToInt, RejectsWhatIsNotAWholeNumber) {
  for (std::string_view text : {"", " ", "42 ", "4.5", "12a", "-", "+", "$", "0x", "2147483648",
                                "-2147483649", "$80000000", "--1", "1-", "\t1", "$G"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(toInt(text).has_value());
  }
}

TEST(TrimBlanks, RemovesControlCharactersAndSpacesButNotHighBytes) {
  EXPECT_EQ(trimBlanks("\t\r\n a b \x01"), "a b");
  EXPECT_EQ(trimBlanks("\xA0x\xA0"), "\xA0x\xA0");
  EXPECT_EQ(trimBlanks("   "), "");
}

}  // namespace
}  // namespace tamiral
