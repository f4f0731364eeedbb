// MENU CRIA x1 y1 x2 y2, ADICIONA value, EXECUTA n k t, TERMINA: the spoken
// menu of the process. ADICIONA and EXECUTA fail while no menu exists
// (before the first CRIA and after TERMINA); TERMINA then does nothing.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdMenu(Runtime& rt, std::string_view args);

}  // namespace tamiral
