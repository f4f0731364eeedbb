#include "tts/unit_player.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "speech/wave_playback.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

class RecordingOutput : public UnitOutput {
 public:
  void playAndWait(std::string_view image) override {
    images.emplace_back(image);
    if (cutAfterFirstImage) isCut = true;
  }
  bool cut() override { return isCut; }

  // Every image's samples, joined.
  std::string samples() const {
    std::string all;
    for (const std::string& image : images) all += image.substr(UnitPlayer::kHeaderSize);
    return all;
  }

  std::vector<std::string> images;
  bool cutAfterFirstImage = false;
  bool isCut = false;
};

// A database whose unit n is made of `length` bytes of value n + 1, so the
// output shows which unit played and how much of it.
class UnitPlayerTest : public ::testing::Test {
 protected:
  void makeDatabase(const std::map<std::string, uint16_t>& units) {
    std::string index, data;
    uint8_t value = 1;
    for (const auto& [name, length] : units) {
      index += encodeUnitRecord({name, length, static_cast<uint32_t>(data.size())});
      valueOf[name] = value;
      data += std::string(length, static_cast<char>(value++));
    }
    database.loadIndex(index);
    database.openData(fs->open(folder.write("units.dif", data), OpenMode::kRead));
  }

  // The units heard, as (name, bytes) runs of the output.
  std::vector<std::pair<std::string, size_t>> runs() const {
    std::map<uint8_t, std::string> nameOf;
    for (const auto& [name, value] : valueOf) nameOf[value] = name;
    std::vector<std::pair<std::string, size_t>> result;
    for (char c : output.samples()) {
      std::string name = nameOf.count(static_cast<uint8_t>(c)) ? nameOf[static_cast<uint8_t>(c)] : "?";
      if (result.empty() || result.back().first != name) result.push_back({name, 0});
      ++result.back().second;
    }
    return result;
  }

  TempFolder folder;
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  UnitDatabase database;
  RecordingOutput output;
  UnitPlayer player{database, *fs, output};
  std::map<std::string, uint8_t> valueOf;
};

TEST_F(UnitPlayerTest, GroupsSplitIntoTheUnitsTheyName) {
  makeDatabase({{"$P", 1000}, {"$RA", 1000}, {"$MA", 1000}, {"$R", 1000}, {"$PA", 1000}, {"$AY", 1000},
                {"$MACIRC", 1000}, {"$AWTIL", 1000}, {"$A", 1000}, {"$S", 1000}, {"$TCHI", 1000},
                {"$KS", 1000}, {"$KSI", 1000}, {"$NHA", 1000}});
  player.setParams({.cut = 0, .minimumLength = 0, .wordGap = 0});
  struct Case {
    std::string_view phonetic;
    std::vector<std::pair<std::string, size_t>> heard;
  } cases[] = {
      {"[ pra]", {{"$P", 1000}, {"$RA", 1000}}},                  // a cluster's first consonant alone
      {"[ mar]", {{"$MA", 1000}, {"$R", 1000}}},                  // a final consonant alone
      {"[ pay]", {{"$PA", 600}, {"$AY", 1000}}},                  // the glide with its vowel
      {"[ ma~w]", {{"$MACIRC", 600}, {"$AWTIL", 1000}}},          // nasal diphthong
      {"[ as]", {{"$A", 700}, {"$S", 1000}}},                     // a final s
      {"[ tchi]", {{"$TCHI", 1000}}},                             // kept together
      {"[ ksi]", {{"$KSI", 1000}}},
      {"[ nha]", {{"$NHA", 1000}}},
  };
  for (const Case& c : cases) {
    output.images.clear();
    player.speakPhonetic(c.phonetic);
    EXPECT_EQ(runs(), c.heard) << c.phonetic;
  }
}

TEST_F(UnitPlayerTest, UnstressedUnitsLoseTheCutButNotBelowTheMinimum) {
  makeDatabase({{"$KA", 2000}, {"$ZA", 2000}, {"$S", 500}});
  struct Case {
    DiphoneParams params;
    std::string_view phonetic;
    std::vector<std::pair<std::string, size_t>> heard;
  } cases[] = {
      // Stressed: whole; after the stressed group: cut.
      {{400, 0, 0}, "[ kA/ za]", {{"$KA", 2000}, {"$ZA", 1600}}},
      // Before the stressed group the level is 1: cut too.
      {{400, 0, 0}, "[ ka/ zA]", {{"$KA", 1600}, {"$ZA", 2000}}},
      {{400, 1800, 0}, "[ ka/ zA]", {{"$KA", 1800}, {"$ZA", 2000}}},
      // A minimum above the unit's length keeps the unit whole.
      {{400, 5000, 0}, "[ ka/ zA]", {{"$KA", 2000}, {"$ZA", 2000}}},
      // Names of two characters are never cut.
      {{400, 0, 0}, "[ s]", {{"$S", 500}}},
  };
  for (const Case& c : cases) {
    output.images.clear();
    player.setParams(c.params);
    player.speakPhonetic(c.phonetic);
    EXPECT_EQ(runs(), c.heard) << c.phonetic;
  }
}

TEST_F(UnitPlayerTest, PausesGapsAndNoiseFillTheBuffer) {
  makeDatabase({{"$KA", 1000}});
  player.setParams({.cut = 0, .minimumLength = 0, .wordGap = 250});
  struct Case {
    std::string_view phonetic;
    std::vector<std::pair<std::string, size_t>> heard;
  } cases[] = {
      {"[ ka][ /_,][ ka]", {{"$KA", 1000}, {"?", 200 + 4000 + 200}, {"$KA", 1000}}},
      {"[ ka][ /_.]", {{"$KA", 1000}, {"?", 200 + 8000}}},
      {"[ /_;]", {{"?", 6000}}},
      {"[ /_:]", {{"?", 8000}}},
  };
  for (const Case& c : cases) {
    output.images.clear();
    player.speakPhonetic(c.phonetic);
    EXPECT_EQ(runs(), c.heard) << c.phonetic;
  }
  // Silence is the middle value; a missing two-letter unit is a burst of
  // noise, not silence.
  output.images.clear();
  player.speakPhonetic("[ /_,]");
  EXPECT_EQ(output.samples(), std::string(4000, static_cast<char>(128)));
  output.images.clear();
  player.speakPhonetic("[ e]");
  std::string noise = output.samples();
  ASSERT_EQ(noise.size(), 300u);
  for (char c : noise) {
    EXPECT_GE(static_cast<uint8_t>(c), 88);
    EXPECT_LE(static_cast<uint8_t>(c), 167);
  }
  EXPECT_NE(noise, std::string(300, static_cast<char>(128)));
}

TEST_F(UnitPlayerTest, MissingLongUnitsAreDecomposed) {
  makeDatabase({{"$K", 1000}, {"$A", 1000}, {"$KACIRC", 1000}, {"$NN", 500}, {"$ECIRC", 1000}, {"$P", 1000}});
  player.setParams({.cut = 0, .minimumLength = 0, .wordGap = 0});
  struct Case {
    std::string_view phonetic;
    std::vector<std::pair<std::string, size_t>> heard;
  } cases[] = {
      {"[ ka]", {{"$K", 900}, {"$A", 1000}}},                      // without its last vowel, then the vowel
      {"[ ka~]", {{"$KACIRC", 900}, {"$NN", 450}}},                // nasal as closed vowel and murmur
      {"[ pe^]", {{"$P", 900}, {"$ECIRC", 1000}}},                 // closed vowel split off
      {"[ kaz]", {{"$K", 900}, {"$A", 1000}}},                     // $Z is missing: noise
  };
  for (const Case& c : cases) {
    output.images.clear();
    player.speakPhonetic(c.phonetic);
    auto heard = runs();
    if (c.phonetic == "[ kaz]") {
      ASSERT_EQ(heard.size(), 3u);
      heard.pop_back();
    }
    EXPECT_EQ(heard, c.heard) << c.phonetic;
  }
}

TEST_F(UnitPlayerTest, SpelledLettersComeFromTheLettersFolder) {
  makeDatabase({{"$KA", 1000}});
  std::string samples(700, 'b');
  folder.write("letras/_98.wav", buildWaveHeader(samples.size(), 11025, 8, 1) + samples);
  folder.write("letras/_TRACO.wav", buildWaveHeader(3, 11025, 8, 1) + "---");
  folder.write("letras/_99.wav", "not a wave file at all, only text");
  player.setLettersFolder(folder.path() + "/letras/");
  player.setParams({.cut = 0, .minimumLength = 0, .wordGap = 0});
  player.speakPhonetic("[ /_b]");
  EXPECT_EQ(output.samples(), samples);
  output.images.clear();
  player.speakPhonetic("[|]");
  EXPECT_EQ(output.samples(), "---");
  // A malformed file counts as missing: nothing for a three-character name.
  output.images.clear();
  player.speakPhonetic("[ /_c]");
  EXPECT_EQ(output.samples(), "");
}

TEST_F(UnitPlayerTest, LongTextsPlayInPiecesAndStopWhenCut) {
  makeDatabase({{"$KA", 10000}});
  player.setParams({.cut = 0, .minimumLength = 0, .wordGap = 0});
  std::string phonetic;
  for (int i = 0; i < 20; ++i) phonetic += "[ kA]";
  player.speakPhonetic(phonetic);
  ASSERT_GE(output.images.size(), 4u);
  for (const std::string& image : output.images) EXPECT_LT(image.size(), UnitPlayer::kBufferSize);
  EXPECT_EQ(output.samples().size(), 200000u);
  EXPECT_EQ(output.images[0].substr(0, 44), buildWaveHeader(output.images[0].size() - 44, 11025, 8, 1));

  output.images.clear();
  output.cutAfterFirstImage = true;
  player.speakPhonetic(phonetic);
  EXPECT_EQ(output.images.size(), 1u);
}

}  // namespace
}  // namespace tamiral
