#include "commands/strings.h"

#include <algorithm>
#include <optional>

#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

std::optional<int32_t> takePosition(Runtime& rt, std::string_view& args) {
  std::optional<std::string> value = takeValue(rt.vars, args);
  return value ? toInt(trimBlanks(*value)) : std::nullopt;
}

}  // namespace

std::string copyRange(std::string_view text, int32_t from, int32_t to) {
  int64_t count = int64_t{to} - from + 1;
  int64_t start = std::max<int64_t>(from, 1);
  if (count <= 0 || start > static_cast<int64_t>(text.size())) return {};
  return std::string(text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count)));
}

std::string deleteRange(std::string_view text, int32_t from, int32_t count) {
  std::string result(text);
  if (from < 1 || static_cast<size_t>(from) > text.size() || count <= 0) return result;
  result.erase(static_cast<size_t>(from - 1), static_cast<size_t>(count));
  return result;
}

std::string replaceFromEnd(std::string_view text, std::string_view old, std::string_view replacement) {
  return *replaceFromEndWithin(text, old, replacement, SIZE_MAX);
}

std::optional<std::string> replaceFromEndWithin(std::string_view text, std::string_view old,
                                                std::string_view replacement, size_t limit) {
  if (old.empty()) {
    // The replacement goes before every character and at the end.
    if (text.size() > limit || (!replacement.empty() && (text.size() + 1) > (limit - text.size()) / replacement.size()))
      return std::nullopt;
    std::string result;
    result.reserve(text.size() + (text.size() + 1) * replacement.size());
    for (char c : text) {
      result += replacement;
      result += c;
    }
    result += replacement;
    return result;
  }
  if (old.size() > text.size()) return std::string(text);
  // The text from the scan position on, kept reversed so that what the scan
  // puts in front of it is appended at the buffer's end.
  const size_t length = old.size();
  size_t p = text.size() - length;
  std::string reversedTail(text.substr(p + 1));
  std::reverse(reversedTail.begin(), reversedTail.end());
  auto matchesAt = [&](size_t position) {
    if (text[position] != old[0] || reversedTail.size() < length - 1) return false;
    for (size_t k = 1; k < length; ++k) {
      if (reversedTail[reversedTail.size() - k] != old[k]) return false;
    }
    return true;
  };
  for (;;) {
    if (matchesAt(p)) {
      reversedTail.resize(reversedTail.size() - (length - 1));
      reversedTail.append(replacement.rbegin(), replacement.rend());
    } else {
      reversedTail += text[p];
    }
    if (reversedTail.size() > limit) return std::nullopt;
    if (p == 0) break;
    --p;
  }
  return std::string(reversedTail.rbegin(), reversedTail.rend());
}

bool cmdConcatena(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot) return false;
  std::optional<std::string> value = takeValue(rt.vars, args);
  if (!value || !args.empty()) return false;
  std::string& text = rt.vars.text(*slot);
  if (value->size() > kMaxTextLength - std::min(text.size(), kMaxTextLength)) return false;
  text += *value;
  return true;
}

bool cmdCopia(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> destination = takeVariable(rt.vars, args);
  std::optional<VarSlot> source = destination ? takeVariable(rt.vars, args) : std::nullopt;
  if (!source) return false;
  std::optional<int32_t> from = takePosition(rt, args);
  std::optional<int32_t> to = from ? takePosition(rt, args) : std::nullopt;
  if (!to) return false;
  rt.vars.set(*destination, copyRange(rt.vars.get(*source), *from, *to));
  return true;
}

bool cmdDeleta(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot) return false;
  std::optional<int32_t> from = takePosition(rt, args);
  std::optional<int32_t> count = from ? takePosition(rt, args) : std::nullopt;
  if (!count) return false;
  rt.vars.set(*slot, deleteRange(rt.vars.get(*slot), *from, *count));
  return true;
}

bool cmdSubstitui(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot) return false;
  std::optional<std::string> old = takeValue(rt.vars, args);
  std::optional<std::string> replacement = old ? takeValue(rt.vars, args) : std::nullopt;
  if (!replacement) return false;
  std::optional<std::string> replaced = replaceFromEndWithin(rt.vars.get(*slot), *old, *replacement, kMaxTextLength);
  if (!replaced) return false;
  rt.vars.set(*slot, std::move(*replaced));
  return true;
}

}  // namespace tamiral
