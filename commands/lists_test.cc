#include "commands/lists.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

class ListTest : public EngineTest {};

TEST_F(ListTest, ItemsAreAddedReadCountedAndDeleted) {
  for (std::string_view line : {"LISTA [a] CRIA", "LISTA [a] ADICIONA \"x\"", "LISTA [a] ADICIONA \"y\" resto",
                                "lista [a] item 1 v", "LISTA [a] TAMANHO n"}) {
    ASSERT_TRUE(exec(line)) << line;
  }
  EXPECT_EQ(var("v"), "y");
  EXPECT_EQ(var("n"), "2");
  EXPECT_FALSE(exec("LISTA [a] ITEM 2 v"));
  EXPECT_FALSE(exec("LISTA [a] ITEM -1 v"));
  EXPECT_TRUE(exec("LISTA [a] DELETA \"X\""));
  EXPECT_FALSE(exec("LISTA [a] DELETA \"X\""));
  ASSERT_TRUE(exec("LISTA [a] ITEM 0 v"));
  EXPECT_EQ(var("v"), "y");
}

TEST_F(ListTest, NamesAreExactAndMayHoldSpaces) {
  ASSERT_TRUE(exec("LISTA [minha lista] CRIA"));
  EXPECT_TRUE(exec("LISTA [minha lista] TAMANHO n"));
  ASSERT_TRUE(exec("LISTA [a] CRIA"));
  EXPECT_FALSE(exec("LISTA [A] TAMANHO n"));
}

TEST_F(ListTest, BadSyntaxFails) {
  ASSERT_TRUE(exec("LISTA [a] CRIA"));
  for (std::string_view line : {"LISTA [a] CRIAR", "LISTA [b] CRIA agora", "LISTA [a] APAGA tudo", "LISTA [a]",
                                "LISTA a CRIA", "LISTA [a] LIMPA", "LISTA [nada] TAMANHO n", "LISTA [a] ITEM x v",
                                "LISTA [a] TAMANHO", "LISTA [nada] APAGA", "LISTA [a] ADICIONA"}) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(exec(line));
  }
}

TEST_F(ListTest, TwentyListsAtMost) {
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(exec("LISTA [l" + std::to_string(i) + "] CRIA"));
  EXPECT_FALSE(exec("LISTA [l20] CRIA"));
  EXPECT_EQ(console.written, "Muitas listas no programa (máximo 20)\n"_cp);
  ASSERT_TRUE(exec("LISTA [l3] APAGA"));
  EXPECT_TRUE(exec("LISTA [l20] CRIA"));
  console.written.clear();
  EXPECT_FALSE(exec("LISTA [l20] CRIA"));
  EXPECT_EQ(console.written, "A lista especificada já existe\n"_cp);
}

TEST_F(ListTest, ListsLiveUntilReset) {
  ASSERT_TRUE(exec("LISTA [a] CRIA"));
  runLines({"LISTA [a] ADICIONA 1"});
  EXPECT_TRUE(exec("LISTA [a] TAMANHO n"));
  resetEngine(rt);
  EXPECT_FALSE(exec("LISTA [a] TAMANHO n"));
}

}  // namespace
}  // namespace tamiral
