// The program store: the script's lines, numbered from 1, kept exactly as
// registered.
#pragma once

#include <string>
#include <vector>

#include "engine/program_index.h"

namespace tamiral {

class ProgramStore {
 public:
  static constexpr int kCapacity = 5000;

  // Stores text as line n and makes n the line count. Lines skipped over read
  // as empty. Refuses (false) a number outside 1..kCapacity.
  bool addLine(int n, std::string text);

  int lineCount() const { return lineCount_; }
  // Empty for a number outside 1..lineCount.
  const std::string& line(int n) const {
    static const std::string kEmpty;
    return n >= 1 && n <= lineCount_ ? lines_[n - 1] : kEmpty;
  }

  // A run spends the store: afterwards nothing is left to run.
  void spend() { setLineCount(0); }
  void clear();

  // What scans of the current lines find; worked out again after a change.
  const ProgramIndex& index() const {
    if (indexStale_) rebuildIndex();
    return index_;
  }

 private:
  void setLineCount(int n);
  void rebuildIndex() const;

  std::vector<std::string> lines_;  // lines_[0] is line 1
  int lineCount_ = 0;
  mutable ProgramIndex index_;
  mutable bool indexStale_ = true;
};

}  // namespace tamiral
