// Start-up, the program store's entry points and the run loop.
#pragma once

#include <string>
#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

// Empties every process-wide store and takes the time reference.
void resetEngine(Runtime& rt);

// Starts speech with the program's sound folder, clears the console and
// titles it with the program's name. False when speech could not start and
// the program must end.
bool startEngine(Runtime& rt, std::string_view programName);

// Stores text as line n (1..5000) and makes n the line count.
bool addScriptLine(Runtime& rt, std::string text, int n);

enum class RunOutcome { kEnded, kFailed };

// Runs the registered lines from line 1; then reports the error (spoken
// line number, Enter awaited) or announces the end unless asked for silence.
RunOutcome runScript(Runtime& rt);

// Executes one line. Restricted execution (the command of a one-line SE, a
// computed command) refuses the words that open or close blocks.
bool executeLine(Runtime& rt, std::string_view text, bool restricted);

}  // namespace tamiral
