// Lines through handles: ABRE, FECHA, CHECA, and the handle forms of
// ESCREVE and LÊ.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdAbre(Runtime& rt, std::string_view args);
bool cmdFecha(Runtime& rt, std::string_view args);
bool cmdChecha(Runtime& rt, std::string_view args);

// ESCREVE #d values [&]: args start at the '#', the trailing '&' already
// taken off (lineEnd false when it was there).
bool escreveToHandle(Runtime& rt, std::string_view args, bool lineEnd);
// LÊ #d v: args start at the '#'.
bool leFromHandle(Runtime& rt, std::string_view args);

}  // namespace tamiral
