// The console's event loop as a front end provides it: keys, mouse and
// pasted text arriving, the caret, and the console going away. The model
// console waits only through this, so tests drive it with a scripted source
// and the terminal front end drives it from the terminal.
#pragma once

#include <cstdint>
#include <optional>

namespace tamiral {

class ConsoleModel;

struct EventWait {
  // Set once the console has gone (its terminal closed, or the process was
  // asked to end): the exit status the program should end with.
  std::optional<int> endStatus;
};

class ConsoleEvents {
 public:
  virtual ~ConsoleEvents() = default;
  // Arriving keys go into this model's key buffer and pasted text into its
  // clipboard. Called once, before anything else.
  virtual void bind(ConsoleModel& model) = 0;
  // Handles what arrives within timeoutMs (0: only what is there already;
  // -1: no limit) and returns once something arrived or the time is up.
  virtual EventWait wait(int timeoutMs) = 0;
  // A steady clock in milliseconds, for waits that must last their time.
  virtual int64_t nowMs() = 0;
  // True while a reader waits for a key: the caret shows at the cursor.
  virtual void setReading(bool reading) = 0;
  // The console goes away: the screen is given back as it was found and
  // nothing is drawn or read afterwards.
  virtual void close() = 0;
};

}  // namespace tamiral
