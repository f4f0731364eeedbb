#include "engine/text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

namespace tamiral {

std::string upperPt(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = upperPtChar(c);
  return folded;
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
  // Short plain decimals, the common case, skip the general reader.
  if (!text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), isDigit)) {
    int32_t value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
  }
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

std::string decimal(int64_t value) {
  char buffer[24];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)error;  // 24 characters hold every 64-bit value
  return std::string(buffer, end);
}

size_t findText(std::string_view text, std::string_view needle) {
  if (needle.empty()) return 0;
  if (needle.size() > text.size()) return std::string_view::npos;
  // Knuth-Morris-Pratt: border[i] is the length of the longest proper prefix
  // of needle[0..i] that is also its suffix.
  std::vector<size_t> border(needle.size(), 0);
  for (size_t i = 1, k = 0; i < needle.size(); ++i) {
    while (k > 0 && needle[i] != needle[k]) k = border[k - 1];
    if (needle[i] == needle[k]) ++k;
    border[i] = k;
  }
  for (size_t i = 0, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != needle[k]) k = border[k - 1];
    if (text[i] == needle[k]) ++k;
    if (k == needle.size()) return i + 1 - k;
  }
  return std::string_view::npos;
}

}  // namespace tamiral
