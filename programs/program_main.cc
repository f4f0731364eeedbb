#include "programs/program_main.h"

#include <cstdlib>

#include "console/model_console.h"
#include "console/plain_console.h"
#include "console/terminal_front_end.h"
#include "engine/cp1252.h"
#include "engine/engine.h"
#include "engine/program_store.h"
#include "engine/runtime.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/std_streams.h"
#include "platform/terminal.h"
#include "speech/settings.h"
#include "speech/sound_devices.h"

namespace tamiral {

namespace {

int runLines(Runtime& rt, std::string_view name, const std::vector<std::string>& lines,
             const std::vector<std::string>& utf8Arguments) {
  resetEngine(rt);
  for (const std::string& argument : utf8Arguments) rt.params.push_back(utf8ToCp1252(argument));
  if (!startEngine(rt, name)) return kExitRunError;
  int n = 0;
  for (const std::string& line : lines) addScriptLine(rt, line, ++n);
  return runScript(rt) == RunOutcome::kEnded ? kExitEnded : kExitRunError;
}

// The console drawn in the terminal. When the terminal closes or the process
// is asked to end, the run stops at once, as when the console window is
// closed: what the script wrote to its files is kept.
int runInTerminal(Settings& settings, FileSystem& fs, Clock& clock, std::string_view name,
                  const std::vector<std::string>& lines, const std::vector<std::string>& utf8Arguments) {
  std::unique_ptr<Terminal> terminal = makeProcessTerminal();
  TerminalFrontEnd frontEnd(*terminal);
  Runtime* running = nullptr;
  ModelConsole console(frontEnd, frontEnd, settings, fs, [&running](int status) {
    if (running) running->handles.flushAll();
    std::exit(status);
  });
  Runtime rt(console, clock, fs);
  attachSoundDevices(rt, console.speech(), settings, fs);
  running = &rt;
  int status = runLines(rt, name, lines, utf8Arguments);
  console.programEnded(status == kExitEnded);
  return status;
}

}  // namespace

int runProgram(std::string_view name, const std::vector<std::string>& lines,
               const std::vector<std::string>& utf8Arguments) {
  Settings settings(readEnvironment());
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  std::unique_ptr<Clock> clock = makeSystemClock();
  if (standardStreamsAreTerminals()) return runInTerminal(settings, *fs, *clock, name, lines, utf8Arguments);
  std::unique_ptr<StdStreams> streams = makeProcessStdStreams();
  PlainConsole console(*streams, settings, *fs);
  Runtime rt(console, *clock, *fs);
  attachSoundDevices(rt, console.speech(), settings, *fs);
  return runLines(rt, name, lines, utf8Arguments);
}

std::optional<std::vector<std::string>> scriptLinesFromFile(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  std::string text = isValidUtf8(bytes) ? utf8ToCp1252(bytes) : std::string(bytes);
  std::vector<std::string> lines;
  std::string_view rest = text;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (lines.size() == ProgramStore::kCapacity) return std::nullopt;
    lines.emplace_back(line);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  return lines;
}

}  // namespace tamiral
