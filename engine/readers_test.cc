#include "engine/readers.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"

namespace tamiral {
namespace {

class ReadersTest : public ::testing::Test {
 protected:
  VariableStore vars;
};

TEST_F(ReadersTest, TakeVariable) {
  struct Case {
    std::string_view text;
    bool ok;
    std::string_view name;  // a letter, or $ and the folded name
    std::string_view left;
  } cases[] = {
      {"  a  rest ", true, "A", "rest"},
      {"Z", true, "Z", ""},
      {"a=\"x\"", true, "A", "=\"x\""},
      {"$Nome_1 x", true, "$NOME_1", "x"},
      {"$nome", true, "$NOME", ""},
      {"$a\xE7\xFA" "car", true, "$A", "\xE7\xFA" "car"},  // an accented letter ends the name
      {"a1", false, "", ""},
      {"ab", false, "", ""},
      {"$", false, "", ""},
      {"$ x", false, "", ""},
      {"1", false, "", ""},
      {"\xE9", false, "", ""},
      {"", false, "", ""},
      {"   ", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string_view text = c.text;
    std::optional<VarSlot> slot = takeVariable(vars, text);
    ASSERT_EQ(slot.has_value(), c.ok);
    if (!c.ok) continue;
    VarSlot expected = c.name[0] == '$' ? vars.namedSlot(c.name.substr(1)) : VariableStore::letterSlot(c.name[0]);
    EXPECT_EQ(*slot, expected);
    EXPECT_EQ(text, c.left);
  }
}

TEST_F(ReadersTest, TakeValue) {
  vars.set(VariableStore::letterSlot('a'), "letra a");
  vars.set(vars.namedSlot("TOTAL"), "5");
  struct Case {
    std::string_view text;
    bool ok;
    std::string_view value;
    std::string_view left;
  } cases[] = {
      {"007 x", true, "007", "x"},
      {"-12", true, "-12", ""},
      {"- 3", true, "-", "3"},
      {"-a", true, "-", "a"},
      {"12a", true, "12", "a"},
      {"\"\"", true, "", ""},
      {"\"a\"\"b\"", true, "a\"b", ""},
      {"\"\"\"palavra\"\"\"", true, "\"palavra\"", ""},
      {"\"sem fim", true, "sem fim", ""},
      {"\"", true, "", ""},
      {"\"a\"$total\"b\"", true, "a", "$total\"b\""},
      {"$Total", true, "5", ""},
      {"$nunca visto", true, "", "visto"},
      {"ab", true, "letra a", "b"},
      {"A", true, "letra a", ""},
      {"(2+3) fim", true, "5", "fim"},
      {"( 2 + 3 )", true, "5", ""},
      {"(2-5)", true, "-3", ""},
      {"(2+3", false, "", ""},
      {"(2+3)x", true, "5", "x"},
      {"", false, "", ""},
      {"$", false, "", ""},
      {"=1", false, "", ""},
      {"\xE9", false, "", ""},
      {"#1", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string_view text = c.text;
    std::optional<std::string> value = takeValue(vars, text);
    ASSERT_EQ(value.has_value(), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(*value, c.value);
    EXPECT_EQ(text, c.left);
  }
}

TEST_F(ReadersTest, ReadingANameRegistersItInFirstMetOrder) {
  std::string_view text = "$zeta $alfa $ZETA";
  takeValue(vars, text);
  takeVariable(vars, text);
  takeValue(vars, text);
  EXPECT_EQ(vars.registeredNames(), (std::vector<std::string>{"ZETA", "ALFA"}));
}

TEST_F(ReadersTest, TakeHandle) {
  struct Case {
    std::string_view text;
    int handle;  // -1: fails
    std::string_view left;
  } cases[] = {
      {"#1", 1, ""}, {"  #0   $x ", 0, "$x"}, {"#9 a b", 9, "a b"},
      {"#12", -1, ""}, {"#1,", -1, ""}, {"#", -1, ""}, {"1", -1, ""}, {"#a", -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string_view text = c.text;
    std::optional<int> handle = takeHandle(text);
    ASSERT_EQ(handle.has_value(), c.handle >= 0);
    if (c.handle < 0) continue;
    EXPECT_EQ(*handle, c.handle);
    EXPECT_EQ(text, c.left);
  }
}

TEST_F(ReadersTest, TakeListName) {
  struct Case {
    std::string_view text;
    bool ok;
    std::string_view name;
    std::string_view left;
  } cases[] = {
      {"[cores] resto", true, "cores", " resto"},
      {"  [duas palavras]", true, "duas palavras", ""},
      {"[]]", true, "]", ""},
      {"[a]b]", true, "a", "b]"},
      {"[]", false, "", ""},
      {"[sem fim", false, "", ""},
      {"[", false, "", ""},
      {"cores", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string_view text = c.text;
    std::optional<std::string> name = takeListName(text);
    ASSERT_EQ(name.has_value(), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(*name, c.name);
    EXPECT_EQ(text, c.left);
  }
}

}  // namespace
}  // namespace tamiral
