#include "engine/readers.h"

#include <algorithm>

#include "engine/expressions.h"
#include "engine/text.h"

namespace tamiral {

namespace {

bool isNameChar(char c) { return isAsciiLetter(c) || isDigit(c) || c == '_'; }

// Reads the name after a '$' (already removed), folded by the ASCII rule.
std::optional<VarSlot> takeNamedVariable(VariableStore& vars, std::string_view& text) {
  size_t length = 0;
  while (length < text.size() && isNameChar(text[length])) ++length;
  if (length == 0) return std::nullopt;
  std::string name(text.substr(0, length));
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  text.remove_prefix(length);
  return vars.namedSlot(name);
}

std::string_view takeNumberLiteral(std::string_view& text) {
  size_t length = 1;
  while (length < text.size() && isDigit(text[length])) ++length;
  std::string_view literal = text.substr(0, length);
  text.remove_prefix(length);
  return literal;
}

// A quoted text; a doubled quote inside stands for one quote, and a text
// without its closing quote runs to the end.
std::string_view takeQuotedText(std::string_view& text, std::string& scratch) {
  size_t quote = text.find('"', 1);
  if (quote == std::string_view::npos) {
    std::string_view value = text.substr(1);
    text = {};
    return value;
  }
  if (quote + 1 >= text.size() || text[quote + 1] != '"') {
    std::string_view value = text.substr(1, quote - 1);
    text.remove_prefix(quote + 1);
    return value;
  }
  scratch.clear();
  size_t pos = 1;
  for (;;) {
    scratch.append(text.substr(pos, quote - pos));
    if (quote + 1 < text.size() && text[quote + 1] == '"') {
      scratch += '"';
      pos = quote + 2;
      quote = text.find('"', pos);
      if (quote != std::string_view::npos) continue;
      scratch.append(text.substr(std::min(pos, text.size())));
      text = {};
      return scratch;
    }
    text.remove_prefix(quote + 1);
    return scratch;
  }
}

std::optional<std::string_view> takeExpressionValue(VariableStore& vars, std::string_view& text,
                                                    std::string& scratch) {
  text.remove_prefix(1);
  std::optional<int64_t> result = evaluateExpression(vars, text);
  if (!result) return std::nullopt;
  text = trimLeadingBlanks(text);
  if (text.empty() || text.front() != ')') return std::nullopt;
  text.remove_prefix(1);
  scratch = decimal(*result);
  return scratch;
}

}  // namespace

std::optional<VarSlot> takeVariable(VariableStore& vars, std::string_view& text) {
  text = trimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::optional<VarSlot> slot;
  if (text.front() == '$') {
    text.remove_prefix(1);
    slot = takeNamedVariable(vars, text);
  } else if (isAsciiLetter(text.front())) {
    if (text.size() > 1 && (isAsciiLetter(text[1]) || isDigit(text[1]))) return std::nullopt;
    slot = VariableStore::letterSlot(text.front());
    text.remove_prefix(1);
  }
  if (slot) text = trimBlanks(text);
  return slot;
}

std::optional<std::string_view> takeValueView(VariableStore& vars, std::string_view& text, std::string& scratch) {
  text = trimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::optional<std::string_view> value;
  char first = text.front();
  if (first == '-' || isDigit(first)) {
    value = takeNumberLiteral(text);
  } else if (first == '"') {
    value = takeQuotedText(text, scratch);
  } else if (first == '$') {
    text.remove_prefix(1);
    if (auto slot = takeNamedVariable(vars, text)) value = vars.get(*slot);
  } else if (isAsciiLetter(first)) {
    value = vars.get(VariableStore::letterSlot(first));
    text.remove_prefix(1);
  } else if (first == '(') {
    value = takeExpressionValue(vars, text, scratch);
  }
  if (value) text = trimBlanks(text);
  return value;
}

std::optional<std::string> takeValue(VariableStore& vars, std::string_view& text) {
  std::string scratch;
  std::optional<std::string_view> value = takeValueView(vars, text, scratch);
  if (!value) return std::nullopt;
  return std::string(*value);
}

std::optional<int> takeHandle(std::string_view& text) {
  text = trimBlanks(text);
  if (text.size() < 2 || text[0] != '#' || !isDigit(text[1])) return std::nullopt;
  if (text.size() > 2 && text[2] != ' ') return std::nullopt;
  int handle = text[1] - '0';
  text.remove_prefix(2);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return handle;
}

bool takeTrailingMark(std::string_view& text) {
  if (text.empty() || text.back() != '&') return false;
  text = trimBlanks(text.substr(0, text.size() - 1));
  return true;
}

std::optional<std::string> takeListName(std::string_view& text) {
  text = trimBlanks(text);
  if (text.size() < 2 || text.front() != '[') return std::nullopt;
  // A ']' right after '[' belongs to the name.
  size_t close = text.find(']', 2);
  if (close == std::string_view::npos) return std::nullopt;
  std::string name(text.substr(1, close - 1));
  text.remove_prefix(close + 1);
  return name;
}

}  // namespace tamiral
