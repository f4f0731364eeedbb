#include "console/key_decoder.h"

#include <array>

#include "engine/cp1252.h"

namespace tamiral {

namespace {

// Longest CSI or SS3 body kept; anything longer is skipped to its end.
constexpr size_t kMaxSequence = 32;
constexpr int kMaxParams = 8;
constexpr int kNumberCap = 1000000;

enum Special : int {
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
  Insert, Delete, Home, End, PageUp, PageDown, Up, Down, Left, Right,
};

struct SpecialCodes {
  uint8_t plain;
  uint8_t ctrl;
};

constexpr SpecialCodes kSpecialCodes[] = {
    {59, 94},  {60, 95},  {61, 96},  {62, 97},   {63, 98},   {64, 99},   {65, 100}, {66, 101},
    {67, 102}, {68, 103}, {69, 104}, {70, 105},  {82, 255},  {83, 83},   {71, 119}, {79, 117},
    {73, 132}, {81, 118}, {72, 113}, {80, 114},  {75, 115},  {77, 116},
};

constexpr uint8_t kAltLetterCodes[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                         49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

constexpr std::string_view kPasteEnd = "\x1b[201~";

struct TildeKey {
  int key;
  bool shift;
};

// The numbered keys of "ESC [ n ~": xterm and tmux, plus the rxvt and Linux
// console numbers (7/8 for Home/End; 25..34 are Shift+F3..F10 there).
std::optional<TildeKey> tildeKey(int number) {
  switch (number) {
    case 1: case 7: return TildeKey{Home, false};
    case 2: return TildeKey{Insert, false};
    case 3: return TildeKey{Delete, false};
    case 4: case 8: return TildeKey{End, false};
    case 5: return TildeKey{PageUp, false};
    case 6: return TildeKey{PageDown, false};
    case 11: case 12: case 13: case 14: case 15: return TildeKey{F1 + number - 11, false};
    case 17: case 18: case 19: case 20: case 21: return TildeKey{F6 + number - 17, false};
    case 23: return TildeKey{F11, false};
    case 24: return TildeKey{F12, false};
    case 25: case 26: return TildeKey{F3 + number - 25, true};
    case 28: case 29: return TildeKey{F5 + number - 28, true};
    case 31: case 32: case 33: case 34: return TildeKey{F7 + number - 31, true};
    default: return std::nullopt;
  }
}

// Keys named by the final letter of CSI or SS3.
std::optional<int> letterKey(uint8_t final) {
  switch (final) {
    case 'A': return Up;
    case 'B': return Down;
    case 'C': return Right;
    case 'D': return Left;
    case 'H': return Home;
    case 'F': return End;
    case 'P': return F1;
    case 'Q': return F2;
    case 'R': return F3;
    case 'S': return F4;
    default: return std::nullopt;
  }
}

// One parameter: its first two colon-separated parts, -1 when absent.
struct Param {
  int value = -1;
  int sub = -1;
};

struct Params {
  bool valid = true;
  char prefix = 0;  // '<', '=', '>' or '?'
  int count = 0;
  std::array<Param, kMaxParams> list;

  int get(int index, int fallback) const {
    return index < count && list[index].value >= 0 ? list[index].value : fallback;
  }
};

Params parseParams(std::string_view body) {
  Params params;
  size_t pos = 0;
  if (!body.empty() && body[0] >= '<' && body[0] <= '?') params.prefix = body[pos++];
  if (pos == body.size()) return params;
  int part = 0;
  params.count = 1;
  for (; pos < body.size(); ++pos) {
    char c = body[pos];
    Param& param = params.list[params.count - 1];
    int& slot = part == 0 ? param.value : param.sub;
    if (c >= '0' && c <= '9') {
      if (part > 1) continue;
      slot = (slot < 0 ? 0 : slot) * 10 + (c - '0');
      if (slot >= kNumberCap) {
        params.valid = false;
        return params;
      }
    } else if (c == ':') {
      ++part;
    } else if (c == ';') {
      if (params.count == kMaxParams) {
        params.valid = false;
        return params;
      }
      ++params.count;
      part = 0;
    } else {
      params.valid = false;  // an intermediate byte or a misplaced prefix
      return params;
    }
  }
  return params;
}

bool isUpperCp1252(uint8_t byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) ||
         byte == 0x8A || byte == 0x8C || byte == 0x8E || byte == 0x9F;
}

}  // namespace

void KeyDecoder::feed(uint8_t byte, int64_t nowMs) {
  tick(nowMs);
  lastByteMs_ = nowMs;
  process(byte);
}

void KeyDecoder::feed(std::string_view bytes, int64_t nowMs) {
  for (char c : bytes) feed(static_cast<uint8_t>(c), nowMs);
}

std::optional<int64_t> KeyDecoder::deadlineMs() const {
  switch (state_) {
    case State::Ground:
      return std::nullopt;
    case State::Escape:
    case State::EscapeEscape:
      return lastByteMs_ + kEscTimeoutMs;
    case State::Csi:
    case State::Ss3:
      // "ESC [" or "ESC O" alone may be Alt with a typed character.
      return lastByteMs_ + (sequence_.empty() ? kEscTimeoutMs : kStalledSequenceMs);
    case State::Paste:
      return lastByteMs_ + kStalledPasteMs;
    default:
      return lastByteMs_ + kStalledSequenceMs;
  }
}

void KeyDecoder::tick(int64_t nowMs) {
  std::optional<int64_t> deadline = deadlineMs();
  if (deadline && nowMs >= *deadline) expire();
}

std::vector<KeyEvent> KeyDecoder::takeEvents() {
  std::vector<KeyEvent> taken;
  taken.swap(events_);
  return taken;
}

void KeyDecoder::reset() {
  state_ = State::Ground;
  prefix_ = {};
  sequence_.clear();
}

void KeyDecoder::expire() {
  switch (state_) {
    case State::Escape:
      emitKey(27, {});
      break;
    case State::EscapeEscape:
      emitKey(27, {});
      emitKey(27, {});
      break;
    case State::Utf8:
      flushUtf8();
      break;
    case State::Paste:
      finishPaste();
      break;
    default:
      break;  // an unfinished sequence, or Alt with "[" or "O": nothing
  }
  reset();
}

void KeyDecoder::abandon(uint8_t byte) {
  reset();
  process(byte);
}

void KeyDecoder::process(uint8_t byte) {
  switch (state_) {
    case State::Ground:
      ground(byte);
      break;
    case State::Escape:
    case State::EscapeEscape:
      afterEscape(byte);
      break;
    case State::Csi:
      csi(byte);
      break;
    case State::Ss3:
      ss3(byte);
      break;
    case State::LinuxFunction:
      if (byte >= 'A' && byte <= 'E') {
        Mods mods = prefix_;
        reset();
        special(F1 + (byte - 'A'), mods);
      } else if (byte >= 0x40 && byte <= 0x7E) {
        reset();
      } else {
        abandon(byte);
      }
      break;
    case State::X10Mouse:
      if (byte < 0x20) {
        abandon(byte);
        break;
      }
      sequence_ += static_cast<char>(byte);
      if (sequence_.size() == 3) {
        int button = static_cast<uint8_t>(sequence_[0]) - 32;
        int column = static_cast<uint8_t>(sequence_[1]) - 33;
        int row = static_cast<uint8_t>(sequence_[2]) - 33;
        reset();
        // X10 reports a release as button 3 and cannot say which one.
        if ((button & 3) != 3 || (button & 64)) mouse(button, column, row, true);
      }
      break;
    case State::Skip:
      if (byte >= 0x40 && byte <= 0x7E) {
        reset();
      } else if (byte < 0x20 || byte > 0x7E) {
        abandon(byte);
      }
      break;
    case State::Utf8:
      utf8(byte);
      break;
    case State::Paste:
      paste(byte);
      break;
  }
}

void KeyDecoder::ground(uint8_t byte) {
  if (byte == 0x1b) {
    state_ = State::Escape;
    return;
  }
  controlOrText(byte, {});
}

void KeyDecoder::afterEscape(uint8_t byte) {
  if (byte == '[' || byte == 'O') {
    prefix_.alt = state_ == State::EscapeEscape;
    state_ = byte == '[' ? State::Csi : State::Ss3;
    sequence_.clear();
    return;
  }
  if (byte == 0x1b) {
    // A third Esc: the first one was a key of its own.
    if (state_ == State::EscapeEscape) emitKey(27, {});
    state_ = State::EscapeEscape;
    return;
  }
  // Held Esc repeats faster than the time-out; "ESC ESC x" is Esc then Alt+x.
  if (state_ == State::EscapeEscape) emitKey(27, {});
  state_ = State::Ground;
  controlOrText(byte, Mods{false, false, true});
}

void KeyDecoder::csi(uint8_t byte) {
  if (byte < 0x20 || byte > 0x7E) {
    abandon(byte);
  } else if (byte == '[' && sequence_.empty()) {
    state_ = State::LinuxFunction;
  } else if (byte == 'M' && sequence_.empty()) {
    state_ = State::X10Mouse;
  } else if ((byte >= 0x40 && byte <= 0x7E) || byte == '$') {
    // '$' ends rxvt's Shift forms; we never ask for the reports that use it otherwise.
    dispatchCsi(byte);
  } else if (sequence_.size() >= kMaxSequence) {
    reset();
    state_ = State::Skip;
  } else {
    sequence_ += static_cast<char>(byte);
  }
}

void KeyDecoder::ss3(uint8_t byte) {
  if ((byte >= '0' && byte <= '9') || byte == ';') {
    if (sequence_.size() >= kMaxSequence) {
      reset();
      state_ = State::Skip;
    } else {
      sequence_ += static_cast<char>(byte);
    }
  } else if (byte >= 0x40 && byte <= 0x7E) {
    dispatchSs3(byte);
  } else {
    abandon(byte);
  }
}

void KeyDecoder::dispatchCsi(uint8_t final) {
  Params params = parseParams(sequence_);
  Mods pre = prefix_;
  reset();
  if (!params.valid) return;
  auto withPrefix = [&](Mods mods) {
    mods.alt = mods.alt || pre.alt;
    return mods;
  };
  auto fromParam = [&](int value) {
    int bits = value > 1 ? value - 1 : 0;
    // xterm's Meta (8) and the kitty Meta (32) count as Alt.
    return withPrefix(Mods{(bits & 1) != 0, (bits & 4) != 0, (bits & (2 | 8 | 32)) != 0});
  };

  if (params.prefix == '<') {
    if ((final == 'M' || final == 'm') && params.count >= 3) {
      mouse(params.get(0, 0), params.get(1, 1) - 1, params.get(2, 1) - 1, final == 'M');
    }
    return;
  }
  if (params.prefix != 0) return;  // answers to queries we never make
  if (params.count >= 2 && params.list[1].sub == 3) return;  // a key release (kitty)

  switch (final) {
    case '~': {
      int number = params.get(0, -1);
      if (number == 27 && params.count >= 3) {
        character(params.get(2, -1), fromParam(params.get(1, 1)));  // modifyOtherKeys
        return;
      }
      if (number == 200) {
        state_ = State::Paste;
        pasted_.clear();
        pasteEndMatched_ = 0;
        return;
      }
      std::optional<TildeKey> key = tildeKey(number);
      if (!key) return;
      Mods mods = fromParam(params.get(1, 1));
      mods.shift = mods.shift || key->shift;
      special(key->key, mods);
      return;
    }
    case '$':
    case '^':
    case '@': {
      // rxvt: '$' Shift, '^' Ctrl, '@' Ctrl+Shift.
      std::optional<TildeKey> key = tildeKey(params.get(0, -1));
      if (!key || params.count > 1) return;
      special(key->key, withPrefix(Mods{final != '^' || key->shift, final != '$', false}));
      return;
    }
    case 'u': {
      character(params.get(0, -1), fromParam(params.get(1, 1)));
      return;
    }
    case 'Z': {
      Mods mods = fromParam(params.get(1, 1));
      mods.shift = true;
      character(9, mods);
      return;
    }
    case 'a': case 'b': case 'c': case 'd': {
      // rxvt Shift+arrows.
      static constexpr int kArrows[] = {Up, Down, Right, Left};
      if (params.count == 0) special(kArrows[final - 'a'], withPrefix(Mods{true, false, false}));
      return;
    }
    default: {
      std::optional<int> key = letterKey(final);
      if (!key) return;
      // "1;5C" carries the modifiers second; some terminals send "5C".
      int mods = params.count >= 2 ? params.get(1, 1) : params.get(0, 1);
      special(*key, fromParam(mods));
      return;
    }
  }
}

void KeyDecoder::dispatchSs3(uint8_t final) {
  Params params = parseParams(sequence_);
  Mods pre = prefix_;
  reset();
  if (!params.valid) return;
  int value = params.count >= 2 ? params.get(1, 1) : params.get(0, 1);
  int bits = value > 1 ? value - 1 : 0;
  Mods mods{(bits & 1) != 0, (bits & 4) != 0, (bits & (2 | 8 | 32)) != 0 || pre.alt};

  if (std::optional<int> key = letterKey(final)) {
    special(*key, mods);
  } else if (final >= 'a' && final <= 'd') {
    // rxvt Ctrl+arrows.
    static constexpr int kArrows[] = {Up, Down, Right, Left};
    mods.ctrl = true;
    special(kArrows[final - 'a'], mods);
  } else if (final == 'M') {
    character(13, mods);  // keypad Enter in application mode
  } else if (final >= 'j' && final <= 'y') {
    static constexpr std::string_view kKeypad = "*+,-./0123456789";
    character(kKeypad[final - 'j'], mods);
  } else if (final == 'X') {
    character('=', mods);
  }
}

void KeyDecoder::mouse(int button, int column, int row, bool press) {
  if (!press || (button & 32)) return;  // releases and drags are not keys
  Mods mods{(button & 4) != 0, (button & 16) != 0, (button & 8) != 0};
  std::string bytes;
  if (button & 64) {
    switch (button & 3) {
      case 0: bytes = {'\0', static_cast<char>(72)}; break;  // wheel away from the user
      case 1: bytes = {'\0', static_cast<char>(80)}; break;
      default: return;  // sideways
    }
  } else {
    switch (button & 3) {
      case 0: bytes = "\r"; break;
      case 1: bytes = {'\0', static_cast<char>(67)}; break;
      case 2: bytes = "\x1b"; break;
      default: return;
    }
  }
  KeyEvent event;
  event.kind = KeyEvent::Kind::Mouse;
  event.bytes = bytes;
  event.shift = mods.shift;
  event.ctrl = mods.ctrl;
  event.alt = mods.alt;
  event.column = column < 0 ? 0 : column;
  event.row = row < 0 ? 0 : row;
  events_.push_back(std::move(event));
}

void KeyDecoder::paste(uint8_t byte) {
  if (byte == static_cast<uint8_t>(kPasteEnd[pasteEndMatched_])) {
    if (++pasteEndMatched_ == kPasteEnd.size()) {
      finishPaste();
      reset();
    }
    return;
  }
  if (pasteEndMatched_ > 0) {
    // Only the first byte of the end marker is ESC, so a failed match
    // restarts at most at this byte.
    if (pasted_.size() < kMaxPasteBytes) pasted_ += kPasteEnd.substr(0, pasteEndMatched_);
    pasteEndMatched_ = 0;
    if (byte == 0x1b) {
      pasteEndMatched_ = 1;
      return;
    }
  }
  if (pasted_.size() < kMaxPasteBytes) pasted_ += static_cast<char>(byte);
}

void KeyDecoder::finishPaste() {
  std::string text = utf8ToCp1252(pasted_);
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      lines += c;
    }
  }
  pasted_.clear();
  pasteEndMatched_ = 0;
  KeyEvent event;
  event.kind = KeyEvent::Kind::Paste;
  event.bytes = {'\0', static_cast<char>(254)};  // Shift+Insert
  event.shift = true;
  event.text = std::move(lines);
  events_.push_back(std::move(event));
}

void KeyDecoder::utf8(uint8_t byte) {
  if ((byte & 0xC0) != 0x80) {
    flushUtf8();
    abandon(byte);
    return;
  }
  sequence_ += static_cast<char>(byte);
  if (sequence_.size() < utf8Needed_) return;
  char32_t code = 0;
  size_t used = decodeUtf8(sequence_, 0, code);
  if (used != sequence_.size()) {
    flushUtf8();
    reset();
    return;
  }
  Mods mods = prefix_;
  reset();
  if (code >= 0x80 && code < 0xA0) {
    metaControl(static_cast<uint8_t>(code - 0x80), mods);
  } else {
    character(static_cast<int32_t>(code), mods);
  }
}

// Bytes that are not UTF-8 are taken as Windows-1252 as they are.
void KeyDecoder::flushUtf8() {
  Mods mods = prefix_;
  std::string bytes = sequence_;
  reset();
  for (char c : bytes) {
    auto byte = static_cast<uint8_t>(c);
    if (mods.alt && !mods.ctrl) continue;
    emitKey(byte, Mods{isUpperCp1252(byte), false, false});
  }
}

void KeyDecoder::controlOrText(uint8_t byte, Mods mods) {
  if (byte >= 0xC2 && byte <= 0xF4) {
    state_ = State::Utf8;
    prefix_ = mods;
    sequence_.assign(1, static_cast<char>(byte));
    utf8Needed_ = byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    return;
  }
  if (byte >= 0x80 && byte < 0xA0) {
    // Eight-bit meta: the high bit on a control character.
    metaControl(static_cast<uint8_t>(byte - 0x80), mods);
    return;
  }
  if (byte >= 0x80) {
    character(cp1252ToCodePoint(byte), mods);
    return;
  }
  switch (byte) {
    case 0x00: mods.ctrl = true; character(' ', mods); return;  // Ctrl+Space: never a 0 byte
    case 0x08: mods.ctrl = true; character(127, mods); return;  // Ctrl+Backspace
    case 0x09: character(9, mods); return;
    case 0x0a: mods.ctrl = true; character(13, mods); return;   // Ctrl+J for Ctrl+Enter
    case 0x0d: character(13, mods); return;
    case 0x1b: character(27, mods); return;
    case 0x7f: character(127, mods); return;                    // Backspace
    default: break;
  }
  if (byte < 0x20) {
    mods.ctrl = true;
    character(byte < 0x1b ? 'a' + byte - 1 : byte + 0x40, mods);
    return;
  }
  character(byte, mods);
}

void KeyDecoder::metaControl(uint8_t control, Mods mods) {
  mods.alt = true;
  controlOrText(control, mods);
}

// A key that produces a character (or Enter, Tab, Esc, Backspace), by its
// code point as CSI-u names it.
void KeyDecoder::character(int32_t code, Mods mods) {
  if (code < 0 || code > 0x10FFFF) return;
  if (mods.alt && !mods.ctrl) return;  // Alt alone belongs to the system
  switch (code) {
    case 13: emitKey(mods.ctrl ? 10 : 13, mods); return;
    case 8:
    case 127: emitKey(mods.ctrl ? 127 : 8, mods); return;
    case 9:
    case 27: emitKey(static_cast<uint8_t>(code), mods); return;
    default: break;
  }
  bool letter = (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z');
  if (letter) {
    int lower = code | 0x20;
    if (mods.ctrl && mods.alt) {
      emitExtended(kAltLetterCodes[lower - 'a'], mods);
    } else if (mods.ctrl) {
      emitKey(static_cast<uint8_t>(lower & 0x1F), mods);
    } else {
      if (mods.shift) code = lower - 0x20;
      emitKey(static_cast<uint8_t>(code), mods);
    }
    return;
  }
  if (code >= '0' && code <= '9' && mods.ctrl && mods.alt) {
    emitExtended(static_cast<uint8_t>(code == '0' ? 129 : 120 + (code - '1')), mods);
    return;
  }
  if (mods.ctrl && code >= '[' && code <= '_') {
    emitKey(static_cast<uint8_t>(code & 0x1F), mods);
    return;
  }
  if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0)) return;
  int byte = codePointToCp1252(static_cast<char32_t>(code));
  emitKey(static_cast<uint8_t>(byte < 0 ? '?' : byte), mods);
}

void KeyDecoder::special(int key, Mods mods) {
  if (mods.alt && !mods.ctrl) {
    if (key == Left || key == Right) emitExtended(kSpecialCodes[key].plain, mods);
    return;
  }
  if (key == F9 && mods.ctrl && mods.shift) {
    // Ctrl+Alt+F function keys never reach a terminal; Ctrl+Shift+F9 stands in.
    mods.shift = false;
    mods.alt = true;
  }
  if (key == F10 && !mods.ctrl) return;
  const SpecialCodes& codes = kSpecialCodes[key];
  uint8_t code = mods.ctrl ? codes.ctrl : codes.ctrl == 255 && mods.shift ? 254 : codes.plain;
  emitExtended(code, mods);
}

void KeyDecoder::emitKey(uint8_t byte, Mods mods) {
  KeyEvent event;
  event.bytes.assign(1, static_cast<char>(byte));
  // Without the terminal's word, a capital letter means Shift was down.
  event.shift = mods.shift || (!mods.ctrl && isUpperCp1252(byte));
  event.ctrl = mods.ctrl;
  event.alt = mods.alt;
  events_.push_back(std::move(event));
}

void KeyDecoder::emitExtended(uint8_t code, Mods mods) {
  KeyEvent event;
  event.bytes = {'\0', static_cast<char>(code)};
  event.shift = mods.shift;
  event.ctrl = mods.ctrl;
  event.alt = mods.alt;
  events_.push_back(std::move(event));
}

}  // namespace tamiral
