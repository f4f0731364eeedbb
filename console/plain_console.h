// The plain front end, used when there is no terminal to draw on: written
// text goes to standard output as UTF-8, keys come from standard input
// (UTF-8; a line end is Enter, and once input has ended every read gives
// Enter so no wait can hang). Sound goes through the speech object; texts to
// speak reach only the speech log until the voice exists.
#pragma once

#include <deque>
#include <string>

#include "console/voiced_console.h"
#include "platform/std_streams.h"

namespace tamiral {

class PlainConsole : public VoicedConsole {
 public:
  PlainConsole(StdStreams& streams, Settings& settings, FileSystem& fs)
      : VoicedConsole(settings, fs), streams_(streams) {}

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
  std::string readConsoleLine(int capacity) override { return readEchoedLine(capacity); }
  std::string readEditedLine() override;

 private:
  // Moves whatever standard input holds into the key queue, waiting up to
  // timeoutMs for the first byte.
  void pumpInput(int timeoutMs);
  void queueInputByte(unsigned char byte);

  StdStreams& streams_;
  std::deque<uint8_t> keys_;
  bool lastWasCarriageReturn_ = false;
  std::string title_;
  std::string clipboard_;
};

}  // namespace tamiral
