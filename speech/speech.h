// The one door through which the runtime makes sound: texts to speak,
// spelled texts, recorded items from the letters folder ("_" names) or the
// program's sound folder (other names), the click and the beep. A pending key
// always cuts speech. Every text spoken or spelled and every item played is
// also appended to the speech log.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "speech/speech_log.h"
#include "speech/speech_settings.h"
#include "speech/wave_playback.h"

namespace tamiral {

class TalkingConsole;
class FileSystem;
class Settings;

class Speech {
 public:
  Speech(TalkingConsole& host, FileSystem& fs, Settings& settings);
  ~Speech();

  // Reads the speech settings and opens the wave output named by
  // [TRADUTOR] "SAIDADEAUDIO". speed 0 takes the configured speed.
  void init(int speed, std::string_view programSoundFolder);
  void shutdown();
  // A new speed profile and voice server without restarting the built-in
  // voice: the server is closed, then opened again when useServer asks
  // (voice 0 takes [SERVFALA] "VOZ"; the rate is not clamped here).
  void reconfigure(int speed, bool useServer, int type, int pitch, int rate, int voice);

  void speak(std::string_view text);
  bool isSpeaking();
  void stop();
  void speakChar(uint8_t code);
  void spellText(std::string_view text);
  void playItem(std::string_view name);
  bool itemExists(std::string_view name);
  void playClick();
  void playBeep();
  // Plays a RIFF image and waits while it sounds.
  void playWaveImageWait(std::string_view image);
  // A silent pause in 50 ms steps that a key press ends.
  void punctuationPause(int milliseconds);

  // Event loop hooks: finished blocks, and delays that move outputs which
  // are not real time.
  void onMessages();
  void onDelay(int milliseconds);
  // False when waits need not sleep: the output finishes blocks on its own
  // clock (a capture file or no output).
  bool realTimeOutput() const;

  WavePlayback& wave() { return *wave_; }
  int speed() const { return speed_; }
  const SpeedProfile& speedProfile() const { return profile_; }
  bool voiceServerActive() const { return voiceServer_ != nullptr; }
  const std::string& lettersFolder() const { return lettersFolder_; }
  const std::string& programSoundFolder() const { return programSoundFolder_; }
  SpeechLog& log() { return log_; }
  FileSystem& fileSystem() { return fs_; }

 private:
  std::string itemFile(std::string_view name) const;
  void applySpeedProfile(const SpeedProfile& profile);
  void waitWhileSpeaking();

  TalkingConsole& host_;
  FileSystem& fs_;
  Settings& settings_;
  std::unique_ptr<WavePlayback> wave_;
  SpeechLog log_;
  std::string lettersFolder_ = "c:\\ondrel\\som\\letras\\";
  std::string programSoundFolder_;
  std::string clickNoise_;
  int speed_ = 3;
  SpeedProfile profile_;
  std::unique_ptr<VoiceServer> voiceServer_;
};

}  // namespace tamiral
