// Assignment and random numbers: SEJA and RANDOMIZA.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdSeja(Runtime& rt, std::string_view args);
bool cmdRandomiza(Runtime& rt, std::string_view args);

}  // namespace tamiral
