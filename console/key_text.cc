#include "console/key_text.h"

#include "console/talking_console.h"
#include "engine/text.h"

namespace tamiral {

KeyPress readKeyPress(TalkingConsole& console, bool echo) {
  KeyPress key;
  key.byte = echo ? console.readKeyAndEcho() : console.readKey();
  key.modifiers = console.lastKeyModifiers();
  if (key.byte == 0) key.code = console.readKey();
  return key;
}

std::string keyText(const KeyPress& key) {
  if (key.byte == 0) return "#0#" + decimal(key.code);
  if (key.byte < 32) return "#" + decimal(key.byte);
  return std::string(1, static_cast<char>(key.byte));
}

std::string keyTextWithModifiers(const KeyPress& key) {
  std::string prefix = {key.modifiers.shift ? '1' : '0', key.modifiers.ctrl ? '1' : '0',
                        key.modifiers.alt ? '1' : '0'};
  return prefix + (key.byte == 0 ? "#0#" + decimal(key.code) : "#" + decimal(key.byte));
}

}  // namespace tamiral
