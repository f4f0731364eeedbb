#include "commands/strings.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

std::optional<int32_t> takePosition(Runtime& rt, std::string_view& args) {
  std::optional<std::string> value = takeValue(rt.vars, args);
  return value ? toInt(trimBlanks(*value)) : std::nullopt;
}

constexpr size_t kDirectCompareLength = 16;

// Hashes of every prefix of the reversed tail (modulo the prime 2^61 - 1), so
// the hash of its last k characters is one subtraction away. k is fixed: the
// search text's length less one, compared in the tail's reversed order.
class SuffixHashes {
 public:
  SuffixHashes(std::string_view old, std::string_view reversedTail) {
    size_t k = old.size() - 1;
    power_ = 1;
    for (size_t i = 0; i < k; ++i) power_ = multiply(power_, kBase);
    for (size_t i = old.size() - 1; i >= 1; --i) wanted_ = add(multiply(wanted_, kBase), code(old[i]));
    window_ = k;
    prefix_.reserve(reversedTail.size() + 1);
    prefix_.push_back(0);
    for (char c : reversedTail) push(c);
  }
  void push(char c) { prefix_.push_back(add(multiply(prefix_.back(), kBase), code(c))); }
  void replaceLast(size_t removed, std::string_view replacement) {
    prefix_.resize(prefix_.size() - removed);
    for (auto it = replacement.rbegin(); it != replacement.rend(); ++it) push(*it);
  }
  // Whether the last `window` characters may equal the wanted ones.
  bool lastMatch() const {
    size_t m = prefix_.size() - 1;
    if (m < window_) return false;
    uint64_t last = (prefix_[m] + kPrime - multiply(prefix_[m - window_], power_)) % kPrime;
    return last == wanted_;
  }

 private:
  static constexpr uint64_t kPrime = (uint64_t{1} << 61) - 1;
  static constexpr uint64_t kBase = 1000003;
  static uint64_t code(char c) { return static_cast<unsigned char>(c) + 1u; }
  static uint64_t add(uint64_t a, uint64_t b) { return (a + b) % kPrime; }
  static uint64_t multiply(uint64_t a, uint64_t b) {
    unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return static_cast<uint64_t>(product % kPrime);
  }

  std::vector<uint64_t> prefix_;
  uint64_t power_ = 1;
  uint64_t wanted_ = 0;
  size_t window_ = 0;
};

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
  // Long search texts are first compared by hash, so a text of n characters
  // costs about n steps rather than n times the search text's length.
  std::optional<SuffixHashes> hashes;
  if (length > kDirectCompareLength) hashes.emplace(old, reversedTail);
  auto matchesAt = [&](size_t position) {
    if (text[position] != old[0] || reversedTail.size() < length - 1) return false;
    if (hashes && !hashes->lastMatch()) return false;
    for (size_t k = 1; k < length; ++k) {
      if (reversedTail[reversedTail.size() - k] != old[k]) return false;
    }
    return true;
  };
  for (;;) {
    if (matchesAt(p)) {
      reversedTail.resize(reversedTail.size() - (length - 1));
      reversedTail.append(replacement.rbegin(), replacement.rend());
      if (hashes) hashes->replaceLast(length - 1, replacement);
    } else {
      reversedTail += text[p];
      if (hashes) hashes->push(text[p]);
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
