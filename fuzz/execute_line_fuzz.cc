// Feeds arbitrary script text to the engine. The input is split into lines
// and run as a script; then each line is executed on its own, unrestricted
// and restricted. Any input must either work or fail its line.
//
// Scripts may loop forever or grow their texts without end, which is their
// right, so the first run goes through a copy of the run loop with a budget
// of lines and memory. Only a script that ends within it is run again, from
// a fresh start, by runScript itself: the engine is deterministic over the
// fake console, clock and in-memory file system, so that run ends too unless
// runScript and executeLine disagree.
#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/runtime.h"
#include "fuzz/memory_file_system.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_console.h"

namespace {

using namespace tamiral;

// Enough lines for blocks and jumps to meet each other, few enough to keep
// runs fast.
constexpr size_t kMaxLines = 64;
constexpr int kMaxSteps = 4096;
constexpr size_t kMemoryBudget = size_t{512} << 20;

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty() && lines.size() < kMaxLines) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

struct Session {
  Session() {
    // A Saturday afternoon; UTC differs so RANDOMIZA and TEMPO read their own clock.
    clock.local = DateTime{2024, 3, 9, 6, 15, 42, 7, 250};
    clock.utc = DateTime{2024, 3, 9, 6, 18, 42, 7, 250};
    rt.params = {"primeiro", "com espaço", ""};
    resetEngine(rt);
  }
  void load(const std::vector<std::string_view>& lines) {
    int n = 0;
    for (std::string_view line : lines) addScriptLine(rt, std::string(line), ++n);
  }

  FakeConsole console;
  FakeClock clock;
  MemoryFileSystem fs;
  Runtime rt{console, clock, fs};
};

bool overBudget(size_t baseline) { return __sanitizer_get_current_allocated_bytes() > baseline + kMemoryBudget; }

// runScript's loop, line by line through executeLine; false when the budget
// ran out first.
bool runWithinBudget(Runtime& rt, size_t baseline) {
  RunState& run = rt.run;
  run.currentLine = 1;
  run.errorFlag = false;
  run.stopRequested = false;
  run.callStack.clear();
  run.ioStatus = 0;
  for (int steps = 0; run.currentLine <= rt.program.lineCount() && !run.errorFlag && !run.stopRequested; ++steps) {
    if (steps == kMaxSteps || overBudget(baseline)) return false;
    executeLine(rt, rt.program.line(run.currentLine), false);
    if (!run.errorFlag && !run.stopRequested) ++run.currentLine;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string_view> lines = splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  size_t baseline = __sanitizer_get_current_allocated_bytes();

  bool ended = false;
  {
    Session session;
    session.load(lines);
    ended = runWithinBudget(session.rt, baseline);
    // The program stays loaded, so jumps and block ends below search it
    // from wherever the run left the current line.
    for (size_t i = 0; i < 2 * lines.size() && !overBudget(baseline); ++i)
      executeLine(session.rt, lines[i / 2], i % 2 == 1);
  }
  if (ended) {
    Session session;
    session.load(lines);
    runScript(session.rt);
  }
  return 0;
}
