#include "console/menus.h"

#include <algorithm>
#include <optional>

#include "console/talking_console.h"

namespace tamiral {

namespace {

constexpr int kColumns = 80, kRows = 25;
constexpr uint8_t kCurrentColour = 14;  // yellow
constexpr uint8_t kMarkedColour = 2;    // green
constexpr int kPage = 10;

bool isFunctionKey(uint8_t code) { return code >= 59 && code <= 70; }

// Codes that leave the list: F1..F12, Left, Right, Ctrl+F1..Ctrl+F12 and
// Ctrl+Left/Right (Ctrl+F9 only without Alt).
bool endsRun(uint8_t code, bool alt) {
  if (code == 102) return !alt;
  return isFunctionKey(code) || code == 75 || code == 77 || (code >= 94 && code <= 105) || code == 115 || code == 116;
}

int clampedColumn(int64_t column) { return static_cast<int>(std::clamp<int64_t>(column, 1, kColumns)); }
int clampedRow(int64_t row) { return static_cast<int>(std::clamp<int64_t>(row, 1, kRows)); }

// A line written from this column must end on its row: a write past the
// last column would wrap, and on the bottom row scroll the whole screen.
int64_t roomFrom(int64_t column) { return kColumns - clampedColumn(column) + 1; }

class MenuRun {
 public:
  MenuRun(TalkingConsole& console, Menu& menu) : console_(console), menu_(menu) {}
  MenuChoice run(int start);

 private:
  int64_t count() const { return static_cast<int64_t>(menu_.items.size()); }
  bool exists(int64_t index) const { return index >= 0 && index < count(); }
  bool marked(int64_t index) const { return exists(index) && menu_.marks[index]; }
  void setMark(int64_t index, bool on) {
    if (exists(index)) menu_.marks[index] = on;
  }
  void markRange(int64_t from, int64_t to, bool on);

  void scroll();
  void draw();
  void drawRow(int64_t row);
  void sayCurrent();
  void placeCursor();
  std::optional<KeyPress> ordinaryKey(uint8_t byte);
  std::optional<KeyPress> extendedKey(uint8_t code, KeyModifiers modifiers);
  void keepInside();
  void beep() { console_.playBeep(); }

  TalkingConsole& console_;
  Menu& menu_;
  uint8_t savedAttr_ = 0;
  int64_t current_ = 0;
};

// A start past the end begins one step after the last item, where the
// ends of the list keep the position too.
MenuChoice MenuRun::run(int start) {
  savedAttr_ = console_.textAttr();
  current_ = std::min<int64_t>(int64_t{start} - 1, count());
  for (;;) {
    scroll();
    draw();
    sayCurrent();
    placeCursor();
    KeyPress key;
    key.byte = console_.readKey();
    key.modifiers = console_.lastKeyModifiers();
    std::optional<KeyPress> ending;
    if (key.byte != 0) {
      ending = ordinaryKey(key.byte);
    } else {
      key.code = console_.readKey();
      console_.stopSpeech();
      ending = extendedKey(key.code, key.modifiers);
    }
    if (ending) {
      console_.setTextAttr(savedAttr_);
      console_.repaintConsole();
      return {current_ + 1, *ending};
    }
    keepInside();
  }
}

void MenuRun::markRange(int64_t from, int64_t to, bool on) {
  for (int64_t i = std::max<int64_t>(from, 0); i <= std::min(to, count() - 1); ++i) menu_.marks[i] = on;
}

void MenuRun::scroll() {
  int64_t height = menu_.box.height();
  if (current_ < menu_.firstShown) menu_.firstShown = current_;
  if (current_ >= menu_.firstShown + height) menu_.firstShown = current_ - height + 1;
  current_ = std::max<int64_t>(current_, -1);
  menu_.firstShown = std::max<int64_t>(menu_.firstShown, 0);
}

// Rows outside the console land on its first or last row; only the last
// one drawn on a row shows, so the others are skipped.
void MenuRun::draw() {
  const MenuBox& box = menu_.box;
  int64_t height = box.height();
  int64_t firstOnScreen = std::max<int64_t>(0, 1 - int64_t{box.top});
  int64_t pastScreen = std::min<int64_t>(height, kRows + 1 - int64_t{box.top});
  for (int64_t row = firstOnScreen; row < pastScreen; ++row) drawRow(row);
  if (height - 1 >= std::max<int64_t>(pastScreen, 0) && height > 0) drawRow(height - 1);
}

void MenuRun::drawRow(int64_t row) {
  const MenuBox& box = menu_.box;
  int64_t index = menu_.firstShown + row;
  int64_t width = std::clamp<int64_t>(box.width(), 0, roomFrom(box.left));
  std::string line = exists(index) ? menu_.items[index] : std::string();
  line.resize(static_cast<size_t>(width), ' ');
  console_.gotoXY(clampedColumn(box.left), clampedRow(int64_t{box.top} + row));
  uint8_t colour = index == current_ && exists(index) ? kCurrentColour
                   : marked(index)                    ? kMarkedColour
                                                      : (savedAttr_ & 0x0F);
  console_.setTextColor(colour);
  console_.writeText(line);
}

// Said on every pass, so a key that moves nowhere repeats the item.
void MenuRun::sayCurrent() {
  if (!exists(current_)) return;
  const std::string& item = menu_.items[current_];
  if (marked(current_)) beep();
  console_.drawMagnifiedLine(item, 1);
  console_.speak(item);
}

void MenuRun::placeCursor() {
  int64_t row = exists(current_) ? int64_t{menu_.box.top} + current_ - menu_.firstShown : menu_.box.top;
  console_.gotoXY(clampedColumn(menu_.box.left), clampedRow(row));
}

std::optional<KeyPress> MenuRun::ordinaryKey(uint8_t byte) {
  switch (byte) {
    case ' ': setMark(current_, !marked(current_)); break;
    case '+': setMark(current_, true); break;
    case '-': setMark(current_, false); break;
    case '*': markRange(0, count() - 1, true); break;
    case '/': markRange(0, count() - 1, false); break;
    default: return KeyPress{byte, 0, console_.lastKeyModifiers()};
  }
  return std::nullopt;
}

std::optional<KeyPress> MenuRun::extendedKey(uint8_t code, KeyModifiers modifiers) {
  bool shift = modifiers.shift;
  switch (code) {
    case 80:  // Down
      if (shift && exists(current_) && !marked(current_)) {
        beep();
        setMark(current_, true);
      }
      ++current_;
      if (shift) setMark(current_, true);
      break;
    case 72:  // Up
      if (shift) setMark(current_, false);
      --current_;
      break;
    case 81: current_ += kPage; break;  // Page Down
    case 73: current_ -= kPage; break;  // Page Up
    case 71:                            // Home
    case 132:                           // Ctrl+Page Up
      if (shift) markRange(0, current_, false);
      beep();
      current_ = 0;
      break;
    case 119:  // Ctrl+Home
      if (!shift) break;
      markRange(0, current_, true);
      beep();
      current_ = 0;
      break;
    case 79:   // End
    case 118:  // Ctrl+Page Down
      if (shift) markRange(current_, count() - 1, true);
      beep();
      current_ = count() - 1;
      break;
    case 117:  // Ctrl+End
      if (!shift) break;
      markRange(current_, count() - 1, false);
      current_ = count() - 1;
      beep();
      break;
    case 102:  // Ctrl+Alt+F9 asks for screen review, which does not exist yet
      if (modifiers.alt) beep();
      break;
    default: break;
  }
  if (endsRun(code, modifiers.alt)) return KeyPress{0, code, modifiers};
  return std::nullopt;
}

// Beyond either end the position stays one step outside, where nothing is
// said, and the beep tells the user.
void MenuRun::keepInside() {
  if (current_ < 0) {
    current_ = -1;
    beep();
  } else if (current_ >= count()) {
    current_ = count();
    beep();
  }
}

}  // namespace

MenuChoice runMenu(TalkingConsole& console, Menu& menu, int start) { return MenuRun(console, menu).run(start); }

void blankMenuBox(TalkingConsole& console, const MenuBox& box) {
  int64_t width = std::clamp<int64_t>(box.width(), 0, roomFrom(box.left));
  std::string blanks(static_cast<size_t>(width), ' ');
  if (box.bottom < box.top) return;
  for (int row = clampedRow(box.top); row <= clampedRow(box.bottom); ++row) {
    console.gotoXY(clampedColumn(box.left), row);
    console.writeText(blanks);
  }
  console.gotoXY(clampedColumn(box.left), clampedRow(box.top));
}

}  // namespace tamiral
