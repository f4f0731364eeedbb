#include "speech/midi_outputs.h"

#include "engine/text.h"

namespace tamiral {

bool FirstMidiOutput::open() {
  close();
  for (const Maker& make : makers_) {
    std::unique_ptr<MidiOutput> output = make();
    if (output && output->open()) {
      opened_ = std::move(output);
      return true;
    }
  }
  return false;
}

void FirstMidiOutput::close() {
  if (opened_) opened_->close();
  opened_.reset();
}

bool FirstMidiOutput::send(uint32_t message) { return opened_ && opened_->send(message); }

bool SynthMidiOutput::open() {
  close();
  synth_ = loadSynth_();
  std::unique_ptr<WaveSink> sink = synth_ ? makeSink_() : nullptr;
  if (!sink || sink->open(WaveFormat{kSampleRate, 16, 2}) != 0) {
    synth_.reset();
    return false;
  }
  sink_ = std::move(sink);
  queuedBlocks_ = 0;
  host_.addBackgroundSound(*this);
  pump(0);
  return true;
}

void SynthMidiOutput::close() {
  if (!sink_) return;
  host_.removeBackgroundSound(*this);
  sink_->close();
  sink_.reset();
  synth_.reset();
}

bool SynthMidiOutput::send(uint32_t message) {
  if (!synth_) return false;
  deliver(message);
  return true;
}

// Status bytes the synthesizer has no use for are ignored.
void SynthMidiOutput::deliver(uint32_t message) {
  int status = message & 0xFF;
  int channel = status & 0x0F;
  int data1 = (message >> 8) & 0x7F;
  int data2 = (message >> 16) & 0x7F;
  switch (status & 0xF0) {
    case 0x80: synth_->noteOff(channel, data1); break;
    case 0x90:
      if (data2 == 0)
        synth_->noteOff(channel, data1);
      else
        synth_->noteOn(channel, data1, data2);
      break;
    case 0xB0: synth_->controlChange(channel, data1, data2); break;
    case 0xC0: synth_->programChange(channel, data1); break;
    default:
      if (status == 0xFF) synth_->reset();
  }
}

void SynthMidiOutput::pump(int milliseconds) {
  if (!sink_) return;
  sink_->advance(milliseconds);
  queuedBlocks_ = std::max(queuedBlocks_ - sink_->takeFinishedBlocks(), 0);
  int16_t block[kBlockFrames * 2];
  for (; queuedBlocks_ < kBlocksAhead; ++queuedBlocks_) {
    synth_->render(block, kBlockFrames);
    if (!sink_->write(reinterpret_cast<const uint8_t*>(block), sizeof block)) break;
  }
}

std::string midiWaveSetting(const std::string& speechSetting) {
  if (!startsWithKeyword(speechSetting, "ARQUIVO:")) return speechSetting;
  size_t dot = speechSetting.find_last_of('.');
  size_t slash = speechSetting.find_last_of("/\\");
  bool hasExtension = dot != std::string::npos && dot > 8 && (slash == std::string::npos || dot > slash);
  if (!hasExtension) return speechSetting + "-midi";
  return speechSetting.substr(0, dot) + "-midi" + speechSetting.substr(dot);
}

}  // namespace tamiral
