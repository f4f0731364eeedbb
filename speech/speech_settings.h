// What speech start-up reads from "Tamiral.ini": the speed and its synthesizer
// profile, the letters folder, the legacy switch and the voice server request,
// plus the seam behind which the voice servers will live. Everything here only
// reads settings; the speech object decides what to do with the results.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "speech/settings.h"

namespace tamiral {

// The built-in synthesizer's tuning for one speed, from [SINTETIZADOR] keys
// named with the speed appended ("CORTEFON3").
struct SpeedProfile {
  int cut = 0;            // CORTEFON
  int minimumLength = 0;  // SOBRAFON
  int wordGap = 0;        // INTERPAL
  bool periodDropping = false;  // CORTAFALA
  bool rapidPlayback = false;   // RAPIDINHO
  int pauseFullStopMs = 250;  // PAUSAPONTO
  int pauseCommaMs = 150;     // PAUSAVIRG
  int pauseColonMs = 200;     // PAUSADOISPONTOS
};

SpeedProfile loadSpeedProfile(const Settings& settings, int speed);

inline constexpr int kDefaultSpeed = 3;

// The speed to use: a requested speed of 0 or less means "as configured"
// ([TRADUTOR] "VELOCIDADE"); anything outside 1..5 becomes the default.
int configuredSpeed(const Settings& settings, int requested);

// [TRADUTOR] "DIRLETRAS" (default "c:\ondrel\som\letras"), ending in '\'.
std::string lettersFolder(const Settings& settings);

// A sound folder ready to have file names appended: a final '\' is added
// unless the folder is empty (no folder) or already ends in '\' or '/'.
std::string withFinalBackslash(std::string_view folder);

// The value of [TAMIRAL] "LEGADO" as the legacy fallback switch: on only for a
// value beginning with S.
//
// Start-up order matters: the fallback stays on (the Settings default) while
// "LEGADO" itself and the low-vision keys are read, so an installation that
// keeps them only in the system file still finds them; only then is the
// fallback set from this function's result for every later read.
bool legacyFallbackFromSetting(std::string_view value);

// What [TRADUTOR] "SAPI" and section [SERVFALA] ask of the voice server.
struct VoiceServerRequest {
  bool wanted = false;  // "SAPI": empty or beginning with N means no
  int voice = 0;        // "VOZ"
  int rate = 0;         // "VELOCIDADE"
  int pitch = 0;        // "TOM"
  int type = 5;         // "TIPOSAPI"
};

// At start-up a rate above 10 is out of range for every server but type 4,
// and becomes 0.
VoiceServerRequest readVoiceServerRequestAtStartUp(const Settings& settings);
// The same keys read when the voice is reconfigured later: values are taken
// as they are.
VoiceServerRequest readVoiceServerRequest(const Settings& settings);

// A speech server outside the built-in synthesizer.
class VoiceServer {
 public:
  virtual ~VoiceServer() = default;
  virtual bool open(int voice, int rate, int pitch, int type) = 0;
  virtual void speak(std::string_view text) = 0;
  virtual bool busy() = 0;
  virtual void stop() = 0;
  virtual void close() = 0;
};

enum class VoiceServerKind { PortugueseTts, Sapi4, Sapi5, Sapi54 };

// 3 is the Portuguese text-to-speech engine, 4 SAPI 4, 54 SAPI 5.4; any other
// type is SAPI 5.
VoiceServerKind voiceServerKind(int type);

// The one place that builds a server. None of the engines exists yet, so every
// server it returns fails to open.
std::unique_ptr<VoiceServer> createVoiceServer(VoiceServerKind kind);

using VoiceServerFactory = std::function<std::unique_ptr<VoiceServer>(VoiceServerKind)>;

// The open server the request asks for, or null: when none is wanted or it
// fails to open. A failure is not reported; speech simply stays with the
// built-in synthesizer.
std::unique_ptr<VoiceServer> openVoiceServer(const VoiceServerRequest& request,
                                             const VoiceServerFactory& factory = createVoiceServer);

// How the Portuguese engine (type 3) takes "TOM" and "VELOCIDADE": as a pitch
// multiplier and a duration multiplier.
struct PortugueseTtsFactors {
  double pitch;
  double duration;
};
PortugueseTtsFactors portugueseTtsFactors(int pitch, int rate);

}  // namespace tamiral
