#include "console/window_commands.h"

#include <optional>
#include <string>

#include "console/talking_console.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr size_t kMaxTitle = 300;

// "@column,row" with blanks allowed around both numbers.
bool placeCursor(TalkingConsole& console, std::string_view position) {
  size_t comma = position.find(',');
  if (comma == std::string_view::npos) return false;
  std::optional<int32_t> column = toInt(trimBlanks(position.substr(0, comma)));
  std::optional<int32_t> row = toInt(trimBlanks(position.substr(comma + 1)));
  if (!column || !row) return false;
  console.gotoXY(*column, *row);
  return true;
}

std::optional<int32_t> takeNumber(Runtime& rt, std::string_view args) {
  std::optional<std::string> value = takeValue(rt.vars, args);
  if (!value) return std::nullopt;
  return toInt(*value);
}

}  // namespace

bool cmdTela(Runtime& rt, std::string_view args) {
  std::string argument = upperPt(args);
  // One letter names a letter variable whose value, as it is, is the argument.
  if (argument.size() == 1 && argument[0] >= 'A' && argument[0] <= 'Z')
    argument = rt.vars.text(VariableStore::letterSlot(argument[0]));
  TalkingConsole& console = rt.console;
  if (argument == "LIMPA") {
    console.clearScreen();
    return true;
  }
  if (argument == "MINIMIZADA") {
    console.hideWindow();
    return true;
  }
  if (argument == "NORMAL") {
    console.restoreWindow();
    return true;
  }
  if (argument.starts_with('@')) return placeCursor(console, std::string_view(argument).substr(1));
  return false;
}

bool cmdCor(Runtime& rt, std::string_view args) {
  std::optional<int32_t> colour = takeNumber(rt, args);
  if (!colour) return false;
  rt.console.setTextColor(*colour);
  return true;
}

bool cmdFundo(Runtime& rt, std::string_view args) {
  std::optional<int32_t> colour = takeNumber(rt, args);
  if (!colour) return false;
  rt.console.setTextBackground(*colour);
  return true;
}

bool cmdTitulo(Runtime& rt, std::string_view args) {
  if (args.empty()) return false;
  std::optional<std::string> title = takeValue(rt.vars, args);
  if (!title) return false;
  if (title->size() > kMaxTitle) title->resize(kMaxTitle);
  rt.console.setWindowTitle(*title);
  return true;
}

}  // namespace tamiral
