#include "tts/text_front_end.h"

#include <array>

namespace tamiral {

namespace {

// Letter notation of the bytes 128..255; nullptr where there is none.
// 128..175 follow the DOS Latin-1 code page, 176..255 Windows-1252.
constexpr std::array<const char*, 128> kAccentTable = {
    "ss", "u\"", "e'", "a^", "a~", "a`", "a'", "ss",          // 128
    "e^", "e\"", "e`", "i\"", "i^", "i`", "a~", "a'",         // 136
    "e'", "ae", "-", "o^", "o~", "o`", "u^", "u`",            // 144
    "y-", "o~", "u\"", nullptr, nullptr, nullptr, nullptr, nullptr,  // 152
    "a'", "i'", "o'", "u'", "nh", "nh", nullptr, "\xA7",      // 160
    "?", nullptr, nullptr, "\xAA", nullptr, "!", "\"", "\"",  // 168
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 176
    nullptr, nullptr, nullptr, "\xBA", nullptr, nullptr, nullptr, "?",      // 184
    "a`", "a'", "a^", "a~", "a~", "a", "ae", "ss",            // 192
    "e`", "e'", "e^", "e\"", "i`", "i'", "i^", "i\"",         // 200
    nullptr, "nh", "o`", "o'", "o^", "o~", "o`", "x",         // 208
    "0", "u`", "u'", "u^", "u", nullptr, nullptr, nullptr,    // 216
    "a`", "a'", "a^", "a~", "a~", "a", "ae", "ss",            // 224
    "e`", "e'", "e^", "e\"", "i`", "i'", "i^", "i\"",         // 232
    nullptr, "nh", "o`", "o'", "o^", "o~", "o`", "x",         // 240
    "0", "u`", "u'", "u^", "u", nullptr, nullptr, nullptr,    // 248
};

bool isPause(char c) { return isOneOf(c, " !,.:;?"); }
bool isWordCharacter(char c) { return isLetter(c) || isMark(c); }

char glideAsVowel(char c) {
  if (c == 'w' || c == 'W') return 'u';
  if (c == 'y' || c == 'Y') return 'i';
  return c;
}

bool spelledLetterByLetter(std::string_view word) {
  for (char c : word) {
    if (!isConsonant(c) && !isPause(c)) return false;
  }
  return true;
}

std::string spell(std::string_view word) {
  std::string phonetic;
  for (char c : word) {
    phonetic += "[ /_";
    phonetic += c;
    phonetic += ']';
  }
  return phonetic;
}

bool isGuOrQu(std::string_view word, int position) {
  return position >= 1 && word[position] == 'u' && isOneOf(word[position - 1], "gq");
}

// The walk's state 8 at a vowel: the "i"/"u" to its right takes the stress
// when a closed syllable follows it (rainha, saindo), else this vowel does.
bool glideClosesSyllable(std::string_view word, int position) {
  auto at = [&](int i) { return i < static_cast<int>(word.size()) ? word[i] : '\0'; };
  if (!isOneOf(at(position + 2), "lmnrz")) return false;
  std::string_view next = word.substr(position + 2, 2);
  if (next == "nh" || next == "rr") return true;
  return isConsonant(at(position + 3)) && at(position + 3) != 'h';
}

enum : int { kStressHere = 6, kStressTwoRight = 7 };

// One step of the stress walk: the next state for the letter at `position`.
int nextStressState(int state, std::string_view word, int position) {
  char c = word[position];
  switch (state) {
    case 0:
      if (isOneOf(c, "aeo")) return 5;
      if (isOneOf(c, "iu")) return 3;
      if (isOneOf(c, "lnrxz")) return 1;
      if (c == 'm') return 2;
      if (c == 's') return 4;
      return 0;
    case 1:
      return isVowel(c) ? kStressHere : 1;
    case 2:
      if (isOneOf(c, "ae")) return 5;
      if (isOneOf(c, "iu")) return 3;
      return c == 'o' ? kStressHere : 2;
    case 3:
      if (isConsonant(c) || isGuOrQu(word, position)) return kStressTwoRight;
      return kStressHere;
    case 4:
      if (isOneOf(c, "aeo")) return 5;
      return isOneOf(c, "iu") ? 3 : 4;
    case 5:
      if (isOneOf(c, "aeo")) return kStressHere;
      // The u of "que", "gui" is silent: it cannot take the stress (parque).
      if (isGuOrQu(word, position) && isOneOf(word[position + 1], "ei")) return 5;
      return isOneOf(c, "iu") ? 8 : 5;
    default:  // 8
      if (isConsonant(c) || isGuOrQu(word, position)) return kStressTwoRight;
      return glideClosesSyllable(word, position) ? kStressTwoRight : kStressHere;
  }
}

// Index of the stressed letter, or -1.
int stressedIndex(std::string_view word) {
  int state = 0;
  for (int position = static_cast<int>(word.size()) - 1; position >= 0; --position) {
    state = nextStressState(state, word, position);
    if (state == kStressHere) return position;
    if (state == kStressTwoRight) return position + 1 < static_cast<int>(word.size()) ? position + 1 : -1;
  }
  // States 3 and 8 wait for the letter before an i or u; at the word's start
  // there is none, and the i or u keeps the stress (uma, ilha).
  return state == 3 || state == 8 ? 0 : -1;
}

}  // namespace

std::string toLetterNotation(std::string_view text) {
  std::string letters;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    auto byte = static_cast<unsigned char>(c);
    bool letterBefore = i > 0 && isLetter(text[i - 1]);
    bool letterAfter = i + 1 < text.size() && isLetter(text[i + 1]);
    if (glideAsVowel(c) != c && (letterBefore || letterAfter)) {
      letters += glideAsVowel(c);
    } else if (c == '\'' && i > 0 && (text[i - 1] == 'd' || text[i - 1] == 'D')) {
      continue;
    } else if (byte >= 128) {
      const char* mapped = kAccentTable[byte - 128];
      letters += mapped ? mapped : " ";
    } else {
      // Control bytes and unmapped ones only separate words: a zero byte
      // kept here would reach the player as a letters-folder sound.
      letters += byte < 32 ? ' ' : c;
    }
  }
  return letters;
}

std::vector<TakenWord> takeWords(std::string_view letters) {
  std::vector<TakenWord> words;
  size_t i = 0;
  while (i < letters.size()) {
    if (letters[i] == ' ') {
      ++i;
      continue;
    }
    TakenWord word;
    if (!isLetter(letters[i])) {
      word.letters.assign(1, letters[i++]);
    } else {
      for (; i < letters.size() && isWordCharacter(letters[i]); ++i) {
        char c = lowerAscii(letters[i]);
        word.letters += c;
        if (isVowel(c)) ++word.vowels;
        if (isMark(c) && c != '"') word.explicitAccent = true;
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

void markStress(std::string& word) {
  // The diaeresis only says the u is sounded; the walk looks past it, so
  // "tranqu\"ilo" is stressed as "tranquilo" is.
  std::string bare;
  std::vector<size_t> original;
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '"') continue;
    bare += word[i];
    original.push_back(i);
  }
  int stressed = stressedIndex(bare);
  if (stressed >= 0) {
    char& letter = word[original[stressed]];
    letter = upperAscii(letter);
  }
}

void TextFrontEnd::loadRules(std::string_view fileText) {
  rules_.load(fileText);
  exceptions_.load("");
}

void TextFrontEnd::loadExceptions(std::string_view fileText) { exceptions_.load(fileText); }

std::string TextFrontEnd::replaceByException(std::string word) const {
  if (const std::string* replacement = exceptions_.find(word)) return *replacement;
  if (word.size() < 2 || !isOneOf(word.back(), "sm")) return word;
  // A plural (or a verb in -m) missing from the table takes its stem's entry.
  char suffix = word.back();
  word.pop_back();
  if (const std::string* replacement = exceptions_.find(word)) word = *replacement;
  word += suffix;
  return word;
}

std::string TextFrontEnd::wordToPhonetic(std::string word, int vowels, bool explicitAccent) const {
  word = replaceByException(std::move(word));
  bool oneVowelEndingInL = vowels == 1 && word.back() == 'l';
  if (!explicitAccent && (vowels >= 2 || oneVowelEndingInL)) markStress(word);
  if (spelledLetterByLetter(word)) return spell(word);
  return rules_.apply(word);
}

std::string TextFrontEnd::textToPhonetic(std::string_view text) const {
  std::string phonetic;
  for (TakenWord& word : takeWords(toLetterNotation(text))) {
    phonetic += wordToPhonetic(std::move(word.letters), word.vowels, word.explicitAccent);
  }
  return phonetic;
}

}  // namespace tamiral
