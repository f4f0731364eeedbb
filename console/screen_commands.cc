#include "console/screen_commands.h"

#include <optional>
#include <string>

#include "commands/text_files.h"
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

// Only the handle form exists so far; the console forms come with the line
// editor.
bool cmdLe(Runtime& rt, std::string_view args) {
  rt.run.ioStatus = 0;
  if (!args.empty() && args.front() == '#') return leFromHandle(rt, args);
  return notAvailableYet(rt, args);
}

bool cmdDebug(Runtime& rt, std::string_view args) {
  rt.run.debugTrace = !(args == "-" || (!args.empty() && args.front() == 'N'));
  rt.console.writeLineAndSpeak(rt.run.debugTrace ? "Debug ligado" : "Debug desligado");
  return true;
}

}  // namespace tamiral
