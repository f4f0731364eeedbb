// What the jumps and block ends would find by scanning the program store,
// worked out once per program: normalised line texts, label positions, the
// nearest block end below and loop head above every line. Every answer is
// the one the scan gives: first label wins, loops of one kind do not nest.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tamiral {

class ProgramStore;
struct CommandEntry;

// A line as the run loop sees it: blanks removed from both ends; empty,
// comment ('*') and label ('@') lines do nothing; otherwise the command word
// is what comes before the first space (only a space separates) and the
// arguments what follows it, blanks removed from both ends.
struct LineParts {
  bool doesNothing = true;
  std::string_view word;
  std::string_view args;
};
LineParts splitLine(std::string_view text);

// A stored line split and its word looked up once; offsets into the line.
struct StoredCommand {
  bool doesNothing = true;
  const CommandEntry* entry = nullptr;  // null for an unknown word
  size_t wordBegin = 0, wordLength = 0, argsBegin = 0, argsLength = 0;
};

enum class BlockKind { kSe, kEnquanto, kRepete };

// Line texts as the block scans compare them: blanks removed from both ends,
// folded, every run of spaces reduced to one.
std::string normaliseLine(std::string_view line);

class ProgramIndex {
 public:
  void build(const ProgramStore& program);

  const std::string& normalised(int line) const;
  const StoredCommand& command(int line) const;
  // The first line "@name" whose folded name equals foldedName; 0 when none.
  int labelLine(const std::string& foldedName) const;
  // The first line after `line` whose normalised text is "FIM <kind>"; 0 when none.
  int nextEnd(BlockKind kind, int line) const;
  // The nearest line before `line` whose first word is the loop's head word
  // (ENQUANTO or REPETE); 0 when none.
  int previousHead(BlockKind kind, int line) const;

 private:
  static size_t slot(BlockKind kind) { return static_cast<size_t>(kind); }
  int clamp(int line) const;

  int lineCount_ = 0;
  std::vector<std::string> normalised_;  // [0] unused
  std::vector<StoredCommand> commands_;  // [0] unused
  std::unordered_map<std::string, int> labels_;
  std::array<std::vector<int>, 3> nextEnd_;       // [kind][line]
  std::array<std::vector<int>, 3> previousHead_;  // [kind][line]
};

}  // namespace tamiral
