// The plain front end, used when there is no terminal to draw on: written
// text goes to standard output as UTF-8, keys come from standard input
// (UTF-8; a line end is Enter, and once input has ended every read gives
// Enter so no wait can hang). Sound goes through the speech object; texts to
// speak reach only the speech log until the voice exists.
#pragma once

#include <deque>
#include <string>

#include "console/talking_console.h"
#include "platform/std_streams.h"
#include "speech/recorded_numbers.h"
#include "speech/settings.h"
#include "speech/speech.h"

namespace tamiral {

class PlainConsole : public TalkingConsole {
 public:
  PlainConsole(StdStreams& streams, Settings& settings, FileSystem& fs)
      : streams_(streams), settings_(settings), speech_(*this, fs, settings) {}

  void consoleInit() override {}
  void setWindowTitle(std::string_view title) override { title_ = title; }
  void restoreWindow() override {}
  void processMessages() override;
  void processAllMessages() override { processMessages(); }
  void delayMs(int milliseconds) override;

  void writeText(std::string_view text) override;
  void writeLine(std::string_view text) override;
  void clearScreen() override {}
  void gotoXY(int, int) override {}
  int whereX() override { return 1; }
  int whereY() override { return 1; }
  void setTextColor(int) override {}
  void setTextBackground(int) override {}
  void copyToClipboard(std::string_view text) override { clipboard_ = text; }
  std::string pasteFromClipboard() override { return clipboard_; }

  bool keyPressed() override;
  uint8_t readKey() override;
  std::string readConsoleLine(int capacity) override;
  std::string readEditedLine() override;

  std::string readSetting(std::string_view section, std::string_view key) override;

  void speechInit(int speed, std::string_view programSoundFolder) override {
    speech_.init(speed, programSoundFolder);
  }
  void speechShutdown() override { speech_.shutdown(); }
  void speak(std::string_view text) override { speech_.speak(text); }
  bool isSpeaking() override { return speech_.isSpeaking(); }
  void stopSpeech() override { speech_.stop(); }
  void speakChar(uint8_t code) override { speech_.speakChar(code); }
  void spellText(std::string_view text) override { speech_.spellText(text); }
  void playItem(std::string_view name) override { speech_.playItem(name); }
  void playClick() override { speech_.playClick(); }
  void playBeep() override { speech_.playBeep(); }
  uint8_t readKeyAndEcho() override;
  void speakTime(int hours, int minutes) override { tamiral::speakTime(speech_, hours, minutes); }
  void speakDate(int day, int month, int year) override { tamiral::speakDate(speech_, day, month, year); }
  int playWaveFile(std::string_view name) override { return speech_.wave().playWaveFile(name); }

  Speech& speech() { return speech_; }

 private:
  // Moves whatever standard input holds into the key queue, waiting up to
  // timeoutMs for the first byte.
  void pumpInput(int timeoutMs);
  void queueInputByte(unsigned char byte);

  StdStreams& streams_;
  Settings& settings_;
  Speech speech_;
  std::deque<uint8_t> keys_;
  bool lastWasCarriageReturn_ = false;
  std::string title_;
  std::string clipboard_;
};

}  // namespace tamiral
