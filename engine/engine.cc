#include "engine/engine.h"

#include "console/talking_console.h"
#include "engine/builtins.h"
#include "engine/command_table.h"
#include "engine/cp1252.h"
#include "engine/text.h"
#include "platform/clock.h"

namespace tamiral {

void resetEngine(Runtime& rt) {
  rt.run = RunState();
  rt.vars.clear();
  rt.lists.clear();
  rt.handles.closeAll();
  rt.menu.reset();
  rt.timeReference = timeReferenceAt(rt.clock.localNow());
}

bool startEngine(Runtime& rt, std::string_view programName) {
  rt.programName = std::string(programName);
  std::string soundFolder = rt.console.readSetting("CENARO", "DIRCENARO");
  if (!rt.console.speechInit(0, soundFolder)) return false;
  rt.console.clearScreen();
  rt.console.setWindowTitle(programName);
  return true;
}

bool addScriptLine(Runtime& rt, std::string text, int n) { return rt.program.addLine(n, std::move(text)); }

namespace {

void reportError(Runtime& rt) {
  TalkingConsole& console = rt.console;
  console.restoreWindow();
  console.speak("Erro de execução na linha "_cp);
  console.writeNumberAndSpeak(rt.run.currentLine);
  console.writeLine("");
  console.readConsoleLine(128);
}

bool isRefusedWhenRestricted(std::string_view word) {
  for (std::string_view refused : {"REPETE"_cp, "ENQUANTO"_cp, "SENAO"_cp, "SENÃO"_cp, "FIM"_cp}) {
    if (equalsKeyword(word, refused)) return true;
  }
  return false;
}

// Runs stored line n with its split and look-up worked out in advance.
void executeStoredLine(Runtime& rt, int n) {
  const StoredCommand& command = rt.program.index().command(n);
  if (command.doesNothing) return;
  std::string_view line = rt.program.line(n);
  std::string_view word = line.substr(command.wordBegin, command.wordLength);
  std::string_view args = line.substr(command.argsBegin, command.argsLength);
  rt.run.errorFlag = !runCommand(rt, command.entry, word, args);
}

}  // namespace

RunOutcome runScript(Runtime& rt) {
  RunState& run = rt.run;
  run.currentLine = 1;
  run.errorFlag = false;
  run.stopRequested = false;
  run.commandWord = {};
  run.callStack.clear();
  run.ioStatus = 0;
  while (run.currentLine <= rt.program.lineCount() && !run.errorFlag && !run.stopRequested) {
    executeStoredLine(rt, run.currentLine);
    if (!run.errorFlag && !run.stopRequested) ++run.currentLine;
  }
  rt.program.spend();
  rt.handles.flushAll();  // nothing written is lost when the program ends next
  if (run.errorFlag) {
    reportError(rt);
    return RunOutcome::kFailed;
  }
  if (!run.quietEnd) rt.console.speak("Fim do script");
  return RunOutcome::kEnded;
}

bool executeLine(Runtime& rt, std::string_view text, bool restricted) {
  LineParts parts = splitLine(text);
  if (parts.doesNothing) return true;
  bool ok = !(restricted && isRefusedWhenRestricted(parts.word)) && dispatchCommand(rt, parts.word, parts.args);
  rt.run.errorFlag = !ok;
  return ok;
}

}  // namespace tamiral
