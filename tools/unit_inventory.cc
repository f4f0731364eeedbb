// unit_inventory > data/difones/units.tsv
// Writes the voice's unit inventory: every unit name the player can look up
// for a group of the phonetic notation (data/difones/README.md), with the
// espeak-ng phonemes that record it and the carrier they are said in.
// unitcut reads the list; the data test checks the database against it.
//
// Columns: name, group (our notation), phonemes (espeak-ng mnemonics, one per
// blank-separated token, ' before the stressed one), carrier (phonemes around
// the unit, whose place is {}). A unit is cut from the start of its first
// phoneme to the start of whatever follows its last one.
#include <cctype>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace {

struct Sound {
  const char* ours;    // in the phonetic notation
  const char* espeak;  // mnemonics, blank-separated
};

// "" is a group without an onset. lh is the palatal lateral, not l + glide.
constexpr Sound kOnsets[] = {
    {"", ""},        {"b", "b"},     {"d", "d"},     {"f", "f"},     {"g", "g"},     {"k", "k"},
    {"l", "l"},      {"m", "m"},     {"n", "n"},     {"p", "p"},     {"t", "t"},     {"v", "v"},
    {"r", "*"},      {"rr", "x"},    {"s", "s"},     {"z", "z"},     {"x", "S"},     {"j", "Z"},
    {"nh", "n^"},    {"lh", "l^"},   {"tch", "tS"},  {"dj", "dZ"},   {"ks", "k s"},  {"kw", "k w"},
    {"gw", "g w"},
};

// i^ and u^ sound as i and u; they exist because nasal diphthongs ask for
// them (the player plays "mu~y" as mu^ then u~y). a^ is the closed a that
// starts a nasal diphthong (mão).
constexpr Sound kNuclei[] = {
    {"a", "a"},   {"e", "E"},   {"i", "i"},   {"o", "O"},   {"u", "u"},    //
    {"a^", "&"},  {"e^", "e"},  {"i^", "i"},  {"o^", "o"},  {"u^", "u"},   //
    {"a~", "&~"}, {"e~", "e~"}, {"i~", "i~"}, {"o~", "o~"}, {"u~", "u~"},  //
};

// Every vowel of the notation with each glide, as the player asks for
// them: papai, mau, papéis, céu, saiu, viu, herói, sol (final l as w), fui,
// azul; lei, meu, foi, sou; mão, mãe, bem, põe, muito. Those Portuguese
// hardly has are kept too, because a missing one plays its glide alone,
// which is not a unit (a burst of noise).
constexpr Sound kTails[] = {
    {"ay", "aI"},     {"aw", "aU"},     {"ey", "EI"},    {"ew", "EU"},    {"iy", "i j"},    {"iw", "iU"},
    {"oy", "OI"},     {"ow", "O w"},    {"uy", "uI"},    {"uw", "u w"},   {"a^y", "& I"},   {"a^w", "& U"},
    {"e^y", "eI"},    {"e^w", "eU"},    {"i^y", "i j"},  {"i^w", "iU"},   {"o^y", "oI"},    {"o^w", "o w"},
    {"u^y", "uI"},    {"u^w", "u w"},   {"a~y", "&~ y"}, {"a~w", "&U~"},  {"e~y", "e~ j"},  {"e~w", "e~ w"},
    {"i~y", "i~ j"},  {"i~w", "i~ w"},  {"o~y", "o~ j"}, {"o~w", "o~ w"}, {"u~y", "u~ j"},  {"u~w", "u~ w"},
};

// Said as the stressed syllable before a final "ta", the commonest stress
// pattern, so the vowel is full but not stretched like a phrase's last one.
// A group without an onset follows a pause, as at a word's start.
constexpr const char* kSyllableCarrier = "a {} t a";
constexpr const char* kOpenSyllableCarrier = "_ {} t a";
// The player plays a consonant alone for the first of a cluster (pra: p,
// then ra) and for one closing a group (mar: ma, then r). Those that
// close Portuguese syllables are taken from a word's end, the others from
// before a stressed vowel.
constexpr const char* kConsonantCarrier = "a {} 'a t a";
constexpr const char* kClosingConsonantCarrier = "m 'a {}";
const std::set<std::string> kClosingConsonants = {"r", "rr", "s", "z", "x", "j", "m", "n", "ks"};
// A group of two letters is never split, so a vowel closed by a
// one-letter consonant (Aguiar's "ar", Abdon's "ab") is a unit of its own,
// said before a syllable starting with p (t when it is p's own).
constexpr const char* kClosedSyllableCarrier = "_ {} p a";
constexpr const char* kClosedByPCarrier = "_ {} t a";
// Glides alone are no group the rules mean to write, but one played alone
// then sounds as a glide rather than a burst of noise.
constexpr Sound kGlides[] = {{"y", "j"}, {"w", "w"}};
// The nasal murmur is the one closing bem.
constexpr const char* kMurmurCarrier = "b 'eI {}";

constexpr size_t kLongestName = 8;  // the index's name field

std::string upper(const std::string& text) {
  std::string out;
  for (char c : text) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// $ + the letters upper-cased, ^ read as CIRC and ~ as TIL.
std::string unitName(const std::string& group) {
  std::string name = "$";
  for (char c : group) {
    if (c == '^') name += "CIRC";
    else if (c == '~') name += "TIL";
    else name += upper(std::string(1, c));
  }
  return name;
}

// The mnemonics with the stress mark before the first vowel-like token.
std::string stressed(const std::string& onset, const std::string& nucleus) {
  std::string out = onset;
  if (!out.empty()) out += ' ';
  return out + "'" + nucleus;
}

// A tail is written vowel, mark, glide (e^y); its name puts the glide
// before the mark's suffix ($EYCIRC), as the player builds it.
std::string tailName(const std::string& tail) {
  std::string vowelAndGlide, mark;
  for (char c : tail) (c == '^' || c == '~' ? mark : vowelAndGlide) += c;
  return unitName(vowelAndGlide + mark);
}

struct Row {
  std::string name, group, phonemes, carrier;
};

std::vector<Row> inventory() {
  std::vector<Row> rows;
  for (const Sound& onset : kOnsets)
    for (const Sound& nucleus : kNuclei) {
      std::string group = std::string(onset.ours) + nucleus.ours;
      rows.push_back({unitName(group), group, stressed(onset.espeak, nucleus.espeak),
                      *onset.ours ? kSyllableCarrier : kOpenSyllableCarrier});
    }
  for (const Sound& tail : kTails)
    rows.push_back({tailName(tail.ours), tail.ours, stressed("", tail.espeak), kOpenSyllableCarrier});
  for (const Sound& onset : kOnsets)
    if (*onset.ours)
      rows.push_back({unitName(onset.ours), onset.ours, onset.espeak,
                      kClosingConsonants.count(onset.ours) ? kClosingConsonantCarrier : kConsonantCarrier});
  for (size_t vowel = 0; vowel < 5; ++vowel)  // the plain ones
    for (const Sound& coda : kOnsets) {
      if (std::string(coda.ours).size() != 1) continue;
      std::string group = std::string(kNuclei[vowel].ours) + coda.ours;
      rows.push_back({unitName(group), group, stressed("", kNuclei[vowel].espeak) + " " + coda.espeak,
                      group.ends_with("p") ? kClosedByPCarrier : kClosedSyllableCarrier});
    }
  for (const Sound& glide : kGlides) rows.push_back({unitName(glide.ours), glide.ours, glide.espeak, kConsonantCarrier});
  rows.push_back({"$NN", "nn", "N", kMurmurCarrier});
  return rows;
}

}  // namespace

int main() {
  std::cout << "# The voice's units, made by tools/unit_inventory; cut by tools/unitcut.\n"
               "# name\tgroup\tphonemes\tcarrier\n";
  std::set<std::string> names;
  int written = 0;
  for (const Row& row : inventory()) {
    if (!names.insert(row.name).second) {
      std::cerr << "unit_inventory: " << row.name << " made twice\n";
      return 1;
    }
    if (row.name.size() > kLongestName) {
      // The player never finds such a name and plays its parts instead
      // ($TCHACIRC as $TCH then $ACIRC).
      std::cout << "# " << row.name << " (" << row.group << ") not kept: name longer than " << kLongestName
                << " characters\n";
      continue;
    }
    std::cout << row.name << '\t' << row.group << '\t' << row.phonemes << '\t' << row.carrier << '\n';
    ++written;
  }
  std::cerr << "unit_inventory: " << written << " units\n";
  return 0;
}
