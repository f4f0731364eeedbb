#include "tts/unit_player.h"

#include <algorithm>
#include <optional>

#include "engine/text.h"
#include "speech/wave_playback.h"

namespace tamiral {

namespace {

constexpr std::string_view kPlayerVowels = "AEIOUaeiouwy";
constexpr std::string_view kPlayerConsonants = "bcdfgjklmnpqrstvxz";
constexpr std::string_view kStressedVowels = "AEIOU";
constexpr uint8_t kSilence = 128;

bool isIn(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }
bool isVowel(char c) { return isIn(kPlayerVowels, c); }
bool isConsonant(char c) { return isIn(kPlayerConsonants, c); }
bool isSemivowel(char c) { return c == 'w' || c == 'y'; }

int pauseSamples(char punctuation) {
  switch (punctuation) {
    case '.': return 8000;
    case ',': return 4000;
    case ';': return 6000;
    case ':': return 8000;
    default: return -1;
  }
}

// The data chunk of an 8-bit mono 11025 Hz item file: "RIFF", then "fmt "
// first, then chunks up to "data". Nothing when the file is not like that.
std::optional<std::string_view> waveDataChunk(std::string_view file) {
  auto tagIs = [&](size_t at, std::string_view tag) {
    if (at + 4 > file.size()) return false;
    for (size_t i = 0; i < 4; ++i) {
      if (upperPtChar(file[at + i]) != tag[i]) return false;
    }
    return true;
  };
  auto size32 = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 4; i-- > 0;) v = v << 8 | static_cast<uint8_t>(file[at + i]);
    return static_cast<size_t>(v);
  };
  if (!tagIs(0, "RIFF") || !tagIs(12, "FMT ") || file.size() < 20) return std::nullopt;
  for (size_t at = 12; at + 8 <= file.size();) {
    size_t size = size32(at + 4);
    if (tagIs(at, "DATA")) return file.substr(at + 8, std::min(size, file.size() - at - 8));
    if (size > file.size() - at - 8) return std::nullopt;
    at += 8 + size;
  }
  return std::nullopt;
}

}  // namespace

void UnitPlayer::speakPhonetic(std::string_view phonetic) {
  level_ = 1;
  cut_ = false;
  buffer_.assign(kHeaderSize, '\0');
  size_t at = 0;
  while (at < phonetic.size() && !cut_) {
    bool endedWord = false;
    std::string token = nextPhoneticWord(phonetic, at, endedWord);
    splitGroups(token, 1.0);
    if (endedWord && at < phonetic.size()) appendSilence(params_.wordGap);
  }
  flush();
}

// One token: up to a blank or "]" (consumed), "/" dropped unless the token
// is already longer than 8, "_c" kept whole, "|" the dash sound; "_" and a
// punctuation mark becomes that mark's pause.
std::string UnitPlayer::nextPhoneticWord(std::string_view phonetic, size_t& at, bool& endedWord) {
  if (at < phonetic.size() && phonetic[at] == '[') {
    level_ = 1;
    ++at;
  }
  std::string token;
  while (at < phonetic.size()) {
    char c = phonetic[at++];
    if (c == ' ' || c == ']') {
      endedWord = c == ']';
      break;
    }
    if (c == '/') {
      if (token.size() > 8) break;
      continue;
    }
    if (c == '_') {
      token += '_';
      if (at < phonetic.size()) token += phonetic[at++];
    } else if (c == '|') {
      token = "_TRACO";
    } else if (token.size() < kMaxToken) {
      token += c;
    }
  }
  if (token.size() == 2 && token[0] == '_' && pauseSamples(token[1]) >= 0) {
    appendSilence(pauseSamples(token[1]));
    token.clear();
  }
  return token;
}

void UnitPlayer::splitGroups(std::string_view q, double factor) {
  if (q.empty()) return;
  if (q.size() == 1) return playGroup(q, factor);
  if (q.size() > 2) {
    bool keptTogether = q.starts_with("dj") || q.starts_with("nh") || q.starts_with("rr") || q.starts_with("ks") ||
                        q.starts_with("tch");
    if (isConsonant(q[0]) && isConsonant(q[1]) && !keptTogether) {
      playGroup(q.substr(0, 1), 1.0);
      return splitGroups(q.substr(1), factor);
    }
    if (q.ends_with("rr")) {
      splitGroups(q.substr(0, q.size() - 2), factor);
      return playGroup("rr", factor);
    }
    if (isConsonant(q.back())) {
      splitGroups(q.substr(0, q.size() - 1), factor);
      return splitGroups(q.substr(q.size() - 1), factor);
    }
  }
  char last = q.back();
  char beforeLast = q[q.size() - 2];
  if (isSemivowel(last) && isVowel(beforeLast) && q.size() > 2) {
    splitGroups(q.substr(0, q.size() - 1), 0.6);
    return playGroup(q.substr(q.size() - 2), factor);
  }
  if (isSemivowel(last) && (beforeLast == '^' || beforeLast == '~') && q.size() >= 3) {
    if (q.size() > 3) {
      std::string before(q.substr(0, q.size() - 1));
      std::replace(before.begin(), before.end(), '~', '^');
      splitGroups(before, 0.6);
    }
    std::string tail{q[q.size() - 3], last, beforeLast};
    return playGroup(tail, factor);
  }
  if (q != "_s" && last == 's') {
    splitGroups(q.substr(0, q.size() - 1), 0.7);
    return playGroup("s", factor);
  }
  playGroup(q, factor);
}

void UnitPlayer::playGroup(std::string_view group, double factor) {
  if (group.front() == '_') {
    // "_c" is the letters-folder sound of character c; a longer name such as
    // "_TRACO" is a letters-folder item of that name.
    std::string item = group.size() == 2 ? "_" + decimal(static_cast<uint8_t>(group[1])) : std::string(group);
    return playUnit(item, level_, factor);
  }
  bool stressed = false;
  std::string name = "$";
  for (char c : group) {
    if (isIn(kStressedVowels, c)) {
      level_ = 2;
      stressed = true;
    }
    if (c == '^' || c == '~') {
      playUnit(name + (c == '^' ? "CIRC" : "TIL"), level_, factor);
      name = "$";
    } else {
      name += c;
    }
  }
  if (name.size() > 1) playUnit(name, level_, factor);
  // Whatever follows the stressed group in the word is post-tonic.
  if (stressed) level_ = 0;
}

void UnitPlayer::playUnit(const std::string& name, int level, double factor) {
  if (cut_) return;
  bool found = name.front() == '_' ? playLetterFile(name) : lookupUnit(name, level, factor);
  if (unitObserver) unitObserver(name, found);
  if (found) return;
  if (name.size() <= 2) return appendNoise(300);
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(upperPtChar(c));
  double shorter = factor * 0.9;
  if (isVowel(upper.back())) {
    playUnit(name.substr(0, name.size() - 1), level, shorter);
    playUnit(std::string("$") + name.back(), level, factor);
  } else if (upper.ends_with("CIRC") && name.size() >= 7) {
    size_t vowel = name.size() - 5;
    playUnit(name.substr(0, vowel), level, shorter);
    playUnit("$" + name.substr(vowel), level, factor);
  } else if (upper.ends_with("TIL")) {
    std::string base = name.substr(0, name.size() - 3);
    char lastLetter = upper[base.size() - 1];
    if (lastLetter == 'I' || lastLetter == 'U')
      playUnit(base, level, shorter);
    else
      playUnit(base + "CIRC", 2, shorter);
    playUnit("$nn", 1, 0.9);
  }
}

bool UnitPlayer::lookupUnit(const std::string& name, int level, double factor) {
  std::optional<UnitRecord> unit = units_.find(name);
  if (!unit) return false;
  int length = unit->length;
  if (level != 2 && name.size() > 2) length = std::max(length - params_.cut, std::min(length, params_.minimumLength));
  size_t taken = static_cast<size_t>(std::max(0.0, factor * length));
  append(units_.readSamples(unit->offset, taken));
  return true;
}

bool UnitPlayer::playLetterFile(const std::string& name) {
  std::optional<std::string> file = readWholeFile(fs_, lettersFolder_ + name + ".wav");
  if (!file) return false;
  std::optional<std::string_view> data = waveDataChunk(*file);
  if (!data) return false;
  append(data->substr(0, kBufferSize));
  return true;
}

// Samples that would fill the buffer are played in buffer-sized pieces.
void UnitPlayer::append(std::string_view samples) {
  while (!samples.empty() && !cut_) {
    if (buffer_.size() + samples.size() >= kBufferSize) flush();
    size_t room = kBufferSize - 1 - buffer_.size();
    size_t n = std::min(room, samples.size());
    buffer_.append(samples.substr(0, n));
    samples.remove_prefix(n);
  }
}

void UnitPlayer::appendSilence(int samples) {
  if (samples <= 0) return;
  append(std::string(static_cast<size_t>(samples / 100) * 100, static_cast<char>(kSilence)));
}

void UnitPlayer::appendNoise(size_t bytes) {
  std::string noise(bytes, '\0');
  for (char& c : noise) c = static_cast<char>(88 + noise_() % 80);
  append(noise);
}

void UnitPlayer::flush() {
  if (!cut_ && output_.cut()) cut_ = true;
  if (buffer_.size() <= kHeaderSize || cut_) {
    buffer_.resize(kHeaderSize);
    return;
  }
  std::string header = buildWaveHeader(buffer_.size() - kHeaderSize, 11025, 8, 1);
  buffer_.replace(0, kHeaderSize, header);
  output_.playAndWait(buffer_);
  buffer_.resize(kHeaderSize);
  if (output_.cut()) cut_ = true;
}

}  // namespace tamiral
