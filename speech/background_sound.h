// Sound that plays beside speech on an output of its own (the MIDI software
// synthesizer). There are no threads to feed it, so the event loop does: its
// turns and its delays pump every background sound.
#pragma once

namespace tamiral {

class BackgroundSound {
 public:
  virtual ~BackgroundSound() = default;
  // Tops up the output. milliseconds moves outputs that are not real time
  // (0 for a turn of the event loop that is not a delay).
  virtual void pump(int milliseconds) = 0;
  // While true, waits must come back to the event loop often enough to keep
  // the output from running dry.
  virtual bool sounding() const = 0;
};

class BackgroundSounds {
 public:
  virtual ~BackgroundSounds() = default;
  virtual void addBackgroundSound(BackgroundSound& sound) = 0;
  virtual void removeBackgroundSound(BackgroundSound& sound) = 0;
};

}  // namespace tamiral
