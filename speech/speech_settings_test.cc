#include "speech/speech_settings.h"

#include <gtest/gtest.h>

#include "tests/support/settings_fixture.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

using SpeechSettingsTest = SettingsFolderTest;

TEST_F(SpeechSettingsTest, WithoutAnySettingsFileEverythingHasItsDefault) {
  Settings s = settings();
  EXPECT_EQ(configuredSpeed(s, 0), 3);
  EXPECT_EQ(lettersFolder(s), "c:\\ondrel\\som\\letras\\");

  SpeedProfile profile = loadSpeedProfile(s, 3);
  EXPECT_EQ(profile.cut, 0);
  EXPECT_EQ(profile.minimumLength, 0);
  EXPECT_EQ(profile.wordGap, 0);
  EXPECT_FALSE(profile.periodDropping);
  EXPECT_FALSE(profile.rapidPlayback);
  EXPECT_EQ(profile.pauseFullStopMs, 250);
  EXPECT_EQ(profile.pauseCommaMs, 150);
  EXPECT_EQ(profile.pauseColonMs, 200);

  VoiceServerRequest request = readVoiceServerRequestAtStartUp(s);
  EXPECT_FALSE(request.wanted);
  EXPECT_EQ(request.voice, 0);
  EXPECT_EQ(request.rate, 0);
  EXPECT_EQ(request.pitch, 0);
  EXPECT_EQ(request.type, 5);
  EXPECT_EQ(openVoiceServer(request), nullptr);
}

TEST_F(SpeechSettingsTest, SpeedComesFromTheRequestOrTheSettingAndStaysInRange) {
  struct Case {
    std::string_view configured;
    int requested, expected;
  } cases[] = {
      {"4", 0, 4},   {"1", 0, 1},  {"5", 0, 5},   {"$2", 0, 2},  // hex is a number too
      {"9", 0, 3},   {"0", 0, 3},  {"-2", 0, 3},  {"abc", 0, 3}, {"", 0, 3},
      {"4", -1, 4},  // any request of 0 or less means "as configured"
      {"4", 2, 2},   {"4", 5, 5},
      {"4", 7, 3},   // typed in the line editor: out of range, not the setting
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("VELOCIDADE=" + std::string(c.configured) + " requested " + std::to_string(c.requested));
    userIni("[TRADUTOR]\nVELOCIDADE=" + std::string(c.configured) + "\n");
    EXPECT_EQ(configuredSpeed(settings(), c.requested), c.expected);
  }
}

TEST_F(SpeechSettingsTest, ProfileForASpeedReadsOnlyThatSpeedsKeys) {
  userIni(
      "[SINTETIZADOR]\n"
      "CORTEFON=91\nSOBRAFON=92\nINTERPAL=93\nCORTAFALA=S\nRAPIDINHO=S\n"
      "PAUSAPONTO=94\nPAUSAVIRG=95\nPAUSADOISPONTOS=96\n"
      "CORTEFON2=11\nSOBRAFON2=12\nINTERPAL2=13\nCORTAFALA2=S\nRAPIDINHO2=N\n"
      "PAUSAPONTO2=300\nPAUSAVIRG2=100\nPAUSADOISPONTOS2=0\n"
      "CORTEFON3=31\nSOBRAFON3=32\nINTERPAL3=33\nCORTAFALA3=N\nRAPIDINHO3=S\n"
      "PAUSAPONTO3=310\nPAUSAVIRG3=320\nPAUSADOISPONTOS3=330\n");
  Settings s = settings();

  SpeedProfile two = loadSpeedProfile(s, 2);
  EXPECT_EQ(two.cut, 11);
  EXPECT_EQ(two.minimumLength, 12);
  EXPECT_EQ(two.wordGap, 13);
  EXPECT_TRUE(two.periodDropping);
  EXPECT_FALSE(two.rapidPlayback);
  EXPECT_EQ(two.pauseFullStopMs, 300);
  EXPECT_EQ(two.pauseCommaMs, 100);
  EXPECT_EQ(two.pauseColonMs, 0);  // a configured zero is not "missing"

  SpeedProfile three = loadSpeedProfile(s, 3);
  EXPECT_EQ(three.cut, 31);
  EXPECT_EQ(three.minimumLength, 32);
  EXPECT_EQ(three.wordGap, 33);
  EXPECT_FALSE(three.periodDropping);
  EXPECT_TRUE(three.rapidPlayback);
  EXPECT_EQ(three.pauseFullStopMs, 310);
  EXPECT_EQ(three.pauseCommaMs, 320);
  EXPECT_EQ(three.pauseColonMs, 330);

  // No keys for speed 4: the bare keys are not a fallback.
  SpeedProfile four = loadSpeedProfile(s, 4);
  EXPECT_EQ(four.cut, 0);
  EXPECT_EQ(four.minimumLength, 0);
  EXPECT_FALSE(four.periodDropping);
  EXPECT_EQ(four.pauseFullStopMs, 250);
}

TEST_F(SpeechSettingsTest, ProfileNumbersThatDoNotParse) {
  struct Case {
    std::string_view value;
    int cut, minimumLength, pauseFullStopMs;
  } cases[] = {
      {"12abc", 12, 0, 250},  // only the cut keeps its leading digits
      {"7 ms", 7, 0, 250},
      {"abc", 0, 0, 250},
      {"", 0, 0, 250},
      {"$10", 16, 16, 16},
      {"0x1F", 31, 31, 31},
      {"-4", -4, -4, -4},
      {"40", 40, 40, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("value \"" + std::string(c.value) + "\"");
    std::string v(c.value);
    userIni("[SINTETIZADOR]\nCORTEFON3=" + v + "\nSOBRAFON3=" + v + "\nPAUSAPONTO3=" + v + "\n");
    SpeedProfile profile = loadSpeedProfile(settings(), 3);
    EXPECT_EQ(profile.cut, c.cut);
    EXPECT_EQ(profile.minimumLength, c.minimumLength);
    EXPECT_EQ(profile.pauseFullStopMs, c.pauseFullStopMs);
  }
}

TEST_F(SpeechSettingsTest, PlaybackSwitchesAreOnUnlessEmptyOrNo) {
  struct Case {
    std::string_view value;
    bool on;
  } cases[] = {
      {"N", false}, {"n", false}, {"n\xE3o", false}, {"NAO", false}, {"", false},
      {"S", true},  {"sim", true}, {"x", true},       {"1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("value \"" + std::string(c.value) + "\"");
    std::string v(c.value);
    userIni("[SINTETIZADOR]\nCORTAFALA1=" + v + "\nRAPIDINHO1=" + v + "\n");
    SpeedProfile profile = loadSpeedProfile(settings(), 1);
    EXPECT_EQ(profile.periodDropping, c.on);
    EXPECT_EQ(profile.rapidPlayback, c.on);
  }
}

TEST_F(SpeechSettingsTest, LettersFolderEndsInABackslash) {
  struct Case {
    std::string_view configured, expected;
  } cases[] = {
      {"", "c:\\ondrel\\som\\letras\\"},
      {"d:\\vozes\\letras", "d:\\vozes\\letras\\"},
      {"d:\\vozes\\letras\\", "d:\\vozes\\letras\\"},
      {"@\\letras", "/opt/programa\\letras\\"},  // "@" forms are substituted first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("DIRLETRAS=" + std::string(c.configured));
    userIni("[TRADUTOR]\nDIRLETRAS=" + std::string(c.configured) + "\n");
    EXPECT_EQ(lettersFolder(settings()), c.expected);
  }
}

TEST(WithFinalBackslash, AddsOneOnlyWhenMissing) {
  EXPECT_EQ(withFinalBackslash(""), "");  // no folder stays no folder
  EXPECT_EQ(withFinalBackslash("c:\\prog\\som"), "c:\\prog\\som\\");
  EXPECT_EQ(withFinalBackslash("c:\\prog\\som\\"), "c:\\prog\\som\\");
  EXPECT_EQ(withFinalBackslash("/home/ana/sons/"), "/home/ana/sons/");
}

TEST(LegacyFallbackFromSetting, OnlyAYesKeepsTheFallback) {
  struct Case {
    std::string_view value;
    bool on;
  } cases[] = {
      {"S", true}, {"s", true}, {"sim", true},
      {"", false}, {"N", false}, {"n\xE3o", false}, {"x", false}, {"1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("LEGADO=" + std::string(c.value));
    EXPECT_EQ(legacyFallbackFromSetting(c.value), c.on);
  }
}

TEST_F(SpeechSettingsTest, SapiSettingDecidesWhetherAVoiceServerIsWanted) {
  struct Case {
    std::string_view value;
    bool wanted;
  } cases[] = {
      {"n", false}, {"N", false}, {"no", false}, {"n\xE3o", false}, {"", false},
      {"s", true},  {"S", true},  {"sim", true}, {"1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("SAPI=" + std::string(c.value));
    userIni("[TRADUTOR]\nSAPI=" + std::string(c.value) + "\n");
    EXPECT_EQ(readVoiceServerRequestAtStartUp(settings()).wanted, c.wanted);
  }
}

TEST_F(SpeechSettingsTest, VoiceServerRateIsClampedOnlyAtStartUpAndNotForType4) {
  struct Case {
    std::string_view type, rate;
    int expectedType, startUpRate, reconfigureRate;
  } cases[] = {
      {"5", "15", 5, 0, 15},
      {"4", "15", 4, 15, 15},
      {"54", "11", 54, 0, 11},
      {"3", "12", 3, 0, 12},
      {"5", "10", 5, 10, 10},    // 10 is still in range
      {"", "15", 5, 0, 15},      // missing type is 5
      {"abc", "15", 5, 0, 15},   // so is one that is not a number
      {"5", "-3", 5, -3, -3},
      {"4", "rapido", 4, 0, 0},  // a rate that is not a number is 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("TIPOSAPI=" + std::string(c.type) + " VELOCIDADE=" + std::string(c.rate));
    userIni("[TRADUTOR]\nSAPI=S\nVELOCIDADE=2\n[SERVFALA]\nVOZ=2\nTOM=-3\nTIPOSAPI=" + std::string(c.type) +
            "\nVELOCIDADE=" + std::string(c.rate) + "\n");
    Settings s = settings();
    VoiceServerRequest startUp = readVoiceServerRequestAtStartUp(s);
    VoiceServerRequest reconfigure = readVoiceServerRequest(s);
    EXPECT_EQ(startUp.type, c.expectedType);
    EXPECT_EQ(startUp.rate, c.startUpRate);
    EXPECT_EQ(reconfigure.rate, c.reconfigureRate);
    for (const VoiceServerRequest& r : {startUp, reconfigure}) {
      EXPECT_TRUE(r.wanted);
      EXPECT_EQ(r.voice, 2);
      EXPECT_EQ(r.pitch, -3);
      EXPECT_EQ(r.type, c.expectedType);
    }
  }
}

TEST(VoiceServerKind, DispatchesByType) {
  struct Case {
    int type;
    VoiceServerKind kind;
  } cases[] = {
      {3, VoiceServerKind::PortugueseTts}, {4, VoiceServerKind::Sapi4},  {54, VoiceServerKind::Sapi54},
      {5, VoiceServerKind::Sapi5},         {0, VoiceServerKind::Sapi5},  {-4, VoiceServerKind::Sapi5},
      {45, VoiceServerKind::Sapi5},        {53, VoiceServerKind::Sapi5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.type));
    EXPECT_EQ(voiceServerKind(c.type), c.kind);
  }
}

// Records what the start-up asked of it.
struct FakeVoiceServer : VoiceServer {
  explicit FakeVoiceServer(bool willOpen) : opens(willOpen) {}
  bool open(int v, int r, int p, int t) override {
    ++opened;
    voice = v, rate = r, pitch = p, type = t;
    return opens;
  }
  void speak(std::string_view) override {}
  bool busy() override { return false; }
  void stop() override {}
  void close() override {}

  bool opens;
  int opened = 0, voice = 0, rate = 0, pitch = 0, type = 0;
};

TEST(OpenVoiceServer, OpensTheServerOfTheRequestedTypeWithItsValues) {
  std::optional<VoiceServerKind> builtKind;
  FakeVoiceServer* built = nullptr;
  auto factory = [&](VoiceServerKind kind) {
    builtKind = kind;
    auto server = std::make_unique<FakeVoiceServer>(true);
    built = server.get();
    return server;
  };
  std::unique_ptr<VoiceServer> server = openVoiceServer({true, 7, 8, -2, 54}, factory);
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server.get(), built);
  EXPECT_EQ(builtKind, VoiceServerKind::Sapi54);
  EXPECT_EQ(built->opened, 1);
  EXPECT_EQ(built->voice, 7);
  EXPECT_EQ(built->rate, 8);
  EXPECT_EQ(built->pitch, -2);
  EXPECT_EQ(built->type, 54);
}

TEST(OpenVoiceServer, GivesNothingWhenNotWantedOrWhenTheServerDoesNotOpen) {
  int factoryCalls = 0;
  auto failing = [&](VoiceServerKind) {
    ++factoryCalls;
    return std::make_unique<FakeVoiceServer>(false);
  };
  EXPECT_EQ(openVoiceServer({false, 1, 2, 3, 5}, failing), nullptr);
  EXPECT_EQ(factoryCalls, 0);  // nothing is even built
  EXPECT_EQ(openVoiceServer({true, 1, 2, 3, 5}, failing), nullptr);
  EXPECT_EQ(factoryCalls, 1);
  EXPECT_EQ(openVoiceServer({true, 1, 2, 3, 5}, [](VoiceServerKind) { return nullptr; }), nullptr);

  // No engine exists yet: every type fails to open and leaves the built-in voice.
  for (int type : {3, 4, 5, 54, 0}) {
    SCOPED_TRACE("type " + std::to_string(type));
    EXPECT_EQ(openVoiceServer({true, 0, 0, 0, type}), nullptr);
  }
}

TEST(PortugueseTtsFactors, PitchAndDurationFromToneAndRate) {
  struct Case {
    int pitch, rate;
    double pitchFactor, durationFactor;
  } cases[] = {
      {0, 0, 1.0, 0.8},
      {11, 3, 2.0, 0.6},
      {1, 1, 12.0 / 11.0, 0.8 - 1.0 / 15.0},  // fractions survive: no integer division
      {-11, 15, 0.0, 0.8 - 1.0},
      {-5, -6, 6.0 / 11.0, 0.8 + 6.0 / 15.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("TOM " + std::to_string(c.pitch) + " VELOCIDADE " + std::to_string(c.rate));
    PortugueseTtsFactors f = portugueseTtsFactors(c.pitch, c.rate);
    EXPECT_DOUBLE_EQ(f.pitch, c.pitchFactor);
    EXPECT_DOUBLE_EQ(f.duration, c.durationFactor);
  }
}

}  // namespace
}  // namespace tamiral
