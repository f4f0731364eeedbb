// The one door between the engine and command handlers on one side and the
// console, keyboard, settings and voice on the other. Texts are Windows-1252
// bytes; coordinates are 1-based on the 80 x 25 grid; colours index the
// 16-colour palette. Key bytes: an ordinary key is one byte, an extended key
// the byte 0 followed by its code. A pending key press always cuts speech and
// stays queued for the next reader.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/key_buffer.h"

namespace tamiral {

class TalkingConsole {
 public:
  virtual ~TalkingConsole() = default;

  // Console window.
  virtual void consoleInit() = 0;
  virtual void setWindowTitle(std::string_view title) = 0;
  // Makes a hidden or minimised console visible again.
  virtual void restoreWindow() = 0;
  // Takes the console off the screen until restoreWindow; front ends that
  // cannot hide (a terminal, standard output) keep showing it.
  virtual void hideWindow() {}
  virtual void processMessages() = 0;
  virtual void processAllMessages() = 0;
  virtual void delayMs(int milliseconds) = 0;

  // Output.
  virtual void writeText(std::string_view text) = 0;
  virtual void writeLine(std::string_view text) = 0;
  virtual void clearScreen() = 0;
  virtual void gotoXY(int column, int row) = 0;
  virtual int whereX() = 0;
  virtual int whereY() = 0;
  virtual void setTextColor(int colour) = 0;
  virtual void setTextBackground(int colour) = 0;
  virtual void copyToClipboard(std::string_view text) = 0;
  virtual std::string pasteFromClipboard() = 0;
  // The colour byte of the next text (background * 16 + text colour), set
  // whole even when colours are fixed. The operations down to
  // repaintConsole do nothing on a console without a grid.
  virtual uint8_t textAttr() { return 0x0F; }
  virtual void setTextAttr(uint8_t) {}
  // Blanks from the cursor to the end of its row.
  virtual void clearEndOfLine() {}
  // The magnifier strip: the text around a 1-based position drawn enlarged.
  virtual void drawMagnifiedLine(std::string_view, int) {}
  // Every cell drawn again; the magnifier strip goes.
  virtual void repaintConsole() {}

  // Keyboard.
  virtual bool keyPressed() = 0;
  virtual uint8_t readKey() = 0;
  // Shift, Ctrl and Alt as they were when the key readKey last gave arrived.
  virtual KeyModifiers lastKeyModifiers() { return {}; }
  // The mouse pointer in pixels from the console's top left corner, as last
  // reported; nothing when no report has come.
  struct PointerPosition {
    int x = 0, y = 0;
  };
  virtual std::optional<PointerPosition> pointerPosition() { return std::nullopt; }
  // A line typed up to Enter, echoed, not spoken; at most capacity - 2
  // characters are kept. The result holds the characters without CR LF.
  virtual std::string readConsoleLine(int capacity) = 0;
  // A line edited with the spoken line editor; Esc gives the empty text.
  virtual std::string readEditedLine() = 0;
  // The spoken line editor on a field of the screen (column x, row y, 1-based)
  // showing width cells of at most maxLength characters. The field is edited
  // in place and loses its trailing blanks; the result is the key that ended
  // the editing: its byte, or the code of an extended key. A console without
  // a grid reads a plain line in its place, ended by Enter.
  virtual uint8_t editField(std::string& field, int x, int y, int width, int maxLength);

  // Settings: the value of a key in the product settings file, empty when
  // missing.
  virtual std::string readSetting(std::string_view section, std::string_view key) = 0;

  // Speech.
  // False when the built-in voice could not start: the user has been told
  // and has pressed Enter, and the program must end.
  virtual bool speechInit(int speed, std::string_view programSoundFolder) = 0;
  virtual void speechShutdown() = 0;
  // A new speed profile and voice server; the built-in voice keeps running.
  virtual void speechReconfigure(int speed, bool useServer, int type, int pitch, int rate, int voice) = 0;
  virtual void speak(std::string_view text) = 0;
  virtual bool isSpeaking() = 0;
  virtual void stopSpeech() = 0;
  virtual void speakChar(uint8_t code) = 0;
  virtual void spellText(std::string_view text) = 0;
  virtual void playItem(std::string_view name) = 0;
  virtual void playClick() = 0;
  virtual void playBeep() = 0;
  virtual uint8_t readKeyAndEcho() = 0;
  // Said with the letters folder's recorded words.
  virtual void speakTime(int hours, int minutes) = 0;
  virtual void speakDate(int day, int month, int year) = 0;
  // A WAVE file, waited for unless playback is in no-wait mode; 0, -1 for a
  // missing or non-WAVE file, or the output's error code.
  virtual int playWaveFile(std::string_view name) = 0;

  // readConsoleLine for consoles whose keys are all a reader needs: Enter
  // ends, Backspace rubs out, extended keys are skipped whole, and
  // capacity - 2 characters at most are kept and echoed.
  std::string readEchoedLine(int capacity);

  // Written, then spoken.
  void writeAndSpeak(std::string_view text);
  // Written with a line end, then spoken: how every handler reports a message.
  void writeLineAndSpeak(std::string_view text);
  void writeNumberAndSpeak(int64_t number);
  // Returns when speech has ended or a key has cut it (the key stays queued).
  void waitWhileSpeaking();
};

}  // namespace tamiral
