#include "speech/speech_commands.h"

#include <optional>
#include <string>

#include "console/talking_console.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

// The values are said as one text; nothing (or "&" alone) cuts speech.
// The text is said even when something is left over that is not a value.
bool cmdFala(Runtime& rt, std::string_view args) {
  bool noWait = takeTrailingMark(args);
  if (trimBlanks(args).empty()) {
    rt.console.stopSpeech();
    if (!noWait) rt.console.waitWhileSpeaking();
    return true;
  }
  std::string text;
  for (;;) {
    std::string_view before = args;
    std::optional<std::string> value = takeValue(rt.vars, args);
    if (!value) {
      args = before;
      break;
    }
    if (text.size() + value->size() > kMaxTextLength) return false;
    text += *value;
  }
  rt.console.speak(text);
  if (!noWait) rt.console.waitWhileSpeaking();
  return trimBlanks(args).empty();
}

// Spelled, then written; an argument that is not a value spells nothing.
bool cmdSoletra(Runtime& rt, std::string_view args) {
  if (trimBlanks(args).empty()) return false;
  std::string text = takeValue(rt.vars, args).value_or("");
  rt.console.spellText(text);
  rt.console.writeText(text);
  rt.console.waitWhileSpeaking();
  return true;
}

// "1" clicks; anything else, or nothing, beeps.
bool cmdBipa(Runtime& rt, std::string_view args) {
  std::string value = "0";
  if (!trimBlanks(args).empty()) {
    std::optional<std::string> taken = takeValue(rt.vars, args);
    if (!taken) return false;
    value = *taken;
  }
  if (value == "1")
    rt.console.playClick();
  else
    rt.console.playBeep();
  return true;
}

// The time comes as "HH:MM", two digits each.
bool cmdFalaHora(Runtime& rt, std::string_view args) {
  std::optional<std::string> value = takeValue(rt.vars, args);
  if (!value || value->size() != 5 || (*value)[2] != ':') return false;
  std::optional<int32_t> hours = toInt(std::string_view(*value).substr(0, 2));
  std::optional<int32_t> minutes = toInt(std::string_view(*value).substr(3, 2));
  // toInt takes a sign; a time has none.
  if (!hours || !minutes || *hours < 0 || *minutes < 0) return false;
  rt.console.speakTime(*hours, *minutes);
  rt.console.waitWhileSpeaking();
  return true;
}

// Whatever the playback answers, the script goes on: a missing message is
// not an error.
bool cmdMensagem(Runtime& rt, std::string_view args) {
  std::optional<std::string> value = takeValue(rt.vars, args);
  if (!value) return false;
  std::string name = upperPt(*value);
  if (name.find(".WAV") == std::string::npos) name += ".WAV";
  rt.console.playWaveFile(name);
  return true;
}

}  // namespace tamiral
