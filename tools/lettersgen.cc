// lettersgen LIST OUTDIR [GAIN]
// Makes the letters folder: for each line "item<TAB>text" of LIST (UTF-8),
// writes OUTDIR/item.wav, 8-bit unsigned mono at 11025 Hz with the plain
// 44-byte header. Text is spoken by espeak-ng's Brazilian voice; a text
// starting with '@' is a sound made here instead:
//   @dtmf LOW HIGH   150 ms, the sum of two sines
//   @tone HZ MS      a soft sine
//   @tick            a soft 60 ms tick, for codes without a name
// Lines starting with '#' and blank lines are skipped. The output depends
// only on the list and the espeak-ng version: no dither, no randomness.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/espeak_audio.h"

namespace {

using espeak_audio::Encoded;
using espeak_audio::kOutputRate;
using espeak_audio::kVoiceRate;
using espeak_audio::Synthesis;

constexpr double kPi = 3.14159265358979323846;

// Keeps what lies between the first and last sample above the noise floor,
// plus 5 ms each side, so a sound starts as soon as it is played.
std::vector<double> trimmed(const std::vector<int16_t>& in, int rate) {
  constexpr int kThreshold = 300;  // about -41 dB: below it espeak gives only its fade tails
  auto loud = [](int16_t s) { return std::abs(static_cast<int>(s)) > kThreshold; };
  auto first = std::find_if(in.begin(), in.end(), loud);
  if (first == in.end()) return {};
  auto last = std::find_if(in.rbegin(), in.rend(), loud).base();
  long keep = rate * 5 / 1000;
  long begin = std::max<long>(0, (first - in.begin()) - keep);
  long end = std::min<long>(static_cast<long>(in.size()), (last - in.begin()) + keep);
  return std::vector<double>(in.begin() + begin, in.begin() + end);
}

// Raised-cosine fades at both ends, so a tone starts and stops without a click.
void fade(std::vector<double>& samples, int fadeSamples) {
  int n = std::min<int>(fadeSamples, static_cast<int>(samples.size()) / 2);
  for (int i = 0; i < n; ++i) {
    double gain = 0.5 - 0.5 * std::cos(kPi * i / n);
    samples[i] *= gain;
    samples[samples.size() - 1 - i] *= gain;
  }
}

// Tones are made at the output rate, in units of full scale (1.0).
std::vector<double> tones(const std::vector<double>& frequencies, int milliseconds, double amplitude) {
  std::vector<double> out(static_cast<size_t>(kOutputRate) * milliseconds / 1000);
  for (size_t i = 0; i < out.size(); ++i) {
    double t = static_cast<double>(i) / kOutputRate;
    for (double f : frequencies) out[i] += amplitude * std::sin(2 * kPi * f * t);
  }
  fade(out, kOutputRate * 5 / 1000);
  return out;
}

std::vector<double> tick() {
  std::vector<double> out(kOutputRate * 60 / 1000);
  for (size_t i = 0; i < out.size(); ++i) {
    double t = static_cast<double>(i) / kOutputRate;
    out[i] = 0.25 * std::exp(-t / 0.012) * std::sin(2 * kPi * 1500 * t);
  }
  fade(out, kOutputRate * 2 / 1000);
  return out;
}

void put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}
void put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>(v >> 8);
}

bool writeWave(const std::string& path, const std::vector<uint8_t>& data) {
  std::string out = "RIFF";
  put32(out, static_cast<uint32_t>(data.size() + 36));
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, kOutputRate);
  put32(out, kOutputRate);  // bytes per second
  put16(out, 1);            // block align
  put16(out, 8);
  out += "data";
  put32(out, static_cast<uint32_t>(data.size()));
  out.append(data.begin(), data.end());
  std::ofstream file(path, std::ios::binary);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file.flush());
}

// The samples for one line, in units of full scale; empty on an error.
std::vector<double> render(const std::string& text, double gain, std::string& error) {
  if (text.front() == '@') {
    std::istringstream words(text.substr(1));
    std::string kind;
    words >> kind;
    double a = 0, b = 0;
    if (kind == "dtmf" && words >> a >> b) return tones({a, b}, 150, 0.45);
    if (kind == "tone" && words >> a >> b) return tones({a}, static_cast<int>(b), 0.3);
    if (kind == "tick") return tick();
    error = "unknown sound: " + text;
    return {};
  }
  Synthesis synthesis;
  if (!espeak_audio::synthesize(text, 0, synthesis)) {
    error = "espeak-ng failed on: " + text;
    return {};
  }
  std::vector<double> samples = espeak_audio::halved(trimmed(synthesis.samples, kVoiceRate), kVoiceRate);
  for (double& s : samples) s *= gain / 32768.0;
  if (samples.empty()) error = "nothing spoken for: " + text;
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::cerr << "usage: lettersgen LIST OUTDIR [GAIN]\n";
    return 2;
  }
  std::string outdir = argv[2];
  double gain = argc == 4 ? std::atof(argv[3]) : 1.1;
  std::ifstream list(argv[1]);
  if (!list) {
    std::cerr << "lettersgen: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::string openError;
  if (!espeak_audio::openVoice(false, openError)) {
    std::cerr << "lettersgen: " << openError << "\n";
    return 1;
  }

  int written = 0, failed = 0, lineNumber = 0;
  std::string line;
  while (std::getline(list, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0 || tab + 1 == line.size()) {
      std::cerr << "line " << lineNumber << ": expected item<TAB>text\n";
      ++failed;
      continue;
    }
    std::string item = line.substr(0, tab), text = line.substr(tab + 1), error;
    std::vector<double> samples = render(text, gain, error);
    if (samples.empty()) {
      std::cerr << "line " << lineNumber << ": " << error << "\n";
      ++failed;
      continue;
    }
    Encoded encoded = espeak_audio::toUnsigned8(samples);
    if (encoded.clipped > 0) std::cerr << item << ": " << encoded.clipped << " samples clipped\n";
    if (!writeWave(outdir + "/" + item + ".wav", encoded.bytes)) {
      std::cerr << "lettersgen: cannot write " << outdir << "/" << item << ".wav\n";
      ++failed;
      continue;
    }
    ++written;
  }
  espeak_audio::closeVoice();
  std::cerr << "lettersgen: " << written << " files written, " << failed << " failed\n";
  return failed == 0 ? 0 : 1;
}
