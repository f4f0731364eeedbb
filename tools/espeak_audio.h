// What the data generators (lettersgen, unitcut) share: espeak-ng's Brazilian
// voice synthesizing into memory, with its phoneme events, and the way its
// 22050 Hz output becomes our 11025 Hz 8-bit samples. Nothing here dithers
// or draws random numbers, so a run depends only on its input and the
// espeak-ng version.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace espeak_audio {

inline constexpr int kOutputRate = 11025;
inline constexpr int kVoiceRate = 2 * kOutputRate;  // what pt-br gives

struct PhonemeEvent {
  std::string name;  // espeak-ng's mnemonic, e.g. "tS", "&~", "_:"
  int ms = 0;        // start, from the beginning of the synthesis
};

struct Synthesis {
  std::vector<int16_t> samples;  // kVoiceRate, mono
  std::vector<PhonemeEvent> phonemes;
};

// Starts espeak-ng for synchronous synthesis with the pt-br voice; events
// adds phoneme events to every synthesis. False with a message when the
// library, the voice or the expected rate is missing.
bool openVoice(bool events, std::string& error);
void closeVoice();

// Synthesizes UTF-8 text (flags as for espeak_Synth, e.g. espeakPHONEMES).
// espeak-ng carries state from one synthesis into the next (the same text
// said twice differs from its first sample), so what comes out depends on
// everything said before.
bool synthesize(const std::string& text, unsigned flags, Synthesis& out);

// As synthesize, but as if it were the first synthesis after openVoice and
// whatever the voice's parameters were set to since: it runs in a child
// process, leaving this one's state as it was. Costs a fork.
bool synthesizeAlone(const std::string& text, unsigned flags, Synthesis& out);

// Halves the rate (kVoiceRate to kOutputRate) through a low-pass filter.
std::vector<double> halved(const std::vector<double>& in, int rate);

struct Encoded {
  std::vector<uint8_t> bytes;
  int clipped = 0;
};

// Full scale 1.0 maps to 127 steps around 128; rounding, no dither.
Encoded toUnsigned8(const std::vector<double>& samples);

}  // namespace espeak_audio
