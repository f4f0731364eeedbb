// Commands that write to and talk through the console: ESCREVE, LÊ, DEBUG.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdEscreve(Runtime& rt, std::string_view args);
bool cmdLe(Runtime& rt, std::string_view args);
bool cmdDebug(Runtime& rt, std::string_view args);

}  // namespace tamiral
