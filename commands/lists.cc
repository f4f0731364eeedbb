#include "commands/lists.h"

#include <optional>
#include <string>

#include "console/talking_console.h"
#include "engine/cp1252.h"
#include "engine/lists.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

bool create(Runtime& rt, const std::string& name, std::string_view rest) {
  if (!rest.empty()) return false;
  if (rt.lists.find(name)) {
    rt.console.writeLineAndSpeak("A lista especificada já existe"_cp);
    return false;
  }
  if (!rt.lists.create(name)) {
    rt.console.writeLineAndSpeak("Muitas listas no programa (máximo 20)"_cp);
    return false;
  }
  return true;
}

bool erase(Runtime& rt, const std::string& name, std::string_view rest) {
  return rest.empty() && rt.lists.remove(name);
}

bool size(Runtime& rt, NamedList& list, std::string_view rest) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, rest);
  if (!slot) return false;
  rt.vars.set(*slot, decimal(static_cast<int64_t>(list.items.size())));
  return true;
}

bool item(Runtime& rt, NamedList& list, std::string_view rest) {
  std::optional<std::string> indexText = takeValue(rt.vars, rest);
  std::optional<int32_t> index = indexText ? toInt(*indexText) : std::nullopt;
  std::optional<VarSlot> slot = index ? takeVariable(rt.vars, rest) : std::nullopt;
  if (!slot || *index < 0 || static_cast<size_t>(*index) >= list.items.size()) return false;
  rt.vars.set(*slot, list.items[static_cast<size_t>(*index)]);
  return true;
}

bool add(Runtime& rt, NamedList& list, std::string_view rest) {
  std::optional<std::string> value = takeValue(rt.vars, rest);
  if (!value) return false;
  list.items.push_back(std::move(*value));
  return true;
}

// Removes the first item equal to the value, letter case ignored.
bool remove(Runtime& rt, NamedList& list, std::string_view rest) {
  std::optional<std::string> value = takeValue(rt.vars, rest);
  if (!value) return false;
  std::string wanted = upperPt(*value);
  for (auto it = list.items.begin(); it != list.items.end(); ++it) {
    if (upperPt(*it) == wanted) {
      list.items.erase(it);
      return true;
    }
  }
  return false;
}

struct ListOperation {
  std::string_view word;
  bool (*run)(Runtime& rt, NamedList& list, std::string_view rest);
};

constexpr ListOperation kOperations[] = {
    {"TAMANHO", size}, {"ITEM", item}, {"ADICIONA", add}, {"DELETA", remove}};

}  // namespace

bool cmdLista(Runtime& rt, std::string_view args) {
  std::optional<std::string> name = takeListName(args);
  if (!name) return false;
  args = trimBlanks(args);
  // Each word is compared over its own length: "CRIAR" is CRIA followed by R.
  if (startsWithKeyword(args, "CRIA")) return create(rt, *name, trimBlanks(args.substr(4)));
  if (startsWithKeyword(args, "APAGA")) return erase(rt, *name, trimBlanks(args.substr(5)));
  for (const ListOperation& operation : kOperations) {
    if (!startsWithKeyword(args, operation.word)) continue;
    NamedList* list = rt.lists.find(*name);
    return list && operation.run(rt, *list, args.substr(operation.word.size()));
  }
  return false;
}

}  // namespace tamiral
