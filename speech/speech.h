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
#include <vector>

#include "speech/background_sound.h"
#include "speech/speech_log.h"
#include "speech/speech_settings.h"
#include "speech/wave_playback.h"
#include "tts/diphone_synth.h"

namespace tamiral {

class TalkingConsole;
class FileSystem;
class Settings;

class Speech : public BackgroundSounds {
 public:
  Speech(TalkingConsole& host, FileSystem& fs, Settings& settings);
  ~Speech();

  // Reads the speech settings, opens the wave output named by [TRADUTOR]
  // "SAIDADEAUDIO" and starts the built-in voice. speed 0 takes the
  // configured speed. 0, or the voice's start-up error code (1: a folder or
  // the units are missing; 2: the rules or exceptions cannot be read).
  int init(int speed, std::string_view programSoundFolder);
  void shutdown();
  // A new speed profile and voice server without restarting the built-in
  // voice: the server is closed, then opened again when useServer asks
  // (voice 0 takes [SERVFALA] "VOZ"; the rate is not clamped here).
  void reconfigure(int speed, bool useServer, int type, int pitch, int rate, int voice);

  // Digits, words and punctuation in turn: numbers from recorded words,
  // words by the built-in voice, other characters by their recorded sounds.
  // Returns when spoken or cut; a voice server takes the whole text instead
  // and speaks it in the background.
  void speak(std::string_view text);
  bool isSpeaking();
  // Cuts everything now; the text being spoken is abandoned.
  void stop();
  // Waits until text handed to a voice server has been spoken.
  void waitServerSpeech();
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
  // Pumped on every turn of the event loop and every delay.
  void addBackgroundSound(BackgroundSound& sound) override;
  void removeBackgroundSound(BackgroundSound& sound) override;
  bool backgroundSounding() const;

  WavePlayback& wave() { return *wave_; }
  // Another wave output in place of the configured one (benchmarks).
  void useWaveSink(std::unique_ptr<WaveSink> sink);
  int speed() const { return speed_; }
  const SpeedProfile& speedProfile() const { return profile_; }
  bool voiceServerActive() const { return voiceServer_ != nullptr; }
  const std::string& lettersFolder() const { return lettersFolder_; }
  const std::string& programSoundFolder() const { return programSoundFolder_; }
  SpeechLog& log() { return log_; }
  // Appends to the speech log, unless it is a piece of a text being spoken
  // (the text itself was logged).
  void logSpoken(std::string_view text);
  DiphoneSynth& diphone() { return diphone_; }
  FileSystem& fileSystem() { return fs_; }

 private:
  // Where the built-in voice's pieces play.
  class VoiceOutput : public UnitOutput {
   public:
    explicit VoiceOutput(Speech& speech) : speech_(speech) {}
    void playAndWait(std::string_view waveImage) override { speech_.playWaveImageWait(waveImage); }
    bool cut() override { return speech_.cut_; }

   private:
    Speech& speech_;
  };
  // While a text is walked, the pieces it is said with are not logged again.
  class QuietLog {
   public:
    explicit QuietLog(Speech& speech) : speech_(speech) { ++speech_.quietLog_; }
    ~QuietLog() { --speech_.quietLog_; }

   private:
    Speech& speech_;
  };

  std::string itemFile(std::string_view name) const;
  void applySpeedProfile(const SpeedProfile& profile);
  void waitWhileSpeaking();
  size_t speakNumberRun(std::string_view text);
  size_t speakWordRun(std::string_view text);
  void speakOtherCharacter(std::string_view text, char& last, int& repeats);
  void speakPunctuation(std::string_view text);

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
  VoiceOutput voiceOutput_{*this};
  DiphoneSynth diphone_;
  bool cut_ = false;
  bool serverSpeaking_ = false;
  int quietLog_ = 0;
  std::vector<BackgroundSound*> backgroundSounds_;
};

}  // namespace tamiral
