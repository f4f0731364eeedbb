// What every program does: start the runtime on the real platform with its
// name, register its script lines, run them, and give the exit status.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamiral {

// Exit statuses of the programs.
inline constexpr int kExitEnded = 0;
inline constexpr int kExitRunError = 1;
inline constexpr int kExitUsage = 2;

// Lines are Windows-1252; arguments arrive as the OS gives them (UTF-8).
int runProgram(std::string_view name, const std::vector<std::string>& lines,
               const std::vector<std::string>& utf8Arguments);

// A script file's bytes as Windows-1252 lines: UTF-8 when the bytes are valid
// UTF-8 (a byte-order mark is dropped), Windows-1252 otherwise; lines end at
// LF, a CR before it is dropped. Nothing when there are more lines than the
// program store holds.
std::optional<std::vector<std::string>> scriptLinesFromFile(std::string_view bytes);

}  // namespace tamiral
