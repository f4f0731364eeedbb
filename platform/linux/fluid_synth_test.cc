// The software synthesizer itself, where its library and a sound font are
// installed (tools/setup.sh installs both).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/midi_output.h"

namespace tamiral {
namespace {

// Samples carry a little dither noise even in silence.
constexpr int kQuiet = 50;

int loudest(const std::vector<int16_t>& samples) {
  int peak = 0;
  for (int16_t sample : samples) peak = std::max(peak, std::abs(static_cast<int>(sample)));
  return peak;
}

TEST(FluidSynthTest, ANoteSoundsAndDiesAway) {
  std::unique_ptr<SoftSynth> synth = loadSoftSynth(22050, soundFontCandidates());
  if (!synth) GTEST_SKIP() << "libfluidsynth3 or a General MIDI sound font is missing (bash tools/setup.sh)";
  std::vector<int16_t> tenth(2 * 2205);
  synth->render(tenth.data(), 2205);
  EXPECT_LT(loudest(tenth), kQuiet);

  synth->programChange(0, 0);
  synth->noteOn(0, 69, 120);
  synth->render(tenth.data(), 2205);
  EXPECT_GT(loudest(tenth), 1000);

  synth->noteOff(0, 69);
  for (int i = 0; i < 50; ++i) synth->render(tenth.data(), 2205);
  EXPECT_LT(loudest(tenth), kQuiet);
}

TEST(FluidSynthTest, NoSoundFontNoSynthesizer) {
  EXPECT_EQ(loadSoftSynth(22050, {"/nonexistent/font.sf2"}), nullptr);
}

}  // namespace
}  // namespace tamiral
