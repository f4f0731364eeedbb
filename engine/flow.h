// Blocks, loops, jumps, subroutines and the end of the run. A command that
// jumps sets the current line to the one before the next to run; the run
// loop then adds one.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

inline constexpr size_t kMaxCallDepth = 20;
// A one-line SE whose command is another SE recurses once per link, and a
// long line would otherwise exhaust the stack.
inline constexpr int kMaxNestedSe = 200;

bool cmdSe(Runtime& rt, std::string_view args);
bool cmdSenao(Runtime& rt, std::string_view args);
bool cmdEnquanto(Runtime& rt, std::string_view args);
bool cmdRepete(Runtime& rt, std::string_view args);
bool cmdFim(Runtime& rt, std::string_view args);
bool cmdDesvia(Runtime& rt, std::string_view args);
bool cmdChama(Runtime& rt, std::string_view args);
bool cmdRetorna(Runtime& rt, std::string_view args);
bool cmdTermina(Runtime& rt, std::string_view args);

}  // namespace tamiral
