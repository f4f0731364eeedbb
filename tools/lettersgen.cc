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
#include <espeak-ng/speak_lib.h>

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

namespace {

constexpr int kOutputRate = 11025;
constexpr double kPi = 3.14159265358979323846;

std::vector<int16_t> synthesized;  // filled by the espeak callback

int collectSamples(short* samples, int count, espeak_EVENT*) {
  if (samples) synthesized.insert(synthesized.end(), samples, samples + count);
  return 0;
}

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

// Halves the rate. A 63-tap Blackman-windowed sinc cut at 5 kHz keeps what
// would fold back above the new Nyquist frequency (5512 Hz) out.
std::vector<double> halved(const std::vector<double>& in, int rate) {
  constexpr int kTaps = 63;
  constexpr int kMiddle = kTaps / 2;
  const double cutoff = 5000.0 / rate;  // cycles per input sample
  double taps[kTaps];
  double sum = 0;
  for (int i = 0; i < kTaps; ++i) {
    int n = i - kMiddle;
    double sinc = n == 0 ? 2 * cutoff : std::sin(2 * kPi * cutoff * n) / (kPi * n);
    double window = 0.42 - 0.5 * std::cos(2 * kPi * i / (kTaps - 1)) + 0.08 * std::cos(4 * kPi * i / (kTaps - 1));
    taps[i] = sinc * window;
    sum += taps[i];
  }
  for (double& t : taps) t /= sum;  // unity gain at 0 Hz
  std::vector<double> out;
  for (size_t centre = 0; centre < in.size(); centre += 2) {
    double acc = 0;
    for (int i = 0; i < kTaps; ++i) {
      long at = static_cast<long>(centre) + i - kMiddle;
      if (at >= 0 && at < static_cast<long>(in.size())) acc += taps[i] * in[at];
    }
    out.push_back(acc);
  }
  return out;
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

struct Encoded {
  std::vector<uint8_t> bytes;
  int clipped = 0;
};

// Full scale 1.0 maps to 127 steps around 128; rounding, no dither.
Encoded toUnsigned8(const std::vector<double>& samples) {
  Encoded encoded;
  for (double s : samples) {
    long v = std::lround(s * 127.0) + 128;
    if (v < 0 || v > 255) ++encoded.clipped;
    encoded.bytes.push_back(static_cast<uint8_t>(std::clamp<long>(v, 0, 255)));
  }
  return encoded;
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
std::vector<double> render(const std::string& text, int espeakRate, double gain, std::string& error) {
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
  synthesized.clear();
  // No espeakENDPAUSE: the pause after the sentence would only be trimmed.
  espeak_ERROR result = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                                     nullptr, nullptr);
  if (result != EE_OK) {
    error = "espeak-ng failed on: " + text;
    return {};
  }
  std::vector<double> samples = trimmed(synthesized, espeakRate);
  if (espeakRate == 2 * kOutputRate) samples = halved(samples, espeakRate);
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
  int espeakRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
  if (espeakRate != 2 * kOutputRate) {
    std::cerr << "lettersgen: espeak-ng gave rate " << espeakRate << ", expected " << 2 * kOutputRate << "\n";
    return 1;
  }
  if (espeak_SetVoiceByName("pt-br") != EE_OK) {
    std::cerr << "lettersgen: no pt-br voice\n";
    return 1;
  }
  espeak_SetSynthCallback(collectSamples);

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
    std::vector<double> samples = render(text, espeakRate, gain, error);
    if (samples.empty()) {
      std::cerr << "line " << lineNumber << ": " << error << "\n";
      ++failed;
      continue;
    }
    Encoded encoded = toUnsigned8(samples);
    if (encoded.clipped > 0) std::cerr << item << ": " << encoded.clipped << " samples clipped\n";
    if (!writeWave(outdir + "/" + item + ".wav", encoded.bytes)) {
      std::cerr << "lettersgen: cannot write " << outdir << "/" << item << ".wav\n";
      ++failed;
      continue;
    }
    ++written;
  }
  espeak_Terminate();
  std::cerr << "lettersgen: " << written << " files written, " << failed << " failed\n";
  return failed == 0 ? 0 : 1;
}
