#include "speech/sound_devices.h"

#include "engine/text.h"
#include "platform/midi_output.h"
#include "speech/media_interpreter.h"
#include "speech/midi_outputs.h"
#include "speech/wave_capture.h"

namespace tamiral {

namespace {

bool audible(const std::string& audioOutput) {
  return !startsWithKeyword(audioOutput, "ARQUIVO:") && !equalsKeyword(audioOutput, "NENHUMA");
}

}  // namespace

MediaOptions mediaOptionsFor(const std::string& audioOutput) {
  MediaOptions options;
  if (audible(audioOutput)) {
    options.audioDevice = audioOutput;
  } else {
    options.audioDevice = "null";
    options.untimed = true;
  }
  return options;
}

void attachSoundDevices(Runtime& rt, Speech& speech, const Settings& settings, FileSystem& fs) {
  std::string audioOutput = settings.read("TRADUTOR", "SAIDADEAUDIO");
  rt.media = std::make_unique<MediaInterpreter>(fs, makeMpvPlayers(mediaOptionsFor(audioOutput)));
  std::vector<FirstMidiOutput::Maker> outputs;
  if (audible(audioOutput)) outputs.emplace_back(makeSequencerMidiOutput);
  outputs.emplace_back([&speech, &fs, synthOutput = midiWaveSetting(audioOutput)] {
    return std::make_unique<SynthMidiOutput>(
        speech, [] { return loadSoftSynth(SynthMidiOutput::kSampleRate, soundFontCandidates()); },
        [&fs, synthOutput] { return makeWaveSink(synthOutput, fs); });
  });
  rt.midi = std::make_unique<FirstMidiOutput>(std::move(outputs));
}

}  // namespace tamiral
