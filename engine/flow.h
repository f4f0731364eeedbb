// Blocks, jumps, subroutines and the end of the run.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdTermina(Runtime& rt, std::string_view args);

}  // namespace tamiral
