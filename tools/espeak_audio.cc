#include "tools/espeak_audio.h"

#include <espeak-ng/speak_lib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace espeak_audio {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The synthesis being filled arrives as each event's user data, so no
// global buffer is needed.
int collect(short* samples, int count, espeak_EVENT* events) {
  auto* out = static_cast<Synthesis*>(events->user_data);
  if (!out) return 0;
  if (samples) out->samples.insert(out->samples.end(), samples, samples + count);
  for (; events->type != espeakEVENT_LIST_TERMINATED; ++events) {
    if (events->type != espeakEVENT_PHONEME) continue;
    std::string name(events->id.string, strnlen(events->id.string, sizeof events->id.string));
    out->phonemes.push_back({name, events->audio_position});
  }
  return 0;
}

bool writeAll(int fd, const void* data, size_t size) {
  const char* at = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(fd, at, size);
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool readAll(int fd, void* data, size_t size) {
  char* at = static_cast<char*>(data);
  while (size > 0) {
    ssize_t n = read(fd, at, size);
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// A synthesis through a pipe: counts, then samples, then events as
// (ms, name length, name).
bool sendSynthesis(int fd, const Synthesis& s) {
  uint32_t counts[2] = {static_cast<uint32_t>(s.samples.size()), static_cast<uint32_t>(s.phonemes.size())};
  if (!writeAll(fd, counts, sizeof counts) || !writeAll(fd, s.samples.data(), s.samples.size() * sizeof(int16_t)))
    return false;
  for (const PhonemeEvent& e : s.phonemes) {
    int32_t ms = e.ms;
    uint8_t length = static_cast<uint8_t>(e.name.size());
    if (!writeAll(fd, &ms, sizeof ms) || !writeAll(fd, &length, 1) || !writeAll(fd, e.name.data(), length))
      return false;
  }
  return true;
}

bool receiveSynthesis(int fd, Synthesis& s) {
  uint32_t counts[2];
  if (!readAll(fd, counts, sizeof counts)) return false;
  s.samples.resize(counts[0]);
  if (!readAll(fd, s.samples.data(), s.samples.size() * sizeof(int16_t))) return false;
  s.phonemes.resize(counts[1]);
  for (PhonemeEvent& e : s.phonemes) {
    int32_t ms;
    uint8_t length;
    if (!readAll(fd, &ms, sizeof ms) || !readAll(fd, &length, 1)) return false;
    e.ms = ms;
    e.name.resize(length);
    if (!readAll(fd, e.name.data(), length)) return false;
  }
  return true;
}

}  // namespace

bool openVoice(bool events, std::string& error) {
  int options = events ? espeakINITIALIZE_PHONEME_EVENTS : 0;
  int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, options);
  if (rate != kVoiceRate) {
    error = "espeak-ng gave rate " + std::to_string(rate) + ", expected " + std::to_string(kVoiceRate);
    return false;
  }
  if (espeak_SetVoiceByName("pt-br") != EE_OK) {
    error = "no pt-br voice";
    return false;
  }
  espeak_SetSynthCallback(collect);
  return true;
}

void closeVoice() { espeak_Terminate(); }

bool synthesize(const std::string& text, unsigned flags, Synthesis& out) {
  out = {};
  // No espeakENDPAUSE: the pause after the sentence is never wanted.
  return espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8 | flags, nullptr,
                      &out) == EE_OK;
}

bool synthesizeAlone(const std::string& text, unsigned flags, Synthesis& out) {
  int ends[2];
  if (pipe(ends) != 0) return false;
  pid_t child = fork();
  if (child < 0) {
    close(ends[0]);
    close(ends[1]);
    return false;
  }
  if (child == 0) {
    close(ends[0]);
    Synthesis synthesis;
    bool ok = synthesize(text, flags, synthesis) && sendSynthesis(ends[1], synthesis);
    _exit(ok ? 0 : 1);
  }
  close(ends[1]);
  out = {};
  bool received = receiveSynthesis(ends[0], out);
  close(ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return received && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A 63-tap Blackman-windowed sinc cut at 5 kHz keeps what would fold back
// above the new Nyquist frequency (5512 Hz) out.
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

Encoded toUnsigned8(const std::vector<double>& samples) {
  Encoded encoded;
  for (double s : samples) {
    long v = std::lround(s * 127.0) + 128;
    if (v < 0 || v > 255) ++encoded.clipped;
    encoded.bytes.push_back(static_cast<uint8_t>(std::clamp<long>(v, 0, 255)));
  }
  return encoded;
}

}  // namespace espeak_audio
