#include "speech/speech.h"

#include <random>

#include "console/talking_console.h"
#include "engine/text.h"
#include "platform/file_system.h"
#include "speech/settings.h"
#include "speech/speech_settings.h"
#include "speech/wave_capture.h"

namespace tamiral {

namespace {

constexpr uint8_t kTab = 9;
constexpr size_t kClickNoiseSamples = 64;

}  // namespace

Speech::Speech(TalkingConsole& host, FileSystem& fs, Settings& settings)
    : host_(host), fs_(fs), settings_(settings), wave_(std::make_unique<WavePlayback>(host, fs, makeSilentSink())) {
  // The click's noise is drawn once, so every click sounds the same.
  std::minstd_rand random(20261211);
  for (size_t i = 0; i < kClickNoiseSamples; ++i) clickNoise_ += static_cast<char>(128 + random() % 60);
}

Speech::~Speech() = default;

// The legacy fallback stays on while LEGADO (and, once the magnifier exists,
// the low-vision keys) are read; then LEGADO decides.
void Speech::init(int speed, std::string_view programSoundFolder) {
  settings_.setLegacyFallback(true);
  settings_.setLegacyFallback(legacyFallbackFromSetting(settings_.read("TAMIRAL", "LEGADO")));
  speed_ = configuredSpeed(settings_, speed);
  programSoundFolder_ = withFinalBackslash(programSoundFolder);
  lettersFolder_ = tamiral::lettersFolder(settings_);
  log_.open(settings_.read("TRADUTOR", "REGISTRODAFALA"));
  wave_ = std::make_unique<WavePlayback>(host_, fs_, makeWaveSink(settings_.read("TRADUTOR", "SAIDADEAUDIO"), fs_));
  applySpeedProfile(loadSpeedProfile(settings_, speed_));
  // No voice server can open yet: a failed open leaves speech with the
  // built-in voice, unreported.
  voiceServer_ = openVoiceServer(readVoiceServerRequestAtStartUp(settings_));
}

void Speech::applySpeedProfile(const SpeedProfile& profile) {
  profile_ = profile;
  wave_->rapidPlayback = profile.rapidPlayback;
  wave_->periodDropping = profile.periodDropping;
}

void Speech::reconfigure(int speed, bool useServer, int type, int pitch, int rate, int voice) {
  stop();
  if (voiceServer_) voiceServer_->close();
  voiceServer_.reset();
  speed_ = configuredSpeed(settings_, speed);
  applySpeedProfile(loadSpeedProfile(settings_, speed_));
  if (!useServer) return;
  VoiceServerRequest request = readVoiceServerRequest(settings_);
  request.wanted = true;
  request.type = type;
  request.pitch = pitch;
  request.rate = rate;
  if (voice != 0) request.voice = voice;
  voiceServer_ = openVoiceServer(request);
}

void Speech::shutdown() {
  waitWhileSpeaking();
  stop();
  if (voiceServer_) voiceServer_->close();
  voiceServer_.reset();
}

// Until the voice exists, texts reach only the speech log.
void Speech::speak(std::string_view text) { log_.append(text); }

bool Speech::isSpeaking() {
  if (host_.keyPressed()) {
    stop();
    return false;
  }
  return wave_->busy();
}

void Speech::stop() { wave_->stop(); }

void Speech::waitWhileSpeaking() {
  while (isSpeaking()) host_.delayMs(10);
}

std::string Speech::itemFile(std::string_view name) const {
  const std::string& folder = !name.empty() && name.front() == '_' ? lettersFolder_ : programSoundFolder_;
  return folder + std::string(name) + ".wav";
}

bool Speech::itemExists(std::string_view name) { return fs_.isFile(itemFile(name)); }

void Speech::playItem(std::string_view name) {
  log_.append(name);
  wave_->playWaveFile(itemFile(name));
}

// Control codes other than 0 (the prefix of extended keys) and 12 are silent.
void Speech::speakChar(uint8_t code) {
  if ((code >= 1 && code <= 11) || (code >= 13 && code <= 31)) return;
  std::string item = "_" + decimal(code);
  if (!itemExists(item)) item = "_unknown";
  playItem(item);
}

void Speech::spellText(std::string_view text) {
  for (char c : text) {
    if (host_.keyPressed()) return;
    if (static_cast<uint8_t>(c) == kTab)
      playItem("_FON9");
    else
      speakChar(static_cast<uint8_t>(c));
  }
}

void Speech::playWaveImageWait(std::string_view image) {
  wave_->playWaveImage(image);
  waitWhileSpeaking();
}

void Speech::playClick() {
  std::string samples = clickNoise_;
  samples.resize(256, static_cast<char>(128));
  bool dropping = wave_->periodDropping;
  wave_->periodDropping = false;
  wave_->playSamples(samples, 11025, 1, 8);
  wave_->periodDropping = dropping;
  waitWhileSpeaking();
}

void Speech::playBeep() {
  while (host_.keyPressed()) host_.readKey();
  static constexpr uint8_t kTriangle[] = {128, 112, 96, 80, 64, 80, 96, 112};
  std::string samples;
  for (size_t i = 0; i < 511; ++i) samples += static_cast<char>(kTriangle[i % 8]);
  samples += static_cast<char>(128);
  wave_->playSamples(samples, 11025, 1, 8);
  waitWhileSpeaking();
}

void Speech::punctuationPause(int milliseconds) {
  for (int step = 0; step < milliseconds / 50; ++step) {
    if (!host_.keyPressed()) host_.delayMs(50);
  }
}

void Speech::onMessages() { wave_->collectFinishedBlocks(); }

void Speech::onDelay(int milliseconds) {
  wave_->advanceClock(milliseconds);
  wave_->collectFinishedBlocks();
}

bool Speech::realTimeOutput() const { return wave_->realTime(); }

}  // namespace tamiral
