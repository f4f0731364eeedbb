#include "console/screen_commands.h"

#include <optional>
#include <string>

#include "commands/text_files.h"
#include "console/key_text.h"
#include "console/talking_console.h"
#include "engine/command_table.h"
#include "engine/cp1252.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

// Values one after another, joined, for as long as one can be read; nullopt
// when the text would outgrow kMaxTextLength (a short line can name a long
// variable many times).
std::optional<std::string> takeJoinedValues(Runtime& rt, std::string_view& args) {
  std::string joined;
  for (;;) {
    std::string_view attempt = args;
    std::optional<std::string> value = takeValue(rt.vars, attempt);
    if (!value) break;
    if (value->size() > kMaxTextLength - joined.size()) return std::nullopt;
    joined += *value;
    args = attempt;
  }
  return joined;
}

}  // namespace

bool cmdEscreve(Runtime& rt, std::string_view args) {
  rt.run.ioStatus = 0;
  bool lineEnd = !takeTrailingMark(args);
  if (!args.empty() && args.front() == '#') return escreveToHandle(rt, args, lineEnd);
  bool mute = startsWithKeyword(args, "MUDO");
  if (mute) args.remove_prefix(4);
  args = trimBlanks(args);
  TalkingConsole& console = rt.console;
  if (args.empty()) {
    console.writeLine("");
    return true;
  }
  std::optional<std::string> text = takeJoinedValues(rt, args);
  if (!text) return false;
  if (lineEnd)
    console.writeLine(*text);
  else
    console.writeText(*text);
  if (!mute) console.speak(*text);
  if (!args.empty()) return false;
  console.waitWhileSpeaking();  // every ESCREVE is heard to its end or cut by a key
  return true;
}

namespace {

// The standard input's buffer: a console line holds 126 characters.
constexpr int kConsoleLineCapacity = 128;
constexpr int kOfferedFieldLength = 1024;
constexpr uint8_t kEsc = 27;

enum class LineForm { kEdited, kEditOffered, kMute, kPassword };

// Removes the keyword (given folded) when the text starts with it.
bool takeKeyword(std::string_view& text, std::string_view keyword) {
  if (!startsWithKeyword(text, keyword)) return false;
  text.remove_prefix(keyword.size());
  return true;
}

// "TECLA " anywhere asks for one key with the modifier prefix.
bool takeTeclaWord(std::string& text) {
  size_t at = upperPt(text).find("TECLA ");
  if (at == std::string::npos) return false;
  text.erase(at, 6);
  text = trimBlanks(text);
  if (!text.ends_with('&')) text += '&';
  return true;
}

// The whole key is taken, an extended key's code too, so it cannot reach the
// next reader as a character of its own.
std::string readKeyText(TalkingConsole& console, bool echo, bool withModifiers) {
  KeyPress key = readKeyPress(console, echo);
  return withModifiers ? keyTextWithModifiers(key) : keyText(key);
}

std::string readLine(TalkingConsole& console, LineForm form, const std::string& offered) {
  uint8_t attr = console.textAttr();
  if (form == LineForm::kPassword) console.setTextAttr(0);  // typed in black on black
  std::string text;
  switch (form) {
    case LineForm::kEdited: text = console.readEditedLine(); break;
    case LineForm::kMute:
    case LineForm::kPassword: text = console.readConsoleLine(kConsoleLineCapacity); break;
    case LineForm::kEditOffered: {
      text = offered;
      int x = console.whereX();
      if (console.editField(text, x, console.whereY(), 79 - x, kOfferedFieldLength) == kEsc) text.clear();
      break;
    }
  }
  console.setTextAttr(attr);
  return text;
}

// The pointer from the console's corner, in pixels; 0 0 before any report.
// "TELA" asks for it from the screen's corner, which in a terminal is the same.
bool leMouse(Runtime& rt, std::string_view args) {
  args = trimBlanks(args);
  if (startsWithKeyword(args, "TELA")) args = trimBlanks(args.substr(4));
  std::optional<VarSlot> x = takeVariable(rt.vars, args);
  std::optional<VarSlot> y = x ? takeVariable(rt.vars, args) : std::nullopt;
  if (!y || !trimBlanks(args).empty()) return false;
  TalkingConsole::PointerPosition position = rt.console.pointerPosition().value_or(TalkingConsole::PointerPosition{});
  rt.vars.set(*x, decimal(position.x));
  rt.vars.set(*y, decimal(position.y));
  return true;
}

}  // namespace

bool cmdLe(Runtime& rt, std::string_view args) {
  rt.run.ioStatus = 0;
  if (!args.empty() && args.front() == '#') return leFromHandle(rt, args);
  TalkingConsole& console = rt.console;
  args = trimBlanks(args);
  if (args.empty()) {
    console.readConsoleLine(kConsoleLineCapacity);
    return true;
  }
  if (startsWithKeyword(args, "MOUSE ")) return leMouse(rt, args.substr(5));
  if (startsWithKeyword(args, "RATO ")) return leMouse(rt, args.substr(4));
  std::string text(args);
  bool withModifiers = takeTeclaWord(text);
  std::string_view rest = text;
  bool singleKey = takeTrailingMark(rest);
  rest = trimBlanks(rest);
  if (singleKey && rest.empty()) {
    readKeyPress(console, false);
    return true;
  }
  LineForm form = LineForm::kEdited;
  if (takeKeyword(rest, "EDITA")) {
    form = LineForm::kEditOffered;
  } else if (startsWithKeyword(rest, "CONSOLE ")) {
    return notAvailableYet(rt, rest);
  } else if (takeKeyword(rest, "MUDO")) {
    form = LineForm::kMute;
  } else if (takeKeyword(rest, "SENHA")) {
    form = LineForm::kPassword;
  }
  rest = trimBlanks(rest);
  std::optional<VarSlot> slot = takeVariable(rt.vars, rest);
  if (!slot) return false;
  bool silent = form == LineForm::kMute || form == LineForm::kPassword;
  rt.vars.set(*slot, singleKey ? readKeyText(console, !silent, withModifiers)
                               : readLine(console, form, rt.vars.get(*slot)));
  return true;
}

bool cmdDebug(Runtime& rt, std::string_view args) {
  rt.run.debugTrace = !(args == "-" || (!args.empty() && args.front() == 'N'));
  rt.console.writeLineAndSpeak(rt.run.debugTrace ? "Debug ligado" : "Debug desligado");
  return true;
}

}  // namespace tamiral
