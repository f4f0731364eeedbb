// A recording talking console for tests: keys are fed in, and what was
// written and spoken is kept for comparison.
#pragma once

#include <deque>
#include <optional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "console/talking_console.h"

namespace tamiral {

class FakeConsole : public TalkingConsole {
 public:
  // What was written, line ends as "\n".
  std::string written;
  std::vector<std::string> spoken;
  std::deque<uint8_t> keys;
  std::map<std::pair<std::string, std::string>, std::string> settings;
  std::string title;
  int clearCount = 0;
  int restoreCount = 0;
  int hideCount = 0;
  std::optional<PointerPosition> pointer;
  int speechInitCount = 0;
  std::string soundFolder;
  // Keys read after the fed ones ran out (each gave Enter).
  int keysReadPastEnd = 0;
  struct SpokenTime {
    int hours, minutes;
    bool operator==(const SpokenTime&) const = default;
  };
  struct SpokenDate {
    int day, month, year;
    bool operator==(const SpokenDate&) const = default;
  };
  std::vector<SpokenTime> timesSpoken;
  std::vector<SpokenDate> datesSpoken;
  struct Reconfiguration {
    int speed;
    bool useServer;
    int type, pitch, rate, voice;
    bool operator==(const Reconfiguration&) const = default;
  };
  std::vector<Reconfiguration> reconfigurations;
  std::vector<std::string> wavesPlayed;
  // Clicks, beeps and cuts of speech, in order.
  std::vector<std::string> sounds;
  // What playWaveFile answers.
  int waveResult = 0;

  void feedKeys(std::string_view text) {
    for (char c : text) keys.push_back(static_cast<uint8_t>(c));
  }
  std::vector<std::string> writtenLines() const;

  void consoleInit() override {}
  void setWindowTitle(std::string_view text) override { title = text; }
  void restoreWindow() override { ++restoreCount; }
  void hideWindow() override { ++hideCount; }
  std::optional<PointerPosition> pointerPosition() override { return pointer; }
  void processMessages() override {}
  void processAllMessages() override {}
  void delayMs(int) override {}

  void writeText(std::string_view text) override;
  void writeLine(std::string_view text) override;
  void clearScreen() override { ++clearCount; }
  void gotoXY(int column, int row) override {
    x_ = column;
    y_ = row;
  }
  int whereX() override { return x_; }
  int whereY() override { return y_; }
  void setTextColor(int colour) override { textColour_ = colour; }
  void setTextBackground(int colour) override { background_ = colour; }
  int textColour() const { return textColour_; }
  int backgroundColour() const { return background_; }
  void copyToClipboard(std::string_view text) override { clipboard_ = text; }
  std::string pasteFromClipboard() override { return clipboard_; }

  bool keyPressed() override { return !keys.empty(); }
  uint8_t readKey() override;
  std::string readConsoleLine(int capacity) override;
  std::string readEditedLine() override { return readConsoleLine(257); }

  std::string readSetting(std::string_view section, std::string_view key) override;

  bool speechInit(int, std::string_view folder) override {
    ++speechInitCount;
    soundFolder = folder;
    return true;
  }
  void speechShutdown() override {}
  void speechReconfigure(int speed, bool useServer, int type, int pitch, int rate, int voice) override {
    reconfigurations.push_back({speed, useServer, type, pitch, rate, voice});
  }
  void speak(std::string_view text) override { spoken.emplace_back(text); }
  bool isSpeaking() override { return false; }
  void stopSpeech() override { sounds.push_back("stop"); }
  void speakChar(uint8_t code) override { spoken.emplace_back(1, static_cast<char>(code)); }
  void spellText(std::string_view text) override { spoken.emplace_back(text); }
  void playItem(std::string_view name) override { spoken.emplace_back(name); }
  void playClick() override { sounds.push_back("click"); }
  void playBeep() override { sounds.push_back("beep"); }
  uint8_t readKeyAndEcho() override {
    uint8_t key = readKey();
    speakChar(key);
    return key;
  }
  void speakTime(int hours, int minutes) override { timesSpoken.push_back({hours, minutes}); }
  void speakDate(int day, int month, int year) override { datesSpoken.push_back({day, month, year}); }
  int playWaveFile(std::string_view name) override {
    wavesPlayed.emplace_back(name);
    return waveResult;
  }

 private:
  int x_ = 1;
  int y_ = 1;
  int textColour_ = 7;
  int background_ = 0;
  std::string clipboard_;
};

}  // namespace tamiral
