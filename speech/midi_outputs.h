// The default MIDI output and the software synthesizer behind it: notes are
// rendered into a wave output of their own, fed by the event loop.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/midi_output.h"
#include "platform/wave_sink.h"
#include "speech/background_sound.h"

namespace tamiral {

// The first output of a list that opens: so the sequencer's ports come
// before the software synthesizer.
class FirstMidiOutput : public MidiOutput {
 public:
  using Maker = std::function<std::unique_ptr<MidiOutput>()>;
  explicit FirstMidiOutput(std::vector<Maker> makers) : makers_(std::move(makers)) {}

  bool open() override;
  void close() override;
  bool send(uint32_t message) override;

 private:
  std::vector<Maker> makers_;
  std::unique_ptr<MidiOutput> opened_;
};

// A software synthesizer playing on a wave output beside speech. While open
// it keeps kBlocksAhead blocks (about 90 ms) queued, silence included, so the
// sound keeps the timing of the script's waits (a capture file grows with
// them) and a note starts within that much of its message.
class SynthMidiOutput : public MidiOutput, public BackgroundSound {
 public:
  static constexpr uint32_t kSampleRate = 22050;
  static constexpr size_t kBlockFrames = 256;
  static constexpr int kBlocksAhead = 8;

  using SynthLoader = std::function<std::unique_ptr<SoftSynth>()>;
  using SinkMaker = std::function<std::unique_ptr<WaveSink>()>;
  SynthMidiOutput(BackgroundSounds& host, SynthLoader loadSynth, SinkMaker makeSink)
      : host_(host), loadSynth_(std::move(loadSynth)), makeSink_(std::move(makeSink)) {}
  ~SynthMidiOutput() override { close(); }

  bool open() override;
  void close() override;
  bool send(uint32_t message) override;

  void pump(int milliseconds) override;
  bool sounding() const override { return sink_ != nullptr; }

 private:
  void deliver(uint32_t message);

  BackgroundSounds& host_;
  SynthLoader loadSynth_;
  SinkMaker makeSink_;
  std::unique_ptr<SoftSynth> synth_;
  std::unique_ptr<WaveSink> sink_;
  int queuedBlocks_ = 0;
};

// The wave output the synthesizer uses for a [TRADUTOR] "SAIDADEAUDIO"
// value: the same device, or the capture file's name with "-midi" before its
// extension (speech keeps the file itself).
std::string midiWaveSetting(const std::string& speechSetting);

}  // namespace tamiral
