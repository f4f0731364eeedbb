// The media player and the MIDI output a program plays through, chosen by
// [TRADUTOR] "SAIDADEAUDIO" as speech's own output is: the default device
// (or the one named), or, for a capture file or no sound, nothing audible.
#pragma once

#include <string>

#include "engine/runtime.h"
#include "platform/file_system.h"
#include "platform/media_control.h"
#include "speech/settings.h"
#include "speech/speech.h"

namespace tamiral {

// With a capture or no sound the player has no audio output and runs as
// fast as it decodes, as speech does on its own clock.
MediaOptions mediaOptionsFor(const std::string& audioOutput);

// MIDI goes to a sequencer port when one plays, else to the software
// synthesizer on a wave output of its own beside speech; a capture or no
// sound leaves the sequencer out.
void attachSoundDevices(Runtime& rt, Speech& speech, const Settings& settings, FileSystem& fs);

}  // namespace tamiral
