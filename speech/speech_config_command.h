// SINTCONFIG: a new speed and voice server while the program runs.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

// mode speed type voice rate pitch. mode 0 keeps the built-in voice, 1 asks
// for the voice server, 2 does what [TRADUTOR] "SAPI" says; any of the other
// five given as -1 is taken from the settings.
bool cmdSintConfig(Runtime& rt, std::string_view args);

}  // namespace tamiral
