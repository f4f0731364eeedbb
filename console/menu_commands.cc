#include "console/menu_commands.h"

#include <optional>
#include <string>

#include "console/key_text.h"
#include "console/menus.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

std::optional<int> takeWholeNumber(Runtime& rt, std::string_view& args) {
  std::optional<std::string> value = takeValue(rt.vars, args);
  if (!value) return std::nullopt;
  return toInt(trimBlanks(*value));
}

bool menuCria(Runtime& rt, std::string_view args) {
  MenuBox box;
  for (int* side : {&box.left, &box.top, &box.right, &box.bottom}) {
    std::optional<int> number = takeWholeNumber(rt, args);
    if (!number) return false;
    *side = *number;
  }
  if (!args.empty()) return false;
  rt.menu.emplace();
  rt.menu->box = box;
  return true;
}

// Items belong to a menu that CRIA made: without one there is nowhere to
// put them, and the script's mistake stops it at this line.
bool menuAdiciona(Runtime& rt, std::string_view args) {
  std::optional<std::string> item = takeValue(rt.vars, args);
  if (!item || !args.empty() || !rt.menu) return false;
  rt.menu->add(std::move(*item));
  return true;
}

// Keys that only move or mark (Left, Right, Ctrl+F-keys, Ctrl+arrows) start
// the list again at its start item; F1..F12 and ordinary keys go back to the
// script.
bool menuExecuta(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> number = takeVariable(rt.vars, args);
  std::optional<VarSlot> key = number ? takeVariable(rt.vars, args) : std::nullopt;
  std::optional<VarSlot> text = key ? takeVariable(rt.vars, args) : std::nullopt;
  if (!text || !args.empty() || !rt.menu) return false;
  Menu& menu = *rt.menu;
  MenuChoice choice;
  do {
    if (std::optional<int32_t> start = toInt(trimBlanks(rt.vars.get(*number)))) menu.defaultStart = *start;
    choice = runMenu(rt.console, menu, std::max(menu.defaultStart, 1));
  } while (choice.key.byte == 0 && !(choice.key.code >= 59 && choice.key.code <= 70));
  int64_t index = choice.number - 1;
  bool inside = index >= 0 && index < static_cast<int64_t>(menu.items.size());
  rt.vars.set(*number, decimal(choice.number));
  rt.vars.set(*key, keyText(choice.key));
  rt.vars.set(*text, inside ? menu.items[index] : std::string());
  return true;
}

bool menuTermina(Runtime& rt, std::string_view args) {
  if (!args.empty()) return false;
  if (rt.menu) blankMenuBox(rt.console, rt.menu->box);
  rt.menu.reset();
  return true;
}

struct MenuForm {
  std::string_view word;
  bool (*handler)(Runtime&, std::string_view);
};

constexpr MenuForm kForms[] = {
    {"CRIA", menuCria},
    {"ADICIONA", menuAdiciona},
    {"EXECUTA", menuExecuta},
    {"TERMINA", menuTermina},
};

}  // namespace

bool cmdMenu(Runtime& rt, std::string_view args) {
  args = trimBlanks(args);
  size_t wordEnd = 0;
  while (wordEnd < args.size() && !isBlank(args[wordEnd])) ++wordEnd;
  std::string word = upperPt(args.substr(0, wordEnd));
  for (const MenuForm& form : kForms) {
    if (word == form.word) return form.handler(rt, trimBlanks(args.substr(wordEnd)));
  }
  return false;
}

}  // namespace tamiral
