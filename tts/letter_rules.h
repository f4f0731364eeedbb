// Letter-to-sound rules: "left(centre)right=output" lines turning a word in
// letter notation into the phonetic notation the unit player reads
// (data/difones/README.md describes both notations).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tamiral {

// Character sets of letter notation. '\0' belongs to none.
constexpr bool isOneOf(char c, std::string_view set) { return c != '\0' && set.find(c) != std::string_view::npos; }
constexpr char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool isVowel(char c) { return isOneOf(c, "aeiouAEIOU"); }
constexpr bool isStressedVowel(char c) { return isOneOf(c, "AEIOU"); }
constexpr bool isConsonant(char c) { return isLetter(c) && !isVowel(c); }
constexpr bool isMark(char c) { return isOneOf(c, "\"'^`~"); }
constexpr bool isVowelOrMark(char c) { return isVowel(c) || isMark(c); }

struct LetterRule {
  std::string left;    // matched leftwards from the letter before the centre
  std::string centre;  // upper case; never empty
  std::string right;   // matched rightwards from the letter after the centre
  std::string output;
};

class LetterRules {
 public:
  static constexpr size_t kMaxContext = 5;  // left, centre and right each
  static constexpr size_t kMaxOutput = 11;

  // One rule a line; ";" starts a comment line; the output ends at the line
  // end or at "|". Longer fields are cut to their limits. A rule whose
  // centre is empty or begins outside 32..95 is dropped. Replaces whatever
  // was loaded before.
  void load(std::string_view fileText);

  // The phonetic form of a word, "[" ... "]": at each letter the first
  // matching rule of its list gives the output (a letter no rule matches is
  // spelled, " /_" + the letter); outputs are joined with "/". When the
  // centre holds an upper-case (stressed) vowel, the output's first vowel is
  // upper-cased.
  std::string apply(std::string_view word) const;

  size_t size() const;

 private:
  const LetterRule* firstMatch(std::string_view word, size_t position) const;

  static constexpr int kFirstCentre = 32;
  std::array<std::vector<LetterRule>, 64> lists_;  // by the centre's first character
};

// The context matchers, shown for tests. `end` is the index after the
// centre (right) or the centre's index (left).
bool matchesRightContext(std::string_view pattern, std::string_view word, size_t end);
bool matchesLeftContext(std::string_view pattern, std::string_view word, size_t start);

}  // namespace tamiral
