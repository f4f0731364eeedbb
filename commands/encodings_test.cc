#include "commands/encodings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "engine/text.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

std::string allBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

// Bytes of every value, long enough to cross the commands' 1024-byte blocks.
std::string sampleBytes(size_t size) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Base64, Encoding) {
  struct Case {
    std::string_view bytes, base64;
  } cases[] = {
      {"", ""},         {"a", "YQ=="},          {"ab", "YWI="},
      {"abc", "YWJj"},  {"abcd", "YWJjZA=="},   {std::string_view("\0\xFF\xFE", 3), "AP/+"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base64);
    EXPECT_EQ(encodeBase64(c.bytes), c.base64);
    EXPECT_EQ(decodeBase64(c.base64), c.bytes);
  }
  EXPECT_EQ(decodeBase64(encodeBase64(allBytes())), allBytes());
}

TEST(Base64, DecodingSkipsWhatIsNotInTheAlphabetAndStopsAtFill) {
  struct Case {
    std::string_view base64, bytes;
  } cases[] = {
      {"YW Jj", "abc"},
      {"YWJj=YWJj", "abc"},          // nothing after the first '='
      {"=YWJj", ""},
      {"YWJj\r\nZA==\r\n", "abcd"},
      {"Y!W-J.j", "abc"},
      {"YQ", "a"},                   // incomplete last groups give their whole bytes
      {"YWI", "ab"},
      {"YWJjZ", "abc"},              // a single leftover character gives nothing
      {"AAA", std::string_view("\0\0", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base64);
    EXPECT_EQ(decodeBase64(c.base64), c.bytes);
  }
}

TEST(Utf8TwoByteToCp1252, DecodesOnlyTwoByteSequences) {
  struct Case {
    std::string_view utf8, cp1252;
  } cases[] = {
      {"\xC3\xA7\xC3\xA3", "\xE7\xE3"},
      {"\xE2\x82\xAC", "\xE2\x82\xAC"},                // three-byte sequence kept
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},        // four-byte sequence kept
      {"\xC5\x93", "\x53"},                            // U+0153: its low eight bits
      {"\xC3\x41z", "\xC1z"},                          // the byte after a lead is taken whatever it is
      {"a\xC3", "a\xE0"},                              // a lead at the end reads a space
      {std::string_view("\xC0\x80", 2), std::string_view("\0", 1)},
      {"\xDF\xBF", "\xFF"},
      {"\xE9t\xE9", "\xE9t\xE9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(utf8TwoByteToCp1252(c.utf8), c.cp1252);
  }
}

TEST(Utf8TwoByteToCp1252, GivesBackLatin1TextConvertedToUtf8) {
  std::string latin1;
  for (int b = 1; b < 256; ++b) {
    if (b < 0x80 || b >= 0xA0) latin1 += static_cast<char>(b);
  }
  EXPECT_EQ(utf8TwoByteToCp1252(cp1252ToUtf8(latin1)), latin1);
}

TEST(QuotedPrintable, Removal) {
  struct Case {
    std::string_view quoted, bytes;
  } cases[] = {
      {"caf=C3=A9=", "caf\xC3\xA9"},
      {"a=3db", "a=b"},       // either case
      {"a=3", "a=3"},         // too short for an escape
      {"a=G1", "a=G1"},
      {"==41", "=A"},
      {"=4=41", "=4A"},       // the scan goes on after a '=' that stays
      {"a==", "a="},          // only one trailing '=' goes
      {"=", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quoted);
    EXPECT_EQ(removeQuotedPrintable(c.quoted), c.bytes);
  }
}

TEST(QuotedPrintable, Adding) {
  struct Case {
    std::string_view bytes, quoted;
  } cases[] = {
      {"a=b", "a=3Db"},
      {"\t x~\x7F\xE9", "=09 x~=7F=E9"},
      {std::string_view("\0\x1F", 2), "=00=1F"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quoted);
    EXPECT_EQ(addQuotedPrintable(c.bytes), c.quoted);
  }
  EXPECT_EQ(removeQuotedPrintable(addQuotedPrintable(allBytes())), allBytes());
}

class EncodingCommandTest : public EngineTest {};

TEST_F(EncodingCommandTest, ConvertTheVariableInPlace) {
  struct Case {
    std::string_view line;
    std::string_view variable;
    std::string before, after;
  } cases[] = {
      {"CODBASE64 s", "s", "abc", "YWJj"},
      {"CODBASE64 $texto", "TEXTO", "ab", "YWI="},
      {"CODBASE64 s", "s", "", ""},
      {"DECODBASE64 s", "s", "YWI=", "ab"},
      {"DECODBASE64 s", "s", "AAA", std::string("\0\0", 2)},
      {"ANSIPARAUTF8 s", "s", std::string("Ação €"_cp), "Ação €"},
      {"UTF8PARAANSI s", "s", "Ação", std::string("Ação"_cp)},
      {"REMOVEQUOTED s", "s", "caf=C3=A9=", "caf\xC3\xA9"},
      {"ADQUOTED s", "s", "a=b", "a=3Db"},
      {"ADQUOTED s depois", "s", "a=b", "a=3Db"},  // text after the variable is ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    setVar(c.variable, c.before);
    ASSERT_TRUE(exec(c.line));
    EXPECT_EQ(var(c.variable), c.after);
  }
}

TEST_F(EncodingCommandTest, AnArgumentThatIsNotAVariableFailsWithoutStoring) {
  for (std::string_view line : {"CODBASE64 \"abc\"", "DECODBASE64 12", "ANSIPARAUTF8 (1+1)", "UTF8PARAANSI sx",
                                "REMOVEQUOTED", "ADQUOTED \"s\""}) {
    SCOPED_TRACE(line);
    setVar("s", "abc");
    EXPECT_FALSE(exec(line));
    EXPECT_EQ(var("s"), "abc");
    EXPECT_EQ(console.written, "");
  }
}

TEST_F(EncodingCommandTest, TextsLongerThanTheLimitAreNotBuilt) {
  struct Case {
    std::string_view line;
    std::string text;
  } cases[] = {
      {"CODBASE64 s", std::string(kMaxTextLength / 4 * 3 + 1, 'a')},
      {"ANSIPARAUTF8 s", std::string(kMaxTextLength / 3 + 1, '\x80')},  // three bytes each
      {"ADQUOTED s", std::string(kMaxTextLength / 3 + 1, '=')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    setVar("s", c.text);
    EXPECT_FALSE(exec(c.line));
    EXPECT_EQ(var("s").size(), c.text.size());
  }
  setVar("s", std::string(kMaxTextLength / 4 * 3, 'a'));  // exactly the limit
  ASSERT_TRUE(exec("CODBASE64 s"));
  EXPECT_EQ(var("s").size(), kMaxTextLength);
}

class FileEncodingTest : public EngineTest {
 protected:
  std::string path(std::string_view name) const { return folder.path() + "/" + std::string(name); }

  TempFolder folder;
};

// What CODARQBASE64 must write: the whole text's Base64 cut into lines.
std::string base64Lines(std::string_view bytes) {
  std::string base64 = encodeBase64(bytes), lines;
  for (size_t at = 0; at < base64.size(); at += 64) lines += base64.substr(at, 64) + "\r\n";
  return lines;
}

TEST_F(FileEncodingTest, EncodesAFileInLinesOf64) {
  for (size_t size : {0, 1, 47, 48, 49, 96, 1024, 1100, 3000}) {
    SCOPED_TRACE(size);
    const std::string source = folder.write("in.bin", sampleBytes(size));
    ASSERT_TRUE(exec("CODARQBASE64 " + quoted(source) + " " + quoted(path("out.txt")) + " resto"));
    EXPECT_EQ(contentsOf(path("out.txt")), base64Lines(sampleBytes(size)));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"in.bin", "out.txt"}));
  }
  folder.write("in.bin", std::string(49, 'x'));
  ASSERT_TRUE(exec("CODARQBASE64 " + quoted(path("in.bin")) + " " + quoted(path("out.txt"))));
  std::string written = contentsOf(path("out.txt"));
  ASSERT_EQ(written.size(), 64u + 2 + 4 + 2);
  EXPECT_EQ(written.substr(64, 2), "\r\n");
  EXPECT_EQ(written.substr(66), "eA==\r\n");
}

TEST_F(FileEncodingTest, DecodingAFileGivesBackWhatWasEncoded) {
  for (size_t size : {0, 1, 2, 48, 1024, 1025, 3000}) {
    SCOPED_TRACE(size);
    const std::string original = folder.write("in.bin", sampleBytes(size));
    ASSERT_TRUE(exec("CODARQBASE64 " + quoted(original) + " " + quoted(path("b64.txt"))));
    ASSERT_TRUE(exec("DECODARQBASE64 " + quoted(path("b64.txt")) + " " + quoted(path("back.bin"))));
    EXPECT_EQ(contentsOf(path("back.bin")), sampleBytes(size));
  }
}

TEST_F(FileEncodingTest, DecodingSkipsLineEndsAndStopsAtFill) {
  const std::string source = folder.write("in.txt", "YW Jj\r\nZA==\r\nYWJj\r\n");
  setVar("ORIGEM", source);
  setVar("d", path("out.bin"));
  ASSERT_TRUE(exec("DECODARQBASE64 $origem d"));
  EXPECT_EQ(contentsOf(path("out.bin")), "abcd");
}

TEST_F(FileEncodingTest, AnExistingDestinationIsReplaced) {
  const std::string destination = folder.write("out.txt", std::string(500, 'z'));
  const std::string source = folder.write("in.bin", "abc");
  ASSERT_TRUE(exec("CODARQBASE64 " + quoted(source) + " " + quoted(destination)));
  EXPECT_EQ(contentsOf(destination), "YWJj\r\n");
  ASSERT_TRUE(exec("DECODARQBASE64 " + quoted(destination) + " " + quoted(source)));
  EXPECT_EQ(contentsOf(source), "abc");
}

TEST_F(FileEncodingTest, FailuresLeaveNothingBehind) {
  const std::string source = folder.write("in.txt", "YWJj");
  std::filesystem::create_directory(path("sub"));
  for (std::string_view word : {"CODARQBASE64", "DECODARQBASE64"}) {
    SCOPED_TRACE(word);
    for (const std::string& args :
         {quoted(path("missing.txt")) + " " + quoted(path("out.txt")),
          quoted(source) + " " + quoted(path("no folder/out.txt")),
          quoted(path("sub")) + " " + quoted(path("out.txt")),  // a folder is not a file
          quoted(source) + " " + quoted(path("sub")),
          quoted(source)}) {
      SCOPED_TRACE(args);
      EXPECT_FALSE(exec(std::string(word) + " " + args));
      EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"in.txt", "sub"}));
      EXPECT_TRUE(std::filesystem::is_empty(path("sub")));
    }
  }
  EXPECT_EQ(console.written, "");
}

// The same commands over a disk that fills up or a source that cannot be read.
class FileEncodingFaultTest : public ::testing::Test {
 protected:
  FileEncodingFaultTest() { resetEngine(rt); }
  bool exec(const std::string& line) { return executeLine(rt, line, false); }
  std::string path(std::string_view name) const { return folder.path() + "/" + std::string(name); }

  TempFolder folder;
  FakeConsole console;
  FakeClock clock;
  FaultyFileSystem fs;
  Runtime rt{console, clock, fs};
};

TEST_F(FileEncodingFaultTest, AFailurePartWayKeepsTheOldDestinationAndNoTemporary) {
  const std::string plain = folder.write("plain.bin", sampleBytes(3000));
  const std::string encoded = folder.write("encoded.txt", base64Lines(sampleBytes(3000)));
  const std::string destination = folder.write("out.bin", "old");
  struct Case {
    std::string_view name;
    std::string line;
    uint64_t freeBytes;
    std::optional<uint64_t> readableBytes;
  } cases[] = {
      {"encoding, disk full", "CODARQBASE64 " + quoted(plain) + " " + quoted(destination), 100, std::nullopt},
      {"encoding, nothing fits", "CODARQBASE64 " + quoted(plain) + " " + quoted(destination), 0, std::nullopt},
      {"encoding, read error", "CODARQBASE64 " + quoted(plain) + " " + quoted(destination), UINT64_MAX, 1500},
      {"decoding, disk full", "DECODARQBASE64 " + quoted(encoded) + " " + quoted(destination), 1500, std::nullopt},
      {"decoding, read error", "DECODARQBASE64 " + quoted(encoded) + " " + quoted(destination), UINT64_MAX, 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs.setFreeBytes(c.freeBytes);
    fs.setReadableBytes(c.readableBytes);
    EXPECT_FALSE(exec(c.line));
    EXPECT_EQ(contentsOf(destination), "old");
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"encoded.txt", "out.bin", "plain.bin"}));
    EXPECT_EQ(fs.openFiles(), 0);
  }
}

TEST_F(FileEncodingFaultTest, AFailedCloseOfTheOutputFails) {
  const std::string source = folder.write("in.bin", "abc");
  fs.setFailingCloses(true);
  EXPECT_FALSE(exec("CODARQBASE64 " + quoted(source) + " " + quoted(path("out.txt"))));
  EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"in.bin"});
  EXPECT_EQ(fs.openFiles(), 0);
}

}  // namespace
}  // namespace tamiral
