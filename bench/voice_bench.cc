// The built-in voice, measured on the data it ships with:
//  - coverage: for every word of a word list, are all the units its groups
//    ask for in the database (no noise bursts, no decomposition)?
//  - speed: seconds of speech made per second of CPU;
//  - key echo: from a key in the buffer to its sound's first block handed
//    to the output.
// Usage: voice_bench DIPHONE_FOLDER LETTERS_FOLDER WORD_LIST [WORDS]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "speech/settings.h"
#include "speech/speech.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tiny_voice.h"

namespace tamiral {
namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Takes every piece at once and keeps only its length.
class CountingOutput : public UnitOutput {
 public:
  void playAndWait(std::string_view image) override { samples += image.size() - UnitPlayer::kHeaderSize; }
  bool cut() override { return false; }
  size_t samples = 0;
};

// Records when the first block arrives.
class FirstBlockSink : public WaveSink {
 public:
  int open(const WaveFormat&) override { return 0; }
  void close() override {}
  bool write(const uint8_t*, size_t) override {
    if (!firstWrite) firstWrite = Clock::now();
    return true;
  }
  int takeFinishedBlocks() override { return 0; }
  void reset() override {}
  bool realTime() const override { return false; }
  void advance(int) override {}
  std::optional<Clock::time_point> firstWrite;
};

// Settings whose only file names the voice's folders, written in a scratch
// folder that lives as long as the settings are used.
Settings voiceSettings(const TempFolder& folder, const std::string& diphoneFolder, const std::string& lettersFolder) {
  folder.write("config/Tamiral/Tamiral.ini", "[TRADUTOR]\nDIRDIFONES=" + diphoneFolder + "\nDIRLETRAS=" +
                                                  lettersFolder + "\nSAIDADEAUDIO=nenhuma\n");
  Environment env;
  env.configHome = folder.path() + "/config";
  env.systemFolder = folder.path() + "/etc";
  return Settings(env);
}

struct Miss {
  int words = 0;
  std::string example;
};

void measureCoverageAndSpeed(DiphoneSynth& synth, CountingOutput& output, const std::vector<std::string>& words) {
  std::map<std::string, Miss> misses;
  std::set<std::string> missingThisWord;
  synth.player().unitObserver = [&](std::string_view unit, bool found) {
    if (!found) missingThisWord.insert(std::string(unit));
  };
  int covered = 0;
  double cpuBefore = cpuSeconds();
  for (const std::string& word : words) {
    missingThisWord.clear();
    synth.speakPhonetic(synth.textToPhonetic(word));
    if (missingThisWord.empty()) ++covered;
    for (const std::string& unit : missingThisWord) {
      Miss& miss = misses[unit];
      if (miss.words++ == 0) miss.example = cp1252ToUtf8(word);
    }
  }
  double cpu = cpuSeconds() - cpuBefore;
  std::printf("coverage: %d of %zu words (%.2f%%) found every unit they asked for\n", covered, words.size(),
              100.0 * covered / static_cast<double>(words.size()));
  std::vector<std::pair<std::string, Miss>> sorted(misses.begin(), misses.end());
  std::sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return a.second.words > b.second.words; });
  for (size_t i = 0; i < sorted.size() && i < 25; ++i)
    std::printf("  missing %-10s in %6d words, e.g. %s\n", sorted[i].first.c_str(), sorted[i].second.words,
                sorted[i].second.example.c_str());
  double audio = static_cast<double>(output.samples) / 11025;
  std::printf("speed: %.1f s of speech in %.3f s of CPU: %.0f times faster than real time\n", audio, cpu,
              audio / cpu);
}

void measureKeyEcho(const std::string& diphoneFolder, const std::string& lettersFolder) {
  TempFolder folder;
  Settings settings = voiceSettings(folder, diphoneFolder, lettersFolder);
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  LoopConsole console;
  Speech speech(console, *fs, settings);
  console.speech = &speech;
  if (speech.init(0, "") != 0) {
    std::printf("key echo: the voice did not start\n");
    return;
  }
  std::vector<double> latencies;
  for (int run = 0; run < 200; ++run) {
    auto sink = std::make_unique<FirstBlockSink>();
    FirstBlockSink* timed = sink.get();
    speech.useWaveSink(std::move(sink));
    speech.wave().noWait = true;
    console.keys.push_back('a');
    auto start = Clock::now();
    // What echoing a key does once it is in the buffer.
    uint8_t key = console.readKey();
    speech.stop();
    speech.speakChar(key);
    if (timed->firstWrite) latencies.push_back(std::chrono::duration<double, std::micro>(*timed->firstWrite - start).count());
  }
  if (latencies.empty()) {
    std::printf("key echo: no block reached the output\n");
    return;
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("key echo (key in the buffer to the first block of its sound at the output): median %.1f us, "
              "95th percentile %.1f us (%zu runs)\n",
              latencies[latencies.size() / 2], latencies[latencies.size() * 95 / 100], latencies.size());
}

}  // namespace
}  // namespace tamiral

int main(int argc, char** argv) {
  using namespace tamiral;
  if (argc < 4) {
    std::fprintf(stderr, "usage: voice_bench DIPHONE_FOLDER LETTERS_FOLDER WORD_LIST [WORDS]\n");
    return 2;
  }
  std::string diphoneFolder = argv[1], lettersFolder = argv[2];
  size_t limit = argc > 4 ? std::stoul(argv[4]) : SIZE_MAX;
  std::vector<std::string> words;
  std::ifstream list(argv[3]);
  for (std::string line; words.size() < limit && std::getline(list, line);) {
    if (!line.empty()) words.push_back(utf8ToCp1252(line));
  }

  TempFolder folder;
  Settings settings = voiceSettings(folder, diphoneFolder, lettersFolder);
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  CountingOutput output;
  DiphoneSynth synth(*fs, output);
  if (int code = synth.init(settings); code != 0) {
    std::fprintf(stderr, "the voice did not start: code %d\n", code);
    return 1;
  }
  synth.setParams(400, 0, 100);
  std::printf("%zu units, %zu words\n", synth.units().size(), words.size());
  measureCoverageAndSpeed(synth, output, words);
  measureKeyEcho(diphoneFolder, lettersFolder);
}
