#include <algorithm>

#include "console/edit_session.h"

namespace tamiral {
namespace editing {

// Typing straight away replaces an offered text; moving first keeps it.
std::optional<uint8_t> EditSession::type() {
  if (cursor_ > maxLength_) {
    beep();
    return {};
  }
  if (firstKey_ && textFromCursor()) {
    twoClicks();
    blankAll();
  }
  field_.insert(field_.begin() + (cursor_ - 1), static_cast<char>(key_.code));
  field_.pop_back();
  ++cursor_;
  draw();
  if (editor_.typingEcho()) console_.speakChar(key_.code);
  return {};
}

std::optional<uint8_t> EditSession::otherControl() {
  if (firstKey_ && textFromCursor()) twoClicks();
  return {};
}

std::optional<uint8_t> EditSession::backspace() {
  if (cursor_ == 1) {
    beep();
    return {};
  }
  --cursor_;
  sayDeleted(removeRange(cursor_, 1));
  return {};
}

std::optional<uint8_t> EditSession::deleteWord() {
  if (cursor_ > 1 && at(cursor_ - 1) != ' ') wordLeft();
  int start = cursor_;
  wordRight();
  int stop = cursor_;
  cursor_ = start;
  if (stop > start) sayDeleted(removeRange(start, stop - start));
  return {};
}

std::optional<uint8_t> EditSession::deleteKey() {
  if (hasSelection()) {
    auto [low, high] = selection();
    cursor_ = low;
    clearSelection();
    sayDeleted(removeRange(low, high - low));
  } else if (cursor_ > maxLength_) {
    beep();
  } else {
    sayDeleted(removeRange(cursor_, 1));
  }
  return {};
}

std::optional<uint8_t> EditSession::copy() {
  if (hasSelection()) {
    auto [low, high] = selection();
    console_.copyToClipboard(std::string_view(field_).substr(low - 1, high - low));
  } else {
    console_.copyToClipboard(std::string(withoutTrailingBlanks(field_)) + "\r\n");
  }
  return {};
}

// The clipboard's first line goes in place of the selection, or at the
// cursor, and is left selected.
std::optional<uint8_t> EditSession::paste() {
  std::string text = console_.pasteFromClipboard().substr(0, maxLength_);
  text = text.substr(0, text.find_first_of("\r\n"));
  if (firstKey_) {
    twoClicks();
    blankAll();
  }
  int position = cursor_;
  if (hasSelection()) {
    auto [low, high] = selection();
    position = low;
    removeRange(low, high - low);
  }
  cursor_ = position;
  field_.insert(position - 1, text);
  field_.resize(maxLength_);
  selectionStart_ = position;
  selectionEnd_ = std::min(position + static_cast<int>(text.size()), maxLength_ + 1);
  return {};
}

std::optional<uint8_t> EditSession::blankToEnd() {
  if (cursor_ <= maxLength_) std::fill(field_.begin() + (cursor_ - 1), field_.end(), ' ');
  console_.playItem("_APFCPO");
  return {};
}

std::optional<uint8_t> EditSession::deleteToStart() {
  removeRange(1, cursor_ - 1);
  cursor_ = 1;
  console_.playItem("_APICPO");
  return {};
}

std::optional<uint8_t> EditSession::blankField() {
  blankAll();
  cursor_ = 1;
  console_.playItem("_CPOAPA");
  return {};
}

std::optional<uint8_t> EditSession::undo() {
  field_ = entry_;
  cursor_ = 1;
  for (int i = 0; i < 3; ++i) beep();
  return {};
}

}  // namespace editing
}  // namespace tamiral
