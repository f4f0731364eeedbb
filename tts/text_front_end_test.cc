#include "tts/text_front_end.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

std::string cp(std::string_view utf8) { return utf8ToCp1252(utf8); }

TEST(LetterNotation, PreparesEachCharacter) {
  struct Case {
    std::string text, letters;
  } cases[] = {
      {cp("Çaça"), "ssassa"},
      {"kiwi", "kiui"},             // w between letters is u
      {"Yara", "iara"},             // y next to a letter is i
      {"w y", "w y"},               // alone they stay
      {cp("d'água"), "da'gua"},     // the apostrophe after d goes
      {"o'clock", "o'clock"},       // elsewhere it is a mark
      {cp("ÁÉÍÓÚ"), "a'e'i'o'u'"},  // capitals map to lower case letters
      {cp("ãõâêôàü"), "a~o~a^e^o^a`u"},
      {cp("ñ"), "nh"},
      {"a\tb\x01" "c", "a b c"},    // control bytes separate words
      {"a\x9D" "b\xB0" "c", "a b c"},  // bytes without a mapping too
      {"\x80\x87", "ssss"},         // the DOS c-cedilla positions
      {"\xA7\xBB", "\xA7\xBA"},     // DOS positions of the ordinals
  };
  for (const Case& c : cases) EXPECT_EQ(toLetterNotation(c.text), c.letters) << c.text;
}

TEST(TakeWords, SplitsLettersFromOtherCharacters) {
  std::vector<TakenWord> words = takeWords("Voce^, agu\"entar 12 BRT");
  std::vector<std::string> letters;
  for (const TakenWord& word : words) letters.push_back(word.letters);
  EXPECT_EQ(letters, (std::vector<std::string>{"voce^", ",", "agu\"entar", "1", "2", "brt"}));
  EXPECT_TRUE(words[0].explicitAccent);
  EXPECT_EQ(words[0].vowels, 2);
  EXPECT_FALSE(words[2].explicitAccent);  // the diaeresis is no stress mark
  EXPECT_EQ(words[2].vowels, 4);
  EXPECT_EQ(words[5].vowels, 0);
}

TEST(Stress, FollowsTheWordsEnding) {
  struct Case {
    std::string word, stressed;
  } cases[] = {
      {"casa", "cAsa"},          {"casas", "cAsas"},       {"falaram", "falAram"},
      {"homem", "hOmem"},        {"jardim", "jardIm"},     {"batom", "batOm"},
      {"papel", "papEl"},        {"falar", "falAr"},       {"feliz", "felIz"},
      {"xerox", "xerOx"},        {"saci", "sacI"},         {"caju", "cajU"},
      {"pai", "pAi"},            {"partiu", "partIu"},     {"aqui", "aquI"},
      {"quais", "quAis"},        {"tia", "tIa"},           {"guia", "guIa"},
      {"meio", "mEio"},          {"coisa", "cOisa"},       {"rainha", "raInha"},
      {"saindo", "saIndo"},      {"raimundo", "raimUndo"}, {"quatro", "quAtro"},
      {"tranqu\"ilo", "tranqu\"Ilo"}, {"pingu\"im", "pingu\"Im"},
      // The silent u of que/gue/qui/gui is passed over, a sounded one is not.
      {"parque", "pArque"},      {"sangue", "sAngue"},     {"pergunta", "pergUnta"},
      // An i or u opening the word before a final vowel takes the stress.
      {"uma", "Uma"},            {"ilha", "Ilha"},
  };
  for (const Case& c : cases) {
    std::string word = c.word;
    markStress(word);
    EXPECT_EQ(word, c.stressed);
  }
}

TEST(Stress, LeavesAWordWithoutVowelsAlone) {
  std::string word = "brt";
  markStress(word);
  EXPECT_EQ(word, "brt");
}

struct ContextCase {
  std::string pattern, word;
  size_t at;  // the centre's index (left) or the index after it (right)
  bool matches;
};

TEST(LetterRules, RightContextSymbols) {
  ContextCase cases[] = {
      {"#", "caia", 1, true},      {"#%", "caia", 1, true},   {"#", "casa", 2, false},
      {"#", "ca'sa", 2, true},     {"%", "casa", 4, true},    {"%", "casa", 3, false},
      {"&", "carta", 2, true},     {"&", "casta", 2, false},  {"*", "casta", 2, true},
      {"*T", "casta", 2, false},   {"*", "carta", 2, false},  {"*", "caa", 2, false},
      {"+", "ce", 1, true},        {"+%", "ce'", 1, true},    {"+", "ca", 1, false},
      {"[", "ca", 2, true},        {"[", "cam", 2, true},     {"[", "cah", 2, false},
      {"[", "caa", 2, false},      {"\\%", "cas", 2, true},   {"\\%", "ca", 2, true},
      {"SA", "casa", 2, true},     {"SA", "casa", 3, false},  {"+", "cE", 1, true},
  };
  for (const ContextCase& c : cases) {
    EXPECT_EQ(matchesRightContext(c.pattern, c.word, c.at), c.matches) << c.pattern << " in " << c.word;
  }
}

TEST(LetterRules, LeftContextSymbols) {
  ContextCase cases[] = {
      {"#", "aias", 3, true},      {"%#", "aias", 3, true},   {"#", "cas", 1, false},
      {"%", "cas", 0, true},       {"%", "cas", 1, false},    {"]", "cas", 2, true},
      {"]", "ces", 2, false},      {"_", "s", 0, true},       {"_", "as", 1, true},
      {"_", "a's", 2, true},       {"_", "cs", 1, false},     {"|", "ns", 1, true},
      {"|", "ls", 1, false},       {"EN", "enxame", 2, true}, {"EN", "xame", 0, false},
      {"%_", "as", 1, true},       {"]", "As", 1, true},
  };
  for (const ContextCase& c : cases) {
    EXPECT_EQ(matchesLeftContext(c.pattern, c.word, c.at), c.matches) << c.pattern << " before " << c.word;
  }
}

class TinyRules : public ::testing::Test {
 protected:
  std::string say(std::string_view text) { return frontEnd.textToPhonetic(text); }
  TextFrontEnd frontEnd;
};

TEST_F(TinyRules, FirstMatchingRuleInFileOrder) {
  frontEnd.loadRules(
      "; a comment line (X)=never\n"
      "#(S)#= z\n"
      "(S)= s\n"
      "(S)=never\n"
      "(A)=a\n"
      "(CA)= ka|ignored\n"
      "(C)= k\n"
      "x(A)=lower-case contexts never match letters\n");
  EXPECT_EQ(frontEnd.ruleCount(), 7u);
  EXPECT_EQ(say("cas sas asa"), "[ ka/ s][ s/a/ s][A/ z/a]");
}

TEST_F(TinyRules, FieldsAreCutToTheirLimits) {
  frontEnd.loadRules(
      "(KLMNPQ)=centre\n"        // centre cut to KLMNP
      "(A)KLMNPQ=right\n"        // right context cut to KLMNP
      "(A)=123456789012345\n"    // output cut to 11
      "(a)=lower case centre\n"  // beyond the lists (32..95): dropped
      "()=empty centre\n");
  EXPECT_EQ(frontEnd.ruleCount(), 3u);
  EXPECT_EQ(say("aklmnpt"), "[right/centre/ /_T]");
  EXPECT_EQ(say("a"), "[12345678901]");
}

TEST_F(TinyRules, StressReachesTheOutput) {
  frontEnd.loadRules("(CA)= ka\n(C)= k\n(A)=a\n(S)= s\n(E')=E\n(L)=w\n");
  struct Case {
    std::string word, phonetic;
  } cases[] = {
      {"sasa", "[ s/A/ s/a]"},
      {"sal", "[ s/A/w]"},            // one vowel and a final l
      {"sas", "[ s/a/ s]"},           // one vowel: unstressed
      {"acasa", "[a/ kA/ s/a]"},      // the stressed letter inside a centre
      {"cac\xE9", "[ ka/ k/E]"},      // written accents are the rules' to mark
  };
  for (const Case& c : cases) EXPECT_EQ(say(c.word), c.phonetic) << c.word;
}

TEST_F(TinyRules, ConsonantOnlyWordsAndPausesAreSpelled) {
  frontEnd.loadRules("(A)=a\n");
  EXPECT_EQ(say("BRT, a."), "[ /_b][ /_r][ /_t][ /_,][a][ /_.]");
  EXPECT_EQ(say("7"), "[ /_7]");  // not a consonant: through the rules, none for digits
}

TEST_F(TinyRules, LoadingRulesEmptiesTheExceptions) {
  frontEnd.loadRules("(A)=a\n(B)= b\n");
  frontEnd.loadExceptions("ba=ab\n");
  EXPECT_EQ(say("ba"), "[a/ b]");
  frontEnd.loadRules("(A)=a\n(B)= b\n");
  EXPECT_EQ(frontEnd.exceptionCount(), 0u);
  EXPECT_EQ(say("ba"), "[ b/a]");
}

TEST_F(TinyRules, ExceptionsReplaceWordsAndTheirPlurals) {
  // Letters sound as themselves, so a replacement shows in the output.
  frontEnd.loadRules("(A)=a\n(E)=e\n(I)=i\n(O)=o\n(U)=u\n(M)=m\n(S)=s\n(T)=t\n(X)=x\n(K)=k\n");
  frontEnd.loadExceptions(
      "; comment=ignored\n"
      "\n"
      "taxi=taksi|comment\n"
      "tem=tei\r\n"
      "sem=sei\n"
      "sems=ok\n");
  EXPECT_EQ(frontEnd.exceptionCount(), 4u);
  struct Case {
    std::string word, phonetic;
  } cases[] = {
      {"taxi", "[t/a/k/s/I]"},
      {"TAXIS", "[t/a/k/s/I/s]"},   // plural falls back to the singular + s
      {"temm", "[t/e/i/m]"},        // so does a final m
      {"sems", "[o/k]"},            // the whole word first
      {"taxiss", "[t/a/x/I/s/s]"},  // only one letter comes off
      {"mas", "[m/a/s]"},
  };
  for (const Case& c : cases) EXPECT_EQ(say(c.word), c.phonetic) << c.word;
}

TEST(ExceptionTable, KeepsLimitsAndFindsByBisection) {
  std::string text;
  for (int i = 15100; i > 0; --i) text += "w" + std::to_string(i) + "=r" + std::to_string(i) + "\n";
  ExceptionTable table;
  table.load(text);
  EXPECT_EQ(table.size(), ExceptionTable::kMaxEntries);
  ASSERT_NE(table.find("w15100"), nullptr);  // read in file order, then sorted
  EXPECT_EQ(*table.find("w15100"), "r15100");
  EXPECT_EQ(table.find("w1"), nullptr);      // past the 15000th line

  ExceptionTable longLine;
  longLine.load(std::string(254, 'a') + "=xyz\n");
  ASSERT_NE(longLine.find(std::string(254, 'a')), nullptr);
  EXPECT_EQ(*longLine.find(std::string(254, 'a')), "");  // the line is cut at 255
}

// Whole words through the committed rules and exceptions, so a change of the
// data that alters a common word shows here.
class PortugueseData : public ::testing::Test {
 protected:
  void SetUp() override {
    frontEnd.loadRules(contentsOf(TAMIRAL_DIFONES_SOURCE "/nregras.rgr"));
    frontEnd.loadExceptions(contentsOf(TAMIRAL_DIFONES_SOURCE "/nportug.exc"));
    ASSERT_GT(frontEnd.ruleCount(), 0u);
    ASSERT_GT(frontEnd.exceptionCount(), 0u);
  }
  TextFrontEnd frontEnd;
};

// The loader cuts long fields silently; in our own file a cut field is a
// mistake (a context losing its "%" matches far more words).
TEST_F(PortugueseData, RulesFitTheirFields) {
  std::string text = contentsOf(TAMIRAL_DIFONES_SOURCE "/nregras.rgr");
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    size_t open = line.find('(');
    size_t close = line.find(')', open);
    size_t equals = line.find('=', close);
    ASSERT_TRUE(open != std::string::npos && close != std::string::npos && equals != std::string::npos) << line;
    std::string output = line.substr(equals + 1);
    EXPECT_LE(open, LetterRules::kMaxContext) << line;
    EXPECT_LE(close - open - 1, LetterRules::kMaxContext) << line;
    EXPECT_LE(equals - close - 1, LetterRules::kMaxContext) << line;
    EXPECT_LE(output.substr(0, output.find('|')).size(), LetterRules::kMaxOutput) << line;
  }
}

TEST_F(PortugueseData, CommonWords) {
  struct Case {
    std::string word, phonetic;
  } cases[] = {
      {"casa", "[ k/A/ z/a]"},
      {"cama", "[ k/A~/ m/a]"},
      {"carro", "[ k/A/ rr/u]"},
      {"rato", "[ rr/A/ t/u]"},
      {"honra", "[/O~// rr/a]"},
      {"porta", "[ p/O/r/ t/a]"},
      {"prato", "[ p/r/A/ t/u]"},
      {"papel", "[ p/a/ p/E/w]"},
      {"pai", "[ p/A/y]"},
      {"saiu", "[ s/a /I/w]"},
      {"dia", "[ dj/I /a]"},
      {"noite", "[ n/O^/y/ tch/i]"},
      {"cidade", "[ s/i/ d/A/ dj/i]"},
      {"quando", "[ kw/A~// d/u]"},
      {"aqui", "[a/ k/I]"},
      {"guerra", "[ g/E/ rr/a]"},
      {"água", "[A/ gw/a]"},
      {"pão", "[ p/A~w]"},
      {"mãe", "[ m/A~y]"},
      {"lições", "[ l/i/ s/O~y/s]"},
      {"homem", "[/O^/ m/e~y/]"},
      {"também", "[ t/a~// b/E~y/]"},
      {"cantam", "[ k/A~// t/a~w/]"},
      {"mesmo", "[ m/E^/z/ m/u]"},
      {"exame", "[e^/ z/A~/ m/i]"},
      {"texto", "[ t/E^/s/ t/u]"},
      {"caixa", "[ k/A/y/ x/a]"},
      {"nascer", "[ n/a/ s/E^/r]"},
      {"filho", "[ f/I/ lh/u]"},
      {"ninho", "[ n/I/ nh/u]"},
      {"você", "[ v/o^/ s/E^]"},
      {"avó", "[a/ v/O]"},
      {"táxi", "[ t/A/ ks/i]"},
      {"muitos", "[ m/U~/y/ t/u/s]"},
      {"linguiça", "[ l/i~// gw/I/ s/a]"},
      {"sol", "[ s/O/w]"},
      {"porque", "[ p/O^/r/ k/i]"},
      {"chave", "[ x/A/ v/i]"},
      {"exceção", "[e^/ s/e^/ s/A~w]"},
      {"jardim", "[ j/a/r/ dj/I~/]"},
      {"rua", "[ rr/U /a]"},
      {"janela", "[ j/a/ n/E/ l/a]"},
      {"mesa", "[ m/E^/ z/a]"},
      {"nova", "[ n/O/ v/a]"},
      {"novo", "[ n/O^/ v/u]"},
      {"explicar", "[e^/s/ p/l/i/ k/A/r]"},
      {"próximo", "[ p/r/O/ s/i/ m/u]"},
  };
  for (const Case& c : cases) EXPECT_EQ(frontEnd.textToPhonetic(cp(c.word)), c.phonetic) << c.word;
}

}  // namespace
}  // namespace tamiral
