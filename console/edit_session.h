// One call of the line editor: the field being edited with its cursor,
// horizontal scroll, selection and first-key state, and the table of keys.
// Internal to the line editor; its keys live in editing_keys.cc (those that
// change the field) and moving_keys.cc (those that move or say something).
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "console/key_buffer.h"
#include "console/line_editor.h"
#include "console/voiced_console.h"
#include "engine/text.h"

namespace tamiral {
namespace editing {

inline constexpr uint8_t kEnter = 13, kEsc = 27;

// Letters for word moves and tokens: every code of 128 or more counts.
inline bool isLetter(char c) { return isAsciiLetter(c) || static_cast<uint8_t>(c) >= 128; }
inline bool isOther(char c) { return c != ' ' && !isLetter(c) && !isDigit(c); }

inline std::string_view withoutTrailingBlanks(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return text.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

struct Key {
  uint8_t code = 0;
  bool extended = false;
  KeyModifiers modifiers;
};

// One editField call: the field and its cursor, scroll and selection.
// Positions are 1-based as the user counts them: 1 .. maxLength + 1.
class EditSession {
 public:
  EditSession(LineEditor& editor, std::string& field, int x, int y, int width, int maxLength);
  uint8_t run();

 private:
  using Action = std::optional<uint8_t> (EditSession::*)();
  struct KeyRow {
    bool extended;
    uint8_t first, last;  // a range of codes
    Action action;
  };
  static const KeyRow kKeys[];

  Action actionFor(const Key& key) const;
  Key readKey();
  std::optional<uint8_t> handle(const Key& key);
  uint8_t finish(uint8_t key);

  void draw();
  void writeShown(std::string_view shown);

  char at(int position) const { return field_[position - 1]; }
  int lastFilled() const { return static_cast<int>(withoutTrailingBlanks(field_).size()); }
  bool textFromCursor() const { return cursor_ <= maxLength_ && lastFilled() >= cursor_; }
  std::string removeRange(int position, int count);
  void blankAll() { std::fill(field_.begin(), field_.end(), ' '); }

  bool hasSelection() const { return selectionStart_ && selectionEnd_ && selectionStart_ != selectionEnd_; }
  std::pair<int, int> selection() const { return std::minmax(selectionStart_, selectionEnd_); }
  void clearSelection() { selectionStart_ = selectionEnd_ = 0; }

  void beep() { console_.playBeep(); }
  void twoClicks() {
    console_.playClick();
    console_.playClick();
  }
  void sayDeleted(std::string_view removed);
  bool wordLeft();
  bool wordRight();
  std::string wordAroundCursor() const;

  // Keys: each gives the key to end the editing with, or nothing to go on.
  std::optional<uint8_t> endEditing() { return key_.code; }
  std::optional<uint8_t> nothing() { return {}; }
  std::optional<uint8_t> type();
  std::optional<uint8_t> otherControl();
  std::optional<uint8_t> backspace();
  std::optional<uint8_t> deleteWord();
  std::optional<uint8_t> deleteKey();
  std::optional<uint8_t> copy();
  std::optional<uint8_t> paste();
  std::optional<uint8_t> blankToEnd();
  std::optional<uint8_t> deleteToStart();
  std::optional<uint8_t> blankField();
  std::optional<uint8_t> undo();
  std::optional<uint8_t> sayPosition();
  std::optional<uint8_t> dial();
  std::optional<uint8_t> nextToken();
  std::optional<uint8_t> sayField();
  std::optional<uint8_t> toggleEcho();
  std::optional<uint8_t> changeSpeed();
  std::optional<uint8_t> sayTime();
  std::optional<uint8_t> sayDate();
  std::optional<uint8_t> ctrlF9();
  std::optional<uint8_t> battery();
  std::optional<uint8_t> openWord();
  std::optional<uint8_t> home();
  std::optional<uint8_t> end();
  std::optional<uint8_t> left();
  std::optional<uint8_t> right();
  std::optional<uint8_t> wordLeftKey();
  std::optional<uint8_t> wordRightKey();

  LineEditor& editor_;
  VoicedConsole& console_;
  std::string& result_;
  std::string field_;
  std::string entry_;
  int x_, y_, width_, maxLength_;
  int cursor_ = 1;
  int firstShown_ = 1;
  int selectionStart_ = 0, selectionEnd_ = 0;
  bool firstKey_ = true;
  Key key_;
};

}  // namespace editing
}  // namespace tamiral
