#include "speech/speech_commands.h"

#include <optional>
#include <string>

#include "console/talking_console.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

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
