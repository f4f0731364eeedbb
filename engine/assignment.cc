#include "engine/assignment.h"

#include <optional>
#include <string>

#include "engine/builtins.h"
#include "engine/readers.h"
#include "engine/text.h"
#include "platform/clock.h"

namespace tamiral {

namespace {

struct BuiltinValue {
  std::string_view word;
  std::string (*value)(Runtime& rt);
};

const BuiltinValue kBuiltinValues[] = {
    {"PARAMS", [](Runtime& rt) { return paramsText(rt.params); }},
    {"DATA", [](Runtime& rt) { return dateText(rt.clock.localNow()); }},
    {"CRLF", [](Runtime&) { return std::string("\r\n"); }},
    {"HORA", [](Runtime& rt) { return timeText(rt.clock.localNow()); }},
    {"DIA", [](Runtime& rt) { return std::string(weekdayName(rt.clock.localNow().weekday)); }},
    {"TEMPO", [](Runtime& rt) { return decimal(hundredthsSince(rt.timeReference, rt.clock.localNow())); }},
};

// A function reads its own arguments; nullopt when they cannot be read.
struct BuiltinFunction {
  std::string_view keyword;  // with the space that must follow it
  std::optional<std::string> (*call)(Runtime& rt, std::string_view& args);
};

std::optional<std::string> takeValues(Runtime& rt, std::string_view& args, std::string* second = nullptr) {
  std::optional<std::string> first = takeValue(rt.vars, args);
  if (!first || !second) return first;
  std::optional<std::string> next = takeValue(rt.vars, args);
  if (!next) return std::nullopt;
  *second = std::move(*next);
  return first;
}

const BuiltinFunction kBuiltinFunctions[] = {
    {"TAMANHO ",
     [](Runtime& rt, std::string_view& args) -> std::optional<std::string> {
       auto t = takeValues(rt, args);
       if (!t) return std::nullopt;
       return decimal(static_cast<int64_t>(t->size()));
     }},
    {"MAIUSC ",
     [](Runtime& rt, std::string_view& args) -> std::optional<std::string> {
       auto t = takeValues(rt, args);
       if (!t) return std::nullopt;
       return upperPt(*t);
     }},
    {"TRIM ",
     [](Runtime& rt, std::string_view& args) -> std::optional<std::string> {
       auto t = takeValues(rt, args);
       if (!t) return std::nullopt;
       return std::string(trimBlanks(*t));
     }},
    {"POS ",
     [](Runtime& rt, std::string_view& args) -> std::optional<std::string> {
       std::string haystack;
       auto needle = takeValues(rt, args, &haystack);
       if (!needle) return std::nullopt;
       return decimal(positionOf(*needle, haystack));
     }},
    {"RAND ",
     [](Runtime& rt, std::string_view& args) -> std::optional<std::string> {
       auto t = takeValues(rt, args);
       std::optional<int32_t> bound = t ? toInt(*t) : std::nullopt;
       if (!bound) return std::nullopt;
       return decimal(drawRandom(rt.randomSeed, *bound));
     }},
    {"PALAVRA ",
     [](Runtime& rt, std::string_view& args) -> std::optional<std::string> {
       std::string text;
       auto n = takeValues(rt, args, &text);
       std::optional<int32_t> index = n ? toInt(*n) : std::nullopt;
       if (!index || *index < 1) return std::nullopt;
       return wordAt(*index, text);
     }},
    {"CHR ",
     [](Runtime& rt, std::string_view& args) -> std::optional<std::string> {
       auto k = takeValues(rt, args);
       if (!k) return std::nullopt;
       return characterOfKeyText(*k);
     }},
    {"ASC ",
     [](Runtime& rt, std::string_view& args) -> std::optional<std::string> {
       auto c = takeValues(rt, args);
       if (!c) return std::nullopt;
       return keyTextOfCharacter(*c);
     }},
};

std::optional<std::string> builtinValue(Runtime& rt, std::string_view text) {
  for (const BuiltinValue& builtin : kBuiltinValues) {
    if (equalsKeyword(text, builtin.word)) return builtin.value(rt);
  }
  return std::nullopt;
}

const BuiltinFunction* builtinFunction(std::string_view text) {
  for (const BuiltinFunction& function : kBuiltinFunctions) {
    if (startsWithKeyword(text, function.keyword)) return &function;
  }
  return nullptr;
}

}  // namespace

bool cmdSeja(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot) return false;
  if (!args.empty() && args.front() == '=') args = trimBlanks(args.substr(1));
  if (args.empty()) return false;

  if (std::optional<std::string> value = builtinValue(rt, args)) {
    rt.vars.set(*slot, std::move(*value));
    return true;
  }
  if (const BuiltinFunction* function = builtinFunction(args)) {
    args.remove_prefix(function->keyword.size());
    std::optional<std::string> result = function->call(rt, args);
    if (!result || !args.empty()) return false;
    rt.vars.set(*slot, std::move(*result));
    return true;
  }
  std::optional<std::string> value = takeValue(rt.vars, args);
  if (!value) return false;
  rt.vars.set(*slot, std::move(*value));
  return args.empty();
}

bool cmdRandomiza(Runtime& rt, std::string_view args) {
  if (!args.empty()) return false;
  rt.randomSeed = seedFromTimeOfDay(rt.clock.utcNow());
  return true;
}

}  // namespace tamiral
