#include "speech/recorded_numbers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "speech/settings.h"
#include "speech/speech.h"
#include "speech/wave_playback.h"
#include "tests/support/fake_console.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiny_voice.h"

namespace tamiral {
namespace {

TEST(RecordedNumberWords, SaysNumbersInPortuguese) {
  struct Case {
    uint64_t value;
    std::string_view words;
  } cases[] = {
      {0, "zero"},
      {1, "um"},
      {10, "dez"},
      {16, "dezesseis"},
      {17, "dezessete"},
      {20, "vinte"},
      {40, "quarenta"},
      {99, "noventa e nove"},
      {100, "cem"},
      {101, "cento e um"},
      {110, "cento e dez"},
      {120, "cento e vinte"},
      {200, "duzentos"},
      {999, "novecentos e noventa e nove"},
      {1000, "mil"},
      {1001, "mil e um"},
      {1100, "mil e cem"},
      {1500, "mil e quinhentos"},
      {2000, "dois mil"},
      {2019, "dois mil e dezenove"},
      {21000, "vinte e um mil"},
      {100000, "cem mil"},
      {101000, "cento e um mil"},
      {1000000, "um milhão"_cp},
      {1000001, "um milhão e um"_cp},
      {2000000, "dois milhões"_cp},
      {1234567, "um milhão duzentos e trinta e quatro mil e quinhentos e sessenta e sete"_cp},
      {1000000000, "um bilhão"_cp},
      {3000000000000, "tres trilhões"_cp},
      {1000000000000, "um trilhão"_cp},
      {5000000000017, "cinco trilhões e dezessete"_cp},
      {999999999999999,
       "novecentos e noventa e nove trilhões novecentos e noventa e nove bilhões novecentos e noventa e nove "
       "milhões novecentos e noventa e nove mil e novecentos e noventa e nove"_cp},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(recordedNumberWords(c.value), c.words);
  }
}

// Every word of every number must be a word of the vocabulary, one space
// apart: a doubled or stray space would make an empty item.
TEST(RecordedNumberWords, SplitIntoVocabularyWords) {
  const std::set<std::string> vocabulary = {
      "zero", "um", "dois", "tres", "quatro", "cinco", "seis", "sete", "oito", "nove", "dez", "onze", "doze",
      "treze", "quatorze", "quinze", "dezesseis", "dezessete", "dezoito", "dezenove", "vinte", "trinta",
      "quarenta", "cinquenta", "sessenta", "setenta", "oitenta", "noventa", "cem", "cento", "duzentos",
      "trezentos", "quatrocentos", "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos", "e",
      "mil", std::string("milhão"_cp), std::string("milhões"_cp), std::string("bilhão"_cp),
      std::string("bilhões"_cp), std::string("trilhão"_cp), std::string("trilhões"_cp)};
  std::vector<uint64_t> values;
  for (uint64_t v = 0; v <= 2100; ++v) values.push_back(v);
  for (uint64_t scale : {1000ull, 1000000ull, 1000000000ull, 1000000000000ull}) {
    for (uint64_t v : {1ull, 2ull, 17ull, 100ull, 101ull, 999ull}) values.push_back(v * scale + v);
  }
  for (uint64_t v : values) {
    std::string words = recordedNumberWords(v);
    SCOPED_TRACE(v);
    ASSERT_FALSE(words.empty());
    std::istringstream split(words);
    std::string rebuilt;
    for (std::string word; split >> word;) {
      EXPECT_TRUE(vocabulary.count(word)) << word;
      rebuilt += (rebuilt.empty() ? "" : " ") + word;
    }
    EXPECT_EQ(rebuilt, words);
  }
}

TEST(WeekdayOf, CountsFromSunday) {
  struct Case {
    int day, month, year, weekday;
  } cases[] = {{1, 1, 2019, 2},  {1, 1, 2000, 6},  {29, 2, 2024, 4}, {17, 9, 2023, 0},
               {1, 3, 1900, 4},  {31, 12, 1999, 5}, {29, 2, 1600, 2}, {1, 1, 1970, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.day) + "/" + std::to_string(c.month) + "/" + std::to_string(c.year));
    EXPECT_EQ(weekdayOf(c.day, c.month, c.year), c.weekday);
  }
}

// Speech over a scratch letters folder, a capture file and a speech log. The
// host moves the capture's clock, as the console's delays do.
class RecordedSpeechTest : public ::testing::Test {
 protected:
  RecordedSpeechTest() {
    std::string voice = writeTinyVoice(folder, "difones");
    folder.write("letras/.keep", "");
    folder.write("config/Tamiral/Tamiral.ini", "[TRADUTOR]\nDIRLETRAS=" + folder.path() +
                                                   "/letras\nREGISTRODAFALA=" + folder.path() +
                                                   "/fala.log\nSAIDADEAUDIO=arquivo:" + folder.path() +
                                                   "/saida.wav\nDIRDIFONES=" + voice + "\n");
    host.speech = &speech;
    EXPECT_EQ(speech.init(0, ""), 0);
  }

  static Environment environment(const TempFolder& folder) {
    Environment env;
    env.configHome = folder.path() + "/config";
    env.systemFolder = folder.path() + "/etc";
    return env;
  }

  // An item of `size` samples, every one `value`, so the capture shows which item sounded.
  std::string addItem(const std::string& name, size_t size, char value) {
    std::string samples(size, value);
    folder.write("letras/" + name + ".wav", buildWaveHeader(size, 11025, 8, 1) + samples);
    return samples;
  }

  std::vector<std::string> logLines() const {
    std::ifstream file(folder.path() + "/fala.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }

  // The samples of the capture file, after checking its header.
  std::string captured() const {
    std::ifstream file(folder.path() + "/saida.wav", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), {});
    if (bytes.size() < 44) return {};
    EXPECT_EQ(bytes.substr(0, 44), buildWaveHeader(bytes.size() - 44, 11025, 8, 1));
    return bytes.substr(44);
  }

  TempFolder folder;
  LoopConsole host;
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  Settings settings{environment(folder)};
  Speech speech{host, *fs, settings};
};

TEST_F(RecordedSpeechTest, WordsBecomeItemNames) {
  struct Case {
    uint64_t value;
    bool feminine;
    std::vector<std::string> items;
  } cases[] = {
      {17, false, {"_dezeset"}},
      {16, false, {"_dezesse"}},
      {40, false, {"_quarent"}},
      {400, false, {"_quatroc"}},
      {2000000, false, {"_dois", "_milhoes"}},
      {3000000000000, false, {"_tres", "_trilhoe"}},
      {1000000000, false, {"_um", "_bilhao"}},
      {1, true, {"_uma"}},
      {2, true, {"_duas"}},
      {22, true, {"_vinte", "_e", "_duas"}},
      {2001, true, {"_dois", "_mil", "_e", "_uma"}},  // only the last word turns feminine
      {12, true, {"_doze"}},
      {21, false, {"_vinte", "_e", "_um"}},
  };
  std::vector<std::string> expected;
  for (const Case& c : cases) {
    playRecordedWords(speech, recordedNumberWords(c.value), c.feminine);
    expected.insert(expected.end(), c.items.begin(), c.items.end());
  }
  EXPECT_EQ(logLines(), expected);
  EXPECT_EQ(host.written, "");
}

TEST_F(RecordedSpeechTest, TimesAndDatesSayTheirItemsInOrder) {
  struct Case {
    std::string_view what;
    void (*say)(Speech&);
    std::vector<std::string> items;
  } cases[] = {
      {"1:00", [](Speech& s) { speakTime(s, 1, 0); }, {"_uma", "_hora"}},
      {"2:01", [](Speech& s) { speakTime(s, 2, 1); }, {"_duas", "_horas", "_um", "_minuto"}},
      {"0:30", [](Speech& s) { speakTime(s, 0, 30); }, {"_zero", "_hora", "_trinta", "_minutos"}},
      {"22:02", [](Speech& s) { speakTime(s, 22, 2); }, {"_vinte", "_e", "_duas", "_horas", "_dois", "_minutos"}},
      {"1/1/2019",
       [](Speech& s) { speakDate(s, 1, 1, 2019); },
       {"_Terca", "_primeir", "_de", "_Janeiro", "_de", "_dois", "_mil", "_e", "_dezenov"}},
      {"15/2/2000",
       [](Speech& s) { speakDate(s, 15, 2, 2000); },
       {"_Terca", "_quinze", "_de", "_Feverei", "_de", "_dois", "_mil"}},
      {"31/12/1999",
       [](Speech& s) { speakDate(s, 31, 12, 1999); },
       {"_Sexta", "_trinta", "_e", "_um", "_de", "_Dezembr", "_de", "_noventa", "_e", "_nove"}},
      {"17/9/2023",
       [](Speech& s) { speakDate(s, 17, 9, 2023); },
       {"_Domingo", "_dezeset", "_de", "_Setembr", "_de", "_dois", "_mil", "_e", "_vinte", "_e", "_tres"}},
      {"clock",
       [](Speech& s) {
         DateTime now;
         now.year = 2024, now.month = 3, now.day = 2, now.weekday = 0, now.hour = 13, now.minute = 5;
         speakCurrentDate(s, now);
         speakCurrentTime(s, now);
       },
       {"_Sabado", "_dois", "_de", "_Marco", "_de", "_dois", "_mil", "_e", "_vinte", "_e", "_quatro", "_treze",
        "_horas", "_cinco", "_minutos"}},
  };
  size_t seen = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.say(speech);
    std::vector<std::string> lines = logLines();
    ASSERT_GE(lines.size(), seen);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(seen), lines.end()), c.items);
    seen = lines.size();
  }
}

TEST_F(RecordedSpeechTest, TheCaptureHoldsEveryItemInOrder) {
  std::string expected = addItem("_duas", 1000, 10) + addItem("_horas", 1500, 20) + addItem("_um", 700, 30) +
                         addItem("_minuto", 1200, 40);
  speakTime(speech, 2, 1);
  std::string audio = captured();
  ASSERT_EQ(audio.size(), expected.size());
  // Each sound's last byte is silenced so pieces join without a click.
  for (size_t end : {1000, 2500, 3200, 4400}) expected[end - 1] = static_cast<char>(128);
  EXPECT_EQ(audio, expected);
}

TEST_F(RecordedSpeechTest, AMissingItemLeavesAGapWithoutAMessage) {
  std::string one = addItem("_um", 600, 10);
  std::string three = addItem("_tres", 900, 30);
  playRecordedWords(speech, "um dois tres", false);
  EXPECT_EQ(logLines(), (std::vector<std::string>{"_um", "_dois", "_tres"}));
  EXPECT_EQ(host.written, "");
  EXPECT_TRUE(host.spoken.empty());
  std::string expected = one + three;
  expected.back() = static_cast<char>(128);
  EXPECT_EQ(captured(), expected);
}

TEST_F(RecordedSpeechTest, LongSequencesAreSplitIntoSoundsOfAtMost30000Bytes) {
  std::string expected;
  for (std::string name : {"_um", "_dois", "_tres", "_quatro", "_cinco", "_seis"})
    expected += addItem(name, 7000, static_cast<char>(10 + expected.size() / 7000));
  playRecordedWords(speech, "um dois tres quatro cinco seis", false);
  std::string audio = captured();
  ASSERT_EQ(audio.size(), expected.size());
  // Four items fill 28000 bytes; a fifth would pass 30000, so a second sound starts.
  std::vector<size_t> silenced;
  for (size_t i = 0; i < audio.size(); ++i) {
    if (static_cast<uint8_t>(audio[i]) == 128) silenced.push_back(i);
  }
  EXPECT_EQ(silenced, (std::vector<size_t>{27999, 41999}));
  for (size_t end : silenced) expected[end] = static_cast<char>(128);
  EXPECT_EQ(audio, expected);
}

}  // namespace
}  // namespace tamiral
