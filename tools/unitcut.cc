// unitcut UNITS OUTDIR [GAIN]
// Makes the voice's unit database, OUTDIR/DIFONES2.IND and DIFONES2.DIF,
// from the inventory UNITS (tools/unit_inventory writes it). Each unit is
// said by espeak-ng's Brazilian voice inside its carrier, at a flat pitch,
// and cut between phoneme events at rising zero crossings; the samples are
// halved to 11025 Hz and stored as 8-bit unsigned.
//
// espeak-ng drops phoneme names it does not know without a word, so every
// synthesis is checked against the phonemes asked for, and a unit that
// does not come out as asked stops the run.
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/espeak_audio.h"

namespace {

using espeak_audio::kOutputRate;
using espeak_audio::kVoiceRate;

constexpr size_t kLongestName = 8;
constexpr int kZeroCrossingReachMs = 4;  // how far a cut may move to find one

struct Unit {
  std::string name, group;
  std::vector<std::string> phonemes;  // the unit's own
  std::vector<std::string> before, after;
};

std::vector<std::string> tokens(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string token; in >> token;) out.push_back(token);
  return out;
}

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    out.push_back(line.substr(start, tab - start));
  out.push_back(line.substr(start));
  return out;
}

bool parseUnit(const std::string& line, Unit& unit, std::string& error) {
  std::vector<std::string> columns = fields(line);
  if (columns.size() != 4) {
    error = "expected name, group, phonemes and carrier";
    return false;
  }
  unit.name = columns[0];
  unit.group = columns[1];
  unit.phonemes = tokens(columns[2]);
  std::vector<std::string> carrier = tokens(columns[3]);
  auto place = std::find(carrier.begin(), carrier.end(), "{}");
  if (unit.name.size() < 2 || unit.name.size() > kLongestName || unit.name[0] != '$') {
    error = "bad unit name " + unit.name;
  } else if (unit.phonemes.empty()) {
    error = "no phonemes";
  } else if (place == carrier.end()) {
    error = "carrier without {}";
  } else {
    unit.before.assign(carrier.begin(), place);
    unit.after.assign(place + 1, carrier.end());
    return true;
  }
  return false;
}

std::vector<std::string> carrierPhonemes(const Unit& unit) {
  std::vector<std::string> all = unit.before;
  all.insert(all.end(), unit.phonemes.begin(), unit.phonemes.end());
  all.insert(all.end(), unit.after.begin(), unit.after.end());
  return all;
}

std::string withoutStress(std::string phoneme) {
  std::erase_if(phoneme, [](char c) { return c == '\'' || c == ','; });
  return phoneme;
}

std::string joined(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : separator) + part;
  return out;
}

// espeak-ng's own pauses at the ends are not ours to check (the ones asked
// for are): the count of leading events to skip before the asked phonemes.
size_t unaskedLeadingPauses(const std::vector<espeak_audio::PhonemeEvent>& events, size_t pausesAsked) {
  size_t leading = 0;
  while (leading < events.size() && events[leading].name.starts_with("_")) ++leading;
  return leading - std::min(leading, pausesAsked);
}

// A flat pitch, so units join without jumps, and a brisk rate: the player
// only shortens units (unstressed ones lose their last few ms), never
// stretches them.
constexpr int kWordsPerMinute = 220;

void setVoiceParameters() {
  espeak_SetParameter(espeakRANGE, 0, 0);
  espeak_SetParameter(espeakRATE, kWordsPerMinute, 0);
}

// The sample nearest to `at` where the signal rises through zero, within
// reach; `at` itself when there is none (silence).
long nearestZeroCrossing(const std::vector<double>& s, long at) {
  const long reach = kOutputRate * kZeroCrossingReachMs / 1000;
  for (long d = 0; d <= reach; ++d)
    for (long k : {at - d, at + d})
      if (k > 0 && k < static_cast<long>(s.size()) && s[k - 1] < 0 && s[k] >= 0) return k;
  return at;
}

long outputSampleAt(int ms) { return static_cast<long>(ms) * kOutputRate / 1000; }

// The player drops the last kPlayerCut bytes of an unstressed unit whose
// name is longer than two characters (its start-up cut). Such a unit ends
// at the rising zero crossing near its event where the shortened unit's
// last sample is also nearest zero, so it joins quietly either way.
constexpr long kPlayerCut = 400;
constexpr int kEndReachMs = 6;

bool cutWhenUnstressed(const std::string& name) { return name.size() > 2; }

long unitEnd(const std::vector<double>& s, long at, long start, bool shortened) {
  const long reach = kOutputRate * kEndReachMs / 1000;
  long best = -1;
  double bestLevel = 0;
  for (long d = 0; shortened && d <= reach; ++d)
    for (long k : {at - d, at + d}) {
      bool rising = k > 0 && k < static_cast<long>(s.size()) && s[k - 1] < 0 && s[k] >= 0;
      if (!rising || k - kPlayerCut - 1 <= start) continue;
      double level = std::abs(s[k - kPlayerCut - 1]);
      if (best < 0 || level < bestLevel) {
        best = k;
        bestLevel = level;
      }
    }
  return best >= 0 ? best : nearestZeroCrossing(s, at);
}

// The index of the event of the carrier's first phoneme, after checking
// that the events name exactly the phonemes asked for; -1 otherwise.
long checkedFirstEvent(const std::vector<std::string>& asked, const std::vector<espeak_audio::PhonemeEvent>& events,
                       std::string& error) {
  size_t pausesAsked = 0;
  while (pausesAsked < asked.size() && asked[pausesAsked].starts_with("_")) ++pausesAsked;
  size_t skipped = unaskedLeadingPauses(events, pausesAsked);
  std::vector<std::string> got, wanted;
  for (size_t i = skipped; i < events.size(); ++i) got.push_back(events[i].name);
  while (got.size() > asked.size() && got.back().starts_with("_")) got.pop_back();
  for (const std::string& p : asked) wanted.push_back(withoutStress(p));
  if (got != wanted) {
    error = "gave phonemes [" + joined(got, " ") + "], asked [" + joined(wanted, " ") + "]";
    return -1;
  }
  return static_cast<long>(skipped);
}

// Where the run of quiet samples that ends at `at` begins, looking back at
// most `limit` samples; `at` when the sample before it is not quiet.
long quietRunStart(const std::vector<double>& s, long at, long limit) {
  constexpr double kQuiet = 100;  // about -50 dB of full scale, in 16-bit steps
  long k = at;
  while (k > 0 && at - k < limit && std::abs(s[k - 1]) < kQuiet) --k;
  return k;
}

// espeak-ng times a stop from its burst: the silence of its closure is
// counted in the phoneme before. A unit takes the closure of its own first
// stop (not a pause the carrier starts with) and leaves out that of the
// carrier's next phoneme.
constexpr int kLongestClosureMs = 80;

struct Span {
  long start, end;
};

Span unitSpan(const Unit& unit, const std::vector<double>& samples, int startMs, int endMs) {
  const long closure = kOutputRate * kLongestClosureMs / 1000;
  long start = outputSampleAt(startMs);
  bool afterSound = !unit.before.empty() && !unit.before.back().starts_with("_");
  long quietFrom = quietRunStart(samples, start, closure);
  start = afterSound && quietFrom < start ? quietFrom : nearestZeroCrossing(samples, start);
  long end = quietRunStart(samples, outputSampleAt(endMs), closure);
  end = unitEnd(samples, end, start, cutWhenUnstressed(unit.name));
  return {start, std::min<long>(end, static_cast<long>(samples.size()))};
}

// Synthesizes the unit in its carrier, checks the phonemes and returns the
// unit's samples in units of full scale.
bool cutUnit(const Unit& unit, double gain, std::vector<double>& out, std::string& error) {
  std::vector<std::string> asked = carrierPhonemes(unit);
  std::string text = "[[" + joined(asked, "") + "]]";
  espeak_audio::Synthesis synthesis;
  // Alone, so a unit does not change when the ones before it do.
  if (!espeak_audio::synthesizeAlone(text, espeakPHONEMES, synthesis)) {
    error = "espeak-ng failed on " + text;
    return false;
  }
  const auto& events = synthesis.phonemes;
  long carrierStart = checkedFirstEvent(asked, events, error);
  if (carrierStart < 0) {
    error = text + " " + error;
    return false;
  }
  // The unit ends where the next phoneme, or espeak-ng's closing pause, starts.
  size_t first = carrierStart + unit.before.size(), last = first + unit.phonemes.size();
  int endMs = last < events.size() ? events[last].ms
                                   : static_cast<int>(synthesis.samples.size() * 1000 / kVoiceRate);
  std::vector<double> samples(synthesis.samples.begin(), synthesis.samples.end());
  samples = espeak_audio::halved(samples, kVoiceRate);
  Span span = unitSpan(unit, samples, events[first].ms, endMs);
  if (span.end <= span.start) {
    error = "nothing between the events of " + text;
    return false;
  }
  out.assign(samples.begin() + span.start, samples.begin() + span.end);
  for (double& s : out) s *= gain / 32768.0;
  return true;
}

struct Record {
  std::string name;
  uint16_t length;
  uint32_t offset;
};

void put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xff);
}

std::string indexBytes(std::vector<Record> records) {
  std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.name < b.name; });
  std::string out;
  for (const Record& r : records) {
    out += static_cast<char>(r.name.size());
    out += r.name + std::string(kLongestName - r.name.size(), '\0');
    put(out, r.length, 2);
    put(out, r.offset, 4);
  }
  return out;
}

bool writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file.flush());
}

// Units said the same way share their samples (i^ is said as i).
class Database {
 public:
  bool add(const std::string& name, const std::vector<uint8_t>& samples, std::string& error) {
    if (samples.size() > UINT16_MAX) {
      error = "longer than an index record can hold";
      return false;
    }
    std::string bytes(samples.begin(), samples.end());
    auto [at, fresh] = offsets_.try_emplace(bytes, static_cast<uint32_t>(data_.size()));
    if (fresh) data_ += bytes;
    records_.push_back({name, static_cast<uint16_t>(samples.size()), at->second});
    return true;
  }
  bool write(const std::string& folder) const {
    return writeFile(folder + "/DIFONES2.IND", indexBytes(records_)) && writeFile(folder + "/DIFONES2.DIF", data_);
  }
  size_t units() const { return records_.size(); }
  size_t dataBytes() const { return data_.size(); }

 private:
  std::vector<Record> records_;
  std::string data_;
  std::map<std::string, uint32_t> offsets_;
};

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::cerr << "usage: unitcut UNITS OUTDIR [GAIN]\n";
    return 2;
  }
  // The loudest unit peaks near full scale at 1.2; a clipped unit stops the run.
  double gain = argc == 4 ? std::atof(argv[3]) : 1.2;
  std::ifstream list(argv[1]);
  if (!list) {
    std::cerr << "unitcut: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::string openError;
  if (!espeak_audio::openVoice(true, openError)) {
    std::cerr << "unitcut: " << openError << "\n";
    return 1;
  }
  setVoiceParameters();
  Database database;
  std::map<std::string, int> seen;
  int failed = 0, lineNumber = 0;
  std::string line;
  while (std::getline(list, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    Unit unit;
    std::string error;
    std::vector<double> samples;
    bool ok = parseUnit(line, unit, error) && cutUnit(unit, gain, samples, error);
    espeak_audio::Encoded encoded;
    if (ok) {
      encoded = espeak_audio::toUnsigned8(samples);
      if (encoded.clipped > 0) {
        error = std::to_string(encoded.clipped) + " samples clipped; lower the gain";
        ok = false;
      }
    }
    std::string name = upper(unit.name);
    if (ok && seen.count(name)) {
      error = "listed again (first on line " + std::to_string(seen[name]) + ")";
      ok = false;
    }
    if (ok) ok = database.add(name, encoded.bytes, error);
    if (!ok) {
      std::cerr << "line " << lineNumber << " " << unit.name << ": " << error << "\n";
      ++failed;
      continue;
    }
    seen[name] = lineNumber;
  }
  espeak_audio::closeVoice();
  if (failed > 0) {
    std::cerr << "unitcut: " << failed << " units failed; nothing written\n";
    return 1;
  }
  if (!database.write(argv[2])) {
    std::cerr << "unitcut: cannot write the database in " << argv[2] << "\n";
    return 1;
  }
  std::cerr << "unitcut: " << database.units() << " units, " << database.dataBytes() << " bytes of samples\n";
  return 0;
}
