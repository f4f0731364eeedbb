#include "speech/speech_config_command.h"

#include <array>
#include <optional>
#include <string>

#include "console/talking_console.h"
#include "engine/readers.h"
#include "engine/text.h"
#include "speech/speech_settings.h"

namespace tamiral {

namespace {

constexpr int kDefaultServerType = VoiceServerRequest().type;

// Read as start-up reads it, so mode 2 reproduces the start-up choice: empty
// or beginning with N means no server.
bool serverConfigured(std::string_view sapi) { return !sapi.empty() && upperPtChar(sapi[0]) != 'N'; }

// -1 stands for the setting; a setting that is missing or not a number gives
// the default.
std::optional<int> valueOrSetting(Runtime& rt, const std::string& value, std::string_view section,
                                  std::string_view key, int fallback) {
  std::optional<int32_t> number = toInt(value);
  if (!number) return std::nullopt;
  if (*number != -1) return *number;
  return toInt(rt.console.readSetting(section, key)).value_or(fallback);
}

}  // namespace

bool cmdSintConfig(Runtime& rt, std::string_view args) {
  std::array<std::string, 6> values;
  for (std::string& value : values) {
    std::optional<std::string> taken = takeValue(rt.vars, args);
    if (!taken) return false;
    value = std::move(*taken);
  }
  std::optional<int32_t> mode = toInt(values[0]);
  if (!mode || *mode < 0 || *mode > 2) return false;
  bool useServer = *mode == 1 || (*mode == 2 && serverConfigured(rt.console.readSetting("TRADUTOR", "SAPI")));
  std::optional<int> speed = valueOrSetting(rt, values[1], "TRADUTOR", "VELOCIDADE", kDefaultSpeed);
  std::optional<int> type = valueOrSetting(rt, values[2], "SERVFALA", "TIPOSAPI", kDefaultServerType);
  std::optional<int> voice = valueOrSetting(rt, values[3], "SERVFALA", "VOZ", 0);
  std::optional<int> rate = valueOrSetting(rt, values[4], "SERVFALA", "VELOCIDADE", 0);
  std::optional<int> pitch = valueOrSetting(rt, values[5], "SERVFALA", "TOM", 0);
  if (!speed || !type || !voice || !rate || !pitch) return false;
  rt.console.speechReconfigure(*speed, useServer, *type, *pitch, *rate, *voice);
  return true;
}

}  // namespace tamiral
