// A talking console whose speech operations go to the speech object it owns,
// and whose settings come from the product settings file. Front ends derive
// from it and add the screen and the keyboard, so every front end speaks the
// same way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/talking_console.h"
#include "engine/cp1252.h"
#include "platform/file_system.h"
#include "speech/recorded_numbers.h"
#include "speech/settings.h"
#include "speech/speech.h"

namespace tamiral {

class VoicedConsole : public TalkingConsole {
 public:
  // The speech object keeps a reference to this console (its host), used
  // only once the run has started.
  VoicedConsole(Settings& settings, FileSystem& fs) : settings_(settings), speech_(*this, fs, settings) {}

  std::string readSetting(std::string_view section, std::string_view key) override {
    return settings_.read(section, key);
  }

  // When the built-in voice cannot start, the console says why and waits
  // for Enter before the program ends.
  bool speechInit(int speed, std::string_view programSoundFolder) override {
    int code = speech_.init(speed, programSoundFolder);
    if (code == DiphoneSynth::kStarted) return true;
    writeLine(std::string("Erro de inicialização: "_cp) + std::to_string(code));
    writeLine("Banco de dados de voz: " + std::string(DiphoneSynth::kDatabaseName));
    readConsoleLine(128);
    return false;
  }
  void speechShutdown() override { speech_.shutdown(); }
  void speechReconfigure(int speed, bool useServer, int type, int pitch, int rate, int voice) override {
    speech_.reconfigure(speed, useServer, type, pitch, rate, voice);
  }
  void speak(std::string_view text) override { speech_.speak(text); }
  bool isSpeaking() override { return speech_.isSpeaking(); }
  void stopSpeech() override { speech_.stop(); }
  void speakChar(uint8_t code) override { speech_.speakChar(code); }
  void spellText(std::string_view text) override { speech_.spellText(text); }
  void playItem(std::string_view name) override { speech_.playItem(name); }
  void playClick() override { speech_.playClick(); }
  void playBeep() override { speech_.playBeep(); }
  // The key is read, speech cut, and the key said.
  uint8_t readKeyAndEcho() override {
    uint8_t key = readKey();
    speech_.stop();
    speech_.speakChar(key);
    return key;
  }
  void speakTime(int hours, int minutes) override { tamiral::speakTime(speech_, hours, minutes); }
  void speakDate(int day, int month, int year) override { tamiral::speakDate(speech_, day, month, year); }
  int playWaveFile(std::string_view name) override { return speech_.wave().playWaveFile(name); }

  Speech& speech() { return speech_; }

 protected:
  Settings& settings() { return settings_; }

 private:
  Settings& settings_;
  Speech speech_;
};

}  // namespace tamiral
