#include "speech/speech.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "speech/settings.h"
#include "speech/wave_capture.h"
#include "tests/support/fake_console.h"
#include "tests/support/scratch_fixture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiny_voice.h"

namespace tamiral {
namespace {

class SpeechTest : public ::testing::Test {
 protected:
  SpeechTest() {
    writeTinyVoice(folder, "difones");
    std::filesystem::create_directories(folder.path() + "/letras");
    folder.write("config/Tamiral/Tamiral.ini", ini());
    settings = std::make_unique<Settings>(environment());
    speech = std::make_unique<Speech>(console, *fs, *settings);
    console.speech = speech.get();
  }
  Environment environment() const {
    Environment env;
    env.configHome = folder.path() + "/config";
    env.systemFolder = folder.path() + "/etc";
    return env;
  }
  virtual std::string ini() {
    return "[TRADUTOR]\nDIRLETRAS=" + folder.path() + "/letras\nREGISTRODAFALA=" + folder.path() +
           "/fala.log\nSAIDADEAUDIO=arquivo:" + folder.path() + "/saida.wav\nVELOCIDADE=2\nDIRDIFONES=" +
           folder.path() + "/difones\n"
           "[SINTETIZADOR]\nCORTAFALA2=sim\nRAPIDINHO2=n\n";
  }
  void item(std::string_view name, size_t samples, char value = 'a') {
    folder.write("letras/" + std::string(name) + ".wav",
                 buildWaveHeader(samples, 11025, 8, 1) + std::string(samples, value));
  }

  TempFolder folder;
  LoopConsole console;
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  std::unique_ptr<Settings> settings;
  std::unique_ptr<Speech> speech;
};

TEST_F(SpeechTest, StartUpReadsTheSpeedProfileAndFolders) {
  speech->init(0, "c:\\sons");
  EXPECT_EQ(speech->speed(), 2);
  EXPECT_TRUE(speech->wave().periodDropping);
  EXPECT_FALSE(speech->wave().rapidPlayback);
  EXPECT_EQ(speech->lettersFolder(), folder.path() + "/letras\\");
  EXPECT_EQ(speech->programSoundFolder(), "c:\\sons\\");
  EXPECT_FALSE(speech->voiceServerActive());
}

TEST_F(SpeechTest, ReconfigureChangesTheSpeedProfileOnly) {
  speech->init(0, "");
  speech->reconfigure(3, true, 5, 0, 0, 0);
  EXPECT_EQ(speech->speed(), 3);
  EXPECT_FALSE(speech->wave().periodDropping);  // CORTAFALA is set for speed 2 only
  EXPECT_FALSE(speech->voiceServerActive());    // no server can open yet: the built-in voice stays
  speech->reconfigure(2, false, 5, 0, 0, 0);
  EXPECT_TRUE(speech->wave().periodDropping);
  speech->reconfigure(9, false, 5, 0, 0, 0);  // no keys for 9: the defaults, not speed 3's
  EXPECT_EQ(speech->speed(), 9);
  EXPECT_FALSE(speech->wave().periodDropping);
}

TEST_F(SpeechTest, ItemsAndCharactersArePlayedAndLogged) {
  speech->init(0, "");
  speech->wave().periodDropping = false;
  item("_65", 400);
  item("_unknown", 300);
  item("_FON9", 200);
  speech->spellText(std::string("A\t") + static_cast<char>(200) + "\x07");
  speech->speak("texto");
  EXPECT_EQ(contentsOf(folder.path() + "/fala.log"), "_65\n_FON9\n_unknown\ntexto\n");
  std::string captured = contentsOf(folder.path() + "/saida.wav");
  ASSERT_GE(captured.size(), 44u);
  EXPECT_EQ(captured.size() - 44, 400u + 300u + 256u);  // the 200-sample item is padded to one 256-byte block
}

TEST_F(SpeechTest, AKeyCutsSpeechAndStaysQueued) {
  speech->init(0, "");
  item("_longo", 11025 * 5);
  console.keys.push_back('k');
  speech->playItem("_longo");
  EXPECT_FALSE(speech->isSpeaking());
  EXPECT_EQ(console.keys.size(), 1u);
}


// Texts are walked piece by piece: what is heard is read back from the
// capture, where every item and unit is a run of its own byte value, silence
// is 128 and a click is noise above it.
class SpeakTextTest : public SpeechTest {
 protected:
  SpeakTextTest() {
    speech->init(0, "");
    speech->wave().periodDropping = false;
    const std::map<std::string, char> items = {
        {"_zero", '0'}, {"_sete", 'S'}, {"_cinco", 'C'}, {"_MENOS", 'm'}, {"_45", '-'}, {"_46", '.'},
        {"_58", ':'},   {"_47", '/'},   {"_33", '!'},    {"_119", 'w'}, {"_87", 'W'},   {"_49", '1'}, {"_50", '2'},
        {"_51", '3'},   {"_52", '4'},   {"_53", '5'},    {"_54", '6'},    {"_55", '7'}, {"_98", 'b'},
        {"_44", ','},   {"_115", 's'},  {"_120", 'x'}};
    for (const auto& [name, value] : items) {
      // A silent last sample keeps two plays of one item apart.
      folder.write("letras/" + name + ".wav",
                   buildWaveHeader(300, 11025, 8, 1) + std::string(299, value) + static_cast<char>(128));
      nameOf[static_cast<uint8_t>(value)] = name;
    }
    nameOf['A'] = "$A";
    nameOf['K'] = "$KA";
    nameOf['Z'] = "$ZA";
  }

  // The names heard in order; a click is "click".
  std::vector<std::string> heard() {
    std::string captured = contentsOf(folder.path() + "/saida.wav");
    std::vector<std::string> names;
    uint8_t previous = 128;
    size_t clickStart = 0;
    for (size_t i = 44; i < captured.size(); ++i) {
      uint8_t value = static_cast<uint8_t>(captured[i]);
      // A click is 256 samples whose first 64 are noise at or above silence.
      if (value > 128 && (names.empty() || names.back() != "click" || i - clickStart >= 256)) {
        names.push_back("click");
        clickStart = i;
      } else if (value < 128 && value != previous) {
        names.push_back(nameOf.count(value) ? nameOf[value] : "?");
      }
      previous = value;
    }
    return names;
  }

  std::map<uint8_t, std::string> nameOf;
};

TEST_F(SpeakTextTest, DigitsWordsAndPunctuationTakeTheirOwnPaths) {
  struct Case {
    std::string_view text;
    std::vector<std::string> heard;
    int pauseMs;
  } cases[] = {
      {"007", {"_zero", "_zero", "_sete"}, 0},
      {"1234567", {"_49", "_50", "_51", "_52", "_53", "_54", "_55"}, 0},  // seven digits are spelled
      {"12-34", {"_49", "_50", "_45", "_51", "_52"}, 0},                 // so are digit groups with a hyphen
      {"-5", {"_MENOS", "_cinco"}, 0},
      {"a - a", {"$A", "_45", "$A"}, 150},                               // the hyphen, then the comma pause
      {"casa-casa", {"$KA", "$ZA", "$KA", "$ZA"}, 0},                    // hyphenated words run together
      {"WwW.b", {"_87", "_119", "_87", "_46", "_98"}, 0},              // no space after the stop: no pause
      {"a://", {"$A", "_58", "_47", "_47"}, 0},                          // the colon without its pause
      {"!!!!!!", {"_33", "_33", "_33", "_33", "click", "click"}, 0},
      {"casa.", {"$KA", "$ZA", "_46"}, 250},                             // a final stop always pauses
      {"a, a", {"$A", "_44", "$A"}, 150},
      {"sss", {"_115", "_115", "_115"}, 0},                              // a word without vowels is spelled
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::filesystem::remove(folder.path() + "/saida.wav");
    speech->init(0, "");
    speech->wave().periodDropping = false;
    console.fiftyMsDelays = 0;
    speech->speak(c.text);
    EXPECT_EQ(heard(), c.heard);
    EXPECT_EQ(console.fiftyMsDelays * 50, c.pauseMs);
  }
  // The log holds the texts as asked, not their pieces.
  std::string log = contentsOf(folder.path() + "/fala.log");
  EXPECT_NE(log.find("007\n1234567\n"), std::string::npos);
  EXPECT_EQ(log.find("_zero"), std::string::npos);
}

TEST_F(SpeakTextTest, ARunOfWordsLongerThanTheVoiceTakesIsSaidWhole) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "casa ";  // 1500 characters, no digit or punctuation
  speech->speak(text);
  std::vector<std::string> names = heard();
  EXPECT_EQ(std::count(names.begin(), names.end(), "$KA"), 300);
  EXPECT_EQ(std::count(names.begin(), names.end(), "$ZA"), 300);
}

TEST_F(SpeakTextTest, AKeyStopsALongTextBeforeItsNextPiece) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "casa, ";
  console.keyAfterDelays = 3;
  speech->speak(text);
  std::vector<std::string> names = heard();
  EXPECT_LT(names.size(), 10u);
  EXPECT_EQ(console.keys.size(), 1u);  // the key stays for its reader
  EXPECT_FALSE(speech->isSpeaking());
}

TEST_F(SpeakTextTest, StressedUnitsPlayWholeAndTheRestLoseTheCut) {
  folder.write("config/Tamiral/Tamiral.ini", ini() + "[SINTETIZADOR]\nCORTEFON2=400\n");
  settings = std::make_unique<Settings>(environment());
  speech = std::make_unique<Speech>(console, *fs, *settings);
  console.speech = speech.get();
  ASSERT_EQ(speech->init(0, ""), 0);
  speech->wave().periodDropping = false;
  speech->speak("casa");
  std::string captured = contentsOf(folder.path() + "/saida.wav");
  EXPECT_EQ(std::count(captured.begin(), captured.end(), 'K'), 900);  // the stressed syllable
  // 900 less the cut; the last sample of a piece is made silent.
  EXPECT_EQ(std::count(captured.begin(), captured.end(), 'Z'), 500 - 1);
}

TEST_F(SpeechTest, StartUpFailsWithTheVoiceDataCodes) {
  struct Case {
    std::string_view removed;
    int code;
  } cases[] = {
      {"difones/DIFONES2.IND", 1},
      {"difones/DIFONES2.DIF", 1},
      {"difones/nregras.rgr", 2},
      {"difones/nportug.exc", 2},
      {"difones", 1},
      {"letras", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.removed);
    writeTinyVoice(folder, "difones");
    std::filesystem::create_directories(folder.path() + "/letras");
    std::filesystem::remove_all(folder.path() + "/" + std::string(c.removed));
    EXPECT_EQ(speech->init(0, ""), c.code);
  }
  writeTinyVoice(folder, "difones");
  std::filesystem::create_directories(folder.path() + "/letras");
  EXPECT_EQ(speech->init(0, ""), 0);
}

}  // namespace
}  // namespace tamiral
