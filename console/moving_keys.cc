#include <algorithm>

#include "console/edit_session.h"

namespace tamiral {
namespace editing {

namespace {

constexpr uint8_t kAltF1 = 104, kCtrlF9 = 102;

// Characters F12 strips from both ends of the word at the cursor. The
// closing brackets join the opening ones, so "(www.site.br)" opens the
// address alone.
bool isWordWrapping(char c) { return std::string_view("(*-.<=>[_{\")]}").find(c) != std::string_view::npos; }

// A word made only of these consonants cannot be said, so it is spelled.
bool unsayable(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) {
    return std::string_view("BCDFGHJKLMNPQRSTVXZ").find(upperPtChar(c)) != std::string_view::npos;
  });
}

}  // namespace

// Back over blanks, then over the word before them: a digit run, or letters
// with the one other character that may lead them (as wordRight takes it).
bool EditSession::wordLeft() {
  int p = cursor_;
  while (p > 1 && at(p - 1) == ' ') --p;
  if (p > 1 && isDigit(at(p - 1))) {
    while (p > 1 && isDigit(at(p - 1))) --p;
  } else {
    while (p > 1 && isLetter(at(p - 1))) --p;
    if (p > 1 && isOther(at(p - 1))) --p;
  }
  cursor_ = std::max(p, 1);
  if (cursor_ == 1) {
    beep();
    return false;
  }
  console_.playClick();
  return true;
}

// Over a digit run, or one character and the letters after it, then the
// blanks; past the text's end the cursor rests after its last character.
bool EditSession::wordRight() {
  int p = cursor_;
  if (p <= maxLength_ && isDigit(at(p))) {
    while (p <= maxLength_ && isDigit(at(p))) ++p;
  } else {
    ++p;
    while (p <= maxLength_ && isLetter(at(p))) ++p;
  }
  while (p <= maxLength_ && at(p) == ' ') ++p;
  if (p > maxLength_) {
    cursor_ = lastFilled() + 1;
    beep();
    return false;
  }
  cursor_ = p;
  console_.playClick();
  return true;
}

// The run of non-blanks under the cursor, or the one just before it, without
// the brackets, quotes and marks around it.
std::string EditSession::wordAroundCursor() const {
  int p = cursor_;
  if (p > maxLength_ || at(p) == ' ') --p;
  if (p < 1 || at(p) == ' ') return {};
  int start = p, stop = p;
  while (start > 1 && at(start - 1) != ' ') --start;
  while (stop < maxLength_ && at(stop + 1) != ' ') ++stop;
  std::string_view word = std::string_view(field_).substr(start - 1, stop - start + 1);
  while (!word.empty() && isWordWrapping(word.front())) word.remove_prefix(1);
  while (!word.empty() && isWordWrapping(word.back())) word.remove_suffix(1);
  return std::string(word);
}

std::optional<uint8_t> EditSession::sayPosition() {
  console_.speak(decimal(cursor_));
  return {};
}

std::optional<uint8_t> EditSession::dial() {
  editor_.dialTones(field_);
  return {};
}

// F1 says the next token and leaves the cursor after it: a number, a word
// (spelled when it is only consonants), or one other character.
std::optional<uint8_t> EditSession::nextToken() {
  if (key_.modifiers.alt) return kAltF1;
  int p = cursor_;
  while (p <= maxLength_ && at(p) == ' ') ++p;
  if (p > maxLength_) {
    beep();
    return {};
  }
  int stop = p + 1;
  char first = at(p);
  if (isDigit(first) || first == '-') {
    while (stop <= maxLength_ && isDigit(at(stop))) ++stop;
  } else if (isLetter(first)) {
    while (stop <= maxLength_ && isLetter(at(stop))) ++stop;
  }
  std::string_view token = std::string_view(field_).substr(p - 1, stop - p);
  if (isDigit(first) || first == '-' || (isLetter(first) && !unsayable(token)))
    console_.speak(token);
  else
    console_.spellText(token);
  cursor_ = stop;
  return {};
}

std::optional<uint8_t> EditSession::sayField() {
  console_.speak(withoutTrailingBlanks(field_));
  return {};
}

std::optional<uint8_t> EditSession::toggleEcho() {
  editor_.setTypingEcho(!editor_.typingEcho());
  console_.playItem(editor_.typingEcho() ? "_FALACI" : "_FALDLG");
  return {};
}

// The speed is the last of the keys typed after "_VELOC" ('1'..'5'); speech
// starts again with it, which also reloads the magnifier settings.
std::optional<uint8_t> EditSession::changeSpeed() {
  console_.playItem("_VELOC");
  uint8_t last = console_.readKeyAndEcho();
  while (console_.keyPressed()) last = console_.readKeyAndEcho();
  if (last == kEsc || last == kEnter) return {};
  std::string folder = console_.speech().programSoundFolder();
  console_.speechShutdown();
  console_.speechInit(last - '0', folder);
  console_.speech().wave().noWait = true;  // the restart made a new output
  return {};
}

std::optional<uint8_t> EditSession::sayTime() {
  DateTime now = editor_.devices().clock->localNow();
  console_.speakTime(now.hour, now.minute);
  return {};
}

std::optional<uint8_t> EditSession::sayDate() {
  DateTime now = editor_.devices().clock->localNow();
  console_.speakDate(now.day, now.month, now.year);
  return {};
}

// With Alt it asks for screen review, which does not exist yet: the beep
// says so and editing goes on.
std::optional<uint8_t> EditSession::ctrlF9() {
  if (!key_.modifiers.alt) return kCtrlF9;
  beep();
  return {};
}

std::optional<uint8_t> EditSession::battery() {
  editor_.speakBattery();
  return {};
}

std::optional<uint8_t> EditSession::openWord() {
  std::string word = wordAroundCursor();
  if (word.empty())
    beep();
  else
    editor_.openWordAtCursor(word);
  return {};
}

std::optional<uint8_t> EditSession::home() {
  cursor_ = 1;
  return {};
}

std::optional<uint8_t> EditSession::end() {
  cursor_ = lastFilled() + 1;
  return {};
}

std::optional<uint8_t> EditSession::left() {
  if (cursor_ == 1) {
    beep();
    return {};
  }
  --cursor_;
  console_.speakChar(static_cast<uint8_t>(at(cursor_)));
  return {};
}

// With Alt a letter is said by its spelling word ("_FON" and its code);
// the recorded ones are those of A-Z and a-z, so other letters are said
// plainly.
std::optional<uint8_t> EditSession::right() {
  if (cursor_ > maxLength_) {
    beep();
    return {};
  }
  auto passed = static_cast<uint8_t>(at(cursor_));
  ++cursor_;
  if (key_.modifiers.alt && isAsciiLetter(static_cast<char>(passed)))
    console_.playItem("_FON" + decimal(passed));
  else
    console_.speakChar(passed);
  return {};
}

std::optional<uint8_t> EditSession::wordLeftKey() {
  wordLeft();
  return {};
}

std::optional<uint8_t> EditSession::wordRightKey() {
  wordRight();
  return {};
}

}  // namespace editing
}  // namespace tamiral
