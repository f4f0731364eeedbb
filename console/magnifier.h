// The magnifier strip: for users with low vision, the text around the cursor
// drawn enlarged over the top of the console, with the character before the
// cursor in a colour of its own. The model only works out what the strip
// shows; a front end draws it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/console_settings.h"

namespace tamiral {

// One strip, drawn at the top of the window in three pieces. Columns count
// enlarged characters: a front end multiplies them by the cell width and the
// factor to get pixels.
struct MagnifierStrip {
  std::string before;  // text colour, from column 0
  std::string mark;    // cursor colour
  std::string after;   // text colour; ends in blanks that clear the rest of the strip
  int markColumn = 0;
  int afterColumn = 0;
  int factor = 0;
  int textColour = 0, backgroundColour = 0, cursorColour = 0;
  bool operator==(const MagnifierStrip&) const = default;
};

class Magnifier {
 public:
  // Settings as read at a speech start. A factor other than 0 makes the
  // enlarged font, which starts the window at the text's first character.
  void configure(const LowVisionSettings& settings);
  bool on() const { return settings_.factor != 0; }
  const LowVisionSettings& settings() const { return settings_; }

  // The strip for a text and a 1-based position in it; nothing while off.
  // The window start is kept from call to call, so the shown part only
  // slides when the position leaves it.
  std::optional<MagnifierStrip> strip(std::string_view text, int position);
  int windowStart() const { return windowStart_; }

 private:
  LowVisionSettings settings_;
  int windowStart_ = 1;
};

}  // namespace tamiral
