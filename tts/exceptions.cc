#include "tts/exceptions.h"

#include <algorithm>

#include "engine/text.h"

namespace tamiral {


void ExceptionTable::load(std::string_view fileText) {
  entries_.clear();
  forEachLine(fileText, [&](std::string_view line) {
    if (entries_.size() >= kMaxEntries) return;
    line = line.substr(0, kMaxLineLength);
    if (line.starts_with(';')) return;  // a comment: no word starts with ";"
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) return;
    std::string_view replacement = line.substr(equals + 1);
    replacement = replacement.substr(0, replacement.find('|'));
    entries_.push_back({std::string(line.substr(0, equals)), std::string(replacement)});
  });
  // Stable, so the first of two entries for one word is the one found.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.word < b.word; });
}

const std::string* ExceptionTable::find(std::string_view word) const {
  auto found = std::lower_bound(entries_.begin(), entries_.end(), word,
                                [](const Entry& entry, std::string_view key) { return entry.word < key; });
  if (found == entries_.end() || found->word != word) return nullptr;
  return &found->replacement;
}

}  // namespace tamiral
