#include "commands/text_files.h"

#include <gtest/gtest.h>


#include "engine/cp1252.h"
#include "tests/support/scratch_fixture.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

using TextFileTest = ScratchFolderTest;

TEST_F(TextFileTest, ReadingLoopEndsWithStatusOne) {
  folder.write("tres.txt", "um\r\ndois\nsem fim");
  ASSERT_TRUE(run("ABRE #1 \"@/tres.txt\""));
  std::vector<std::pair<std::string, std::string>> seen;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(exec("LE #1 x"));
    ASSERT_TRUE(exec("CHECA c"));
    seen.emplace_back(var("x"), var("c"));
  }
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::string>>{
                      {"um", "0"}, {"dois", "0"}, {"sem fim", "0"}, {"", "1"}}));
  EXPECT_TRUE(exec("FECHA #1"));
}

TEST_F(TextFileTest, WritingJoinsValuesAndEndsLinesWithCrLf) {
  setVar("XX", "meio");
  ASSERT_TRUE(run("ABRE #1 \"@/saida.txt\" &"));
  for (std::string_view line : {"ESCREVE #1 \"a\" $xx \"b\"", "ESCREVE #1 \"c\" &", "ESCREVE #1 \"d\"", "ESCREVE #1",
                                "ESCREVE #12 \"x\"", "ESCREVE #1 &"}) {
    ASSERT_TRUE(exec(line)) << line;
  }
  ASSERT_TRUE(exec("FECHA #1"));
  EXPECT_EQ(contentsOf(path("saida.txt")), "ameiob\r\ncd\r\n\r\n2x\r\n\r\n");
}

TEST_F(TextFileTest, AppendCreatesOrExtends) {
  ASSERT_TRUE(run("ABRE #2 \"@/novo.txt\" &"));
  ASSERT_TRUE(exec("ESCREVE #2 \"primeira\""));
  ASSERT_TRUE(exec("FECHA #2"));
  ASSERT_TRUE(run("ABRE #2 \"@/novo.txt\"&"));
  ASSERT_TRUE(exec("ESCREVE #2 \"segunda\""));
  ASSERT_TRUE(exec("FECHA #2"));
  EXPECT_EQ(contentsOf(path("novo.txt")), "primeira\r\nsegunda\r\n");
}

TEST_F(TextFileTest, HandleErrors) {
  folder.write("a.txt", "x\n");
  struct Case {
    std::string line;
    bool ok;
    std::string written;
  } cases[] = {
      {"ABRE #1 \"@/falta.txt\"", false, "Erro na abertura do arquivo " + path("falta.txt") + "\n"},
      {"ABRE #1 \"\"", false, "Erro na abertura do arquivo \n"},
      {"ABRE #12 \"@/a.txt\"", false, "Erro na abertura do arquivo \n"},
      {"ABRE #1 \"@/pasta/que/falta.txt\" &", false,
       "Erro na abertura do arquivo " + path("pasta/que/falta.txt") + "\n"},
      {"ESCREVE #3 \"x\"", false, "Erro no processamento de arquivo\n"},
      {"ESCREVE #x", false, "Erro no processamento de arquivo\n"},
      {"LE #3 x", false, "Erro no processamento de arquivo\n"},
      {"LE #1", false, "Erro no processamento de arquivo\n"},
      {"FECHA #4", true, ""},
      {"FECHA 4", false, "Erro no fechamento do arquivo\n"},
      {"CHECA c x", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.written.clear();
    EXPECT_EQ(run(c.line), c.ok);
    EXPECT_EQ(console.written, c.written);
  }
}

TEST_F(TextFileTest, WrongDirectionGivesAStatusNotAFailure) {
  folder.write("a.txt", "linha\n");
  ASSERT_TRUE(run("ABRE #1 \"@/a.txt\""));
  ASSERT_TRUE(exec("ESCREVE #1 \"x\""));
  EXPECT_NE(rt.run.ioStatus, 0);
  ASSERT_TRUE(run("ABRE #2 \"@/b.txt\" &"));
  ASSERT_TRUE(exec("LE #2 x"));
  EXPECT_NE(rt.run.ioStatus, 0);
  EXPECT_EQ(var("x"), "");
  EXPECT_EQ(contentsOf(path("a.txt")), "linha\n");
}

TEST_F(TextFileTest, ReopeningAHandleWritesOutWhatItHeld) {
  ASSERT_TRUE(run("ABRE #1 \"@/primeiro.txt\" &"));
  ASSERT_TRUE(exec("ESCREVE #1 \"guardado\""));
  ASSERT_TRUE(run("ABRE #1 \"@/primeiro.txt\""));
  ASSERT_TRUE(exec("LE #1 x"));
  EXPECT_EQ(var("x"), "guardado");
}

TEST_F(TextFileTest, TheEndOfTheRunWritesOutOpenFiles) {
  ASSERT_TRUE(run("ABRE #5 \"@/aberto.txt\" &"));
  ASSERT_TRUE(exec("ESCREVE #5 \"sem fecha\""));
  addScriptLine(rt, "SEJA a 1", 1);
  runScript(rt);
  EXPECT_EQ(contentsOf(path("aberto.txt")), "sem fecha\r\n");
}

TEST_F(TextFileTest, NamesWithSpacesAndMixedCase) {
  ASSERT_TRUE(run(std::string("ABRE #1 \"@/Nome Com Espaços.txt\" &"_cp)));
  ASSERT_TRUE(exec("ESCREVE #1 \"linha\""));
  ASSERT_TRUE(exec("FECHA #1"));
  ASSERT_TRUE(run(std::string("ABRE #2 \"@/nome com ESPAÇOS.TXT\""_cp)));
  ASSERT_TRUE(exec("LE #2 x"));
  EXPECT_EQ(var("x"), "linha");
  ASSERT_TRUE(run("BUSCA f \"@/nome com*.t?t\""));
  EXPECT_EQ(var("f"), "Nome Com Espaços.txt"_cp);
}

TEST_F(TextFileTest, AccentedNamesAreUtf8OnDisk) {
  ASSERT_TRUE(run(std::string("ABRE #1 \"@/ação.txt\" &"_cp)));
  ASSERT_TRUE(exec("ESCREVE #1 \"ok\""));
  ASSERT_TRUE(exec("FECHA #1"));
  EXPECT_EQ(contentsOf(path("ação.txt")), "ok\r\n");
}

class FullDiskTest : public ::testing::Test {
 protected:
  FakeConsole console;
  FakeClock clock;
  FaultyFileSystem fs{10};
  Runtime rt{console, clock, fs};
  TempFolder folder;
};

TEST_F(FullDiskTest, AWriteThatDoesNotFitIsReportedOnClose) {
  resetEngine(rt);
  std::string open = "ABRE #1 \"" + folder.path() + "/cheio.txt\" &";
  ASSERT_TRUE(executeLine(rt, open, false));
  ASSERT_TRUE(executeLine(rt, "ESCREVE #1 \"" + std::string(40, 'x') + "\"", false));
  EXPECT_FALSE(executeLine(rt, "FECHA #1", false));
  EXPECT_EQ(console.written, "Erro no fechamento do arquivo\n");
}

TEST_F(FullDiskTest, AFlushedWriteThatDoesNotFitSetsTheStatus) {
  resetEngine(rt);
  ASSERT_TRUE(executeLine(rt, "ABRE #1 \"" + folder.path() + "/cheio.txt\" &", false));
  ASSERT_TRUE(executeLine(rt, "ESCREVE #1 \"" + std::string(40, 'x') + "\" &", false));
  EXPECT_NE(rt.run.ioStatus, 0);
}

}  // namespace
}  // namespace tamiral
