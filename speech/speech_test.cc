#include "speech/speech.h"

#include <gtest/gtest.h>

#include "speech/settings.h"
#include "speech/wave_capture.h"
#include "tests/support/fake_console.h"
#include "tests/support/scratch_fixture.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

// A console whose delays move the speech output's clock, as the real event
// loop does.
class LoopConsole : public FakeConsole {
 public:
  void processMessages() override {
    if (speech) speech->onMessages();
  }
  void delayMs(int milliseconds) override {
    if (speech) speech->onDelay(milliseconds);
  }
  Speech* speech = nullptr;
};

class SpeechTest : public ::testing::Test {
 protected:
  SpeechTest() {
    folder.write("config/Tamiral/Tamiral.ini", ini());
    Environment env;
    env.configHome = folder.path() + "/config";
    env.systemFolder = folder.path() + "/etc";
    settings = std::make_unique<Settings>(env);
    speech = std::make_unique<Speech>(console, *fs, *settings);
    console.speech = speech.get();
  }
  virtual std::string ini() {
    return "[TRADUTOR]\nDIRLETRAS=" + folder.path() + "/letras\nREGISTRODAFALA=" + folder.path() +
           "/fala.log\nSAIDADEAUDIO=arquivo:" + folder.path() + "/saida.wav\nVELOCIDADE=2\n"
           "[SINTETIZADOR]\nCORTAFALA2=sim\nRAPIDINHO2=n\n";
  }
  void item(std::string_view name, size_t samples) {
    folder.write("letras/" + std::string(name) + ".wav", buildWaveHeader(samples, 11025, 8, 1) + std::string(samples, 'a'));
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

}  // namespace
}  // namespace tamiral
