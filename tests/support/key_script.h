// Keys for a scripted console written as text: a character stands for its
// key, <Name> for a named key with optional Shift+, Ctrl+ and Alt+ in front,
// coded as the console window codes them: <Enter>, <Ctrl+Right> (0, 116),
// <Shift+Ins> (0, 254), <Ctrl+D> (4), <Ctrl+Alt+F9> (0, 102 with Alt),
// <Alt+1> (0, 120), <Space>.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tests/support/scripted_events.h"

namespace tamiral {

namespace key_script {

struct Special {
  std::string_view name;
  uint8_t plain, ctrl;
};

inline constexpr Special kSpecials[] = {
    {"F1", 59, 94},    {"F2", 60, 95},    {"F3", 61, 96},    {"F4", 62, 97},    {"F5", 63, 98},
    {"F6", 64, 99},    {"F7", 65, 100},   {"F8", 66, 101},   {"F9", 67, 102},   {"F10", 68, 103},
    {"F11", 69, 104},  {"F12", 70, 105},  {"Ins", 82, 255},  {"Del", 83, 83},   {"Home", 71, 119},
    {"End", 79, 117},  {"PgUp", 73, 132}, {"PgDn", 81, 118}, {"Up", 72, 113},   {"Down", 80, 114},
    {"Left", 75, 115}, {"Right", 77, 116},
};

inline void namedKey(ScriptedEvents& events, std::string_view name) {
  KeyModifiers mods;
  for (bool more = true; more;) {
    more = false;
    for (auto [prefix, flag] : {std::pair{"Shift+", &mods.shift}, {"Ctrl+", &mods.ctrl}, {"Alt+", &mods.alt}}) {
      if (name.starts_with(prefix)) {
        *flag = more = true;
        name.remove_prefix(std::string_view(prefix).size());
      }
    }
  }
  for (const Special& special : kSpecials) {
    if (name != special.name) continue;
    uint8_t code = mods.ctrl ? special.ctrl : special.plain;
    if (name == "Ins" && mods.shift && !mods.ctrl) code = 254;
    events.key({'\0', static_cast<char>(code)}, mods);
    return;
  }
  auto byte = [&](uint8_t b) { events.key(std::string(1, static_cast<char>(b)), mods); };
  if (name == "Enter") return byte(mods.ctrl ? 10 : 13);
  if (name == "BS") return byte(mods.ctrl ? 127 : 8);
  if (name == "Esc") return byte(27);
  if (name == "Tab") return byte(9);
  if (name == "Space") return byte(' ');
  if (name.size() == 1 && mods.alt && name[0] >= '0' && name[0] <= '9') {
    events.key({'\0', static_cast<char>(name[0] == '0' ? 129 : 120 + name[0] - '1')}, mods);
    return;
  }
  if (name.size() == 1 && mods.ctrl) return byte(static_cast<uint8_t>(name[0] & 0x1F));
  throw std::invalid_argument("unknown key <" + std::string(name) + ">");
}

}  // namespace key_script

inline void typeKeys(ScriptedEvents& events, std::string_view script) {
  while (!script.empty()) {
    size_t close = script.find('>');
    if (script.front() == '<' && close != std::string_view::npos && close > 1) {
      key_script::namedKey(events, script.substr(1, close - 1));
      script.remove_prefix(close + 1);
    } else {
      events.key(std::string(1, script.front()));
      script.remove_prefix(1);
    }
  }
}

}  // namespace tamiral
