// Settings over a scratch folder that plays the per-user and system folders.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "speech/settings.h"
#include "tests/support/temp_folder.h"

namespace tamiral {

class SettingsFolderTest : public ::testing::Test {
 protected:
  Settings settings() {
    Environment env;
    env.configHome = folder.path() + "/config";
    env.systemFolder = folder.path() + "/etc";
    env.programFolder = "/opt/programa";
    return Settings(env);
  }
  void userIni(std::string_view text) { folder.write("config/Tamiral/Tamiral.ini", text); }
  void systemIni(std::string_view text) { folder.write("etc/Tamiral.ini", text); }

  TempFolder folder;
};

}  // namespace tamiral
