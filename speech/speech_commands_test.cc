#include "speech/speech_commands.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"

#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

class SpeechCommandTest : public EngineTest {};

TEST_F(SpeechCommandTest, FalaHoraTakesTwoDigitsColonTwoDigits) {
  struct Case {
    std::string_view line;
    bool ok;
    int hours = 0, minutes = 0;
  } cases[] = {
      {"FALAHORA \"09:30\"", true, 9, 30},
      {"falahora \"01:00\"", true, 1, 0},
      {"FALAHORA \"23:59\" resto", true, 23, 59},
      {"FALAHORA h", true, 12, 5},  // h holds "12:05"
      {"FALAHORA \"9:30\"", false},
      {"FALAHORA \"09:30 \"", false},
      {"FALAHORA \"09.30\"", false},
      {"FALAHORA \"0930\"", false},
      {"FALAHORA \"ab:cd\"", false},
      {"FALAHORA \"-1:30\"", false},
      {"FALAHORA \"09:-5\"", false},
      {"FALAHORA", false},
  };
  setVar("h", "12:05");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.timesSpoken.clear();
    EXPECT_EQ(exec(c.line), c.ok);
    std::vector<FakeConsole::SpokenTime> expected;
    if (c.ok) expected.push_back({c.hours, c.minutes});
    EXPECT_EQ(console.timesSpoken, expected);
  }
  EXPECT_EQ(console.written, "");
}

TEST_F(SpeechCommandTest, MensagemPlaysTheUpperCasedWaveFile) {
  struct Case {
    std::string_view line;
    std::string_view played;
  } cases[] = {
      {"MENSAGEM \"aviso\"", "AVISO.WAV"},
      {"MENSAGEM \"som\\bip.wav\"", "SOM\\BIP.WAV"},
      {"MENSAGEM \"fim.wav.bak\"", "FIM.WAV.BAK"},  // holds .WAV already
      {"mensagem \"ação\" e mais texto"_cp, "AÇÃO.WAV"_cp},
      {"MENSAGEM m", "ALERTA.WAV"},  // m holds "alerta"
  };
  setVar("m", "alerta");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.wavesPlayed.clear();
    EXPECT_TRUE(exec(c.line));
    EXPECT_EQ(console.wavesPlayed, std::vector<std::string>{std::string(c.played)});
  }
}

TEST_F(SpeechCommandTest, MensagemSucceedsWhateverThePlaybackAnswersButNeedsAValue) {
  console.waveResult = -1;
  EXPECT_TRUE(exec("MENSAGEM \"falta\""));
  EXPECT_EQ(console.wavesPlayed, std::vector<std::string>{"FALTA.WAV"});
  EXPECT_FALSE(exec("MENSAGEM"));
  EXPECT_EQ(console.wavesPlayed.size(), 1u);
}

TEST_F(SpeechCommandTest, FalaSaysTheValuesAsOneText) {
  struct Case {
    std::string_view line;
    bool ok;
    std::vector<std::string> spoken;
    std::vector<std::string> sounds;
  } cases[] = {
      {"FALA n \" casas\"", true, {"12 casas"}, {}},
      {"fala \"a\" \"b\" &", true, {"ab"}, {}},
      {"FALA \"dito\" (", false, {"dito"}, {}},  // said, then the leftover fails the line
      {"FALA", true, {}, {"stop"}},
      {"FALA &", true, {}, {"stop"}},
      {"SOLETRA \"abc\" resto", true, {"abc"}, {}},
      {"SOLETRA", false, {}, {}},
      {"BIPA", true, {}, {"beep"}},
      {"BIPA 1", true, {}, {"click"}},
      {"BIPA \"2\"", true, {}, {"beep"}},
      {"BIPA (", false, {}, {}},
  };
  setVar("n", "12");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.spoken.clear();
    console.sounds.clear();
    EXPECT_EQ(exec(c.line), c.ok);
    EXPECT_EQ(console.spoken, c.spoken);
    EXPECT_EQ(console.sounds, c.sounds);
  }
  console.written.clear();
  exec("SOLETRA n");
  EXPECT_EQ(console.written, "12");  // written after spelling, without a line end
}

}  // namespace
}  // namespace tamiral
