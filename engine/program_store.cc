#include "engine/program_store.h"

namespace tamiral {

bool ProgramStore::addLine(int n, std::string text) {
  if (n < 1 || n > kCapacity) return false;
  if (lines_.size() < static_cast<size_t>(n)) lines_.resize(n);
  lines_[n - 1] = std::move(text);
  setLineCount(n);
  return true;
}

void ProgramStore::clear() {
  lines_.clear();
  setLineCount(0);
}

void ProgramStore::setLineCount(int n) {
  lineCount_ = n;
  indexStale_ = true;
}

void ProgramStore::rebuildIndex() const {
  index_.build(*this);
  indexStale_ = false;
}

}  // namespace tamiral
