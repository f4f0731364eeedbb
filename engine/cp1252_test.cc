#include "engine/cp1252.h"

#include <gtest/gtest.h>

namespace tamiral {
namespace {

TEST(Cp1252, LiteralsCarryWindows1252Bytes) {
  EXPECT_EQ("Ação"_cp, "A\xE7\xE3o");
  EXPECT_EQ("€ – “x”"_cp, "\x80 \x96 \x93x\x94");
}

TEST(Cp1252, EveryByteSurvivesTheTripThroughUtf8) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  std::string utf8 = cp1252ToUtf8(all);
  EXPECT_TRUE(isValidUtf8(utf8));
  EXPECT_EQ(utf8ToCp1252(utf8), all);
}

TEST(Cp1252, Utf8Decoding) {
  struct Case {
    std::string_view utf8;
    std::string_view cp1252;
  } cases[] = {
      {"S\xC3\xA1" "bado", "S\xE1" "bado"},
      {"\xE2\x82\xAC", "\x80"},                  // euro sign
      {"\xE2\x98\x83", "?"},                     // snowman: no Windows-1252 byte
      {"\xF0\x9F\x98\x80", "?"},                 // four-byte sequence
      {"\xE9t\xE9", "\xE9t\xE9"},                // not UTF-8: bytes kept as they are
      {"\xC0\xAF", "\xC0\xAF"},                  // overlong form is not decoded
      {"\xED\xA0\x80", "\xED\xA0\x80"},          // surrogate is not decoded
      {"\xC3", "\xC3"},                          // truncated sequence
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252);
  }
  EXPECT_FALSE(isValidUtf8("\xE9t\xE9"));
  EXPECT_TRUE(isValidUtf8("plain"));
}

}  // namespace
}  // namespace tamiral
