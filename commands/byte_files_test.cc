#include "commands/byte_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "engine/cp1252.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

class ByteFileTest : public EngineTest {
 protected:
  std::string path(std::string_view name) const { return folder.path() + "/" + std::string(name); }
  const std::string& buffer() const { return rt.byteFiles.buffer; }

  TempFolder folder;
};

TEST_F(ByteFileTest, BytesGatheredBeforeAndAfterOpeningAreWrittenInOrder) {
  const std::string out = path("out.bin");
  ASSERT_TRUE(exec("ESCREVEBYTE \"AB\""));  // no byte file needed yet
  ASSERT_TRUE(exec("CRIABIN " + quoted(out)));
  ASSERT_TRUE(exec("GRAVABYTES"));
  EXPECT_EQ(buffer(), "");
  ASSERT_TRUE(exec("ESCREVEBYTE \"C\""));
  ASSERT_TRUE(exec("GRAVABYTES"));
  ASSERT_TRUE(exec("GRAVABYTES"));  // nothing gathered: nothing written
  ASSERT_TRUE(exec("FECHABIN"));
  EXPECT_EQ(contentsOf(out), "ABC");
  EXPECT_FALSE(exec("FECHABIN"));
  EXPECT_FALSE(exec("GRAVABYTES"));
  EXPECT_EQ(console.written, "");
}

TEST_F(ByteFileTest, CriaBinMakesOnlyNewFilesAndOneAtATime) {
  const std::string existing = folder.write("old.bin", "keep");
  EXPECT_FALSE(exec("CRIABIN " + quoted(existing)));
  EXPECT_EQ(contentsOf(existing), "keep");
  EXPECT_FALSE(exec("CRIABIN"));
  EXPECT_FALSE(exec("CRIABIN " + quoted(path("missing/x.bin"))));
  EXPECT_FALSE(exec("GRAVABYTES"));  // none of those opened anything

  const std::string first = path("first.bin"), second = path("second.bin");
  ASSERT_TRUE(exec("CRIABIN " + quoted(first)));
  EXPECT_FALSE(exec("CRIABIN " + quoted(second)));
  EXPECT_FALSE(std::filesystem::exists(second));
  ASSERT_TRUE(exec("ESCREVEBYTE \"x\""));
  ASSERT_TRUE(exec("GRAVABYTES"));
  ASSERT_TRUE(exec("FECHABIN"));
  EXPECT_EQ(contentsOf(first), "x");
  EXPECT_EQ(console.written, "");
}

TEST_F(ByteFileTest, GravaBytesWithoutAFileFailsAndKeepsTheBytes) {
  ASSERT_TRUE(exec("ESCREVEBYTE \"xy\""));
  EXPECT_FALSE(exec("GRAVABYTES"));
  EXPECT_FALSE(exec("FECHABIN"));
  EXPECT_EQ(buffer(), "xy");
}

TEST_F(ByteFileTest, EscreveByteAppendsTheBytesOfOneValue) {
  setVar("v", std::string("\xE9\x00\x01", 3));
  struct Case {
    std::string_view line;
    bool ok;
    std::string added;
  } cases[] = {
      {"ESCREVEBYTE \"ab\"", true, "ab"},
      {"ESCREVEBYTE \"\"", true, ""},
      {"ESCREVEBYTE \"a\" \"b\"", true, "a"},  // what follows the value is ignored
      {"ESCREVEBYTE v", true, std::string("\xE9\x00\x01", 3)},
      {"ESCREVEBYTE 0065", true, "0065"},
      {"ESCREVEBYTE (2*3)", true, "6"},
      {"ESCREVEBYTE", false, ""},
      {"ESCREVEBYTE (1/0)", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    rt.byteFiles.buffer = "<";
    EXPECT_EQ(exec(c.line), c.ok);
    EXPECT_EQ(buffer(), "<" + c.added);
  }
}

TEST_F(ByteFileTest, LeByteAppendsARangeOfTheFile) {
  const std::string file = folder.write("fifteen.bin", "0123456789ABCDE");
  struct Case {
    std::string_view from, to;
    bool ok;
    std::string_view added;
  } cases[] = {
      {"0", "4", true, "0123"},  // to is not included
      {"4", "4", true, "4"},     // equal ends take one byte
      {"14", "14", true, "E"},
      {"10", "20", true, "ABCDE"},  // cut short by the end of the file
      {"\"0xA\"", "\"$C\"", true, "AB"},  // hexadecimal
      {"\" 1\"", "3", true, "12"},  // leading blanks are allowed
      {"5", "4", false, ""},
      {"15", "15", false, ""},  // at the end
      {"20", "30", false, ""},
      {"-1", "3", false, ""},
      {"-3", "-1", false, ""},
      {"x", "4", false, ""},
      {"0", "\"\"", false, ""},
      {"1.5", "4", false, ""},
  };
  for (const Case& c : cases) {
    std::string line = "LEBYTE " + quoted(file) + " " + std::string(c.from) + " " + std::string(c.to);
    SCOPED_TRACE(line);
    rt.byteFiles.buffer = "<";
    EXPECT_EQ(exec(line), c.ok);
    EXPECT_EQ(buffer(), "<" + std::string(c.added));
  }
  for (std::string line : {"LEBYTE " + quoted(path("none.bin")) + " 0 4", "LEBYTE " + quoted(file) + " 0",
                           "LEBYTE " + quoted(folder.path()) + " 0 4", std::string("LEBYTE")}) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(exec(line));
    EXPECT_EQ(buffer(), "<");
  }
  EXPECT_EQ(console.written, "");
}

TEST_F(ByteFileTest, PiecesOfAFileCopyThroughTheBuffer) {
  const std::string source = folder.write("in.bin", std::string("\x00\xFF\r\n\x1A tail", 10));
  const std::string copy = path("copy.bin");
  setVar("f", source);
  RunOutcome outcome = runLines({"CRIABIN \"" + copy + "\"", "LEBYTE f 0 4", "GRAVABYTES", "LEBYTE f 4 100",
                                 "GRAVABYTES", "FECHABIN"});
  EXPECT_EQ(outcome, RunOutcome::kEnded);
  EXPECT_EQ(contentsOf(copy), contentsOf(source));
}

TEST_F(ByteFileTest, LeByteReadsFilesUpTo128MiB) {
  const std::string big = folder.write("big.bin", "");
  std::filesystem::resize_file(big, std::uintmax_t{1} << 27);  // sparse: reads as zeros
  ASSERT_TRUE(exec("LEBYTE " + quoted(big) + " 134217727 134217727"));
  EXPECT_EQ(buffer(), std::string(1, '\0'));
  std::filesystem::resize_file(big, (std::uintmax_t{1} << 27) + 1);
  EXPECT_FALSE(exec("LEBYTE " + quoted(big) + " 0 1"));
  EXPECT_EQ(buffer(), std::string(1, '\0'));
}

TEST_F(ByteFileTest, TheBufferStopsAt134217730Bytes) {
  constexpr size_t kLimit = 134217730;
  const std::string file = folder.write("small.bin", "0123456789");
  rt.byteFiles.buffer.assign(kLimit - 1, 'x');
  EXPECT_FALSE(exec("ESCREVEBYTE \"ab\""));
  EXPECT_EQ(buffer().size(), kLimit - 1);
  EXPECT_TRUE(exec("ESCREVEBYTE \"a\""));
  EXPECT_EQ(buffer().size(), kLimit);
  EXPECT_TRUE(exec("ESCREVEBYTE \"\""));
  EXPECT_FALSE(exec("LEBYTE " + quoted(file) + " 0 1"));

  // Below 2^27 bytes LEBYTE reads, but only what still fits.
  rt.byteFiles.buffer.resize((size_t{1} << 27) - 1);
  EXPECT_FALSE(exec("LEBYTE " + quoted(file) + " 0 4"));
  EXPECT_EQ(buffer().size(), (size_t{1} << 27) - 1);
  EXPECT_TRUE(exec("LEBYTE " + quoted(file) + " 0 3"));
  EXPECT_EQ(buffer().size(), kLimit);
  EXPECT_EQ(buffer().substr(kLimit - 4), "x012");
  rt.byteFiles.buffer.resize(size_t{1} << 27);
  EXPECT_FALSE(exec("LEBYTE " + quoted(file) + " 0 1"));
}

TEST_F(ByteFileTest, LimpaBytesDropsWhatWasGathered) {
  const std::string out = path("out.bin");
  ASSERT_TRUE(exec("ESCREVEBYTE \"abc\""));
  ASSERT_TRUE(exec("LIMPABYTES agora"));
  ASSERT_TRUE(exec("ESCREVEBYTE \"d\""));
  ASSERT_TRUE(exec("CRIABIN " + quoted(out)));
  ASSERT_TRUE(exec("GRAVABYTES"));
  ASSERT_TRUE(exec("FECHABIN"));
  EXPECT_EQ(contentsOf(out), "d");
}

TEST_F(ByteFileTest, TheBufferAndTheOpenFileOutliveAReset) {
  const std::string out = path("out.bin");
  ASSERT_TRUE(exec("ESCREVEBYTE \"a\""));
  ASSERT_TRUE(exec("CRIABIN " + quoted(out)));
  resetEngine(rt);
  ASSERT_TRUE(exec("GRAVABYTES"));
  ASSERT_TRUE(exec("FECHABIN"));
  EXPECT_EQ(contentsOf(out), "a");
}

// Over a file system whose disk fills up and whose closes can fail.
class ByteFileFaultTest : public ::testing::Test {
 protected:
  ByteFileFaultTest() { resetEngine(rt); }
  bool exec(const std::string& line) { return executeLine(rt, line, false); }
  std::string path(std::string_view name) const { return folder.path() + "/" + std::string(name); }

  TempFolder folder;
  FakeConsole console;
  FakeClock clock;
  FaultyFileSystem fs{2};
  Runtime rt{console, clock, fs};
};

TEST_F(ByteFileFaultTest, AFullDiskFailsGravaBytesAndKeepsWhatDidNotFit) {
  const std::string out = path("out.bin");
  ASSERT_TRUE(exec("ESCREVEBYTE \"ABCDE\""));
  ASSERT_TRUE(exec("CRIABIN " + quoted(out)));
  EXPECT_FALSE(exec("GRAVABYTES"));  // short write
  EXPECT_EQ(rt.byteFiles.buffer, "CDE");
  EXPECT_FALSE(exec("GRAVABYTES"));  // no room at all
  EXPECT_EQ(rt.byteFiles.buffer, "CDE");
  fs.setFreeBytes(100);
  ASSERT_TRUE(exec("GRAVABYTES"));
  EXPECT_EQ(rt.byteFiles.buffer, "");
  ASSERT_TRUE(exec("FECHABIN"));
  EXPECT_EQ(contentsOf(out), "ABCDE");
  EXPECT_EQ(console.written, "");
}

TEST_F(ByteFileFaultTest, AFailedCloseFailsFechaBinButTheFileIsClosed) {
  fs.setFailingCloses(true);
  ASSERT_TRUE(exec("CRIABIN " + quoted(path("a.bin"))));
  EXPECT_FALSE(exec("FECHABIN"));
  EXPECT_EQ(fs.openFiles(), 0);
  EXPECT_FALSE(exec("FECHABIN"));
  EXPECT_TRUE(exec("CRIABIN " + quoted(path("b.bin"))));
}

TEST_F(ByteFileFaultTest, LeByteClosesTheFileWhateverHappens) {
  const std::string file = folder.write("f.bin", "0123456789");
  for (std::string_view range : {"0 4", "4 4", "5 4", "20 30", "-1 2", "0 x"}) {
    SCOPED_TRACE(range);
    exec("LEBYTE " + quoted(file) + " " + std::string(range));
    EXPECT_EQ(fs.openFiles(), 0);
  }
}

TEST_F(ByteFileFaultTest, TheOpenByteFileIsClosedWithTheRuntime) {
  fs.setFreeBytes(100);
  const std::string out = path("out.bin");
  {
    Runtime other{console, clock, fs};
    ASSERT_TRUE(executeLine(other, "CRIABIN " + quoted(out), false));
    ASSERT_TRUE(executeLine(other, "ESCREVEBYTE \"z\"", false));
    ASSERT_TRUE(executeLine(other, "GRAVABYTES", false));
    EXPECT_EQ(fs.openFiles(), 1);
  }
  EXPECT_EQ(fs.openFiles(), 0);
  EXPECT_EQ(contentsOf(out), "z");
}

}  // namespace
}  // namespace tamiral
