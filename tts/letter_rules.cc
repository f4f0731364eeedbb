#include "tts/letter_rules.h"

#include <algorithm>

#include "engine/text.h"

namespace tamiral {

namespace {


// "left(centre)right=output": parts that are missing stay empty.
LetterRule parseRule(std::string_view line) {
  LetterRule rule;
  size_t equals = line.find('=');
  std::string_view pattern = line.substr(0, equals);
  if (equals != std::string_view::npos) {
    std::string_view output = line.substr(equals + 1);
    rule.output = output.substr(0, std::min(output.find('|'), LetterRules::kMaxOutput));
  }
  size_t open = pattern.find('(');
  size_t close = pattern.find(')', open == std::string_view::npos ? 0 : open);
  if (open == std::string_view::npos || close == std::string_view::npos) return rule;
  auto field = [](std::string_view text) { return std::string(text.substr(0, LetterRules::kMaxContext)); };
  rule.left = field(pattern.substr(0, open));
  rule.centre = field(pattern.substr(open + 1, close - open - 1));
  rule.right = field(pattern.substr(close + 1));
  return rule;
}

char letterAt(std::string_view word, size_t index) { return upperAscii(word[index]); }

bool centreMatches(std::string_view centre, std::string_view word, size_t position) {
  if (position + centre.size() > word.size()) return false;
  for (size_t i = 0; i < centre.size(); ++i) {
    if (letterAt(word, position + i) != centre[i]) return false;
  }
  return true;
}

void upperCaseFirstVowel(std::string& output) {
  for (char& c : output) {
    if (isVowel(c)) {
      c = upperAscii(c);
      return;
    }
  }
}

bool holdsStressedVowel(std::string_view word, size_t position, size_t length) {
  for (size_t i = position; i < position + length; ++i) {
    if (isStressedVowel(word[i])) return true;
  }
  return false;
}

}  // namespace

// Context symbols name letter classes in lower case; a stressed letter comes
// upper-cased, so classes are checked on the lowered letter.
bool matchesRightContext(std::string_view pattern, std::string_view word, size_t end) {
  size_t q = end;
  auto at = [&](size_t i) { return i < word.size() ? lowerAscii(word[i]) : '\0'; };
  for (char symbol : pattern) {
    switch (symbol) {
      case '#':
        if (!isVowelOrMark(at(q))) return false;
        while (isVowelOrMark(at(q))) ++q;
        break;
      case '%':
        if (q != word.size()) return false;
        break;
      case '&':
        if (!isOneOf(at(q), "lmnrz")) return false;
        ++q;
        break;
      case '*':
        if (!isConsonant(at(q)) || isOneOf(at(q), "rl")) return false;
        break;
      case '+':
        if (!isOneOf(at(q), "ei")) return false;
        ++q;
        if (isMark(at(q))) ++q;
        break;
      case '[':
        if (q != word.size() && (!isConsonant(at(q)) || isOneOf(at(q), "h"))) return false;
        break;
      case '\\':
        if (isOneOf(at(q), "s")) ++q;
        break;
      default:
        if (q >= word.size() || upperAscii(word[q]) != symbol) return false;
        ++q;
    }
  }
  return true;
}

bool matchesLeftContext(std::string_view pattern, std::string_view word, size_t start) {
  // q counts letters still available to the left: the letter looked at is q - 1.
  size_t q = start;
  auto before = [&](size_t available) { return available > 0 ? lowerAscii(word[available - 1]) : '\0'; };
  for (size_t i = pattern.size(); i-- > 0;) {
    switch (char symbol = pattern[i]) {
      case '#':
        if (!isVowelOrMark(before(q))) return false;
        while (isVowelOrMark(before(q))) --q;
        break;
      case '%':
        if (q != 0) return false;
        break;
      case ']':
        if (!isOneOf(before(q), "ao")) return false;
        --q;
        break;
      case '_':
        if (isVowel(before(q))) {
          --q;
        } else if (isMark(before(q)) && isVowel(before(q - 1))) {
          q -= 2;
        } else if (q != 0) {
          return false;
        }
        break;
      case '|':
        if (!isOneOf(before(q), "nrs")) return false;
        --q;
        break;
      default:
        if (q == 0 || upperAscii(word[q - 1]) != symbol) return false;
        --q;
    }
  }
  return true;
}

void LetterRules::load(std::string_view fileText) {
  for (auto& list : lists_) list.clear();
  forEachLine(fileText, [&](std::string_view line) {
    if (line.starts_with(';')) return;
    LetterRule rule = parseRule(line);
    if (rule.centre.empty()) return;
    int first = static_cast<unsigned char>(rule.centre[0]) - kFirstCentre;
    if (first < 0 || first >= static_cast<int>(lists_.size())) return;
    lists_[first].push_back(std::move(rule));
  });
}

size_t LetterRules::size() const {
  size_t count = 0;
  for (const auto& list : lists_) count += list.size();
  return count;
}

const LetterRule* LetterRules::firstMatch(std::string_view word, size_t position) const {
  int first = static_cast<unsigned char>(letterAt(word, position)) - kFirstCentre;
  if (first < 0 || first >= static_cast<int>(lists_.size())) return nullptr;
  for (const LetterRule& rule : lists_[first]) {
    if (centreMatches(rule.centre, word, position) && matchesLeftContext(rule.left, word, position) &&
        matchesRightContext(rule.right, word, position + rule.centre.size())) {
      return &rule;
    }
  }
  return nullptr;
}

std::string LetterRules::apply(std::string_view word) const {
  std::string phonetic = "[";
  size_t position = 0;
  while (position < word.size()) {
    const LetterRule* rule = firstMatch(word, position);
    std::string output = rule ? rule->output : std::string(" /_") + letterAt(word, position);
    size_t length = rule ? rule->centre.size() : 1;
    if (holdsStressedVowel(word, position, length)) upperCaseFirstVowel(output);
    phonetic += output;
    position += length;
    if (position < word.size()) phonetic += '/';
  }
  return phonetic + "]";
}

}  // namespace tamiral
