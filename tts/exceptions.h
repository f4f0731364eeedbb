// The exceptions table: whole words the letter rules would read wrongly,
// each with a replacement in letter notation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamiral {

class ExceptionTable {
 public:
  // Lines "word=replacement"; the replacement ends at the line end or at
  // "|". Only the first 255 characters of a line count; empty lines,
  // comment lines (";") and lines without "=" are skipped; at most 15000
  // entries are kept.
  // Replaces whatever was loaded before.
  void load(std::string_view fileText);

  // The replacement of a word, or nullptr.
  const std::string* find(std::string_view word) const;

  size_t size() const { return entries_.size(); }

  static constexpr size_t kMaxEntries = 15000;
  static constexpr size_t kMaxLineLength = 255;

 private:
  struct Entry {
    std::string word;
    std::string replacement;
  };
  std::vector<Entry> entries_;  // sorted by word, byte order
};

}  // namespace tamiral
