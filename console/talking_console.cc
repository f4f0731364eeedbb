#include "console/talking_console.h"

#include "engine/text.h"

namespace tamiral {

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
