// MIDI output: short messages packed as status + data1 * 256 + data2 * 65536
// (note-on 0x90 + channel, program change 0xC0 + channel, reset 0xFF).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tamiral {

class MidiOutput {
 public:
  virtual ~MidiOutput() = default;
  // False when there is no output to open.
  virtual bool open() = 0;
  virtual void close() = 0;
  // False when the message could not be delivered (no output is open).
  virtual bool send(uint32_t message) = 0;
};

// Where there is no MIDI output at all.
class NoMidiOutput : public MidiOutput {
 public:
  bool open() override { return false; }
  void close() override {}
  bool send(uint32_t) override { return false; }
};

// A General MIDI software synthesizer producing interleaved 16-bit stereo.
class SoftSynth {
 public:
  virtual ~SoftSynth() = default;
  virtual void noteOn(int channel, int key, int velocity) = 0;
  virtual void noteOff(int channel, int key) = 0;
  virtual void programChange(int channel, int program) = 0;
  virtual void controlChange(int channel, int control, int value) = 0;
  // Every note off, every channel back to its first state.
  virtual void reset() = 0;
  virtual void render(int16_t* frames, size_t count) = 0;
};

// The ports of the sound system's MIDI sequencer that play what they are
// sent: an output whose open() connects to the first one, and fails when
// there is none (the pass-through port, which plays nothing, does not count).
std::unique_ptr<MidiOutput> makeSequencerMidiOutput();

// The synthesizer library, loaded when asked for so that nothing needs it to
// build or start, with the first of the sound fonts that exists. Null when
// the library or every sound font is missing.
std::unique_ptr<SoftSynth> loadSoftSynth(uint32_t sampleRate, const std::vector<std::string>& soundFonts);

// Where the system's packages put a General MIDI sound font, best first.
std::vector<std::string> soundFontCandidates();

}  // namespace tamiral
