// MIDI: INICIA opens the default MIDI output, TERMINA closes it, PANE
// silences every note; NL (note on), ND (note off) and TT (program change)
// send one message each.
#pragma once

#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdMidi(Runtime& rt, std::string_view args);

}  // namespace tamiral
