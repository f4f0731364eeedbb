// The built-in voice's text front end: Windows-1252 text to the phonetic
// string its unit player reads, through letter notation, the exceptions
// table, the stress walk and the letter rules (data/difones/README.md).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tts/exceptions.h"
#include "tts/letter_rules.h"

namespace tamiral {

class TextFrontEnd {
 public:
  // The rules file's contents. Empties the exceptions table too: load the
  // rules first, then the exceptions.
  void loadRules(std::string_view fileText);
  // The exceptions file's contents.
  void loadExceptions(std::string_view fileText);

  // Windows-1252 text to a phonetic string: each word "[" ... "]", with no
  // separator between words.
  std::string textToPhonetic(std::string_view text) const;

  size_t ruleCount() const { return rules_.size(); }
  size_t exceptionCount() const { return exceptions_.size(); }

 private:
  std::string wordToPhonetic(std::string word, int vowels, bool explicitAccent) const;
  std::string replaceByException(std::string word) const;

  LetterRules rules_;
  ExceptionTable exceptions_;
};

// The steps before the rules, shown for tests and tools.

// Letter notation: w/y next to a letter become u/i, "d'" loses its
// apostrophe, bytes of 128 and above go through the accent table (ç is
// "ss"), and control bytes and bytes without a mapping become blanks.
std::string toLetterNotation(std::string_view text);

struct TakenWord {
  std::string letters;  // A-Z lowered
  int vowels = 0;
  bool explicitAccent = false;  // a mark other than the diaeresis
};

// Words of a letter-notation text: a run of letters and marks starting with
// a letter, or any other single character; blanks separate.
std::vector<TakenWord> takeWords(std::string_view letters);

// The stressed vowel of a word without written accent, by its ending:
// upper-cases it in place. A word the walk finds no vowel for is left as it
// is.
void markStress(std::string& word);

}  // namespace tamiral
