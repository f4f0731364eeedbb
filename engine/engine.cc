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
  rt.timeReference = timeReferenceAt(rt.clock.localNow());
}

void startEngine(Runtime& rt, std::string_view programName) {
  rt.programName = std::string(programName);
  std::string soundFolder = rt.console.readSetting("CENARO", "DIRCENARO");
  rt.console.speechInit(0, soundFolder);
  rt.console.clearScreen();
  rt.console.setWindowTitle(programName);
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
  std::string folded = upperPt(word);
  for (std::string_view refused : {"REPETE"_cp, "ENQUANTO"_cp, "SENAO"_cp, "SENÃO"_cp, "FIM"_cp}) {
    if (folded == refused) return true;
  }
  return false;
}

}  // namespace

RunOutcome runScript(Runtime& rt) {
  RunState& run = rt.run;
  run.currentLine = 1;
  run.errorFlag = false;
  run.stopRequested = false;
  run.commandWord.clear();
  run.callStack.clear();
  run.ioStatus = 0;
  while (run.currentLine <= rt.program.lineCount() && !run.errorFlag && !run.stopRequested) {
    executeLine(rt, rt.program.line(run.currentLine), false);
    if (!run.errorFlag && !run.stopRequested) ++run.currentLine;
  }
  rt.program.spend();
  if (run.errorFlag) {
    reportError(rt);
    return RunOutcome::kFailed;
  }
  if (!run.quietEnd) rt.console.speak("Fim do script");
  return RunOutcome::kEnded;
}

bool executeLine(Runtime& rt, std::string_view text, bool restricted) {
  text = trimBlanks(text);
  if (text.empty() || text.front() == '*' || text.front() == '@') return true;
  size_t space = text.find(' ');
  std::string word(text.substr(0, space));
  for (char& c : word) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  std::string_view args = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
  bool ok = !(restricted && isRefusedWhenRestricted(word)) && dispatchCommand(rt, word, args);
  rt.run.errorFlag = !ok;
  return ok;
}

}  // namespace tamiral
