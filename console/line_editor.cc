#include "console/line_editor.h"

#include <algorithm>

#include "console/edit_session.h"
#include "console/voiced_console.h"
#include "engine/cp1252.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr int kReadLineLength = 255;
constexpr int kDialPauseMs = 100, kCommaPauseMs = 1000;
constexpr size_t kMaxOpenedWord = 255;

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
  uint8_t key = editing::EditSession(*this, field, x, y, width, maxLength).run();
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
  if (editField(text, x, y, width, kReadLineLength) == editing::kEsc) {
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
