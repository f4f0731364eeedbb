#include "speech/settings.h"

#include "engine/text.h"
#include "platform/files.h"

namespace tamiral {

namespace {

constexpr std::string_view kFileName = "Tamiral.ini";
constexpr size_t kMaxValue = 255;

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (upperPtChar(a[i]) != upperPtChar(b[i])) return false;
  }
  return true;
}

std::string_view nextLine(std::string_view& text) {
  size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

std::string readFileText(const std::string& path) {
  std::string text;
  return readWholeFile(path, text) ? text : std::string();
}

}  // namespace

std::string iniValue(std::string_view fileText, std::string_view section, std::string_view key) {
  bool inSection = false;
  while (!fileText.empty()) {
    std::string_view line = trimBlanks(nextLine(fileText));
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      inSection = close != std::string_view::npos && sameName(trimBlanks(line.substr(1, close - 1)), section);
      continue;
    }
    size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos || !sameName(trimBlanks(line.substr(0, equals)), key))
      continue;
    std::string_view value = trimBlanks(line.substr(equals + 1));
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                              (value.front() == '\'' && value.back() == '\''))) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kMaxValue));
  }
  return {};
}

std::string Settings::productDataFolder() const {
  std::string userFolder = env_.configHome + "/Tamiral";
  if (!fileExists(userFolder + "/" + std::string(kFileName)) &&
      fileExists(env_.systemFolder + "/" + std::string(kFileName))) {
    return env_.systemFolder;
  }
  return userFolder;
}

std::string Settings::readRaw(std::string_view section, std::string_view key) const {
  std::string value = iniValue(readFileText(productDataFolder() + "/" + std::string(kFileName)), section, key);
  if (value.empty() && legacyFallback_)
    value = iniValue(readFileText(env_.systemFolder + "/" + std::string(kFileName)), section, key);
  return value;
}

std::string Settings::read(std::string_view section, std::string_view key) const {
  return substituteAtForms(readRaw(section, key));
}

// "@" alone is the program's folder; "@@\" the product data folder; "@\" the
// PGMTAMIRAL folder (the program's folder when that is empty or itself "@").
std::string Settings::substituteAtForms(std::string value) const {
  if (value == "@") return env_.programFolder;
  for (int guard = 0; guard < 64 && value.find("@\\") != std::string::npos; ++guard) {
    if (size_t both = value.find("@@\\"); both != std::string::npos) {
      value.replace(both, 2, productDataFolder());
      continue;
    }
    std::string base = readRaw("TAMIRAL", "PGMTAMIRAL");
    if (base.empty() || base.front() == '@') base = env_.programFolder;
    value.replace(value.find("@\\"), 1, base);
  }
  return value;
}

}  // namespace tamiral
