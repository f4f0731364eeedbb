#include "engine/text.h"

#include <limits>

namespace tamiral {

std::string_view trimLeadingBlanks(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  return text.substr(start);
}

std::string_view trimBlanks(std::string_view text) {
  text = trimLeadingBlanks(text);
  size_t end = text.size();
  while (end > 0 && isBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

char upperPtChar(char c) {
  auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'a' && byte <= 'z') || byte >= 0xE0) return static_cast<char>(byte - 0x20);
  return c;
}

std::string upperPt(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = upperPtChar(c);
  return folded;
}

bool startsWithKeyword(std::string_view text, std::string_view keyword) {
  if (text.size() < keyword.size()) return false;
  for (size_t i = 0; i < keyword.size(); ++i) {
    if (upperPtChar(text[i]) != keyword[i]) return false;
  }
  return true;
}

bool equalsKeyword(std::string_view text, std::string_view keyword) {
  return text.size() == keyword.size() && startsWithKeyword(text, keyword);
}

namespace {

int hexDigitValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int32_t> toInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  // The magnitude may reach 2^31 only when negative.
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    int digit = base == 16 ? hexDigitValue(text[i]) : (isDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
}

std::string decimal(int64_t value) { return std::to_string(value); }

}  // namespace tamiral
