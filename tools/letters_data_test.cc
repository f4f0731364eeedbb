// Checks the committed letters folder (data/letras) against its list,
// items.tsv, and that programs reach it through the default drive c.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

const std::string kSource = TAMIRAL_LETTERS_SOURCE;
constexpr int kRate = 11025;

struct Item {
  std::string name, text;
};

std::vector<Item> listedItems() {
  std::vector<Item> items;
  std::ifstream list(kSource + "/items.tsv");
  std::string line;
  while (std::getline(list, line)) {
    if (line.empty() || line.front() == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      ADD_FAILURE() << "line without a tab: " << line;
      continue;
    }
    items.push_back({line.substr(0, tab), line.substr(tab + 1)});
  }
  return items;
}

std::string readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

uint32_t le32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
  return v;
}
uint16_t le16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

// The samples of an item, after checking its header is the plain 44-byte
// one the runtime plays: 8-bit unsigned mono at 11025 Hz.
std::vector<uint8_t> samplesOf(const std::string& name) {
  std::string bytes = readBytes(kSource + "/" + name + ".wav");
  if (bytes.size() < 44) {
    ADD_FAILURE() << "missing or short: " << bytes.size() << " bytes";
    return {};
  }
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(le32(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(le32(bytes, 16), 16u);
  EXPECT_EQ(le16(bytes, 20), 1);  // PCM
  EXPECT_EQ(le16(bytes, 22), 1);  // mono
  EXPECT_EQ(le32(bytes, 24), static_cast<uint32_t>(kRate));
  EXPECT_EQ(le32(bytes, 28), static_cast<uint32_t>(kRate));
  EXPECT_EQ(le16(bytes, 32), 1);
  EXPECT_EQ(le16(bytes, 34), 8);
  EXPECT_EQ(bytes.substr(36, 4), "data");
  EXPECT_EQ(le32(bytes, 40), bytes.size() - 44);
  return std::vector<uint8_t>(bytes.begin() + 44, bytes.end());
}

int peak(const std::vector<uint8_t>& samples) {
  int most = 0;
  for (uint8_t s : samples) most = std::max(most, std::abs(s - 128));
  return most;
}

TEST(LettersData, EveryListedItemIsAPlayableWave) {
  std::vector<Item> items = listedItems();
  ASSERT_FALSE(items.empty());
  for (const Item& item : items) {
    SCOPED_TRACE(item.name);
    std::vector<uint8_t> samples = samplesOf(item.name);
    EXPECT_FALSE(samples.empty());
    EXPECT_LE(std::count_if(samples.begin(), samples.end(), [](uint8_t s) { return s == 0 || s == 255; }), 3)
        << "clipped";
    EXPECT_GE(peak(samples), 12) << "too quiet to hear";
  }
}

TEST(LettersData, FolderHoldsJustTheListedItemsUnderDistinctNames) {
  std::set<std::string> listed, folded;
  for (const Item& item : listedItems()) {
    listed.insert(item.name + ".wav");
    std::string lower = item.name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    // The runtime matches names without regard to case.
    EXPECT_TRUE(folded.insert(lower).second) << item.name << " differs from another item only in case";
  }
  for (const auto& entry : std::filesystem::directory_iterator(kSource)) {
    std::string name = entry.path().filename().string();
    if (name == "items.tsv") continue;
    EXPECT_TRUE(listed.count(name)) << name << " is not in items.tsv (left from an older list?)";
  }
}

TEST(LettersData, NamesTheRuntimeLooksUpAreListed) {
  std::vector<std::string> wanted = {
      "_unknown", "_zero", "_MENOS", "_TRACO", "_FON9", "_um", "_dois", "_tres", "_quatro", "_cinco", "_seis",
      "_sete", "_oito", "_nove", "_dez", "_onze", "_doze", "_treze", "_quatorz", "_quinze", "_dezesse",
      "_dezeset", "_dezoito", "_dezenov", "_vinte", "_trinta", "_quarent", "_cinquen", "_sessent", "_setenta",
      "_oitenta", "_noventa", "_cento", "_duzento", "_trezent", "_quatroc", "_quinhen", "_seiscen", "_setecen",
      "_oitocen", "_novecen", "_cem", "_e", "_mil", "_milhao", "_milhoes", "_bilhao", "_bilhoes", "_trilhao",
      "_trilhoe", "_uma", "_duas", "_hora", "_horas", "_minuto", "_minutos", "_primeir", "_de", "_Domingo",
      "_Segunda", "_Terca", "_Quarta", "_Quinta", "_Sexta", "_Sabado", "_Janeiro", "_Feverei", "_Marco",
      "_Abril", "_Maio", "_Junho", "_Julho", "_Agosto", "_Setembr", "_Outubro", "_Novembr", "_Dezembr", "_DEL",
      "_APFCPO", "_APICPO", "_CPOAPA", "_FALACI", "_FALDLG", "_VELOC", "_SEMBAT", "_SEMENER", "dtmf_#",
      "dtmf_X"};
  for (int code = 0; code < 256; ++code) wanted.push_back("_" + std::to_string(code));
  for (int code = 'A'; code <= 'Z'; ++code) {
    wanted.push_back("_FON" + std::to_string(code));
    wanted.push_back("_FON" + std::to_string(code + 32));
  }
  for (char digit = '0'; digit <= '9'; ++digit) wanted.push_back(std::string("dtmf_") + digit);

  std::map<std::string, std::string> texts;
  for (const Item& item : listedItems()) texts[item.name] = item.text;
  for (const std::string& name : wanted) EXPECT_TRUE(texts.count(name)) << name;
  // Upper and lower case letters share their names and phonetic spellings.
  for (int code = 'A'; code <= 'Z'; ++code) {
    std::string upper = std::to_string(code), lower = std::to_string(code + 32);
    EXPECT_EQ(texts["_" + upper], texts["_" + lower]) << static_cast<char>(code);
    EXPECT_EQ(texts["_FON" + upper], texts["_FON" + lower]) << static_cast<char>(code);
  }
}

// Speech starts and ends within a few milliseconds of the file's ends: the
// voice's pauses are cut, so a spelled word does not drag.
TEST(LettersData, SpeechIsTrimmed) {
  for (const Item& item : listedItems()) {
    if (item.text.front() == '@') continue;
    SCOPED_TRACE(item.name + " \"" + item.text + "\"");
    std::vector<uint8_t> samples = samplesOf(item.name);
    auto sound = [](uint8_t s) { return std::abs(s - 128) > 1; };
    auto first = std::find_if(samples.begin(), samples.end(), sound);
    ASSERT_NE(first, samples.end());
    auto last = std::find_if(samples.rbegin(), samples.rend(), sound);
    EXPECT_LE(first - samples.begin(), kRate * 20 / 1000) << "silence before";
    EXPECT_LE(last - samples.rbegin(), kRate * 20 / 1000) << "silence after";
    EXPECT_LE(samples.size(), static_cast<size_t>(kRate * 3)) << "too long";
  }
}

double powerAt(const std::vector<uint8_t>& samples, double frequency) {
  // Goertzel: the energy of one frequency.
  double coefficient = 2 * std::cos(2 * M_PI * frequency / kRate), previous = 0, before = 0;
  for (uint8_t s : samples) {
    double current = (s - 128) + coefficient * previous - before;
    before = previous;
    previous = current;
  }
  return previous * previous + before * before - coefficient * previous * before;
}

// Each key sounds its row and column frequency and no other, as an exchange
// decoding it would require; fades keep the ends from clicking.
TEST(LettersData, TelephoneKeysSoundTheirRowAndColumn) {
  const double rows[] = {697, 770, 852, 941}, columns[] = {1209, 1336, 1477};
  const std::map<char, std::pair<int, int>> keys = {
      {'1', {0, 0}}, {'2', {0, 1}}, {'3', {0, 2}}, {'4', {1, 0}}, {'5', {1, 1}}, {'6', {1, 2}},
      {'7', {2, 0}}, {'8', {2, 1}}, {'9', {2, 2}}, {'X', {3, 0}}, {'0', {3, 1}}, {'#', {3, 2}}};
  for (const auto& [key, place] : keys) {
    SCOPED_TRACE(std::string("dtmf_") + key);
    std::vector<uint8_t> samples = samplesOf(std::string("dtmf_") + key);
    ASSERT_FALSE(samples.empty());
    EXPECT_NEAR(samples.size(), kRate * 0.15, kRate * 0.05);
    EXPECT_LE(std::abs(samples.front() - 128), 2);
    EXPECT_LE(std::abs(samples.back() - 128), 2);
    double row = powerAt(samples, rows[place.first]), column = powerAt(samples, columns[place.second]);
    EXPECT_LT(std::max(row, column), 2 * std::min(row, column)) << "one tone much weaker";
    for (int r = 0; r < 4; ++r) {
      if (r == place.first) continue;
      EXPECT_LT(powerAt(samples, rows[r]) * 20, row) << rows[r];
    }
    for (int c = 0; c < 3; ++c) {
      if (c == place.second) continue;
      EXPECT_LT(powerAt(samples, columns[c]) * 20, column) << columns[c];
    }
  }
}

// With no TAMIRAL_DRIVE_C and no ~/.local/share/tamiral/drive_c, drive c is
// the build tree's, where the build copies the letters folder.
TEST(LettersData, DefaultDriveCReachesTheLettersFolder) {
  TempFolder home;
  std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", home.path().c_str(), 1);
  unsetenv("TAMIRAL_DRIVE_C");
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  const std::string letter = "c:\\ondrel\\som\\letras\\_65.wav";

  EXPECT_EQ(fs->nativePath(letter), std::string(TAMIRAL_BUILD_DRIVES) + "/drive_c/ondrel/som/letras/_65.wav");
  EXPECT_EQ(readBytes(fs->nativePath(letter)), readBytes(kSource + "/_65.wav"));
  EXPECT_TRUE(fs->isFile("C:\\ONDREL\\SOM\\LETRAS\\dtmf_x.WAV"));

  // A user's own drive folder, once it exists, takes over; the variable beats both.
  std::string user = home.path() + "/.local/share/tamiral/drive_c";
  home.write(".local/share/tamiral/drive_c/ondrel/som/letras/_65.wav", "mine");
  EXPECT_EQ(fs->nativePath(letter), user + "/ondrel/som/letras/_65.wav");
  setenv("TAMIRAL_DRIVE_C", (home.path() + "/elsewhere").c_str(), 1);
  EXPECT_EQ(fs->nativePath(letter), home.path() + "/elsewhere/ondrel/som/letras/_65.wav");

  unsetenv("TAMIRAL_DRIVE_C");
  setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace tamiral
