#include "programs/program_main.h"

#include <gtest/gtest.h>

namespace tamiral {
namespace {

using Lines = std::vector<std::string>;

TEST(ScriptFile, EncodingAndLineEndsAreDetected) {
  struct Case {
    std::string_view name;
    std::string_view bytes;
    Lines lines;
  } cases[] = {
      {"utf-8", "ESCREVE \"a\xC3\xA7\xC3\xA3o\"\n", {"ESCREVE \"a\xE7\xE3o\""}},
      {"utf-8 with mark", "\xEF\xBB\xBFSEJA a 1\r\nSEJA b 2", {"SEJA a 1", "SEJA b 2"}},
      {"windows-1252", "ESCREVE \"a\xE7\xE3o\"\r\n", {"ESCREVE \"a\xE7\xE3o\""}},
      {"empty", "", {}},
      {"blank lines kept", "a\n\n\nb\n", {"a", "", "", "b"}},
      {"lone carriage return stays", "a\rb\n", {"a\rb"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<Lines> lines = scriptLinesFromFile(c.bytes);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, c.lines);
  }
}

TEST(ScriptFile, MoreLinesThanTheStoreHoldsAreRefused) {
  std::string full;
  for (int i = 0; i < 5000; ++i) full += "SEJA a 1\n";
  EXPECT_TRUE(scriptLinesFromFile(full).has_value());
  EXPECT_FALSE(scriptLinesFromFile(full + "SEJA a 2\n").has_value());
}

}  // namespace
}  // namespace tamiral
