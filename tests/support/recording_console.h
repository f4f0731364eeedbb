// A model console whose speech operations are recorded instead of played:
// each one adds a line to `heard` ("say:texto", "char:a", "spell:abc",
// "item:_DEL", "click", "beep", "wave:dtmf_1.wav", "time:14:05",
// "date:3/2/2025", "restart:3"), so a test compares what the user would hear
// as lines, beside the screen's 25 rows.
#pragma once

#include <string>
#include <vector>

#include "console/model_console.h"
#include "engine/text.h"
#include "speech/wave_capture.h"

namespace tamiral {

class RecordingConsole : public ModelConsole {
 public:
  using ModelConsole::ModelConsole;

  std::vector<std::string> heard;

  // One row of the screen (1-based) without its trailing blanks.
  std::string row(int r) {
    std::string text = model().screenText();
    size_t start = 0;
    for (int i = 1; i < r; ++i) start = text.find('\n', start) + 1;
    return text.substr(start, text.find('\n', start) - start);
  }

  void speak(std::string_view text) override { heard.push_back("say:" + std::string(text)); }
  void speakChar(uint8_t code) override { heard.push_back("char:" + std::string(1, static_cast<char>(code))); }
  void spellText(std::string_view text) override { heard.push_back("spell:" + std::string(text)); }
  void playItem(std::string_view name) override { heard.push_back("item:" + std::string(name)); }
  void playClick() override { heard.push_back("click"); }
  // The beep drops keys typed ahead, as the real one does.
  void playBeep() override {
    while (keyPressed()) readKey();
    heard.push_back("beep");
  }
  uint8_t readKeyAndEcho() override {
    uint8_t key = readKey();
    stopSpeech();
    speakChar(key);
    return key;
  }
  void speakTime(int hours, int minutes) override {
    heard.push_back("time:" + decimal(hours) + ":" + (minutes < 10 ? "0" : "") + decimal(minutes));
  }
  void speakDate(int day, int month, int year) override {
    heard.push_back("date:" + decimal(day) + "/" + decimal(month) + "/" + decimal(year));
  }
  // Tones played while rapid playback is on are marked, since none should be.
  int playWaveFile(std::string_view name) override {
    std::string file(name.substr(name.find_last_of("\\/") + 1));
    heard.push_back("wave:" + file + (speech().wave().rapidPlayback ? " (rapid)" : ""));
    return 0;
  }
  // A start of speech opens a new output, with playback's modes reset.
  bool speechInit(int speed, std::string_view) override {
    heard.push_back("restart:" + decimal(speed));
    speech().useWaveSink(makeSilentSink());
    return true;
  }
  void speechShutdown() override {}
};

}  // namespace tamiral
