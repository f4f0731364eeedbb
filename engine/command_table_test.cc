#include "engine/command_table.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/cp1252.h"
#include "engine/text.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

TEST(CommandTable, HoldsTheWholeVocabularyOnceInFoldedForm) {
  const std::set<std::string_view> vocabulary = {
      "SEJA", "RANDOMIZA", "SE", "SENÃO"_cp, "SENAO", "ENQUANTO", "REPETE", "FIM", "DESVIA", "CHAMA",
      "RETORNA", "TERMINA", "SOMA", "SUBTRAI", "MULTIPLICA", "DIVIDE", "CONCATENA", "COPIA", "DELETA",
      "SUBSTITUI", "ABRE", "FECHA", "CHECA", "REMOVE", "RENOMEIA", "REPLICA", "DIR", "BUSCA", "TAMARQ",
      "HTAMARQ", "CRIABIN", "FECHABIN", "GRAVABYTES", "ESCREVEBYTE", "LEBYTE", "LIMPABYTES", "LISTA",
      "CODBASE64", "DECODBASE64", "CODARQBASE64", "DECODARQBASE64", "ANSIPARAUTF8", "UTF8PARAANSI",
      "REMOVEQUOTED", "ADQUOTED", "ESCREVE", "LÊ"_cp, "LE", "TELA", "COR", "FUNDO", "TÍTULO"_cp, "TITULO",
      "DEBUG", "MENU", "FALA", "SOLETRA", "FALAHORA", "BIPA", "TOCA", "MCI", "MIDI", "MENSAGEM",
      "SINTCONFIG", "INTERNET", "CONECTA", "ATIVASSL", "SERVE", "OBSERVA", "IP", "HTTP", "TRAZDAREDE",
      "EXECUTA", "EXISTEPROG", "CMD", "ESPERA", "ENVIACMD", "ALARME", "HANDLE", "DIGITA", "ACIONA",
      "CLICA", "SENSOR", "JANELA", "CAPTURA", "TRANSFERE", "MSAA", "IMAGEM"};
  std::multiset<std::string_view> words;
  for (const CommandEntry& entry : commandTable()) {
    words.insert(entry.word);
    EXPECT_EQ(upperPt(entry.word), entry.word);
    EXPECT_NE(entry.handler, nullptr);
  }
  EXPECT_EQ(std::set<std::string_view>(words.begin(), words.end()), vocabulary);
  EXPECT_EQ(words.size(), vocabulary.size());  // no word twice
}

TEST(CommandTable, TwoSpellingsShareOneHandler) {
  EXPECT_EQ(findCommand("LÊ"_cp), findCommand("LE"));
  EXPECT_EQ(findCommand("TÍTULO"_cp), findCommand("TITULO"));
  EXPECT_EQ(findCommand("SENÃO"_cp), findCommand("SENAO"));
  EXPECT_EQ(findCommand("SOMAR"), nullptr);
}

class DispatchTest : public EngineTest {};

TEST_F(DispatchTest, WordsAreFoldedBeforeTheLookUp) {
  for (std::string_view line : {"ESCREVE \"x\"", "escreve \"x\"", "Escreve \"x\"", "eScReVe \"x\""}) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(exec(line));
  }
  // Accented words fold too: every spelling of LÊ reaches the LÊ row (its
  // console form, not built yet, names the row it was reached through).
  struct Case {
    std::string_view line;
    std::string_view word;
  } cases[] = {{"lê console x"_cp, "LÊ"_cp}, {"Lê console x"_cp, "LÊ"_cp}, {"LÊ console x"_cp, "LÊ"_cp}, {"le console x", "LE"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.written.clear();
    EXPECT_FALSE(exec(c.line));
    EXPECT_EQ(console.written, std::string("Comando ainda não disponível: "_cp) + std::string(c.word) + "\n");
  }
}

TEST_F(DispatchTest, AnUnknownWordIsReportedAndFails) {
  EXPECT_FALSE(exec("SOMAR 1"));
  EXPECT_EQ(console.written, "Comando inválido: SOMAR\n"_cp);
  EXPECT_EQ(console.spoken, (std::vector<std::string>{std::string("Comando inválido: SOMAR"_cp)}));
  EXPECT_TRUE(rt.run.errorFlag);
}

TEST_F(DispatchTest, WordsNotBuiltYetSaySoAndFail) {
  EXPECT_FALSE(exec("sensor \"oi\""));
  EXPECT_EQ(console.spoken, (std::vector<std::string>{std::string("Comando ainda não disponível: SENSOR"_cp)}));
}

TEST_F(DispatchTest, TraceEchoesEachCommandBeforeRunningIt) {
  ASSERT_TRUE(exec("DEBUG"));
  console.spoken.clear();
  console.written.clear();
  ASSERT_TRUE(exec("seja a   1  "));
  EXPECT_EQ(console.spoken, (std::vector<std::string>{"SEJA a   1"}));
  EXPECT_EQ(var("a"), "1");
  ASSERT_TRUE(exec("debug N"));
  console.spoken.clear();
  ASSERT_TRUE(exec("seja a 2"));
  EXPECT_TRUE(console.spoken.empty());
}

}  // namespace
}  // namespace tamiral
