#include "commands/arithmetic.h"

#include <charconv>
#include <limits>
#include <optional>

#include "console/talking_console.h"
#include "engine/cp1252.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

int32_t wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

std::optional<int32_t> takeNumber(Runtime& rt, std::string_view& args) {
  std::string scratch;
  std::optional<std::string_view> value = takeValueView(rt.vars, args, scratch);
  return value ? toInt(*value) : std::nullopt;
}

// SUBTRAI, MULTIPLICA and DIVIDE: v must hold a number; text left after the
// value fails the command after v has changed.
bool operate(Runtime& rt, std::string_view args, char op) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot || args.empty()) return false;
  std::optional<int32_t> current = toInt(rt.vars.get(*slot));
  if (!current) return false;
  std::optional<int32_t> operand = takeNumber(rt, args);
  if (!operand) return false;
  int64_t result = 0;
  if (op == '-') {
    result = int64_t{*current} - *operand;
  } else if (op == '*') {
    result = int64_t{*current} * *operand;
  } else if (*operand == 0) {
    rt.console.writeLineAndSpeak("Divisão por zero"_cp);
    return false;
  } else {
    result = int64_t{*current} / *operand;  // -2147483648 / -1 wraps back to itself
  }
  rt.vars.set(*slot, decimal(wrap(result)));
  return args.empty();
}

}  // namespace

bool addToTrailingNumber(std::string& text, int32_t amount) {
  size_t tailStart = text.size();
  while (tailStart > 0 && isDigit(text[tailStart - 1])) --tailStart;
  if (tailStart > 0 && text[tailStart - 1] == '-') --tailStart;
  std::string_view tailText = std::string_view(text).substr(tailStart);
  std::optional<int32_t> tail = toInt(tailText);
  if (!tail && tailText.find_first_of("0123456789") != std::string_view::npos) return false;
  char digits[16];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, wrap(int64_t{tail.value_or(0)} + amount));
  (void)error;  // 16 characters hold every 32-bit value
  size_t length = static_cast<size_t>(end - digits);
  if (length == tailText.size()) {
    text.replace(tailStart, length, digits, length);  // same length: no reallocation, no move
  } else {
    text.resize(tailStart);
    text.append(digits, length);
  }
  return true;
}

bool cmdSoma(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot || args.empty()) return false;
  std::optional<int32_t> amount = takeNumber(rt, args);
  if (!amount) return false;
  return addToTrailingNumber(rt.vars.text(*slot), *amount);
}

bool cmdSubtrai(Runtime& rt, std::string_view args) { return operate(rt, args, '-'); }
bool cmdMultiplica(Runtime& rt, std::string_view args) { return operate(rt, args, '*'); }
bool cmdDivide(Runtime& rt, std::string_view args) { return operate(rt, args, '/'); }

}  // namespace tamiral
