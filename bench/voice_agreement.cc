// voice_agreement RULES EXCEPTIONS PAIRS [EXAMPLES]
// voice_agreement RULES EXCEPTIONS --show WORD...
//
// Compares the built-in voice's reading of words with an independent
// transcription (espeak-ng's pt-br, `-x`): PAIRS holds UTF-8 lines
// "word<TAB>transcription". Both sides are brought to one phoneme alphabet
// (the table below) and compared phoneme by phoneme, and by the stressed
// vowel when a word has more than one. Prints the share of identical words
// and the disagreements grouped by the phoneme changes they contain, with
// EXAMPLES words each (default 6). --show prints our phonetic strings.
//
// Equivalences (espeak -> common alphabet <- ours):
//   a & -> a <- a a^        e -> e <- e^        E -> E <- e
//   o -> o <- o^            O -> O <- o         i y I (nucleus) -> i <- i
//   u U (nucleus) -> u <- u                     I y j (after a vowel) -> j <- y
//   U w (after a vowel) -> w <- w               U~ -> w, its vowel nasal
//   vowel + N, or + m/n before a consonant -> nasal vowel <- a~ e~ ...
//     (e I N before a consonant -> e~; at the end e~ j <- e~y)
//   j / w between a consonant and a vowel -> i / u <- i u in hiatus
//     (w after k and g stays: kw gw)
//   * R r -> r <- r          x -> R <- rr        S -> S <- x     Z -> Z <- j
//   tS -> tS <- tch          dZ -> dZ <- dj      l^ lj -> L <- lh
//   n^ -> J <- nh            ks kw gw -> k s, k w, g w
//   @ (epenthetic vowel) - ; : , _ # -> dropped; ' marks the stressed vowel
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "tts/text_front_end.h"

namespace tamiral {
namespace {

struct Phone {
  std::string symbol;  // common alphabet
  bool vowel = false;  // a nucleus
  bool stressed = false;
};

struct Reading {
  std::vector<Phone> phones;
};

// Index of the stressed nucleus, -1 when none is marked.
int stressedNucleus(const Reading& reading) {
  int nucleus = 0;
  for (const Phone& p : reading.phones) {
    if (!p.vowel) continue;
    if (p.stressed) return nucleus;
    ++nucleus;
  }
  return -1;
}

int nucleusCount(const Reading& reading) {
  return static_cast<int>(std::count_if(reading.phones.begin(), reading.phones.end(),
                                        [](const Phone& p) { return p.vowel; }));
}

// Our phonetic string: groups, "/" joins, upper case marks stress.
Reading readOurs(std::string_view phonetic) {
  Reading reading;
  size_t i = 0;
  auto starts = [&](std::string_view s) { return phonetic.substr(i, s.size()) == s; };
  while (i < phonetic.size()) {
    char c = phonetic[i];
    if (c == '[' || c == ']' || c == '/' || c == ' ') {
      ++i;
      continue;
    }
    if (c == '_' && i + 1 < phonetic.size()) {
      reading.phones.push_back({std::string("_") + phonetic[i + 1], false});
      i += 2;
      continue;
    }
    static const std::pair<const char*, const char*> kMulti[] = {
        {"tch", "tS"}, {"dj", "dZ"}, {"nh", "J"}, {"lh", "L"}, {"rr", "R"}};
    bool matched = false;
    for (auto [ours, common] : kMulti) {
      if (starts(ours)) {
        reading.phones.push_back({common, false});
        i += std::string_view(ours).size();
        matched = true;
        break;
      }
    }
    if (matched) continue;
    char lower = lowerAscii(c);
    if (isOneOf(lower, "aeiou")) {
      char mark = i + 1 < phonetic.size() ? phonetic[i + 1] : '\0';
      std::string symbol(1, lower);
      if (lower == 'e' || lower == 'o') symbol = mark == '^' || mark == '~' ? symbol : std::string(1, upperAscii(lower));
      if (mark == '~') symbol += '~';
      if (mark == '^' || mark == '~') ++i;
      reading.phones.push_back({symbol, true, c != lower});
    } else if (c == 'y') {
      reading.phones.push_back({"j", false});
    } else if (c == 'x') {
      reading.phones.push_back({"S", false});
    } else if (c == 'j') {
      reading.phones.push_back({"Z", false});
    } else {
      reading.phones.push_back({std::string(1, c), false});
    }
    ++i;
  }
  return reading;
}

// espeak-ng's -x notation for pt-br, token by token.
std::vector<std::string> espeakTokens(std::string_view text) {
  static const char* const kMulti[] = {"tS", "dZ", "l^", "n^", "&~", "a~", "e~", "E~", "i~", "o~", "O~", "u~", "U~", "I~"};
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < text.size()) {
    bool matched = false;
    for (const char* multi : kMulti) {
      if (text.substr(i, 2) == multi) {
        tokens.emplace_back(multi);
        i += 2;
        matched = true;
        break;
      }
    }
    if (matched) continue;
    char c = text[i++];
    if (std::string_view(",;:-_#@!|").find(c) != std::string_view::npos) continue;
    tokens.emplace_back(1, c);
  }
  return tokens;
}

Reading readEspeak(std::string_view transcription) {
  static const std::map<std::string, std::string> kVowels = {
      {"a", "a"}, {"&", "a"}, {"e", "e"}, {"E", "E"}, {"i", "i"}, {"o", "o"}, {"O", "O"}, {"u", "u"},
      {"&~", "a~"}, {"a~", "a~"}, {"e~", "e~"}, {"E~", "e~"}, {"i~", "i~"}, {"o~", "o~"}, {"O~", "o~"},
      {"u~", "u~"}};
  static const std::map<std::string, std::string> kConsonants = {
      {"*", "r"}, {"R", "r"}, {"r", "r"}, {"x", "R"}, {"S", "S"}, {"Z", "Z"}, {"tS", "tS"}, {"dZ", "dZ"},
      {"l^", "L"}, {"n^", "J"}, {"N", "N"}};
  std::vector<std::string> tokens = espeakTokens(transcription);
  Reading reading;
  bool stressNext = false;
  for (const std::string& token : tokens) {
    if (token == "'") {
      stressNext = true;
      continue;
    }
    bool afterVowel = !reading.phones.empty() && reading.phones.back().vowel;
    bool reducible = token == "I" || token == "U" || token == "y" || token == "I~" || token == "U~";
    if (reducible && afterVowel && !stressNext) {
      // A glide; a nasal one nasalizes its vowel.
      std::string glide = token[0] == 'U' ? "w" : "j";
      if (token.size() == 2 && reading.phones.back().symbol.back() != '~') reading.phones.back().symbol += '~';
      reading.phones.push_back({glide, false});
      continue;
    }
    std::string vowel;
    if (auto found = kVowels.find(token); found != kVowels.end()) vowel = found->second;
    if (reducible) vowel = token[0] == 'U' ? "u" : "i";
    if (!vowel.empty()) {
      reading.phones.push_back({vowel, true, stressNext});
      stressNext = false;
      continue;
    }
    auto consonant = kConsonants.find(token);
    reading.phones.push_back({consonant != kConsonants.end() ? consonant->second : token, false});
  }
  return reading;
}

bool isConsonantPhone(const Phone& p) { return !p.vowel && p.symbol != "j" && p.symbol != "w"; }

// Nasal codas: the vowel takes the nasality, the nasal consonant goes; a
// glide between them goes too before a consonant (e I N s -> e~ s).
void foldNasalCodas(Reading& reading) {
  auto& phones = reading.phones;
  for (size_t i = 1; i < phones.size(); ++i) {
    const std::string& s = phones[i].symbol;
    bool last = i + 1 == phones.size();
    bool beforeConsonant = !last && isConsonantPhone(phones[i + 1]);
    if (!(s == "N" || ((s == "m" || s == "n") && beforeConsonant))) continue;
    size_t vowel = i - 1;
    bool glide = phones[vowel].symbol == "j" && vowel > 0 && phones[vowel - 1].vowel;
    if (glide) --vowel;
    if (!phones[vowel].vowel) continue;
    if (phones[vowel].symbol.back() != '~') phones[vowel].symbol += '~';
    bool finalPlural = i + 2 == phones.size() && phones[i + 1].symbol == "s";
    if (glide && beforeConsonant && !finalPlural) {
      phones.erase(phones.begin() + static_cast<long>(vowel) + 1, phones.begin() + static_cast<long>(i) + 1);
      i = vowel;
    } else {
      phones.erase(phones.begin() + static_cast<long>(i));
      --i;
    }
  }
}

// Rising glides written as glides by one side and as hiatus by the other:
// both become vowels (but not the w of kw and gw).
void risingGlidesAsVowels(Reading& reading) {
  auto& phones = reading.phones;
  for (size_t i = 0; i < phones.size(); ++i) {
    Phone& p = phones[i];
    if (p.symbol != "j" && p.symbol != "w") continue;
    bool beforeVowel = i + 1 < phones.size() && phones[i + 1].vowel;
    bool afterVowel = i > 0 && phones[i - 1].vowel;
    bool afterVelar = i > 0 && (phones[i - 1].symbol == "k" || phones[i - 1].symbol == "g");
    if (!beforeVowel || afterVowel || (p.symbol == "w" && afterVelar)) continue;
    p = {p.symbol == "j" ? "i" : "u", true, false};
  }
}

// "l j" before a vowel is espeak's lh.
void foldLj(Reading& reading) {
  auto& phones = reading.phones;
  for (size_t i = 0; i + 2 < phones.size(); ++i) {
    if (phones[i].symbol == "l" && phones[i + 1].symbol == "j" && phones[i + 2].vowel) {
      phones[i].symbol = "L";
      phones.erase(phones.begin() + static_cast<long>(i) + 1);
    }
  }
}

std::string joined(const std::vector<Phone>& phones) {
  std::string text;
  for (const Phone& p : phones) text += p.symbol + " ";
  if (!text.empty()) text.pop_back();
  return text;
}

// The phoneme changes from ours to theirs, by edit distance.
std::vector<std::string> differences(const std::vector<Phone>& ours, const std::vector<Phone>& theirs) {
  size_t n = ours.size(), m = theirs.size();
  std::vector<std::vector<int>> cost(n + 1, std::vector<int>(m + 1));
  for (size_t i = 0; i <= n; ++i) cost[i][0] = static_cast<int>(i);
  for (size_t j = 0; j <= m; ++j) cost[0][j] = static_cast<int>(j);
  for (size_t i = 1; i <= n; ++i) {
    for (size_t j = 1; j <= m; ++j) {
      int same = ours[i - 1].symbol == theirs[j - 1].symbol ? 0 : 1;
      cost[i][j] = std::min({cost[i - 1][j - 1] + same, cost[i - 1][j] + 1, cost[i][j - 1] + 1});
    }
  }
  std::vector<std::string> changes;
  size_t i = n, j = m;
  while (i > 0 || j > 0) {
    if (i > 0 && j > 0 && cost[i][j] == cost[i - 1][j - 1] + (ours[i - 1].symbol == theirs[j - 1].symbol ? 0 : 1)) {
      if (ours[i - 1].symbol != theirs[j - 1].symbol) changes.push_back(ours[i - 1].symbol + ">" + theirs[j - 1].symbol);
      --i, --j;
    } else if (i > 0 && cost[i][j] == cost[i - 1][j] + 1) {
      changes.push_back(ours[i - 1].symbol + ">-");
      --i;
    } else {
      changes.push_back("->" + theirs[j - 1].symbol);
      --j;
    }
  }
  std::reverse(changes.begin(), changes.end());
  return changes;
}

std::string contentsOf(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string shownReading(const Reading& reading) {
  std::string text;
  for (const Phone& p : reading.phones) {
    if (p.stressed) text += "'";
    text += p.symbol + " ";
  }
  if (!text.empty()) text.pop_back();
  return text;
}

struct ClassTally {
  int words = 0;
  std::vector<std::string> examples;
};

int compare(const TextFrontEnd& frontEnd, const char* pairsPath, size_t exampleCount) {
  std::ifstream pairs(pairsPath);
  std::string line;
  int total = 0, identical = 0, phonesEqual = 0, stressCompared = 0, stressEqual = 0;
  std::map<std::string, ClassTally> classes;
  auto tally = [&](const std::string& name, const std::string& example) {
    ClassTally& t = classes[name];
    ++t.words;
    if (t.examples.size() < exampleCount) t.examples.push_back(example);
  };
  while (std::getline(pairs, line)) {
    size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::string word = line.substr(0, tab);
    std::string phonetic = frontEnd.textToPhonetic(utf8ToCp1252(word));
    Reading ours = readOurs(phonetic);
    Reading theirs = readEspeak(line.substr(tab + 1));
    for (Reading* r : {&ours, &theirs}) {
      foldNasalCodas(*r);
      foldLj(*r);
      risingGlidesAsVowels(*r);
    }
    ++total;
    bool samePhones = joined(ours.phones) == joined(theirs.phones);
    bool stressApplies = samePhones && nucleusCount(ours) > 1 && stressedNucleus(theirs) >= 0;
    bool sameStress = !stressApplies || stressedNucleus(ours) == stressedNucleus(theirs);
    phonesEqual += samePhones;
    stressCompared += stressApplies;
    stressEqual += stressApplies && sameStress;
    if (samePhones && sameStress) {
      ++identical;
      continue;
    }
    std::string example = word + " " + cp1252ToUtf8(phonetic) + " [" + shownReading(ours) + "] espeak [" +
                          shownReading(theirs) + "]";
    if (!samePhones) {
      std::vector<std::string> changes = differences(ours.phones, theirs.phones);
      std::sort(changes.begin(), changes.end());
      changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
      for (const std::string& change : changes) tally(change, example);
    } else {
      tally("stress", example);
    }
  }
  std::printf("words: %d\nidentical: %d (%.1f %%)\nsame phonemes: %d (%.1f %%)\nsame stress where compared: %d of %d\n",
              total, identical, 100.0 * identical / std::max(total, 1), phonesEqual,
              100.0 * phonesEqual / std::max(total, 1), stressEqual, stressCompared);
  std::vector<std::pair<std::string, ClassTally>> sorted(classes.begin(), classes.end());
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second.words > b.second.words; });
  std::printf("\ndifferences (ours>espeak; a word counts once per kind), by words:\n");
  for (const auto& [name, t] : sorted) {
    std::printf("%5d  %s\n", t.words, name.c_str());
    for (const std::string& example : t.examples) std::printf("         %s\n", example.c_str());
  }
  return 0;
}

}  // namespace
}  // namespace tamiral

int main(int argc, char** argv) {
  using namespace tamiral;
  if (argc < 4) {
    std::fprintf(stderr, "usage: voice_agreement RULES EXCEPTIONS PAIRS [EXAMPLES] | --show WORD...\n");
    return 2;
  }
  TextFrontEnd frontEnd;
  frontEnd.loadRules(contentsOf(argv[1]));
  frontEnd.loadExceptions(contentsOf(argv[2]));
  std::fprintf(stderr, "%zu rules, %zu exceptions\n", frontEnd.ruleCount(), frontEnd.exceptionCount());
  if (std::string_view(argv[3]) == "--show") {
    for (int i = 4; i < argc; ++i) {
      std::printf("%s\t%s\n", argv[i], cp1252ToUtf8(frontEnd.textToPhonetic(utf8ToCp1252(argv[i]))).c_str());
    }
    return 0;
  }
  return compare(frontEnd, argv[3], argc > 4 ? std::stoul(argv[4]) : 6);
}
