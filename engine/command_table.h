// The language's vocabulary: one table binding every command word to its
// handler, and the dispatch that runs a line's command.
#pragma once

#include <span>
#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

// A handler gets the argument text with blanks removed from both ends and
// returns false to stop the run; one that explains a failure writes and
// speaks its message itself first.
using CommandHandler = bool (*)(Runtime& rt, std::string_view args);

struct CommandEntry {
  std::string_view word;  // folded (upper case, accents in upper case)
  CommandHandler handler;
};

std::span<const CommandEntry> commandTable();

// The row of a folded word, or nullptr.
const CommandEntry* findCommandEntry(std::string_view foldedWord);
CommandHandler findCommand(std::string_view foldedWord);

// Echoes the command when tracing, folds the word and runs its handler;
// an unknown word is reported as "Comando inválido: " and fails. The word is
// as written on the line.
bool dispatchCommand(Runtime& rt, std::string_view word, std::string_view args);

// The same for a word already looked up (entry is null for an unknown word),
// with args already trimmed: how the run loop runs its stored lines.
bool runCommand(Runtime& rt, const CommandEntry* entry, std::string_view word, std::string_view args);

// Handler of the words whose commands are not built yet: says so and fails,
// so no script silently does nothing.
bool notAvailableYet(Runtime& rt, std::string_view args);

}  // namespace tamiral
