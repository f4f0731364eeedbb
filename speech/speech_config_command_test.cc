#include "speech/speech_config_command.h"

#include <gtest/gtest.h>

#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

using Reconfiguration = FakeConsole::Reconfiguration;

class SintConfigTest : public EngineTest {
 protected:
  void set(std::string section, std::string key, std::string value) { console.settings[{section, key}] = value; }
};

// The values come as mode speed type voice rate pitch; speech takes them as
// speed, server, type, pitch, rate, voice.
TEST_F(SintConfigTest, ModesAndValuesAsGiven) {
  setVar("v", "2");
  struct Case {
    std::string_view line;
    std::optional<Reconfiguration> done;
  } cases[] = {
      {"SINTCONFIG 0 3 5 1 0 0", Reconfiguration{3, false, 5, 0, 0, 1}},
      {"SINTCONFIG 1 v 54 3 4 5", Reconfiguration{2, true, 54, 5, 4, 3}},
      {"sintconfig \"1\" 9 3 0 -5 12", Reconfiguration{9, true, 3, 12, -5, 0}},
      {"SINTCONFIG 3 3 5 1 0 0", std::nullopt},
      {"SINTCONFIG -1 3 5 1 0 0", std::nullopt},
      {"SINTCONFIG \"um\" 3 5 1 0 0", std::nullopt},
      {"SINTCONFIG 0 3 5 1 0", std::nullopt},
      {"SINTCONFIG 0 \"rapido\" 5 1 0 0", std::nullopt},
      {"SINTCONFIG 0 3 5 1 0 \"alto\"", std::nullopt},
      {"SINTCONFIG", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    console.reconfigurations.clear();
    EXPECT_EQ(exec(c.line), c.done.has_value());
    EXPECT_EQ(console.reconfigurations,
              c.done ? std::vector<Reconfiguration>{*c.done} : std::vector<Reconfiguration>{});
  }
}

TEST_F(SintConfigTest, MinusOneEverywhereReproducesTheSettings) {
  set("TRADUTOR", "SAPI", "Sim");
  set("TRADUTOR", "VELOCIDADE", "4");
  set("SERVFALA", "TIPOSAPI", "3");
  set("SERVFALA", "VOZ", "2");
  set("SERVFALA", "VELOCIDADE", "7");
  set("SERVFALA", "TOM", "-3");
  ASSERT_TRUE(exec("SINTCONFIG 2 -1 -1 -1 -1 -1"));
  ASSERT_TRUE(exec("SINTCONFIG 0 -1 -1 -1 -1 -1"));
  EXPECT_EQ(console.reconfigurations,
            (std::vector<Reconfiguration>{{4, true, 3, -3, 7, 2}, {4, false, 3, -3, 7, 2}}));
}

TEST_F(SintConfigTest, MissingOrUnreadableSettingsGiveTheDefaults) {
  set("SERVFALA", "TOM", "grave");
  ASSERT_TRUE(exec("SINTCONFIG 2 -1 -1 -1 -1 -1"));
  EXPECT_EQ(console.reconfigurations, (std::vector<Reconfiguration>{{3, false, 5, 0, 0, 0}}));
}

// Mode 2 reads "SAPI" as start-up does: empty or beginning with N means no
// voice server, anything else (a digit too) means one.
TEST_F(SintConfigTest, ModeTwoFollowsTheSapiSetting) {
  struct Case {
    std::string_view sapi;
    bool server;
  } cases[] = {{"", false}, {"N", false}, {"nao", false}, {"S", true}, {"sim", true}, {"1", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sapi);
    set("TRADUTOR", "SAPI", std::string(c.sapi));
    console.reconfigurations.clear();
    ASSERT_TRUE(exec("SINTCONFIG 2 3 5 1 0 0"));
    ASSERT_EQ(console.reconfigurations.size(), 1u);
    EXPECT_EQ(console.reconfigurations[0].useServer, c.server);
  }
}

}  // namespace
}  // namespace tamiral
