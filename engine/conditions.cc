#include "engine/conditions.h"

#include <algorithm>

#include "engine/cp1252.h"
#include "engine/lists.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr size_t kPaddedDigits = 21;

bool allDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c); });
}

// The normalised form, without building it: a digit string is the last 21
// characters of twenty zeros followed by it (all twenty for the empty text);
// any other text is its fold.
class Normalised {
 public:
  explicit Normalised(std::string_view text) : text_(text), digits_(allDigits(text)) {
    if (!digits_) return;
    if (text.size() >= kPaddedDigits) {
      text_ = text.substr(text.size() - kPaddedDigits);
      zeros_ = 0;
    } else {
      zeros_ = text.empty() ? kPaddedDigits - 1 : kPaddedDigits - text.size();
    }
  }
  size_t size() const { return zeros_ + text_.size(); }
  unsigned char at(size_t i) const {
    if (i < zeros_) return '0';
    char c = text_[i - zeros_];
    return static_cast<unsigned char>(digits_ ? c : upperPtChar(c));
  }

 private:
  std::string_view text_;
  bool digits_;
  size_t zeros_ = 0;
};

enum class Operator { kGreaterEqual, kLessEqual, kExact, kDifferent, kContains, kStartsWith, kEndsWith, kIn,
                      kEqual, kLess, kGreater };

// Recognises the operator at the start of text. Operators sharing a first
// character are tried longest first ("<=" before "<"), so "<=" is never read
// as "<"; operators with different first characters never compete.
bool takeOperator(std::string_view& text, Operator& op) {
  auto next = [&](size_t at) { return text.size() > at ? text[at] : '\0'; };
  size_t length = 1;
  switch (text.empty() ? '\0' : text.front()) {
    case '>':
      op = next(1) == '=' ? (length = 2, Operator::kGreaterEqual) : Operator::kGreater;
      break;
    case '<':
      op = next(1) == '=' ? (length = 2, Operator::kLessEqual)
           : next(1) == '>' ? (length = 2, Operator::kDifferent)
                            : Operator::kLess;
      break;
    case '=':
      op = next(1) == '=' ? (length = 2, Operator::kExact)
           : next(1) == '*' ? (length = 2, Operator::kStartsWith)
                            : Operator::kEqual;
      break;
    case '*':
      if (next(1) != '=') return false;
      op = next(2) == '*' ? (length = 3, Operator::kContains) : (length = 2, Operator::kEndsWith);
      break;
    case 'E':
    case 'e':
      if (upperPtChar(next(1)) != 'M') return false;
      op = Operator::kIn;
      length = 2;
      break;
    default:
      return false;
  }
  text = trimLeadingBlanks(text.substr(length));
  return true;
}

bool takeNegation(std::string_view& text) {
  if (text.empty() || upperPtChar(text.front()) != 'N') return false;
  if (!startsWithKeyword(text, "NÃO"_cp) && !startsWithKeyword(text, "NAO")) return false;
  text = trimLeadingBlanks(text.substr(3));
  return true;
}

bool compareWith(Operator op, std::string_view left, std::string_view right) {
  switch (op) {
    case Operator::kGreaterEqual: return compareNormalised(left, right) >= 0;
    case Operator::kLessEqual: return compareNormalised(left, right) <= 0;
    case Operator::kExact: return left == right;
    case Operator::kDifferent: return compareNormalised(left, right) != 0;
    case Operator::kContains: return !right.empty() && findText(left, right) != std::string_view::npos;
    case Operator::kStartsWith: return !right.empty() && left.starts_with(right);
    case Operator::kEndsWith: return !right.empty() && left.ends_with(right);
    case Operator::kEqual: return compareNormalised(left, right) == 0;
    case Operator::kLess: return compareNormalised(left, right) < 0;
    case Operator::kGreater: return compareNormalised(left, right) > 0;
    case Operator::kIn: break;
  }
  return false;
}

// With NÃO, membership holds as soon as one item differs from the operand.
bool listMembership(const NamedList& list, std::string_view left, bool negated) {
  for (const std::string& item : list.items) {
    if ((compareNormalised(item, left) == 0) != negated) return true;
  }
  return false;
}

// Both operands non-empty digit strings of at most 21 digits: their padded
// forms order as their values do.
int compareShortDigitStrings(std::string_view left, std::string_view right) {
  auto significant = [](std::string_view digits) {
    size_t zeros = 0;
    while (zeros + 1 < digits.size() && digits[zeros] == '0') ++zeros;
    return digits.substr(zeros);
  };
  left = significant(left);
  right = significant(right);
  if (left.size() != right.size()) return left.size() < right.size() ? -1 : 1;
  int order = left.compare(right);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace

int compareNormalised(std::string_view left, std::string_view right) {
  if (!left.empty() && !right.empty() && left.size() <= kPaddedDigits && right.size() <= kPaddedDigits &&
      allDigits(left) && allDigits(right)) {
    return compareShortDigitStrings(left, right);
  }
  Normalised a(left), b(right);
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    if (a.at(i) != b.at(i)) return a.at(i) < b.at(i) ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

Condition readCondition(Runtime& rt, std::string_view& text) {
  text = trimBlanks(text);
  if (text.empty()) return {};
  bool negated = takeNegation(text);
  if (negated && text.empty()) return {};
  // Views stay valid: reading the right operand may register a name, which
  // never moves another variable's text.
  std::string leftScratch, rightScratch;
  std::optional<std::string_view> left = takeValueView(rt.vars, text, leftScratch);
  Operator op{};
  if (!left || text.empty() || !takeOperator(text, op) || text.empty()) return {};
  bool holds = false;
  if (op == Operator::kIn) {
    std::optional<std::string> name = takeListName(text);
    NamedList* list = name ? rt.lists.find(*name) : nullptr;
    if (!list) return {};
    holds = listMembership(*list, *left, negated);
  } else {
    std::optional<std::string_view> right = takeValueView(rt.vars, text, rightScratch);
    if (!right) return {};
    holds = compareWith(op, *left, *right) != negated;
  }
  text = trimBlanks(text);
  return {true, holds};
}

}  // namespace tamiral
