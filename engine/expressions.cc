#include "engine/expressions.h"

#include <limits>

#include "engine/text.h"

namespace tamiral {

namespace {

// Operands that cannot be read after an operator are either a hard error or
// simply absent, in which case the operator is dropped.
enum class Operand { kRead, kAbsent, kError };

uint64_t bits(int64_t v) { return static_cast<uint64_t>(v); }
int64_t wrapped(uint64_t v) { return static_cast<int64_t>(v); }

class Evaluator {
 public:
  Evaluator(VariableStore& vars, std::string_view& text) : vars_(vars), text_(text) {}

  std::optional<int64_t> expression() {
    if (++depth_ > kMaxExpressionDepth) return std::nullopt;
    int64_t value = 0;
    if (term(value) != Operand::kRead) return std::nullopt;
    for (char op = peek(); isAdditive(op); op = peek()) {
      text_.remove_prefix(1);
      int64_t right = 0;
      Operand read = term(right);
      if (read == Operand::kError) return std::nullopt;
      if (read == Operand::kAbsent) {
        if (isAdditive(peek())) return std::nullopt;
        text_ = skipSpaces(text_);
        break;
      }
      value = op == '+' ? wrapped(bits(value) + bits(right)) : wrapped(bits(value) - bits(right));
    }
    --depth_;
    return value;
  }

 private:
  static bool isAdditive(char c) { return c == '+' || c == '-'; }
  static bool isMultiplicative(char c) { return c == '*' || c == '/'; }
  static std::string_view skipSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
  }

  char peek() {
    text_ = skipSpaces(text_);
    return text_.empty() ? '\0' : text_.front();
  }

  Operand term(int64_t& value) {
    Operand first = factor(value);
    if (first != Operand::kRead) return first;
    for (char op = peek(); isMultiplicative(op); op = peek()) {
      text_.remove_prefix(1);
      int64_t right = 0;
      Operand read = factor(right);
      if (read == Operand::kError) return read;
      if (read == Operand::kAbsent) {
        if (isMultiplicative(peek())) return Operand::kError;
        return Operand::kRead;  // the operator is dropped
      }
      if (op == '*') {
        value = wrapped(bits(value) * bits(right));
      } else if (right == 0) {
        return Operand::kError;
      } else if (value == std::numeric_limits<int64_t>::min() && right == -1) {
        value = std::numeric_limits<int64_t>::min();  // wraps, as the product would
      } else {
        value /= right;
      }
    }
    return Operand::kRead;
  }

  Operand factor(int64_t& value) {
    char c = peek();
    if (isDigit(c)) {
      value = number();
      return Operand::kRead;
    }
    if (c == '-') {
      if (++depth_ > kMaxExpressionDepth) return Operand::kError;
      text_.remove_prefix(1);
      int64_t negated = 0;
      if (factor(negated) != Operand::kRead) return Operand::kError;
      --depth_;
      value = wrapped(0 - bits(negated));
      return Operand::kRead;
    }
    if (c == '(') {
      text_.remove_prefix(1);
      std::optional<int64_t> inner = expression();
      if (!inner || peek() != ')') return Operand::kError;
      text_.remove_prefix(1);
      value = *inner;
      return Operand::kRead;
    }
    if (isAsciiLetter(c) || c == '$') return variable(value);
    return Operand::kAbsent;
  }

  int64_t number() {
    uint32_t accumulated = 0;
    while (!text_.empty() && isDigit(text_.front())) {
      accumulated = accumulated * 10 + static_cast<uint32_t>(text_.front() - '0');
      text_.remove_prefix(1);
    }
    return static_cast<int32_t>(accumulated);
  }

  // A variable whose text is not a number is an invalid token: it cannot
  // start an operand, and the text is left at it.
  Operand variable(int64_t& value) {
    std::string_view start = text_;
    VarSlot slot;
    if (text_.front() == '$') {
      size_t length = 1;
      while (length < text_.size() && (isAsciiLetter(text_[length]) || isDigit(text_[length]))) ++length;
      if (length == 1) return Operand::kAbsent;
      std::string name(text_.substr(1, length - 1));
      for (char& ch : name) ch = upperPtChar(ch);
      slot = vars_.namedSlot(name);
      text_.remove_prefix(length);
    } else {
      slot = VariableStore::letterSlot(text_.front());
      text_.remove_prefix(1);
    }
    std::optional<int32_t> number = toInt(vars_.get(slot));
    if (!number) {
      text_ = start;
      return Operand::kAbsent;
    }
    value = *number;
    return Operand::kRead;
  }

  VariableStore& vars_;
  std::string_view& text_;
  int depth_ = 0;
};

}  // namespace

std::optional<int64_t> evaluateExpression(VariableStore& vars, std::string_view& text) {
  return Evaluator(vars, text).expression();
}

}  // namespace tamiral
