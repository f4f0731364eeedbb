#include "speech/speech.h"

#include <algorithm>
#include <random>

#include "console/talking_console.h"
#include "engine/text.h"
#include "platform/file_system.h"
#include "speech/recorded_numbers.h"
#include "speech/settings.h"
#include "speech/speech_settings.h"
#include "speech/wave_capture.h"

namespace tamiral {

namespace {

constexpr uint8_t kTab = 9;
constexpr size_t kClickNoiseSamples = 64;
constexpr size_t kMaxWordRun = 999;
// A character repeated more than this many times clicks instead.
constexpr int kRepeatsSounded = 3;
constexpr int kPausePieceMs = 50;

// Letters of the Latin-1 range: every code from 128 up counts.
bool isLatinLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || static_cast<uint8_t>(c) >= 128;
}
bool isWordCharacter(char c) { return c == ' ' || isLatinLetter(c); }

template <typename Predicate>
size_t runLength(std::string_view text, Predicate belongs) {
  size_t n = 0;
  while (n < text.size() && belongs(text[n])) ++n;
  return n;
}

}  // namespace

Speech::Speech(TalkingConsole& host, FileSystem& fs, Settings& settings)
    : host_(host),
      fs_(fs),
      settings_(settings),
      wave_(std::make_unique<WavePlayback>(host, fs, makeSilentSink())),
      diphone_(fs, voiceOutput_) {
  // The click's noise is drawn once, so every click sounds the same.
  std::minstd_rand random(20261211);
  for (size_t i = 0; i < kClickNoiseSamples; ++i) clickNoise_ += static_cast<char>(128 + random() % 60);
}

Speech::~Speech() = default;

// The legacy fallback stays on while LEGADO (and, once the magnifier exists,
// the low-vision keys) are read; then LEGADO decides.
int Speech::init(int speed, std::string_view programSoundFolder) {
  settings_.setLegacyFallback(true);
  settings_.setLegacyFallback(legacyFallbackFromSetting(settings_.read("TAMIRAL", "LEGADO")));
  speed_ = configuredSpeed(settings_, speed);
  if (int code = diphone_.init(settings_); code != DiphoneSynth::kStarted) {
    diphone_.release();
    return code;
  }
  programSoundFolder_ = withFinalBackslash(programSoundFolder);
  lettersFolder_ = tamiral::lettersFolder(settings_);
  log_.open(settings_.read("TRADUTOR", "REGISTRODAFALA"));
  wave_ = std::make_unique<WavePlayback>(host_, fs_, makeWaveSink(settings_.read("TRADUTOR", "SAIDADEAUDIO"), fs_));
  applySpeedProfile(loadSpeedProfile(settings_, speed_));
  // No voice server can open yet: a failed open leaves speech with the
  // built-in voice, unreported.
  voiceServer_ = openVoiceServer(readVoiceServerRequestAtStartUp(settings_));
  return 0;
}

void Speech::useWaveSink(std::unique_ptr<WaveSink> sink) {
  wave_ = std::make_unique<WavePlayback>(host_, fs_, std::move(sink));
  applySpeedProfile(profile_);
}

void Speech::applySpeedProfile(const SpeedProfile& profile) {
  profile_ = profile;
  diphone_.setParams(profile.cut, profile.minimumLength, profile.wordGap);
  wave_->rapidPlayback = profile.rapidPlayback;
  wave_->periodDropping = profile.periodDropping;
}

void Speech::reconfigure(int speed, bool useServer, int type, int pitch, int rate, int voice) {
  stop();
  if (voiceServer_) voiceServer_->close();
  voiceServer_.reset();
  // Not limited to 1..5: a speed without keys of its own gets the profile's
  // defaults.
  speed_ = speed;
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
  diphone_.release();
}

void Speech::logSpoken(std::string_view text) {
  if (quietLog_ == 0) log_.append(text);
}

void Speech::speak(std::string_view text) {
  logSpoken(text);
  QuietLog quiet(*this);
  if (voiceServer_) {
    waitWhileSpeaking();
    if (host_.keyPressed()) return;
    voiceServer_->speak(text);
    serverSpeaking_ = true;
    return;
  }
  // The appended space gives a final full stop its pause.
  std::string padded = std::string(text) + " ";
  std::string_view rest = padded;
  cut_ = false;
  char last = ' ';
  int repeats = 0;
  while (!cut_ && !rest.empty()) {
    if (host_.keyPressed()) {
      stop();
      break;
    }
    while (!rest.empty() && rest.front() == '0') {
      playItem("_zero");
      rest.remove_prefix(1);
    }
    if (rest.empty()) break;
    if (isDigit(rest.front())) {
      rest.remove_prefix(speakNumberRun(rest));
    } else if (isWordCharacter(rest.front())) {
      rest.remove_prefix(speakWordRun(rest));
      // Hyphenated words run together.
      if (rest.size() >= 2 && rest[0] == '-' && isLatinLetter(rest[1])) rest.remove_prefix(1);
    } else {
      speakOtherCharacter(rest, last, repeats);
      rest.remove_prefix(1);
    }
  }
}

// Digits and hyphens: spelled when the run holds a hyphen or has seven or
// more characters, else said as a number.
size_t Speech::speakNumberRun(std::string_view text) {
  size_t n = runLength(text, [](char c) { return isDigit(c) || c == '-'; });
  std::string_view run = text.substr(0, n);
  if (run.find('-') != std::string_view::npos || n >= 7)
    spellText(run);
  else
    playRecordedWords(*this, recordedNumberWords(static_cast<uint64_t>(std::stoll(std::string(run)))), false);
  return n;
}

// The voice takes at most 999 characters at a time; a longer run is said in
// pieces that end between words, so no part of it goes unsaid.
size_t Speech::speakWordRun(std::string_view text) {
  size_t n = runLength(text, isWordCharacter);
  std::string_view run = text.substr(0, n);
  if (upperPt(run) == "WWW") {
    spellText(run);
    return n;
  }
  while (!run.empty() && !cut_) {
    std::string_view piece = run.substr(0, kMaxWordRun);
    size_t lastBlank = piece.rfind(' ');
    if (piece.size() < run.size() && lastBlank != std::string_view::npos && lastBlank > 0)
      piece = piece.substr(0, lastBlank + 1);
    diphone_.speakPhonetic(diphone_.textToPhonetic(piece));
    run.remove_prefix(piece.size());
  }
  return n;
}

void Speech::speakOtherCharacter(std::string_view text, char& last, int& repeats) {
  char c = text.front();
  if (c == last) {
    if (++repeats > kRepeatsSounded) {
      playClick();
      return;
    }
  } else {
    last = c;
    repeats = 0;
  }
  if (c == '-') {
    char next = text.size() < 3 ? ' ' : text[1];
    if (next == ' ' || next == '-')
      speakPunctuation(text);
    else if (isDigit(next))
      playItem("_MENOS");
    else
      speakChar('-');
    return;
  }
  if (text.starts_with("://")) return spellText(text.substr(0, 1));
  switch (c) {
    case '(': case ')': case ',': case '.': case ':': case ';':
      return speakPunctuation(text);
    case kTab:
      return playItem("_FON9");
    case ' ': case '\r': case '\n':
      return;
    default:
      if (!host_.keyPressed()) speakChar(static_cast<uint8_t>(c));
  }
}

void Speech::speakPunctuation(std::string_view text) {
  if (host_.keyPressed()) return;
  waitWhileSpeaking();
  char p = text.front();
  speakChar(static_cast<uint8_t>(p));
  bool spaceFollows = text.size() > 1 && text[1] == ' ';
  if (p == '(' || p == ')' || p == ':' || p == ';')
    punctuationPause(profile_.pauseColonMs);
  else if ((p == ',' || p == '-') && spaceFollows)
    punctuationPause(profile_.pauseCommaMs);
  else if (p == '.' && spaceFollows)
    punctuationPause(profile_.pauseFullStopMs);
}

bool Speech::isSpeaking() {
  if (host_.keyPressed()) {
    stop();
    return false;
  }
  return wave_->busy() || (voiceServer_ && voiceServer_->busy());
}

void Speech::waitServerSpeech() {
  if (!serverSpeaking_) return;
  waitWhileSpeaking();
  serverSpeaking_ = false;
}

void Speech::stop() {
  wave_->stop();
  cut_ = true;
  if (voiceServer_ && voiceServer_->busy()) voiceServer_->stop();
}

void Speech::waitWhileSpeaking() {
  while (isSpeaking()) host_.delayMs(10);
}

std::string Speech::itemFile(std::string_view name) const {
  const std::string& folder = !name.empty() && name.front() == '_' ? lettersFolder_ : programSoundFolder_;
  return folder + std::string(name) + ".wav";
}

bool Speech::itemExists(std::string_view name) { return fs_.isFile(itemFile(name)); }

void Speech::playItem(std::string_view name) {
  waitServerSpeech();
  logSpoken(name);
  wave_->playWaveFile(itemFile(name));
}

// Control codes other than 0 (the prefix of extended keys) and 12 are silent.
void Speech::speakChar(uint8_t code) {
  waitServerSpeech();
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
  waitServerSpeech();
  std::string samples = clickNoise_;
  samples.resize(256, static_cast<char>(128));
  bool dropping = wave_->periodDropping;
  wave_->periodDropping = false;
  wave_->playSamples(samples, 11025, 1, 8);
  wave_->periodDropping = dropping;
  waitWhileSpeaking();
}

void Speech::playBeep() {
  waitServerSpeech();
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

void Speech::onMessages() {
  wave_->collectFinishedBlocks();
  for (BackgroundSound* sound : backgroundSounds_) sound->pump(0);
}

void Speech::onDelay(int milliseconds) {
  wave_->advanceClock(milliseconds);
  wave_->collectFinishedBlocks();
  for (BackgroundSound* sound : backgroundSounds_) sound->pump(milliseconds);
}

void Speech::addBackgroundSound(BackgroundSound& sound) { backgroundSounds_.push_back(&sound); }

void Speech::removeBackgroundSound(BackgroundSound& sound) { std::erase(backgroundSounds_, &sound); }

bool Speech::backgroundSounding() const {
  return std::any_of(backgroundSounds_.begin(), backgroundSounds_.end(),
                     [](const BackgroundSound* sound) { return sound->sounding(); });
}

bool Speech::realTimeOutput() const { return wave_->realTime(); }

}  // namespace tamiral
