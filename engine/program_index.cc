#include "engine/program_index.h"

#include "engine/command_table.h"
#include "engine/cp1252.h"
#include "engine/program_store.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr std::string_view kEndTexts[] = {"FIM SE", "FIM ENQUANTO", "FIM REPETE"};
constexpr std::string_view kHeadWords[] = {"SE", "ENQUANTO", "REPETE"};

// The first word of a line: the characters before its first space; a line
// without a space has none. Collapsing runs of spaces changes neither, so the
// normalised text serves.
std::string_view firstWord(std::string_view folded) {
  size_t space = folded.find(' ');
  return space == std::string_view::npos ? std::string_view() : folded.substr(0, space);
}

}  // namespace

LineParts splitLine(std::string_view text) {
  text = trimBlanks(text);
  if (text.empty() || text.front() == '*' || text.front() == '@') return {};
  size_t space = text.find(' ');
  if (space == std::string_view::npos) return {false, text, {}};
  return {false, text.substr(0, space), trimBlanks(text.substr(space + 1))};
}

namespace {

StoredCommand storedCommand(std::string_view line) {
  LineParts parts = splitLine(line);
  StoredCommand command;
  if (parts.doesNothing) return command;
  command.doesNothing = false;
  command.entry = findCommandEntry(upperPt(parts.word));
  command.wordBegin = static_cast<size_t>(parts.word.data() - line.data());
  command.wordLength = parts.word.size();
  command.argsBegin = parts.args.empty() ? 0 : static_cast<size_t>(parts.args.data() - line.data());
  command.argsLength = parts.args.size();
  return command;
}

}  // namespace

std::string normaliseLine(std::string_view line) {
  std::string text;
  text.reserve(line.size());
  for (char c : trimBlanks(line)) {
    if (c == ' ' && !text.empty() && text.back() == ' ') continue;
    text += upperPtChar(c);
  }
  return text;
}

void ProgramIndex::build(const ProgramStore& program) {
  lineCount_ = program.lineCount();
  normalised_.assign(lineCount_ + 1, std::string());
  commands_.assign(lineCount_ + 1, StoredCommand());
  labels_.clear();
  for (int n = 1; n <= lineCount_; ++n) {
    const std::string& line = program.line(n);
    normalised_[n] = normaliseLine(line);
    commands_[n] = storedCommand(line);
    if (!line.empty() && line.front() == '@') labels_.emplace(upperPt(std::string_view(line).substr(1)), n);
  }
  for (size_t kind = 0; kind < 3; ++kind) {
    nextEnd_[kind].assign(lineCount_ + 1, 0);
    for (int n = lineCount_, next = 0; n >= 0; --n) {
      nextEnd_[kind][n] = next;
      if (n > 0 && normalised_[n] == kEndTexts[kind]) next = n;
    }
    previousHead_[kind].assign(lineCount_ + 2, 0);
    for (int n = 1, previous = 0; n <= lineCount_ + 1; ++n) {
      previousHead_[kind][n] = previous;
      if (n <= lineCount_ && firstWord(normalised_[n]) == kHeadWords[kind]) previous = n;
    }
  }
}

int ProgramIndex::clamp(int line) const { return line < 0 ? 0 : line > lineCount_ ? lineCount_ : line; }

const std::string& ProgramIndex::normalised(int line) const {
  return normalised_[line < 1 || line > lineCount_ ? 0 : line];
}

const StoredCommand& ProgramIndex::command(int line) const {
  return commands_[line < 1 || line > lineCount_ ? 0 : line];
}

int ProgramIndex::labelLine(const std::string& foldedName) const {
  auto found = labels_.find(foldedName);
  return found == labels_.end() ? 0 : found->second;
}

int ProgramIndex::nextEnd(BlockKind kind, int line) const {
  if (line >= lineCount_) return 0;
  return nextEnd_[slot(kind)][clamp(line)];
}

int ProgramIndex::previousHead(BlockKind kind, int line) const {
  if (line <= 1) return 0;
  return previousHead_[slot(kind)][line > lineCount_ ? lineCount_ + 1 : line];
}

}  // namespace tamiral
