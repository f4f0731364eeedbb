#include "engine/builtins.h"

#include <cstdio>

#include "engine/cp1252.h"
#include "engine/text.h"

namespace tamiral {

std::string paramsText(const std::vector<std::string>& params) {
  std::string text = decimal(static_cast<int64_t>(params.size()));
  for (const std::string& param : params) {
    text += ' ';
    for (char c : param) {
      if (c == ' ')
        text += "%20";
      else
        text += c;
    }
  }
  return text;
}

std::string dateText(const DateTime& t) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", t.day, t.month, t.year);
  return buffer;
}

std::string timeText(const DateTime& t) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buffer;
}

std::string_view weekdayName(int weekday) {
  static constexpr std::string_view kNames[] = {"Domingo"_cp, "Segunda"_cp, "Terça"_cp, "Quarta"_cp,
                                                "Quinta"_cp,  "Sexta"_cp,   "Sábado"_cp};
  return kNames[((weekday % 7) + 7) % 7];
}

namespace {

int64_t hundredthsOfDay(const DateTime& t) {
  return ((t.hour * 60LL + t.minute) * 60 + t.second) * 100 + t.millisecond / 10;
}

}  // namespace

TimeReference timeReferenceAt(const DateTime& t) {
  return {t.weekday, static_cast<int32_t>(hundredthsOfDay(t))};
}

int32_t hundredthsSince(const TimeReference& reference, const DateTime& now) {
  int days = now.weekday - reference.weekday;
  if (days < 0) days += 7;
  int64_t value = days * 24LL * 3600 * 100 + hundredthsOfDay(now) - reference.hundredths;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int32_t drawRandom(uint32_t& seed, int32_t bound) {
  seed = seed * 134775813u + 1u;
  uint64_t product = static_cast<uint64_t>(seed) * static_cast<uint32_t>(bound);
  return static_cast<int32_t>(static_cast<uint32_t>(product >> 32));
}

uint32_t seedFromTimeOfDay(const DateTime& utc) {
  return static_cast<uint32_t>(((utc.hour * 60 + utc.minute) * 60 + utc.second) * 1000 + utc.millisecond);
}

int32_t positionOf(std::string_view needle, std::string_view haystack) {
  if (needle.empty()) return 0;
  size_t found = findText(haystack, needle);
  return found == std::string_view::npos ? 0 : static_cast<int32_t>(found + 1);
}

std::string wordAt(int32_t n, std::string_view text) {
  for (int32_t i = 1; i < n && !text.empty(); ++i) {
    size_t space = text.find(' ');
    text = space == std::string_view::npos ? std::string_view() : trimBlanks(text.substr(space + 1));
  }
  return std::string(text.substr(0, text.find(' ')));
}

std::string characterOfKeyText(std::string_view key) {
  auto isModifierDigit = [](char c) { return c == '0' || c == '1'; };
  if (key.size() > 4 && key[3] == '#' && isModifierDigit(key[0]) && isModifierDigit(key[1]) &&
      isModifierDigit(key[2])) {
    key.remove_prefix(3);
  } else if (key.empty() || key.front() != '#') {
    return {};
  }
  key.remove_prefix(1);
  if (key.empty() || key.front() == '0') return {};
  std::optional<int32_t> code = toInt(key);
  if (!code) return {};
  return std::string(1, static_cast<char>(static_cast<uint32_t>(*code) & 0xFF));
}

std::string keyTextOfCharacter(std::string_view text) {
  if (text.size() != 1) return {};
  std::string key = "#";
  key += decimal(static_cast<unsigned char>(text.front()));
  return key;
}

}  // namespace tamiral
