#include "speech/speech_settings.h"

#include "engine/text.h"

namespace tamiral {

namespace {

constexpr std::string_view kDefaultLettersFolder = "c:\\ondrel\\som\\letras";

int numberOr(std::string_view value, int fallback) { return toInt(value).value_or(fallback); }

// Older files hold cut values such as "12ms"; the digits in front still count.
int numberOrLeadingDigits(std::string_view value) {
  if (std::optional<int32_t> number = toInt(value)) return *number;
  size_t digits = 0;
  while (digits < value.size() && isDigit(value[digits])) ++digits;
  return toInt(value.substr(0, digits)).value_or(0);
}

bool beginsWith(std::string_view value, char upperLetter) {
  return !value.empty() && upperPtChar(value.front()) == upperLetter;
}

// On for any value but an empty one or a "no".
bool switchedOn(std::string_view value) { return !value.empty() && !beginsWith(value, 'N'); }

}  // namespace

SpeedProfile loadSpeedProfile(const Settings& settings, int speed) {
  const std::string suffix = decimal(speed);
  auto value = [&](std::string_view keyword) {
    return settings.read("SINTETIZADOR", std::string(keyword) + suffix);
  };
  SpeedProfile profile;
  profile.cut = numberOrLeadingDigits(value("CORTEFON"));
  profile.minimumLength = numberOr(value("SOBRAFON"), 0);
  profile.wordGap = numberOr(value("INTERPAL"), 0);
  profile.periodDropping = switchedOn(value("CORTAFALA"));
  profile.rapidPlayback = switchedOn(value("RAPIDINHO"));
  profile.pauseFullStopMs = numberOr(value("PAUSAPONTO"), profile.pauseFullStopMs);
  profile.pauseCommaMs = numberOr(value("PAUSAVIRG"), profile.pauseCommaMs);
  profile.pauseColonMs = numberOr(value("PAUSADOISPONTOS"), profile.pauseColonMs);
  return profile;
}

int configuredSpeed(const Settings& settings, int requested) {
  int speed = requested > 0 ? requested : numberOr(settings.read("TRADUTOR", "VELOCIDADE"), kDefaultSpeed);
  return speed >= 1 && speed <= 5 ? speed : kDefaultSpeed;
}

std::string lettersFolder(const Settings& settings) {
  std::string folder = settings.read("TRADUTOR", "DIRLETRAS");
  return withFinalBackslash(folder.empty() ? kDefaultLettersFolder : folder);
}

// A folder already ending in '/' is left alone too: it is a separator once
// the path reaches Linux, and a '\' after it would make an empty part.
std::string withFinalBackslash(std::string_view folder) {
  std::string result(folder);
  if (!result.empty() && result.back() != '\\' && result.back() != '/') result += '\\';
  return result;
}

bool legacyFallbackFromSetting(std::string_view value) { return beginsWith(value, 'S'); }

VoiceServerRequest readVoiceServerRequest(const Settings& settings) {
  VoiceServerRequest request;
  request.wanted = switchedOn(settings.read("TRADUTOR", "SAPI"));
  request.voice = numberOr(settings.read("SERVFALA", "VOZ"), 0);
  request.rate = numberOr(settings.read("SERVFALA", "VELOCIDADE"), 0);
  request.pitch = numberOr(settings.read("SERVFALA", "TOM"), 0);
  request.type = numberOr(settings.read("SERVFALA", "TIPOSAPI"), request.type);
  return request;
}

VoiceServerRequest readVoiceServerRequestAtStartUp(const Settings& settings) {
  VoiceServerRequest request = readVoiceServerRequest(settings);
  if (request.type != 4 && request.rate > 10) request.rate = 0;
  return request;
}

VoiceServerKind voiceServerKind(int type) {
  switch (type) {
    case 3: return VoiceServerKind::PortugueseTts;
    case 4: return VoiceServerKind::Sapi4;
    case 54: return VoiceServerKind::Sapi54;
    default: return VoiceServerKind::Sapi5;
  }
}

namespace {

// Stands in for every engine until one exists: it never opens, so callers
// keep the built-in synthesizer.
class UnavailableVoiceServer : public VoiceServer {
 public:
  bool open(int, int, int, int) override { return false; }
  void speak(std::string_view) override {}
  bool busy() override { return false; }
  void stop() override {}
  void close() override {}
};

}  // namespace

std::unique_ptr<VoiceServer> createVoiceServer(VoiceServerKind) {
  return std::make_unique<UnavailableVoiceServer>();
}

std::unique_ptr<VoiceServer> openVoiceServer(const VoiceServerRequest& request, const VoiceServerFactory& factory) {
  if (!request.wanted) return nullptr;
  std::unique_ptr<VoiceServer> server = factory(voiceServerKind(request.type));
  if (!server || !server->open(request.voice, request.rate, request.pitch, request.type)) return nullptr;
  return server;
}

PortugueseTtsFactors portugueseTtsFactors(int pitch, int rate) {
  return {(pitch + 11) / 11.0, 0.8 - rate / 15.0};
}

}  // namespace tamiral
