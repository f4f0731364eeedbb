#include "console/terminal_screen.h"

#include <algorithm>
#include <utility>

#include "commands/encodings.h"
#include "engine/cp1252.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr std::string_view kEnter =
    "\x1b[?1049h"      // alternate screen, cleared
    "\x1b[?7l"         // no autowrap: the last column never scrolls
    "\x1b[?25l"        // caret hidden until a reader waits
    "\x1b[4 q"         // caret as an underline
    "\x1b[?1000h"      // mouse presses
    "\x1b[?1006h"      // ... reported in SGR form
    "\x1b[?2004h"      // bracketed paste
    "\x1b[>4;1m"       // extended keys (Ctrl+Enter and the like)
    "\x1b[?1036s"      // Alt sends Esc, the old setting kept
    "\x1b[?1036h"
    "\x1b=";           // keypad application mode: keypad Enter is not Ctrl+J

constexpr std::string_view kLeave =
    "\x1b[0m"
    "\x1b[r"
    "\x1b[?1000l"
    "\x1b[?1006l"
    "\x1b[?2004l"
    "\x1b[>4m"
    "\x1b[?1036r"
    "\x1b>"
    "\x1b[0 q"
    "\x1b[?7h"
    "\x1b[?25h"
    "\x1b[?1049l";

// A CSI move costs about as much as this many cells, so shorter gaps of
// unchanged cells are sent again rather than skipped.
constexpr int kLongestRewrittenGap = 4;

// Palette index to the standard terminal colour playing its part (0 black,
// 1 red, 2 green, 3 yellow, 4 blue, 5 magenta, 6 cyan, 7 white; +8 bright).
// By role rather than by distance: the palette's brown and dark grey are
// closest to black, which would hide text written in them.
constexpr uint8_t kStandardColour[16] = {0, 4, 2, 6, 1, 5, 3, 7, 8, 12, 10, 14, 9, 13, 11, 15};

bool isShownAsIs(uint8_t byte) {
  if (byte < 0x20 || byte == 0x7F) return false;
  return cp1252ToCodePoint(byte) < 0x80 || cp1252ToCodePoint(byte) >= 0xA0;
}

void appendCharacter(std::string& out, uint8_t byte) {
  if (!isShownAsIs(byte)) {
    out += '?';  // control bytes and the five bytes Windows-1252 leaves undefined
    return;
  }
  appendUtf8(out, cp1252ToCodePoint(byte));
}

std::string utf8WithoutControls(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (isShownAsIs(static_cast<uint8_t>(c))) kept += c;
  }
  return cp1252ToUtf8(kept);
}

}  // namespace

TerminalTraits terminalTraits(const TerminalEnvironment& environment, TerminalSize size) {
  TerminalTraits traits;
  traits.size = size;
  traits.trueColour =
      environment.colorTerm == "truecolor" || environment.colorTerm == "24bit" || environment.insideTmux;
  traits.doubleSizeLines =
      environment.term.starts_with("xterm") && !environment.insideTmux && !environment.insideScreen;
  return traits;
}

std::string_view terminalEnterBytes() { return kEnter; }
std::string_view terminalLeaveBytes() { return kLeave; }

std::string terminalTitleBytes(std::string_view title) {
  return "\x1b]2;" + utf8WithoutControls(title) + "\a";
}

std::string terminalClipboardBytes(std::string_view text) {
  return "\x1b]52;c;" + encodeBase64(cp1252ToUtf8(text)) + "\a";
}

TerminalScreen::TerminalScreen(TerminalTraits traits) { reset(traits); }

void TerminalScreen::reset(TerminalTraits traits) {
  traits_ = traits;
  forgetRows(0, kRows - 1);
  regionPending_ = true;
  doubleSizeShown_ = false;
  colours_.reset();
  cursor_.reset();
  caretShown_ = false;
  // Whatever a bigger terminal showed beside or below the grid goes too.
  out_ = "\x1b[0m\x1b[2J\x1b[?25l";
}

void TerminalScreen::forgetRows(int first, int last) {
  for (int row = first; row <= last; ++row) {
    shown_[row].fill(Cell{});
    rowForgotten_[row] = true;
  }
}

bool TerminalScreen::visible(int row, int column) const {
  return row < traits_.size.rows && column < traits_.size.columns;
}

void TerminalScreen::moveTo(int row, int column) {
  if (cursor_ && cursor_->first == row) {
    int ahead = column - cursor_->second;
    if (ahead == 0) return;
    if (ahead > 0 && ahead < 10) {
      out_ += ahead == 1 ? std::string("\x1b[C") : "\x1b[" + decimal(ahead) + "C";
      cursor_->second = column;
      return;
    }
  }
  out_ += "\x1b[" + decimal(row + 1);
  if (column > 0) out_ += ";" + decimal(column + 1);
  out_ += "H";
  cursor_ = {row, column};
}

void TerminalScreen::setColours(const ColourMap& map, uint8_t attr) {
  std::string codes;
  auto add = [&](int index, bool background) {
    if (traits_.trueColour) {
      Rgb rgb = map.colour(index);
      codes += (background ? "48;2;" : "38;2;") + decimal(rgb.red) + ";" + decimal(rgb.green) + ";" +
               decimal(rgb.blue) + ";";
    } else {
      uint8_t slot = map.slot(index);
      int standard = slot > 15 ? 0 : kStandardColour[slot];
      int base = (background ? 40 : 30) + (standard >= 8 ? 60 : 0);
      codes += decimal(base + standard % 8) + ";";
    }
  };
  if (!colours_ || (*colours_ & 0x0F) != (attr & 0x0F)) add(attr & 0x0F, false);
  if (!colours_ || (*colours_ & 0xF0) != (attr & 0xF0)) add(attr >> 4, true);
  if (codes.empty()) return;
  codes.pop_back();
  out_ += "\x1b[" + codes + "m";
  colours_ = attr;
}

// Draws the cells of [left, right) that the terminal does not show yet,
// sending short unchanged gaps along rather than moving over them.
void TerminalScreen::drawRow(int row, const Row& wanted, int left, int right) {
  if (row >= traits_.size.rows) return;
  right = std::min(right, traits_.size.columns);
  Row& shown = shown_[row];
  auto target = [&](int column) { return Cell{wanted[column].character, wanted[column].attr, true}; };
  for (int column = left; column < right;) {
    if (shown[column] == target(column)) {
      ++column;
      continue;
    }
    int end = column + 1;
    for (int next = end; next < right && next - end < kLongestRewrittenGap; ++next) {
      if (shown[next] != target(next)) end = next + 1;
    }
    moveTo(row, column);
    for (; column < end; ++column) {
      shown[column] = target(column);
      setColours(*map_, shown[column].attr);
      appendCharacter(out_, shown[column].character);
    }
    // With autowrap off the cursor stops on the last column; do not guess.
    if (end < traits_.size.columns)
      cursor_ = {row, end};
    else
      cursor_.reset();
  }
}

TerminalScreen::Row TerminalScreen::modelRow(const ConsoleModel& model, int row) const {
  Row cells;
  for (int column = 0; column < kColumns; ++column) {
    cells[column].character = model.screenCharAt(column + 1, row + 1);
    cells[column].attr = model.screenAttrAt(column + 1, row + 1);
  }
  return cells;
}

TerminalScreen::Row TerminalScreen::stripRow(const MagnifierStrip& strip) const {
  Row cells;
  auto attr = [](int text, int background) { return static_cast<uint8_t>((background & 15) << 4 | (text & 15)); };
  uint8_t plain = attr(strip.textColour, strip.backgroundColour);
  uint8_t marked = attr(strip.cursorColour, strip.backgroundColour);
  for (Cell& cell : cells) cell = Cell{' ', plain, true};
  auto put = [&](std::string_view text, int from, uint8_t colour) {
    for (size_t i = 0; i < text.size() && from + static_cast<int>(i) < kColumns; ++i)
      cells[from + i] = Cell{static_cast<uint8_t>(text[i]), colour, true};
  };
  put(strip.before, 0, plain);
  put(strip.mark, strip.markColumn, marked);
  put(strip.after, strip.afterColumn, plain);
  return cells;
}

// On double-size rows a column is two cells wide, so half the strip fits;
// that is all of it from factor 2 on.
void TerminalScreen::drawStrip(const MagnifierStrip& strip) {
  Row cells = stripRow(strip);
  if (!traits_.doubleSizeLines || strip.factor < 2 || traits_.size.rows < 2) {
    drawRow(0, cells, 0, kColumns);
    return;
  }
  int width = std::min(kColumns / 2, traits_.size.columns / 2);
  for (int row = 0; row < 2; ++row) {
    moveTo(row, 0);
    out_ += row == 0 ? "\x1b#3" : "\x1b#4";
    for (int column = 0; column < width; ++column) {
      setColours(*map_, cells[column].attr);
      appendCharacter(out_, cells[column].character);
    }
  }
  forgetRows(0, 1);
  cursor_.reset();
  doubleSizeShown_ = true;
}

void TerminalScreen::dropDoubleSize() {
  if (!doubleSizeShown_) return;
  out_ += "\x1b[H\x1b#5\x1b[2H\x1b#5";
  cursor_ = {1, 0};
  forgetRows(0, 1);
  doubleSizeShown_ = false;
}

// The terminal moves the rows it shows; only the new bottom rows are unknown.
void TerminalScreen::scroll(int rows) {
  if (rows >= kRows || traits_.size.rows < kRows || regionPending_) {
    forgetRows(0, kRows - 1);
    return;
  }
  out_ += rows == 1 ? std::string("\x1b[S") : "\x1b[" + decimal(rows) + "S";
  std::move(shown_.begin() + rows, shown_.end(), shown_.begin());
  std::move(rowForgotten_.begin() + rows, rowForgotten_.end(), rowForgotten_.begin());
  forgetRows(kRows - rows, kRows - 1);
}

void TerminalScreen::placeCursor(const ConsoleModel& model) {
  int row = std::min(model.whereY() - 1, traits_.size.rows - 1);
  int column = std::min({model.whereX() - 1, kColumns - 1, traits_.size.columns - 1});
  if (!cursor_ || *cursor_ != std::pair{row, column}) {
    cursor_.reset();  // an absolute move: after the last column the terminal's own idea may differ
    moveTo(row, column);
  }
  if (caretWanted_ != caretShown_) {
    out_ += caretWanted_ ? "\x1b[?25h" : "\x1b[?25l";
    caretShown_ = caretWanted_;
  }
}

std::string TerminalScreen::update(ConsoleModel& model) {
  map_ = &model.video().colourMap;
  ConsoleChanges changes = model.takeChanges();
  if (regionPending_ && traits_.size.rows >= kRows) {
    out_ += "\x1b[1;" + decimal(kRows) + "r";
    cursor_.reset();
  }
  regionPending_ = regionPending_ && traits_.size.rows < kRows;

  bool topRowsChanged = !changes.rows[0].empty() || !changes.rows[1].empty();
  if (changes.scrolls > 0 || changes.magnifier || topRowsChanged) dropDoubleSize();
  if (changes.scrolls > 0) scroll(changes.scrolls);

  for (int row = 0; row < kRows; ++row) {
    RowSpan span = rowForgotten_[row] ? RowSpan{0, kColumns} : changes.rows[row];
    if (!span.empty()) drawRow(row, modelRow(model, row), span.left, span.right);
    rowForgotten_[row] = false;
  }
  if (changes.magnifier && model.magnifierStrip()) drawStrip(*model.magnifierStrip());
  placeCursor(model);
  return std::exchange(out_, std::string());
}

}  // namespace tamiral
