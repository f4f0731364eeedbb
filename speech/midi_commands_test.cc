#include "speech/midi_commands.h"

#include <gtest/gtest.h>

#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

struct MidiLog {
  std::vector<uint32_t> sent;
  int opens = 0;
  int closes = 0;
  bool available = true;
};

class RecordingMidi : public MidiOutput {
 public:
  explicit RecordingMidi(MidiLog& log) : log_(log) {}
  bool open() override {
    ++log_.opens;
    return log_.available;
  }
  void close() override { ++log_.closes; }
  bool send(uint32_t message) override {
    log_.sent.push_back(message);
    return log_.available;
  }

 private:
  MidiLog& log_;
};

class MidiCommandTest : public EngineTest {
 protected:
  MidiCommandTest() { rt.midi = std::make_unique<RecordingMidi>(log); }
  MidiLog log;
};

uint32_t message(uint32_t status, uint32_t data1, uint32_t data2 = 0) { return status + data1 * 256 + data2 * 65536; }

TEST_F(MidiCommandTest, NothingButIniciaBeforeTheStart) {
  for (std::string_view line : {"MIDI NL 1 60 100", "MIDI ND 1 60", "MIDI TT 1 5", "MIDI PANE", "MIDI TERMINA"}) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(exec(line));
  }
  EXPECT_TRUE(log.sent.empty());
  EXPECT_EQ(log.opens, 0);

  EXPECT_TRUE(exec("midi  inicia "));
  EXPECT_EQ(log.opens, 1);
  EXPECT_EQ(log.sent, (std::vector<uint32_t>{255, 63}));
  EXPECT_FALSE(exec("MIDI INICIA"));
  EXPECT_EQ(log.opens, 1);

  EXPECT_TRUE(exec("MIDI TERMINA"));
  EXPECT_EQ(log.closes, 1);
  EXPECT_FALSE(exec("MIDI TERMINA"));
  EXPECT_FALSE(exec("MIDI NL 1 60 100"));
  EXPECT_TRUE(exec("MIDI INICIA"));
}

TEST_F(MidiCommandTest, NotesAndProgramsTakeTheirValuesInOrderAndInRange) {
  ASSERT_TRUE(exec("MIDI INICIA"));
  setVar("n", "64");
  struct Case {
    std::string_view line;
    std::optional<uint32_t> sent;  // nothing: the line fails
  } cases[] = {
      {"MIDI NL 1 60 100", message(0x90, 60, 100)},
      {"MIDI NL 16 127 127", message(0x9F, 127, 127)},
      {"MIDI NL 10 0 0", message(0x99, 0, 0)},
      {"midi nl 2 n 90", message(0x91, 64, 90)},
      {"MIDI NL3 (n+1) \"80\"", message(0x92, 65, 80)},
      {"MIDI ND 1 60", message(0x90, 60, 0)},
      {"MIDI TT 1 5", message(0xC0, 5)},
      {"MIDI TT 16 127", message(0xCF, 127)},
      {"MIDI NL 17 60 100", std::nullopt},
      {"MIDI NL 0 60 100", std::nullopt},
      {"MIDI NL 1 128 100", std::nullopt},
      {"MIDI NL 1 -1 100", std::nullopt},
      {"MIDI NL 1 60 128", std::nullopt},
      {"MIDI NL 1 60", std::nullopt},
      {"MIDI NL 1 60 100 5", std::nullopt},
      {"MIDI NL 1 \"do\" 100", std::nullopt},
      {"MIDI ND 1 60 0", std::nullopt},
      {"MIDI ND 1", std::nullopt},
      {"MIDI TT 1 128", std::nullopt},
      {"MIDI TT 1", std::nullopt},
      {"MIDI XY 1 2 3", std::nullopt},
      {"MIDI", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    log.sent.clear();
    EXPECT_EQ(exec(c.line), c.sent.has_value());
    EXPECT_EQ(log.sent, c.sent ? std::vector<uint32_t>{*c.sent} : std::vector<uint32_t>{});
  }
  EXPECT_EQ(console.written, "");
}

TEST_F(MidiCommandTest, PaneSilencesEveryNoteOfEveryChannel) {
  ASSERT_TRUE(exec("MIDI INICIA"));
  log.sent.clear();
  ASSERT_TRUE(exec("MIDI PANE"));
  ASSERT_EQ(log.sent.size(), 16u * 128u);
  EXPECT_EQ(log.sent.front(), message(0x90, 0, 0));
  EXPECT_EQ(log.sent[128], message(0x91, 0, 0));
  EXPECT_EQ(log.sent.back(), message(0x9F, 127, 0));
}

// Without an output the script goes on: notes go nowhere, and only a program
// change says so.
TEST_F(MidiCommandTest, WithoutAnOutputOnlyProgramChangesComplain) {
  log.available = false;
  EXPECT_TRUE(exec("MIDI INICIA"));
  EXPECT_TRUE(exec("MIDI NL 1 60 100"));
  EXPECT_EQ(console.written, "");
  EXPECT_TRUE(exec("MIDI TT 1 5"));
  EXPECT_EQ(console.written, "erro em ProgramChange\n");
}

}  // namespace
}  // namespace tamiral
