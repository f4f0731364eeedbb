#include "commands/folder_commands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/cp1252.h"
#include "tests/support/scratch_fixture.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

class FolderCommandTest : public ScratchFolderTest {
 protected:
  FolderCommandTest() : startFolder(fs->workingFolder()) {}
  ~FolderCommandTest() override { fs->changeFolder(startFolder); }

  bool exists(std::string_view name) { return std::filesystem::exists(path(name)); }

  std::string startFolder;
};

TEST_F(FolderCommandTest, RemoveReportsUnlessQuiet) {
  folder.write("a.txt", "x");
  EXPECT_TRUE(run("REMOVE \"@/a.txt\""));
  EXPECT_FALSE(exists("a.txt"));
  EXPECT_TRUE(run("REMOVE \"@/a.txt\" &"));
  EXPECT_EQ(console.written, "");
  EXPECT_FALSE(run("REMOVE \"@/a.txt\""));
  EXPECT_EQ(console.written, "Erro no apagamento do arquivo " + path("a.txt") + "\n");
  EXPECT_FALSE(run("REMOVE \"\""));
}

TEST_F(FolderCommandTest, RenameNeverReplacesAndQuietSucceeds) {
  folder.write("a.txt", "A");
  folder.write("b.txt", "B");
  EXPECT_FALSE(run("RENOMEIA \"@/a.txt\" \"@/b.txt\""));
  EXPECT_EQ(contentsOf(path("b.txt")), "B");
  EXPECT_TRUE(run("RENOMEIA \"@/a.txt\" \"@/b.txt\" &"));
  EXPECT_TRUE(run("RENOMEIA \"@/a.txt\" \"@/c.txt\""));
  EXPECT_EQ(contentsOf(path("c.txt")), "A");
  EXPECT_FALSE(run("RENOMEIA \"@/c.txt\" \"@/d.txt\" sobra"));
}

TEST_F(FolderCommandTest, ReplicaCopiesEveryByte) {
  std::string data;
  for (int i = 0; i < 70000; ++i) data += static_cast<char>((i * 7) & 0xFF);
  folder.write("origem.bin", data);
  folder.write("destino.bin", "antigo");
  ASSERT_TRUE(run("REPLICA \"@/origem.bin\" \"@/destino.bin\""));
  EXPECT_EQ(contentsOf(path("destino.bin")), data);
  EXPECT_FALSE(run("REPLICA \"@/falta.bin\" \"@/x.bin\""));
  EXPECT_EQ(console.written, "");
  EXPECT_TRUE(run("REPLICA \"@/falta.bin\" \"@/x.bin\" &"));
  EXPECT_FALSE(exists("x.bin"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);  // no temporary left
}

TEST_F(FolderCommandTest, DirCreatesChangesAndRemovesFolders) {
  EXPECT_TRUE(run("DIR CRIA \"@/nova\""));
  EXPECT_TRUE(std::filesystem::is_directory(path("nova")));
  EXPECT_FALSE(run("DIR CRIA \"@/a/b\""));
  EXPECT_EQ(console.written, std::string("Erro no processamento do diretório "_cp) + path("a/b") + "\n");
  EXPECT_TRUE(run("DIR CRIA \"@/a/b\" &"));
  EXPECT_TRUE(run("DIR TROCA \"@/nova\""));
  ASSERT_TRUE(exec("ABRE #1 \"relativo.txt\" &"));
  ASSERT_TRUE(exec("FECHA #1"));
  EXPECT_TRUE(exists("nova/relativo.txt"));
  EXPECT_TRUE(exec("DIR TROCA \"..\""));
  EXPECT_FALSE(run("DIR REMOVE \"@/nova\""));  // not empty
  EXPECT_FALSE(exec("DIR MUDA x"));
  EXPECT_FALSE(exec("DIR CRIA"));
}

TEST_F(FolderCommandTest, BuscaWalksFilesThenEnds) {
  folder.write("b.txt", "");
  folder.write("A.txt", "");
  folder.write("c.dat", "");
  folder.write(".oculto.txt", "");
  std::filesystem::create_directory(path("pasta.txt"));
  std::vector<std::string> found;
  ASSERT_TRUE(run("BUSCA f \"@/*.txt\""));
  while (!var("f").empty()) {
    found.push_back(var("f"));
    ASSERT_TRUE(exec("BUSCA f PRÓXIMO"_cp));
  }
  EXPECT_EQ(found, (std::vector<std::string>{"A.txt", "b.txt"}));
  ASSERT_TRUE(exec("BUSCA f PROXIMO"));
  EXPECT_EQ(var("f"), "");
  EXPECT_TRUE(run("BUSCA f \"@/*.nada\""));
  EXPECT_EQ(var("f"), "");
  EXPECT_FALSE(exec("BUSCA f PROXIMO x"));
}

TEST_F(FolderCommandTest, BuscaForFolders) {
  std::filesystem::create_directory(path("sub"));
  folder.write("arquivo", "");
  ASSERT_TRUE(run("BUSCA d DIR \"@/*.*\""));
  std::vector<std::string> found;
  while (!var("d").empty()) {
    found.push_back(var("d"));
    ASSERT_TRUE(exec("BUSCA d DIR PROXIMO"));
  }
  EXPECT_EQ(found, (std::vector<std::string>{".", "..", "sub"}));
  ASSERT_TRUE(exec("BUSCA d FIM"));
}

TEST_F(FolderCommandTest, BuscaWithoutPatternGivesTheWorkingFolder) {
  ASSERT_TRUE(run("DIR TROCA \"@/\""));
  for (std::string_view line : {"BUSCA d", "BUSCA d DIR", "BUSCA d dir"}) {
    SCOPED_TRACE(line);
    ASSERT_TRUE(exec(line));
    EXPECT_EQ(var("d"), std::filesystem::canonical(folder.path()).string());
  }
  EXPECT_FALSE(exec("BUSCA"));
  EXPECT_FALSE(exec("BUSCA d \"*\" x"));
}

TEST_F(FolderCommandTest, Sizes) {
  folder.write("f1536", std::string(1536, 'x'));
  ASSERT_TRUE(run("TAMARQ \"@/f1536\" t resto ignorado"));
  EXPECT_EQ(var("t"), "1536");
  setenv("LC_ALL", "pt_BR.UTF-8", 1);
  ASSERT_TRUE(run("HTAMARQ \"@/f1536\" h"));
  unsetenv("LC_ALL");
  EXPECT_EQ(var("h"), "1,50KB");
  EXPECT_FALSE(run("TAMARQ \"@/falta\" t"));
  EXPECT_EQ(console.written, "Erro na abertura do arquivo " + path("falta") + "\n");
}

TEST(ReadableSize, Units) {
  struct Case {
    uint64_t bytes;
    char separator;
    std::string_view text;
  } cases[] = {
      {1536, ',', "1,50KB"},       {1536, '.', "1.50KB"},         {500, ',', "500,00 B"},
      {0, ',', "0,00 B"},          {3 * 1024 * 1024, ',', "3,00 MB"}, {uint64_t{5} << 30, '.', "5.00GB"},
      {uint64_t{2} << 40, '.', "2.00 TB"}, {uint64_t{3} << 50, '.', "3.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(readableSize(c.bytes, c.separator), c.text);
  }
}

class ReplicaFaultTest : public ::testing::Test {
 protected:
  FakeConsole console;
  FakeClock clock;
  FaultyFileSystem fs;
  Runtime rt{console, clock, fs};
  TempFolder folder;
};

TEST_F(ReplicaFaultTest, AFullDiskLeavesTheOldDestinationAndNoPartialFile) {
  resetEngine(rt);
  folder.write("origem", std::string(70000, 'a'));
  folder.write("destino", "antigo");
  fs.setFreeBytes(40000);
  std::string line = "REPLICA \"" + folder.path() + "/origem\" \"" + folder.path() + "/destino\"";
  EXPECT_FALSE(executeLine(rt, line, false));
  EXPECT_EQ(console.written, "Erro na escrita de arquivo " + folder.path() + "/destino\n");
  EXPECT_EQ(contentsOf(folder.path() + "/destino"), "antigo");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
  EXPECT_EQ(fs.openFiles(), 0);
}

TEST_F(ReplicaFaultTest, AReadErrorIsReportedWithTheSourceName) {
  resetEngine(rt);
  folder.write("origem", std::string(70000, 'a'));
  fs.setReadableBytes(30000);
  std::string line = "REPLICA \"" + folder.path() + "/origem\" \"" + folder.path() + "/destino\"";
  EXPECT_FALSE(executeLine(rt, line, false));
  EXPECT_EQ(console.written, "Erro no processamento de arquivo " + folder.path() + "/origem\n");
  EXPECT_FALSE(std::filesystem::exists(folder.path() + "/destino"));
}

}  // namespace
}  // namespace tamiral
