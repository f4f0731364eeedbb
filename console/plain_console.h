// The plain front end, used when there is no terminal to draw on: written
// text goes to standard output as UTF-8, keys come from standard input
// (UTF-8; a line end is Enter, and once input has ended every read gives
// Enter so no wait can hang). Until the voice exists, speech goes only to the
// speech log ([TRADUTOR] "REGISTRODAFALA").
#pragma once

#include <deque>
#include <string>

#include "console/talking_console.h"
#include "platform/std_streams.h"
#include "speech/settings.h"
#include "speech/speech_log.h"

namespace tamiral {

class PlainConsole : public TalkingConsole {
 public:
  PlainConsole(StdStreams& streams, Settings& settings) : streams_(streams), settings_(settings) {}

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

  void speechInit(int speed, std::string_view programSoundFolder) override;
  void speechShutdown() override {}
  void speak(std::string_view text) override { log_.append(text); }
  bool isSpeaking() override { return false; }
  void stopSpeech() override {}
  void speakChar(uint8_t code) override { log_.append(std::string(1, static_cast<char>(code))); }
  void spellText(std::string_view text) override { log_.append(text); }
  void playItem(std::string_view name) override { log_.append(name); }
  void playClick() override {}
  void playBeep() override {}
  uint8_t readKeyAndEcho() override;

 private:
  // Moves whatever standard input holds into the key queue, waiting up to
  // timeoutMs for the first byte.
  void pumpInput(int timeoutMs);
  void queueInputByte(unsigned char byte);

  StdStreams& streams_;
  Settings& settings_;
  SpeechLog log_;
  std::deque<uint8_t> keys_;
  bool lastWasCarriageReturn_ = false;
  std::string title_;
  std::string clipboard_;
};

}  // namespace tamiral
