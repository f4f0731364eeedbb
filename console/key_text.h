// Keys as scripts see them: "a" for a character, "#13" for a control byte,
// "#0#59" for an extended key; with the modifier prefix, "010#1" (Shift,
// Ctrl, Alt as 1 or 0) and the code even for printable keys.
#pragma once

#include <cstdint>
#include <string>

#include "console/key_buffer.h"

namespace tamiral {

class TalkingConsole;

struct KeyPress {
  uint8_t byte = 0;  // 0 for an extended key
  uint8_t code = 0;  // the extended key's code
  KeyModifiers modifiers;
};

// One whole key: an extended key's code is read too, always silently. With
// echo the first byte is read with readKeyAndEcho.
KeyPress readKeyPress(TalkingConsole& console, bool echo);

std::string keyText(const KeyPress& key);
std::string keyTextWithModifiers(const KeyPress& key);

}  // namespace tamiral
