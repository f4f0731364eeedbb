// Text helpers shared by the whole runtime. Every text is a byte string in
// Windows-1252; these helpers never look at an encoding beyond that.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tamiral {

// Calls visit with each line of a text; lines end at LF, CR LF or CR.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    visit(text.substr(start, end - start));
    start = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
  }
}

// A blank is any byte up to and including the space: control characters
// count as blanks wherever the language trims.
inline bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
inline bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline std::string_view trimLeadingBlanks(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  return text.substr(start);
}

inline std::string_view trimBlanks(std::string_view text) {
  text = trimLeadingBlanks(text);
  size_t end = text.size();
  while (end > 0 && isBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

// The language's case folding: a-z and the bytes 0xE0-0xFF lose 0x20.
inline char upperPtChar(char c) {
  auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'a' && byte <= 'z') || byte >= 0xE0) return static_cast<char>(byte - 0x20);
  return c;
}
std::string upperPt(std::string_view text);

// True when the first keyword.size() bytes of text, folded, equal keyword
// (which is given already folded).
inline bool startsWithKeyword(std::string_view text, std::string_view keyword) {
  if (text.size() < keyword.size()) return false;
  for (size_t i = 0; i < keyword.size(); ++i) {
    if (upperPtChar(text[i]) != keyword[i]) return false;
  }
  return true;
}

inline bool equalsKeyword(std::string_view text, std::string_view keyword) {
  return text.size() == keyword.size() && startsWithKeyword(text, keyword);
}

// Text to signed 32-bit integer: optional leading spaces, optional sign,
// decimal digits or hex digits after $, x, X, 0x or 0X, nothing after them.
std::optional<int32_t> toInt(std::string_view text);

std::string decimal(int64_t value);

// Where needle first occurs in text (npos when absent; 0 for an empty
// needle), like string_view::find but linear in both lengths: the plain
// search is quadratic on texts such as "aaa...ab" in "aaa...a".
size_t findText(std::string_view text, std::string_view needle);

// The longest text CONCATENA, SUBSTITUI and ESCREVE may build: a script that
// keeps growing a text fails its line instead of exhausting memory.
inline constexpr size_t kMaxTextLength = size_t{16} << 20;

}  // namespace tamiral
