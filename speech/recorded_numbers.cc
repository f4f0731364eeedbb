#include "speech/recorded_numbers.h"

#include <array>
#include <memory>
#include <vector>

#include "engine/cp1252.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "speech/speech.h"
#include "speech/wave_playback.h"

namespace tamiral {

namespace {

constexpr std::array<std::string_view, 10> kUnits = {"",     "um",   "dois", "tres", "quatro",
                                                     "cinco", "seis", "sete", "oito", "nove"};
constexpr std::array<std::string_view, 10> kTeens = {"dez",     "onze",      "doze",      "treze",   "quatorze",
                                                     "quinze",  "dezesseis", "dezessete", "dezoito", "dezenove"};
constexpr std::array<std::string_view, 10> kTens = {"",          "",         "vinte",   "trinta",  "quarenta",
                                                    "cinquenta", "sessenta", "setenta", "oitenta", "noventa"};
constexpr std::array<std::string_view, 10> kHundreds = {
    "",           "cento",      "duzentos",  "trezentos",  "quatrocentos",
    "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos"};

struct Scale {
  std::string_view singular, plural;
};
// Trillions, billions, millions, thousands.
constexpr Scale kScales[] = {
    {"trilhão "_cp, "trilhões "_cp}, {"bilhão "_cp, "bilhões "_cp}, {"milhão "_cp, "milhões "_cp}, {"mil ", "mil "}};

constexpr std::string_view kMonths[] = {"Janeiro", "Fevereiro", "Marco",    "Abril",   "Maio",     "Junho",
                                        "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};
constexpr std::string_view kWeekdays[] = {"_Domingo", "_Segunda", "_Terca", "_Quarta",
                                          "_Quinta",  "_Sexta",   "_Sabado"};

// Items are joined into sounds of at most this many bytes of samples.
constexpr size_t kSoundBufferBytes = 30000;
constexpr size_t kItemHeaderBytes = 44;

// The words of one group of three digits, without its scale word.
std::string groupWords(int a, int b, int c) {
  if (a == 0 && b == 0 && c == 0) return {};
  if (a == 1 && b == 0 && c == 0) return "cem";
  std::string words;
  if (a != 0) {
    words += kHundreds[a];
    if (b != 0 || c != 0) words += " e ";
  }
  if (b == 1) {
    words += kTeens[c];
    return words;
  }
  if (b != 0) {
    words += kTens[b];
    if (c != 0) words += " e ";
  }
  if (c > 0) words += kUnits[c];
  return words;
}

// Scale words carry a trailing space and groups are joined with one, so
// spaces pile up; the words must split cleanly.
std::string collapseSpaces(std::string_view text) {
  std::string out;
  for (char ch : text) {
    if (ch == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += ch;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::vector<std::string> splitWords(std::string_view words) {
  std::vector<std::string> list;
  size_t start = 0;
  while (start < words.size()) {
    size_t end = words.find(' ', start);
    if (end == std::string_view::npos) end = words.size();
    if (end > start) list.emplace_back(words.substr(start, end - start));
    start = end + 1;
  }
  return list;
}

// The letters folder's item for a word: accents of the nasal vowels dropped,
// "_" + the first seven letters.
std::string itemName(std::string word) {
  for (char& ch : word) {
    if (ch == "ã"_cp[0]) ch = 'a';
    if (ch == "õ"_cp[0]) ch = 'o';
  }
  // "_dezesse" is sixteen; seventeen has an item of its own.
  if (word == "dezessete") word = "dezeset";
  std::string name = "_" + word;
  if (name.size() > 8) name.resize(8);
  return name;
}

// The samples of an item file, without its header; nothing when it does not open.
std::string itemSamples(Speech& speech, const std::string& name) {
  std::optional<std::string> bytes = readWholeFile(speech.fileSystem(), speech.lettersFolder() + name + ".wav");
  if (!bytes || bytes->size() <= kItemHeaderBytes) return {};
  return bytes->substr(kItemHeaderBytes);
}

void playSound(Speech& speech, const std::string& samples) {
  if (samples.empty()) return;
  speech.playWaveImageWait(buildWaveHeader(samples.size(), 11025, 8, 1) + samples);
}

void playNumber(Speech& speech, int value, bool feminine) {
  if (value < 0) return;
  playRecordedWords(speech, recordedNumberWords(static_cast<uint64_t>(value)), feminine);
}

}  // namespace

std::string recordedNumberWords(uint64_t v) {
  if (v == 0) return "zero";
  constexpr uint64_t kLimit = 1'000'000'000'000'000;
  v %= kLimit;
  // Fifteen digits: trillions, billions, millions, thousands, units.
  int digits[15];
  for (int i = 14; i >= 0; --i, v /= 10) digits[i] = static_cast<int>(v % 10);
  std::string groups[5];
  int last = -1;
  for (int g = 0; g < 5; ++g) {
    const int* d = digits + 3 * g;
    groups[g] = groupWords(d[0], d[1], d[2]);
    if (groups[g].empty()) continue;
    if (g < 4) {
      bool one = d[0] == 0 && d[1] == 0 && d[2] == 1;
      groups[g] += " ";
      groups[g] += one ? kScales[g].singular : kScales[g].plural;
    }
    last = g;
  }
  std::string result;
  bool earlier = false;
  for (int g = 0; g < 5; ++g) {
    if (groups[g].empty()) continue;
    if (earlier) result += ' ';
    if (g == last && earlier) result += "e ";
    result += groups[g];
    earlier = true;
  }
  result = collapseSpaces(result);
  // "mil", not "um mil"; "um milhão" keeps its "um".
  if (result.starts_with("um mil") && !result.starts_with("um milh")) result.erase(0, 3);
  return result;
}

void playRecordedWords(Speech& speech, std::string_view words, bool feminine) {
  std::vector<std::string> list = splitWords(words);
  std::string sound;
  for (size_t i = 0; i < list.size(); ++i) {
    std::string name = itemName(list[i]);
    if (feminine && i + 1 == list.size()) {
      if (name == "_um") name = "_uma";
      if (name == "_dois") name = "_duas";
    }
    speech.logSpoken(name);
    std::string samples = itemSamples(speech, name);
    if (samples.empty()) continue;
    if (!sound.empty() && sound.size() + samples.size() > kSoundBufferBytes) {
      playSound(speech, sound);
      sound.clear();
    }
    sound += samples;
  }
  playSound(speech, sound);
}

int weekdayOf(int day, int month, int year) {
  static constexpr int kMonthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 1 || month > 12) return 0;
  if (month < 3) --year;
  int weekday = (year + year / 4 - year / 100 + year / 400 + kMonthOffsets[month - 1] + day) % 7;
  return weekday < 0 ? weekday + 7 : weekday;
}

void speakTime(Speech& speech, int hours, int minutes) {
  playNumber(speech, hours, true);
  speech.playItem(hours < 2 ? "_hora" : "_horas");
  if (minutes == 0) return;
  playNumber(speech, minutes, false);
  speech.playItem(minutes < 2 ? "_minuto" : "_minutos");
}

void speakDate(Speech& speech, int day, int month, int year) {
  speech.playItem(kWeekdays[weekdayOf(day, month, year)]);
  if (day == 1)
    speech.playItem("_primeir");
  else
    playNumber(speech, day, false);
  speech.playItem("_de");
  if (month >= 1 && month <= 12) speech.playItem("_" + std::string(kMonths[month - 1].substr(0, 7)));
  speech.playItem("_de");
  // Years of this century are "dois mil e …"; earlier ones only by their last two digits.
  if (year >= 2000) playNumber(speech, 2000, false);
  if (year > 2000) speech.playItem("_e");
  if (year % 100 != 0) playNumber(speech, year % 100, false);
}

void speakCurrentTime(Speech& speech, const DateTime& now) { speakTime(speech, now.hour, now.minute); }

void speakCurrentDate(Speech& speech, const DateTime& now) { speakDate(speech, now.day, now.month, now.year); }

}  // namespace tamiral
