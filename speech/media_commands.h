// Media commands: TOCA plays a media file (waiting for its end or a key, or
// in the background with "&"), MCI sends one media control string and keeps
// its answer.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdToca(Runtime& rt, std::string_view args);
bool cmdMci(Runtime& rt, std::string_view args);

}  // namespace tamiral
