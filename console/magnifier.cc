#include "console/magnifier.h"

#include <algorithm>

namespace tamiral {

namespace {
constexpr int kColumns = 80;

// Characters from..to (1-based, inclusive) of a text, empty where it has none.
std::string_view piece(std::string_view text, int from, int to) {
  if (from < 1) from = 1;
  if (to < from || static_cast<size_t>(from) > text.size()) return {};
  return text.substr(from - 1, to - from + 1);
}
}  // namespace

void Magnifier::configure(const LowVisionSettings& settings) {
  settings_ = settings;
  if (on()) windowStart_ = 1;
}

std::optional<MagnifierStrip> Magnifier::strip(std::string_view text, int position) {
  if (!on()) return std::nullopt;
  int p = std::max(position, 1);
  int fit = kColumns / settings_.factor;  // enlarged characters across the window
  if (p - 1 < windowStart_) windowStart_ = p - 1;
  if (windowStart_ < 1) windowStart_ = 1;
  if (p > windowStart_ + fit) windowStart_ = p - fit;

  std::string_view shown = piece(text, windowStart_, windowStart_ + fit - 1);
  int k = p - windowStart_ + 1;
  MagnifierStrip strip;
  strip.before = piece(shown, 1, k - 2);
  strip.mark = k >= 2 ? piece(shown, k - 1, k - 1) : std::string_view();
  strip.after = std::string(piece(shown, k, k + fit - 1)) + std::string(kColumns, ' ');
  strip.markColumn = static_cast<int>(strip.before.size());
  strip.afterColumn = strip.markColumn + static_cast<int>(strip.mark.size());
  strip.factor = settings_.factor;
  strip.textColour = settings_.textColour;
  strip.backgroundColour = settings_.backgroundColour;
  strip.cursorColour = settings_.cursorColour;
  return strip;
}

}  // namespace tamiral
