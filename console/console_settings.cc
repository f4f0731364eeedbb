#include "console/console_settings.h"

#include <climits>

#include "engine/text.h"

namespace tamiral {

namespace {

constexpr Rgb kPalette[16] = {
    {0, 0, 0},       {0, 0, 255},     {0, 255, 0},     {0, 255, 255},  {255, 0, 0},     {142, 0, 142},
    {68, 34, 34},    {192, 192, 192}, {40, 40, 40},    {128, 128, 255}, {128, 255, 128}, {128, 255, 255},
    {255, 128, 128}, {255, 128, 255}, {255, 255, 0},   {255, 255, 255},
};

// The platform's profile reader hands back at most this many characters.
constexpr size_t kMaxVideoValue = 80;

bool isYes(std::string_view value) { return !value.empty() && (value.front() == 'S' || value.front() == 's'); }

int wholeOrLeading(std::string_view value) {
  if (std::optional<int32_t> number = toInt(value)) return *number;
  return leadingNumber(value);
}

}  // namespace

Rgb paletteEntry(int index) { return index >= 0 && index < 16 ? kPalette[index] : Rgb{}; }

ColourMap::ColourMap() {
  for (int i = 0; i < 16; ++i) slots_[i] = static_cast<uint8_t>(i);
}

void ColourMap::apply(std::string_view list) {
  for (int slot = 0; slot < 16; ++slot) {
    size_t comma = list.find(',');
    std::string_view entry = trimBlanks(list.substr(0, comma));
    std::optional<int32_t> number = toInt(entry);
    // Stored as a byte, as the map holds bytes; a value past 15 paints black.
    slots_[slot] = static_cast<uint8_t>(number ? *number : leadingNumber(entry));
    if (!number || comma == std::string_view::npos) return;
    list.remove_prefix(comma + 1);
  }
}

Rgb ColourMap::colour(int index) const { return paletteEntry(slot(index)); }

int leadingNumber(std::string_view value) {
  size_t i = 0;
  while (i < value.size() && value[i] == ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  int64_t magnitude = 0;
  for (; i < value.size() && isDigit(value[i]); ++i) {
    magnitude = magnitude * 10 + (value[i] - '0');
    if (magnitude > INT_MAX) magnitude = INT_MAX;  // saturate rather than wrap
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}

VideoSettings parseVideoSettings(const SettingLookup& lookup) {
  auto get = [&](std::string_view section, std::string_view key) -> std::optional<std::string> {
    std::optional<std::string> value = lookup(section, key);
    if (value && value->size() > kMaxVideoValue) value->resize(kMaxVideoValue);
    return value;
  };
  VideoSettings video;
  if (auto list = get("VIDEO", "TABCORES")) video.colourMap.apply(*list);
  if (auto value = get("VIDEO", "CORESFIXAS")) video.fixedColours = isYes(*value);
  if (auto value = get("VIDEO", "LENTO")) video.fastScroll = isYes(*value);

  // Present but empty, the colour keys give grey on black, not the defaults.
  int background = 0;
  int text = 15;
  if (auto value = get("VIDEO", "CORFUNDO")) background = value->empty() ? 0 : wholeOrLeading(*value);
  if (auto value = get("VIDEO", "CORLETRA")) text = value->empty() ? 7 : wholeOrLeading(*value);
  video.textAttr = static_cast<uint8_t>((background * 16) | text);

  if (auto value = get("BRAILLE", "MODO")) {
    int mode = value->empty() ? 0 : static_cast<unsigned char>(value->front()) & 3;
    video.brailleKeyboardMode = mode == 3 ? 1 : mode;
  }
  if (auto value = get("VIDEO", "FONTE")) video.fontFace = *value;
  if (auto value = get("VIDEO", "LARGURALETRA"); value && !value->empty()) video.fontWidth = wholeOrLeading(*value);
  if (auto value = get("VIDEO", "ALTURALETRA"); value && !value->empty()) video.fontHeight = wholeOrLeading(*value);
  if (auto value = get("VIDEO", "PESOLETRA")) video.fontWeight = wholeOrLeading(*value);
  if (auto value = get("VIDEO", "CANTOTELA")) video.openAtComputedSize = isYes(*value);
  return video;
}

VideoSettings readVideoSettings(const Settings& settings) {
  return parseVideoSettings([&](std::string_view section, std::string_view key) -> std::optional<std::string> {
    std::string value = settings.read(section, key);
    if (value.empty()) return std::nullopt;
    return value;
  });
}

FontSize consoleFontSize(const VideoSettings& video, int workAreaWidth, int workAreaHeight) {
  // Scaled from the size that suits a 1024 x 734 work area.
  return {video.fontWidth.value_or(static_cast<int>(workAreaWidth / 1024.0 * 13)),
          video.fontHeight.value_or(static_cast<int>(workAreaHeight / 734.0 * 28))};
}

LowVisionSettings parseLowVisionSettings(const std::function<std::string(std::string_view key)>& value) {
  auto colour = [&](std::string_view key, int fallback) {
    std::optional<int32_t> number = toInt(value(key));
    return number && *number >= 0 && *number <= 15 ? *number : fallback;
  };
  LowVisionSettings settings;
  std::string factor = value("AMPLIACAO");
  if (!factor.empty()) {
    std::optional<int32_t> number = toInt(factor);
    settings.factor = number && *number >= 0 && *number <= 10 ? *number : 3;
  }
  settings.textColour = colour("CORLETRA", 14);
  settings.backgroundColour = colour("CORFUNDO", 6);
  settings.cursorColour = colour("CORCURSOR", 3);
  return settings;
}

LowVisionSettings readLowVisionSettings(const Settings& settings) {
  return parseLowVisionSettings([&](std::string_view key) { return settings.read("BAIXAVISAO", key); });
}

}  // namespace tamiral
