// Checks the committed unit database (data/difones/DIFONES2.IND and .DIF)
// against the unit names the player looks up, and that the build tree's
// drive c carries the voice's folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tamiral {
namespace {

const std::string kSource = TAMIRAL_DIFONES_SOURCE;
constexpr size_t kRecordSize = 15;
constexpr size_t kDefaultCut = 400;  // bytes an unstressed unit loses at start-up

std::string readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

struct Record {
  std::string name;
  size_t length, offset;
};

std::vector<Record> records(const std::string& index) {
  std::vector<Record> out;
  auto byte = [&](size_t at) { return static_cast<size_t>(static_cast<uint8_t>(index[at])); };
  for (size_t at = 0; at + kRecordSize <= index.size(); at += kRecordSize) {
    size_t nameLength = std::min<size_t>(byte(at), 8);
    out.push_back({index.substr(at + 1, nameLength), byte(at + 9) | byte(at + 10) << 8,
                   byte(at + 11) | byte(at + 12) << 8 | byte(at + 13) << 16 | byte(at + 14) << 24});
  }
  return out;
}

class DifonesData : public testing::Test {
 protected:
  void SetUp() override {
    index_ = readBytes(kSource + "/DIFONES2.IND");
    data_ = readBytes(kSource + "/DIFONES2.DIF");
    ASSERT_FALSE(index_.empty());
    for (const Record& r : records(index_)) units_[r.name] = r;
  }
  std::vector<uint8_t> samples(const Record& r) const {
    if (r.offset + r.length > data_.size()) return {};
    return std::vector<uint8_t>(data_.begin() + r.offset, data_.begin() + r.offset + r.length);
  }

  std::string index_, data_;
  std::map<std::string, Record> units_;
};

TEST_F(DifonesData, IndexRecordsAreSortedUniqueAndInsideTheData) {
  ASSERT_EQ(index_.size() % kRecordSize, 0u);
  std::vector<Record> all = records(index_);
  for (size_t i = 0; i < all.size(); ++i) {
    const Record& r = all[i];
    SCOPED_TRACE(r.name);
    EXPECT_LE(static_cast<uint8_t>(index_[i * kRecordSize]), 8);
    EXPECT_GE(r.name.size(), 2u);
    // The player upper-cases the name it looks for.
    EXPECT_FALSE(std::any_of(r.name.begin(), r.name.end(), [](char c) { return c >= 'a' && c <= 'z'; }));
    if (i > 0) {
      EXPECT_LT(all[i - 1].name, r.name) << "out of order or repeated";
    }
    EXPECT_GT(r.length, 0u);
    EXPECT_LE(r.offset + r.length, data_.size());
  }
}

// The names the player asks for, built from the phonetic notation.
std::set<std::string> namesOfTheNotation() {
  const std::vector<std::string> onsets = {"",  "B", "D",  "F",  "G",  "K",   "L",  "M",  "N",
                                           "P", "T", "V",  "R",  "RR", "S",   "Z",  "X",  "J",
                                           "NH", "LH", "TCH", "DJ", "KS", "KW", "GW"};
  std::set<std::string> names = {"$NN"};
  for (const std::string& onset : onsets) {
    if (!onset.empty()) names.insert("$" + onset);
    // Two-letter groups are not split: a vowel closed by a one-letter consonant.
    for (const char* vowel : {"A", "E", "I", "O", "U"})
      if (onset.size() == 1) names.insert(std::string("$") + vowel + onset);
    for (const char* vowel : {"A", "E", "I", "O", "U"})
      for (const char* mark : {"", "CIRC", "TIL"}) {
        std::string name = "$" + onset + vowel + mark;
        if (name.size() <= 8) names.insert(name);  // longer names are played in parts
      }
  }
  for (const char* vowel : {"A", "E", "I", "O", "U"})
    for (const char* glide : {"Y", "W"})
      for (const char* mark : {"", "CIRC", "TIL"}) names.insert(std::string("$") + vowel + glide + mark);
  return names;
}

std::vector<std::string> inventoryNames() {
  std::vector<std::string> names;
  std::ifstream list(kSource + "/units.tsv");
  std::string line;
  while (std::getline(list, line))
    if (!line.empty() && line.front() != '#') names.push_back(line.substr(0, line.find('\t')));
  return names;
}

TEST_F(DifonesData, EveryUnitOfTheNotationAndTheInventoryIsThere) {
  std::vector<std::string> inventory = inventoryNames();
  ASSERT_FALSE(inventory.empty());
  for (const std::string& name : namesOfTheNotation()) EXPECT_TRUE(units_.count(name)) << name;
  for (const std::string& name : inventory) EXPECT_TRUE(units_.count(name)) << name;
  EXPECT_EQ(units_.size(), inventory.size()) << "units.tsv and the index disagree";
}

// Units are cut at zero crossings, so joining them does not click, also
// when an unstressed unit (name longer than two characters) loses its last
// 400 bytes, and something is left after that; none is clipped; every unit
// with a vowel is loud enough to hear.
TEST_F(DifonesData, SamplesAreCleanAndAudible) {
  for (const auto& [name, record] : units_) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> s = samples(record);
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(std::count_if(s.begin(), s.end(), [](uint8_t v) { return v == 0 || v == 255; }), 0) << "clipped";
    int peak = 0;
    for (uint8_t v : s) peak = std::max(peak, std::abs(v - 128));
    // A zero crossing of a steep wave may sit between two samples.
    int nearZero = std::max(12, peak / 3);
    EXPECT_LE(std::abs(s.front() - 128), nearZero) << "starts away from a zero crossing";
    EXPECT_LE(std::abs(s.back() - 128), nearZero) << "ends away from a zero crossing";
    if (name.find_first_of("AEIOU", 1) != std::string::npos) {
      EXPECT_GE(peak, 24) << "too quiet";
    }
    if (name.size() > 2) {
      ASSERT_GE(s.size(), kDefaultCut + 110) << "little left when unstressed";
      EXPECT_LE(std::abs(s[s.size() - kDefaultCut - 1] - 128), nearZero) << "unstressed, ends away from zero";
    }
  }
}

TEST_F(DifonesData, BuildTreeDriveCHoldsTheVoiceFolder) {
  const std::string folder = std::string(TAMIRAL_BUILD_DRIVES) + "/drive_c/ondrel/som/difones/";
  // Compared as flags: a difference would print the whole files.
  EXPECT_TRUE(readBytes(folder + "DIFONES2.IND") == index_) << "stale copy of DIFONES2.IND in " << folder;
  EXPECT_TRUE(readBytes(folder + "DIFONES2.DIF") == data_) << "stale copy of DIFONES2.DIF in " << folder;
}

}  // namespace
}  // namespace tamiral
