#include "tests/support/fake_console.h"

namespace tamiral {

std::vector<std::string> FakeConsole::writtenLines() const {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = written.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(written.substr(start, end - start));
  if (start < written.size()) lines.push_back(written.substr(start));
  return lines;
}

void FakeConsole::writeText(std::string_view text) { written += text; }

void FakeConsole::writeLine(std::string_view text) {
  written += text;
  written += '\n';
}

uint8_t FakeConsole::readKey() {
  if (keys.empty()) {
    ++keysReadPastEnd;
    return 13;
  }
  uint8_t key = keys.front();
  keys.pop_front();
  return key;
}

std::string FakeConsole::readConsoleLine(int capacity) {
  std::string line;
  for (uint8_t key; (key = readKey()) != 13;) {
    if (key >= 32 && static_cast<int>(line.size()) < capacity - 2) line += static_cast<char>(key);
  }
  writeLine(line);
  return line;
}

std::string FakeConsole::readSetting(std::string_view section, std::string_view key) {
  auto found = settings.find({std::string(section), std::string(key)});
  return found == settings.end() ? std::string() : found->second;
}

}  // namespace tamiral
