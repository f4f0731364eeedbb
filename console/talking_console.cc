#include "console/talking_console.h"

#include <algorithm>

#include "engine/text.h"

namespace tamiral {

uint8_t TalkingConsole::editField(std::string& field, int, int, int, int maxLength) {
  field = readConsoleLine(std::clamp(maxLength, 0, 2048) + 2);
  return 13;
}

std::string TalkingConsole::readEchoedLine(int capacity) {
  constexpr uint8_t kEnter = 13, kBackspace = 8;
  std::string line;
  for (uint8_t key; (key = readKey()) != kEnter;) {
    if (key == 0) {
      readKey();
    } else if (key == kBackspace) {
      if (line.empty()) continue;
      line.pop_back();
      writeText("\b");
    } else if (key >= 32 && static_cast<int>(line.size()) < capacity - 2) {
      line += static_cast<char>(key);
      writeText(std::string_view(&line.back(), 1));
    }
  }
  writeLine("");
  return line;
}

void TalkingConsole::writeAndSpeak(std::string_view text) {
  writeText(text);
  speak(text);
}

void TalkingConsole::writeLineAndSpeak(std::string_view text) {
  writeAndSpeak(text);
  writeLine("");
}

void TalkingConsole::writeNumberAndSpeak(int64_t number) { writeAndSpeak(decimal(number)); }

void TalkingConsole::waitWhileSpeaking() {
  while (isSpeaking()) delayMs(10);
}

}  // namespace tamiral
