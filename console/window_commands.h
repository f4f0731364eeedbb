// The console window's commands: TELA (clear, hide, restore, place the
// cursor), COR and FUNDO (colours of later text) and TITULO (the title).
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdTela(Runtime& rt, std::string_view args);
bool cmdCor(Runtime& rt, std::string_view args);
bool cmdFundo(Runtime& rt, std::string_view args);
bool cmdTitulo(Runtime& rt, std::string_view args);

}  // namespace tamiral
