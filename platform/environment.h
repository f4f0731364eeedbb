// What the process learns from its surroundings at start-up.
#pragma once

#include <string>

namespace tamiral {

struct Environment {
  std::string configHome;     // $XDG_CONFIG_HOME, else $HOME/.config
  std::string programFolder;  // folder of the running program file
  std::string systemFolder = "/etc";  // plays the Windows folder
};

Environment readEnvironment();

}  // namespace tamiral

namespace tamiral {

// The decimal separator of the user's regional settings (LC_ALL, then
// LC_NUMERIC, then LANG): a comma for languages that write one, else a point.
char userDecimalSeparator();

}  // namespace tamiral
