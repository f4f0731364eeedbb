#include "speech/settings.h"

#include <gtest/gtest.h>

#include "tests/support/settings_fixture.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

TEST(IniValue, FollowsTheProfileReaderRules) {
  const std::string_view file =
      "; comentário\r\n"
      "[Tradutor]\r\n"
      "Velocidade = 4 \r\n"
      "velocidade=5\r\n"
      "DIRLETRAS=\"c:\\som\\letras\"\r\n"
      "vazio=\r\n"
      ";SAPI=S\r\n"
      "[OUTRA]\n"
      "VELOCIDADE=9\n"
      "[ tradutor ]\n"
      "SAPI=sim\n";
  struct Case {
    std::string_view section, key, value;
  } cases[] = {
      {"TRADUTOR", "VELOCIDADE", "4"},  // first match wins, trimmed, names without case
      {"tradutor", "dirletras", "c:\\som\\letras"},  // one pair of quotes removed
      {"TRADUTOR", "VAZIO", ""},
      {"TRADUTOR", "SAPI", "sim"},  // a commented key is not read; a later section of the same name is
      {"OUTRA", "VELOCIDADE", "9"},
      {"FALTA", "VELOCIDADE", ""},
      {"TRADUTOR", "FALTA", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + std::string(c.key));
    EXPECT_EQ(iniValue(file, c.section, c.key), c.value);
  }
  EXPECT_EQ(iniValue("[A]\nK=" + std::string(300, 'x') + "\n", "A", "K").size(), 255u);
}

using SettingsTest = SettingsFolderTest;

TEST_F(SettingsTest, ProductFolderIsTheUserFolderUnlessOnlyTheSystemHasTheFile) {
  EXPECT_EQ(settings().productDataFolder(), folder.path() + "/config/Tamiral");
  systemIni("[A]\nK=sistema\n");
  EXPECT_EQ(settings().productDataFolder(), folder.path() + "/etc");
  userIni("[A]\nK=usuario\n");
  EXPECT_EQ(settings().productDataFolder(), folder.path() + "/config/Tamiral");
}

TEST_F(SettingsTest, LegacyFallbackReadsTheSystemFileForEmptyValues) {
  userIni("[A]\nK=\nL=usuario\n");
  systemIni("[A]\nK=sistema\nL=sistema\n");
  Settings s = settings();
  EXPECT_EQ(s.read("A", "K"), "sistema");
  EXPECT_EQ(s.read("A", "L"), "usuario");
  s.setLegacyFallback(false);
  EXPECT_EQ(s.read("A", "K"), "");
}

TEST_F(SettingsTest, AtFormsAreSubstituted) {
  userIni(
      "[TAMIRAL]\nPGMTAMIRAL=c:\\tamiral\n"
      "[X]\nPROG=@\nSOM=@\\som\nDADOS=@@\\dados\nMEIO=a@b\n");
  Settings s = settings();
  EXPECT_EQ(s.read("X", "PROG"), "/opt/programa");
  EXPECT_EQ(s.read("X", "SOM"), "c:\\tamiral\\som");
  EXPECT_EQ(s.read("X", "DADOS"), folder.path() + "/config/Tamiral\\dados");
  EXPECT_EQ(s.read("X", "MEIO"), "a@b");
}

TEST_F(SettingsTest, AtFormUsesTheProgramFolderWithoutAUsablePgmTamiral) {
  userIni("[TAMIRAL]\nPGMTAMIRAL=@algo\n[X]\nSOM=@\\som\n");
  EXPECT_EQ(settings().read("X", "SOM"), "/opt/programa\\som");
}

TEST_F(SettingsTest, ASelfReferringPgmTamiralDoesNotHang) {
  userIni("[TAMIRAL]\nPGMTAMIRAL=x@\\\n[X]\nSOM=@\\som\n");
  std::string value = settings().read("X", "SOM");
  EXPECT_TRUE(value.ends_with("som"));  // substitution gives up; the value is still returned
}

}  // namespace
}  // namespace tamiral
