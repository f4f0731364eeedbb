// Wave outputs that are not a device: a capture into a WAVE file, whose
// blocks finish on a clock that the event loop's delays move (so tests run
// fast and always the same way), and an output that discards everything.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/wave_sink.h"

namespace tamiral {

// Blocks are appended to `path`; a later change of format starts a new file
// ("x.wav", then "x-2.wav", …) so every file stays one valid WAVE.
std::unique_ptr<WaveSink> makeCaptureSink(FileSystem& fs, std::string path);
std::unique_ptr<WaveSink> makeSilentSink();

// The output a "SAIDADEAUDIO" setting names: empty → the default sound
// device; "arquivo:<path>" → a capture; "nenhuma" → nothing; anything else
// → the sound device of that name.
std::unique_ptr<WaveSink> makeWaveSink(const std::string& setting, FileSystem& fs);

}  // namespace tamiral
