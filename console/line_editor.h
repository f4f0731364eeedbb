// The spoken line editor: a one-row field of the screen edited with cursor
// keys, word moves, a selection, the clipboard, deletion keys that say what
// they removed, reading keys, and a few utility keys (time, date, battery,
// speech speed, dialling, opening the word at the cursor). Every key is
// confirmed by sound, since its users cannot see the field.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/launcher.h"
#include "platform/power_status.h"

namespace tamiral {

class VoicedConsole;

// What the editor's utility keys ask of the machine.
struct EditorDevices {
  std::unique_ptr<Clock> clock;
  std::unique_ptr<PowerStatus> power;
  std::unique_ptr<Launcher> launcher;
};

EditorDevices systemEditorDevices();

class LineEditor {
 public:
  static constexpr int kMaxLength = 2048;

  LineEditor(VoicedConsole& console, EditorDevices devices) : console_(console), devices_(std::move(devices)) {}

  // Edits the field in place at column x, row y (1-based), width cells
  // shown, at most maxLength (cut to kMaxLength) characters. Returns the key
  // that ended the editing: its byte, or the code of an extended key. The
  // field loses its trailing blanks.
  uint8_t editField(std::string& field, int x, int y, int width, int maxLength);
  // A line of up to 255 characters edited at the cursor, then a line end.
  // Esc blanks what was typed and gives the empty text.
  std::string readEditedLine();

  // Telephone tones for the digits, '#' and '*' of a text; a comma pauses a
  // second. A key pressed meanwhile ends the dialling.
  void dialTones(std::string_view text);
  // The battery's charge, or "_SEMBAT" without one; "_SEMENER" off mains.
  void speakBattery();
  // Opens an address with [TAMIRAL] "PROG.HTM", a document with the program
  // of "PROG." and its extension, or by itself when none is set; a program
  // (EXE, COM) is started from the working folder.
  void openWordAtCursor(std::string_view word);

  // Typing echo: on from the start, toggled by F4, kept for the whole run.
  bool typingEcho() const { return typingEcho_; }
  void setTypingEcho(bool on) { typingEcho_ = on; }

  VoicedConsole& console() { return console_; }
  EditorDevices& devices() { return devices_; }

 private:
  // A program or document as the launcher takes it: a native path, or an
  // address or command name as it is.
  std::string native(std::string_view text);

  VoicedConsole& console_;
  EditorDevices devices_;
  bool typingEcho_ = true;
};

}  // namespace tamiral
