#include "speech/speech_log.h"

#include "engine/cp1252.h"
#include "platform/files.h"

namespace tamiral {

void SpeechLog::open(std::string_view path) { nativePath_ = path.empty() ? std::string() : nativePath(path); }

void SpeechLog::append(std::string_view text) {
  if (nativePath_.empty()) return;
  // One entry per line: line ends inside the text would split it.
  std::string line;
  line.reserve(text.size() + 1);
  for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
  appendToFile(nativePath_, cp1252ToUtf8(line) + "\n");
}

}  // namespace tamiral
