// Turns the bytes a terminal sends into the console's key bytes: one byte for
// an ordinary key, 0 and a code for an extended key, each with the Shift, Ctrl
// and Alt state seen. A pure state machine fed one byte at a time; the
// terminal front end owns the reading and the clock, and calls tick() when
// deadlineMs() comes so that a lone Esc becomes the Esc key.
//
// Accepted spellings: xterm and tmux (CSI and SS3 with modifier parameters,
// CSI-u, modifyOtherKeys "27;m;code~"), rxvt ("11~", "7~", "2$", "2^", "a",
// "O a"), the Linux console ("[[A" for F1), Alt as an Esc prefix or as a
// UTF-8/8-bit meta control character, SGR and X10 mouse reports, and
// bracketed paste.
//
// The keys a script may see follow the Windows window's rules: Alt with
// anything but Ctrl gives nothing except Alt+Left/Right (their plain codes);
// F10 needs Ctrl; Ctrl+Alt+letter or digit gives 0 and its Alt code. Keys a
// terminal cannot send are approximated: Ctrl+J (line feed) is Ctrl+Enter,
// Ctrl+H (byte 8) is Ctrl+Backspace while DEL is Backspace, Ctrl+Shift+F9
// stands for Ctrl+Alt+F9, and a paste is Shift+Insert carrying its text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamiral {

struct KeyEvent {
  enum class Kind : uint8_t { Key, Mouse, Paste };
  Kind kind = Kind::Key;
  std::string bytes;  // what goes into the key buffer: one byte, or 0 and a code
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  int column = 0;    // Mouse: 0-based cell under the pointer
  int row = 0;
  std::string text;  // Paste: the text in Windows-1252, line ends as CR LF

  bool operator==(const KeyEvent&) const = default;
};

// Terminals send a whole sequence in one burst, so an Esc byte followed by
// nothing for this long was the Esc key itself.
inline constexpr int64_t kEscTimeoutMs = 50;
// A sequence that has clearly begun but stalls this long is dropped, so a
// broken terminal cannot swallow the keys after it.
inline constexpr int64_t kStalledSequenceMs = 1000;
// A paste whose end marker never comes is delivered after this long.
inline constexpr int64_t kStalledPasteMs = 5000;
// Bytes of one paste kept; the readers of the clipboard take far fewer.
inline constexpr size_t kMaxPasteBytes = 65536;

class KeyDecoder {
 public:
  void feed(uint8_t byte, int64_t nowMs);
  void feed(std::string_view bytes, int64_t nowMs);
  // Resolves whatever is pending once its time has run out.
  void tick(int64_t nowMs);
  // When tick() has something to resolve; empty when nothing is pending.
  std::optional<int64_t> deadlineMs() const;
  std::vector<KeyEvent> takeEvents();

 private:
  struct Mods {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
  };

  enum class State : uint8_t {
    Ground,
    Escape,        // ESC
    EscapeEscape,  // ESC ESC: Alt on a sequence, or two Esc keys
    Csi,           // ESC [ ...
    Ss3,           // ESC O ...
    LinuxFunction, // ESC [ [
    X10Mouse,      // ESC [ M and three raw bytes
    Skip,          // an over-long sequence, dropped up to its final byte
    Utf8,
    Paste,
  };

  void process(uint8_t byte);
  void ground(uint8_t byte);
  void afterEscape(uint8_t byte);
  void csi(uint8_t byte);
  void ss3(uint8_t byte);
  void paste(uint8_t byte);
  void utf8(uint8_t byte);
  void abandon(uint8_t byte);  // drops the sequence and reads the byte afresh
  void reset();
  void expire();

  void dispatchCsi(uint8_t final);
  void dispatchSs3(uint8_t final);
  void mouse(int button, int column, int row, bool press);
  void finishPaste();
  void flushUtf8();

  void controlOrText(uint8_t byte, Mods mods);
  void metaControl(uint8_t control, Mods mods);
  void character(int32_t code, Mods mods);
  void special(int key, Mods mods);
  void emitKey(uint8_t byte, Mods mods);
  void emitExtended(uint8_t code, Mods mods);

  State state_ = State::Ground;
  Mods prefix_;  // Alt from an Esc prefix, applied to the sequence in progress
  int64_t lastByteMs_ = 0;
  std::string sequence_;  // parameter and intermediate bytes of CSI/SS3, or UTF-8/mouse bytes
  std::string pasted_;
  size_t pasteEndMatched_ = 0;
  size_t utf8Needed_ = 0;
  std::vector<KeyEvent> events_;
};

}  // namespace tamiral
