#include "console/edit_session.h"

#include <algorithm>

namespace tamiral {
namespace editing {

namespace {
constexpr int kColumns = 80, kRows = 25;
constexpr uint8_t kSelectionBackground = 8;  // dark grey
}  // namespace

// Every key the editor knows; any other ordinary key is a control byte that
// does nothing, any other extended key ends the editing.
const EditSession::KeyRow EditSession::kKeys[] = {
    {false, 13, 13, &EditSession::endEditing},  // Enter
    {false, 27, 27, &EditSession::endEditing},  // Esc
    {false, 9, 9, &EditSession::endEditing},    // Tab
    {false, 10, 10, &EditSession::endEditing},  // Ctrl+Enter
    {false, 2, 2, &EditSession::endEditing},    // Ctrl+B
    {false, 8, 8, &EditSession::backspace},
    {false, 127, 127, &EditSession::deleteWord},   // Ctrl+Backspace
    {false, 3, 3, &EditSession::copy},             // Ctrl+C
    {false, 22, 22, &EditSession::paste},          // Ctrl+V
    {false, 4, 4, &EditSession::blankToEnd},       // Ctrl+D
    {false, 19, 19, &EditSession::deleteToStart},  // Ctrl+S
    {false, 25, 25, &EditSession::blankField},     // Ctrl+Y
    {false, 21, 21, &EditSession::undo},           // Ctrl+U
    {false, 11, 11, &EditSession::sayPosition},    // Ctrl+K
    {false, 28, 28, &EditSession::dial},           // Ctrl+Backslash
    {false, 32, 126, &EditSession::type},
    {false, 128, 255, &EditSession::type},
    {true, 59, 59, &EditSession::nextToken},    // F1
    {true, 94, 94, &EditSession::sayField},     // Ctrl+F1
    {true, 62, 62, &EditSession::toggleEcho},   // F4
    {true, 97, 97, &EditSession::changeSpeed},  // Ctrl+F4
    {true, 66, 66, &EditSession::sayTime},      // F8
    {true, 101, 101, &EditSession::sayDate},    // Ctrl+F8
    {true, 102, 102, &EditSession::ctrlF9},
    {true, 104, 104, &EditSession::battery},  // Ctrl+F11
    {true, 70, 70, &EditSession::openWord},   // F12
    {true, 71, 71, &EditSession::home},
    {true, 79, 79, &EditSession::end},
    {true, 75, 75, &EditSession::left},
    {true, 77, 77, &EditSession::right},
    {true, 115, 115, &EditSession::wordLeftKey},   // Ctrl+Left
    {true, 116, 116, &EditSession::wordRightKey},  // Ctrl+Right
    {true, 83, 83, &EditSession::deleteKey},
    {true, 255, 255, &EditSession::copy},     // Ctrl+Insert
    {true, 254, 254, &EditSession::paste},    // Shift+Insert
    {true, 120, 129, &EditSession::nothing},  // Alt+1 .. Alt+0
};

// The field never reaches past its row: writing the row's last cell on the
// bottom row would scroll the screen.
EditSession::EditSession(LineEditor& editor, std::string& field, int x, int y, int width, int maxLength)
    : editor_(editor),
      console_(editor.console()),
      result_(field),
      x_(std::clamp(x, 1, kColumns)),
      y_(std::clamp(y, 1, kRows)),
      maxLength_(std::clamp(maxLength, 0, LineEditor::kMaxLength)) {
  int roomOnRow = kColumns - x_ + (y_ == kRows ? 0 : 1);
  width_ = std::clamp(width, 0, std::min(maxLength_, roomOnRow));
  field_ = field.substr(0, maxLength_);
  field_.resize(maxLength_, ' ');
  entry_ = field_;
}

uint8_t EditSession::run() {
  for (;;) {
    draw();
    if (std::optional<uint8_t> ending = handle(readKey())) return finish(*ending);
  }
}

// AltGr+Q, W and E on keyboards where AltGr is Ctrl+Alt queue Alt codes
// 16, 17 and 18 before their character; those are skipped.
Key EditSession::readKey() {
  for (;;) {
    uint8_t byte = console_.readKey();
    console_.stopSpeech();
    if (byte != 0) return {byte, false, console_.lastKeyModifiers()};
    uint8_t code = console_.readKey();
    if (code < 16 || code > 18) return {code, true, console_.lastKeyModifiers()};
  }
}

EditSession::Action EditSession::actionFor(const Key& key) const {
  for (const KeyRow& row : kKeys) {
    if (row.extended == key.extended && key.code >= row.first && key.code <= row.last) return row.action;
  }
  return key.extended ? &EditSession::endEditing : &EditSession::otherControl;
}

// Shift with an extended key stretches the selection from where the cursor
// was to where it goes; other extended keys drop it after acting on it, and
// ordinary keys before, except the copy and paste keys.
std::optional<uint8_t> EditSession::handle(const Key& key) {
  key_ = key;
  bool clipboardKey = key.extended ? key.code == 254 || key.code == 255 : key.code == 3 || key.code == 22;
  bool stretching = key.extended && key.modifiers.shift && !clipboardKey;
  if (!key.extended && !clipboardKey) clearSelection();
  if (stretching && !selectionStart_) selectionStart_ = cursor_;
  std::optional<uint8_t> ending = (this->*actionFor(key))();
  if (stretching)
    selectionEnd_ = cursor_;
  else if (key.extended && !clipboardKey)
    clearSelection();
  firstKey_ = false;
  return ending;
}

uint8_t EditSession::finish(uint8_t key) {
  console_.repaintConsole();
  console_.gotoXY(x_, y_);
  console_.writeText(std::string_view(field_).substr(0, width_));
  console_.gotoXY(x_, y_);
  result_ = withoutTrailingBlanks(field_);
  console_.stopSpeech();
  return key;
}

void EditSession::draw() {
  if (cursor_ < firstShown_) firstShown_ = cursor_;
  if (cursor_ - firstShown_ > width_) firstShown_ = cursor_ - width_;
  std::string_view shown = std::string_view(field_).substr(firstShown_ - 1, width_);
  console_.drawMagnifiedLine(shown, cursor_ - firstShown_ + 1);
  console_.gotoXY(x_, y_);
  writeShown(shown);
  console_.clearEndOfLine();
  console_.gotoXY(x_ + cursor_ - firstShown_, y_);
}

// The selected part of the shown text goes on dark grey.
void EditSession::writeShown(std::string_view shown) {
  auto [low, high] = hasSelection() ? selection() : std::pair{0, 0};
  int size = static_cast<int>(shown.size());
  int from = std::clamp(low - firstShown_, 0, size), to = std::clamp(high - firstShown_, 0, size);
  if (from >= to) {
    console_.writeText(shown);
    return;
  }
  uint8_t attr = console_.textAttr();
  if (from > 0) console_.writeText(shown.substr(0, from));
  console_.setTextBackground(kSelectionBackground);
  console_.writeText(shown.substr(from, to - from));
  console_.setTextAttr(attr);
  if (to < size) console_.writeText(shown.substr(to));
}

// The field keeps its length: blanks come in at the end.
std::string EditSession::removeRange(int position, int count) {
  std::string removed = field_.substr(position - 1, count);
  field_.erase(position - 1, count);
  field_.append(count, ' ');
  return removed;
}

// The field is shown changed before the user hears what went.
void EditSession::sayDeleted(std::string_view removed) {
  draw();
  console_.playItem("_DEL");
  if (removed.size() == 1)
    console_.speakChar(static_cast<uint8_t>(removed[0]));
  else
    console_.spellText(removed);
}

}  // namespace editing
}  // namespace tamiral
