#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/cp1252.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

TEST(MatchesPattern, WindowsWildcards) {
  struct Case {
    std::string_view name, pattern;
    bool matches;
  } cases[] = {
      {"a.txt", "*.*", true},      {"semponto", "*.*", true},   {"a.txt", "*.TXT", true},
      {"a.txt", "?.txt", true},    {"ab.txt", "?.txt", false},  {"a.txt.bak", "*.txt", false},
      {"LEIA", "leia.*", true},    {"leia.me", "leia.*", true}, {"x", "", false},
      {"ação.txt"_cp, "AÇÃO.*"_cp, true}, {"abc", "a*c", true}, {"abbbc", "a*b*c", true}, {"ab", "a*c", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ~ " + std::string(c.pattern));
    EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches);
  }
}

class PathTest : public ::testing::Test {
 protected:
  PathTest() {
    setenv("TAMIRAL_DRIVE_C", (folder.path() + "/c").c_str(), 1);
    fs = makeLinuxFileSystem();
  }
  ~PathTest() override { unsetenv("TAMIRAL_DRIVE_C"); }

  TempFolder folder;
  std::unique_ptr<FileSystem> fs;
};

TEST_F(PathTest, WindowsPathsReachTheirFiles) {
  folder.write("c/ondrel/clipora-light/som/CPQBUSCA.wav", "busca");
  folder.write("c/ondrel/clipora-light/som/cpdigp.wav", "digito");
  std::string base = folder.path() + "/c/ondrel/clipora-light";
  struct Case {
    std::string path;
    std::string native;
  } cases[] = {
      {"c:\\ondrel\\clipora-light\\som\\CPQBUSCA.wav", base + "/som/CPQBUSCA.wav"},
      {"C:\\ONDREL\\Clipora-Light\\SOM\\cpqbusca.WAV", base + "/som/CPQBUSCA.wav"},
      {"c:/ondrel/clipora-light/som/CPDIGP.wav", base + "/som/cpdigp.wav"},
      {"c:\\ondrel\\novo\\Arquivo.txt", folder.path() + "/c/ondrel/novo/Arquivo.txt"},  // new names kept as written
      {folder.path() + "\\C\\Ondrel", base.substr(0, base.rfind('/'))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(fs->nativePath(c.path), c.native);
  }
  EXPECT_TRUE(fs->isFile("C:\\ONDREL\\CLIPORA-LIGHT\\SOM\\CPDIGP.WAV"));
}

TEST_F(PathTest, RelativePathsMatchCaseToo) {
  folder.write("Temp/Pag1", "x");
  std::string start = fs->workingFolder();
  ASSERT_TRUE(fs->changeFolder(folder.path()));
  EXPECT_TRUE(fs->isFile("temp\\pag1"));
  EXPECT_TRUE(fs->isFile("..\\" + std::filesystem::path(folder.path()).filename().string() + "\\TEMP\\PAG1"));
  ASSERT_TRUE(fs->changeFolder(start));
}

TEST_F(PathTest, AccentedNamesAreUtf8OnDiskAndWindows1252InListings) {
  folder.write("ação.txt", "x");
  EXPECT_TRUE(fs->isFile(folder.path() + std::string("/AÇÃO.TXT"_cp)));
  std::optional<std::vector<DirectoryEntry>> entries = fs->list(folder.path() + "/*.txt");
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 1u);
  EXPECT_EQ(entries->front().name, "ação.txt"_cp);
}

TEST_F(PathTest, OpenModes) {
  std::string name = folder.path() + "/f";
  EXPECT_EQ(fs->open(name, OpenMode::kRead), nullptr);
  EXPECT_EQ(fs->open(name, OpenMode::kAppend), nullptr);
  ASSERT_NE(fs->open(name, OpenMode::kCreateNew), nullptr);
  EXPECT_EQ(fs->open(name, OpenMode::kCreateNew), nullptr);
  EXPECT_EQ(fs->open(folder.path(), OpenMode::kRead), nullptr);  // a folder is not a file
}

}  // namespace
}  // namespace tamiral
