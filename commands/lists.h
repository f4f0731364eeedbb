// LISTA: named lists of texts kept in memory.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdLista(Runtime& rt, std::string_view args);

}  // namespace tamiral
