#include "console/line_editor.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "console/voiced_console.h"
#include "engine/cp1252.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr uint8_t kEnter = 13, kEsc = 27;
constexpr uint8_t kAltF1 = 104, kCtrlF9 = 102;
constexpr int kColumns = 80, kRows = 25;
constexpr uint8_t kSelectionBackground = 8;  // dark grey
constexpr int kReadLineLength = 255;
constexpr int kDialPauseMs = 100, kCommaPauseMs = 1000;
constexpr size_t kMaxOpenedWord = 255;

// Letters for word moves and tokens: every code of 128 or more counts.
bool isLetter(char c) { return isAsciiLetter(c) || static_cast<uint8_t>(c) >= 128; }
bool isOther(char c) { return c != ' ' && !isLetter(c) && !isDigit(c); }

// Characters F12 strips from both ends of the word at the cursor. The
// closing brackets join the opening ones, so "(www.site.br)" opens the
// address alone.
bool isWordWrapping(char c) { return std::string_view("(*-.<=>[_{\")]}").find(c) != std::string_view::npos; }

// A word made only of these consonants cannot be said, so it is spelled.
bool unsayable(std::string_view word) {
  return std::all_of(word.begin(), word.end(),
                     [](char c) { return std::string_view("BCDFGHJKLMNPQRSTVXZ").find(upperPtChar(c)) != std::string_view::npos; });
}

std::string_view withoutTrailingBlanks(std::string_view text) {
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
  std::pair<int, int> selection() const {
    return std::minmax(selectionStart_, selectionEnd_);
  }
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

  // Keys.
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

// Every key the editor knows; any other ordinary key is a control byte that
// does nothing, any other extended key ends the editing.
const EditSession::KeyRow EditSession::kKeys[] = {
    {false, 13, 13, &EditSession::endEditing},  // Enter
    {false, 27, 27, &EditSession::endEditing},  // Esc
    {false, 9, 9, &EditSession::endEditing},    // Tab
    {false, 10, 10, &EditSession::endEditing},  // Ctrl+Enter
    {false, 2, 2, &EditSession::endEditing},    // Ctrl+B
    {false, 8, 8, &EditSession::backspace},
    {false, 127, 127, &EditSession::deleteWord},  // Ctrl+Backspace
    {false, 3, 3, &EditSession::copy},            // Ctrl+C
    {false, 22, 22, &EditSession::paste},         // Ctrl+V
    {false, 4, 4, &EditSession::blankToEnd},      // Ctrl+D
    {false, 19, 19, &EditSession::deleteToStart}, // Ctrl+S
    {false, 25, 25, &EditSession::blankField},    // Ctrl+Y
    {false, 21, 21, &EditSession::undo},          // Ctrl+U
    {false, 11, 11, &EditSession::sayPosition},   // Ctrl+K
    {false, 28, 28, &EditSession::dial},          // Ctrl+Backslash
    {false, 32, 126, &EditSession::type},
    {false, 128, 255, &EditSession::type},
    {true, 59, 59, &EditSession::nextToken},  // F1
    {true, 94, 94, &EditSession::sayField},   // Ctrl+F1
    {true, 62, 62, &EditSession::toggleEcho}, // F4
    {true, 97, 97, &EditSession::changeSpeed},// Ctrl+F4
    {true, 66, 66, &EditSession::sayTime},    // F8
    {true, 101, 101, &EditSession::sayDate},  // Ctrl+F8
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
    {true, 255, 255, &EditSession::copy},   // Ctrl+Insert
    {true, 254, 254, &EditSession::paste},  // Shift+Insert
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

bool isAddress(std::string_view word) {
  return startsWithKeyword(word, "HTTP://") || startsWithKeyword(word, "HTTPS://") || startsWithKeyword(word, "WWW.");
}

// The three characters after the first '.', upper-cased.
std::string extensionOf(std::string_view word) {
  size_t dot = word.find('.');
  return dot == std::string_view::npos ? std::string() : upperPt(word.substr(dot + 1, 3));
}

bool isAbsolute(std::string_view path) {
  return (path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':') || path.starts_with('\\') ||
         path.starts_with('/');
}

}  // namespace

EditorDevices systemEditorDevices() { return {makeSystemClock(), makeSystemPowerStatus(), makeSystemLauncher()}; }

uint8_t LineEditor::editField(std::string& field, int x, int y, int width, int maxLength) {
  // Echoes are queued, not waited for, so fast typing is never held back.
  bool noWait = console_.speech().wave().noWait;
  console_.speech().wave().noWait = true;
  uint8_t key = EditSession(*this, field, x, y, width, maxLength).run();
  console_.speech().wave().noWait = noWait;
  return key;
}

// On Esc only the field's cells are blanked: a text longer than the field
// was never shown past it, and blanks written on would wrap into the rows
// below.
std::string LineEditor::readEditedLine() {
  std::string text;
  int x = console_.whereX(), y = console_.whereY();
  int width = 79 - x;
  if (editField(text, x, y, width, kReadLineLength) == kEsc) {
    console_.gotoXY(x, y);
    console_.writeText(std::string(std::clamp<size_t>(text.size(), 0, std::max(width, 0)), ' '));
    console_.gotoXY(x, y);
    text.clear();
  }
  console_.writeLine("");
  return text;
}

void LineEditor::dialTones(std::string_view text) {
  WavePlayback& wave = console_.speech().wave();
  bool rapid = wave.rapidPlayback;
  wave.rapidPlayback = false;
  std::string tones = console_.speech().lettersFolder() + "dtmf_";
  for (char c : upperPt(text)) {
    if (console_.keyPressed()) break;
    if (isDigit(c) || c == '#' || c == '*') {
      console_.playWaveFile(tones + (c == '*' ? 'X' : c) + ".wav");
      console_.waitWhileSpeaking();
      console_.delayMs(kDialPauseMs);
    } else if (c == ',') {
      console_.delayMs(kCommaPauseMs);
    }
  }
  wave.rapidPlayback = rapid;
}

void LineEditor::speakBattery() {
  PowerState power = devices_.power->read();
  if (power.batteryPercent)
    console_.speak(decimal(*power.batteryPercent) + "%");
  else
    console_.playItem("_SEMBAT");
  if (power.lineOffline) console_.playItem("_SEMENER");
}

// With no program set for it, a word is opened by itself; an address
// starting "www." is given its scheme so the desktop takes it for one.
void LineEditor::openWordAtCursor(std::string_view word) {
  word = word.substr(0, kMaxOpenedWord);
  std::string program, parameter(word);
  std::string extension = extensionOf(word);
  if (isAddress(word)) {
    program = console_.readSetting("TAMIRAL", "PROG.HTM");
  } else if (extension == "EXE" || extension == "COM") {
    std::string folder = console_.speech().fileSystem().workingFolder();
    bool separated = folder.ends_with('\\') || folder.ends_with('/');
    program = isAbsolute(word) ? std::string(word) : folder + (separated ? "" : "\\") + std::string(word);
    parameter.clear();
  } else {
    program = console_.readSetting("TAMIRAL", "PROG." + extension);
  }
  if (program.empty()) {
    program = startsWithKeyword(parameter, "WWW.") ? "http://" + parameter : parameter;
    parameter.clear();
  }
  std::string folder = native(console_.speech().fileSystem().workingFolder());
  console_.waitWhileSpeaking();
  devices_.launcher->open(native(program), native(parameter), folder);
  console_.waitWhileSpeaking();
}

// Addresses and bare command names pass as they are; anything with a folder
// or drive in it goes through the drive mapping.
std::string LineEditor::native(std::string_view text) {
  bool path = text.find_first_of("\\/:") != std::string_view::npos && !isAddress(text) &&
              text.find("://") == std::string_view::npos;
  return path ? console_.speech().fileSystem().nativePath(text) : cp1252ToUtf8(text);
}

}  // namespace tamiral
