// The console's colours and the [VIDEO], [BRAILLE] and [BAIXAVISAO] settings
// that shape it. Parsing is separate from reading so the rules can be checked
// on plain values; the readers at the bottom go through Settings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "speech/settings.h"

namespace tamiral {

struct Rgb {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// The 16 fixed palette entries, indexed after the colour map.
Rgb paletteEntry(int index);

// Console colour index to palette entry, from [VIDEO] "TABCORES".
class ColourMap {
 public:
  ColourMap();
  // Slots given by a "TABCORES" value; slots it does not reach stay as they are.
  void apply(std::string_view list);
  uint8_t slot(int index) const { return slots_[index & 15]; }
  // What a colour index paints: a mapped value above 15 paints black.
  Rgb colour(int index) const;

 private:
  std::array<uint8_t, 16> slots_;
};

// A value that is not a whole number counts as far as its leading digits go
// ("12px" is 12, "px" is 0).
int leadingNumber(std::string_view value);

struct VideoSettings {
  ColourMap colourMap;
  bool fixedColours = false;  // "CORESFIXAS"
  bool fastScroll = false;    // "LENTO"
  uint8_t textAttr = 0x0F;    // "CORFUNDO" * 16 + "CORLETRA"
  int brailleKeyboardMode = 0;  // [BRAILLE] "MODO": 0 off, 1, 2
  std::string fontFace = "Lucida Console";
  std::optional<int> fontWidth;   // "LARGURALETRA"; none: computed
  std::optional<int> fontHeight;  // "ALTURALETRA"; none: computed
  int fontWeight = 700;
  bool openAtComputedSize = true;  // "CANTOTELA"; false: maximized
};

// A key's value, or nothing when the key is absent.
using SettingLookup = std::function<std::optional<std::string>(std::string_view section, std::string_view key)>;

// The rules for absent keys and for keys present with an empty value differ
// (an empty "CORLETRA" gives 7, an absent one 15), hence the optional lookup.
VideoSettings parseVideoSettings(const SettingLookup& lookup);

// Through the product settings file. Settings cannot tell an empty value from
// a missing key (empty values also fall back to the system file), so here an
// empty value counts as absent.
VideoSettings readVideoSettings(const Settings& settings);

struct FontSize {
  int width = 0, height = 0;
  bool operator==(const FontSize&) const = default;
};

// The font size the console asks for: the configured values, or one computed
// from the desktop area left free by the task bar.
FontSize consoleFontSize(const VideoSettings& video, int workAreaWidth, int workAreaHeight);

struct LowVisionSettings {
  int factor = 0;  // 0: magnifier off; 1..10
  int textColour = 14;
  int backgroundColour = 6;
  int cursorColour = 3;
  bool operator==(const LowVisionSettings&) const = default;
};

// [BAIXAVISAO] keys; a missing key reads as empty.
LowVisionSettings parseLowVisionSettings(const std::function<std::string(std::string_view key)>& value);
LowVisionSettings readLowVisionSettings(const Settings& settings);

}  // namespace tamiral
