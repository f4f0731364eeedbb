#include "console/talking_console.h"

#include <algorithm>

#include "engine/text.h"

namespace tamiral {

uint8_t TalkingConsole::editField(std::string& field, int, int, int, int maxLength) {
  field = readConsoleLine(std::clamp(maxLength, 0, 2048) + 2);
  return 13;
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
