#include "engine/flow.h"

#include <optional>
#include <string>

#include "console/talking_console.h"
#include "engine/conditions.h"
#include "engine/cp1252.h"
#include "engine/engine.h"
#include "engine/program_index.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

const ProgramIndex& index(Runtime& rt) { return rt.program.index(); }

// Moves to the first "FIM <kind>" below the current line without counting
// nesting; with none, past the last line so the run ends normally.
void skipToEnd(Runtime& rt, BlockKind kind) {
  int end = index(rt).nextEnd(kind, rt.run.currentLine);
  rt.run.currentLine = end ? end : rt.program.lineCount() + 1;
}

// Whether a normalised "SE ..." line opens a block: its condition can be
// read and nothing follows it. Readability can depend on variables and
// lists, so it is asked each time.
bool opensBlock(Runtime& rt, std::string_view normalised) {
  std::string_view condition = normalised.substr(3);
  return readCondition(rt, condition).readOk && condition.empty();
}

// From a false block SE: to its own SENÃO or FIM SE, counting nested blocks.
void skipBlock(Runtime& rt) {
  const ProgramIndex& lines = index(rt);
  int depth = 1;
  for (int n = rt.run.currentLine + 1; n <= rt.program.lineCount(); ++n) {
    const std::string& text = lines.normalised(n);
    if (text.starts_with("SE ")) {
      if (opensBlock(rt, text)) ++depth;
    } else if (text == "FIM SE") {
      if (--depth == 0) {
        rt.run.currentLine = n;
        return;
      }
    } else if (depth == 1 && (text == "SENAO" || text == "SENÃO"_cp)) {
      rt.run.currentLine = n;
      return;
    }
  }
  rt.run.currentLine = rt.program.lineCount() + 1;
}

bool findLabel(Runtime& rt, std::string_view name) {
  int line = index(rt).labelLine(upperPt(name));
  if (line == 0) return false;
  rt.run.currentLine = line;
  return true;
}

// "@name", or a value holding the name; nothing may follow either.
std::optional<std::string> takeTarget(Runtime& rt, std::string_view args) {
  if (rt.run.stopRequested || args.empty()) return std::nullopt;
  if (args.front() == '@') {
    std::string_view name = args.substr(1);
    if (name.find(' ') != std::string_view::npos) return std::nullopt;
    return std::string(name);
  }
  std::optional<std::string> name = takeValue(rt.vars, args);
  if (!name || !args.empty()) return std::nullopt;
  return name;
}

// Reads "v count" of a REPETE line; the count is read again on every turn.
bool takeRepeatHead(Runtime& rt, std::string_view& args, VarSlot& slot, int32_t& count) {
  std::optional<VarSlot> variable = takeVariable(rt.vars, args);
  if (!variable || args.empty()) return false;
  std::optional<std::string> value = takeValue(rt.vars, args);
  std::optional<int32_t> number = value ? toInt(*value) : std::nullopt;
  if (!number) return false;
  slot = *variable;
  count = *number;
  return true;
}

// The next turn of the REPETE loop whose head is line `head` (a line with a
// space, so it has arguments): the variable steps on, the count is read again.
bool continueRepeat(Runtime& rt, int head) {
  rt.run.currentLine = head;
  std::string folded = upperPt(trimBlanks(rt.program.line(head)));
  std::string_view args = std::string_view(folded).substr(folded.find(' ') + 1);
  VarSlot slot = 0;
  int32_t count = 0;
  if (!takeRepeatHead(rt, args, slot, count)) return false;
  std::optional<int32_t> current = toInt(rt.vars.get(slot));
  if (!current) return false;
  int32_t next = static_cast<int32_t>(static_cast<uint32_t>(*current) + 1u);
  rt.vars.set(slot, decimal(next));
  if (count < next) skipToEnd(rt, BlockKind::kRepete);
  return true;
}

}  // namespace

bool cmdSe(Runtime& rt, std::string_view args) {
  Condition condition = readCondition(rt, args);
  if (!condition.readOk) return false;
  if (condition.holds) {
    if (args.empty()) return true;
    if (rt.run.nestedSe >= kMaxNestedSe) return false;
    ++rt.run.nestedSe;
    bool ok = executeLine(rt, args, true);
    --rt.run.nestedSe;
    return ok;
  }
  if (args.empty()) skipBlock(rt);
  return true;
}

bool cmdSenao(Runtime& rt, std::string_view args) {
  if (!args.empty()) return false;
  skipToEnd(rt, BlockKind::kSe);
  return true;
}

bool cmdEnquanto(Runtime& rt, std::string_view args) {
  Condition condition = readCondition(rt, args);
  if (!condition.readOk) return false;
  if (!condition.holds) skipToEnd(rt, BlockKind::kEnquanto);
  return true;
}

bool cmdRepete(Runtime& rt, std::string_view args) {
  VarSlot slot = 0;
  int32_t count = 0;
  if (!takeRepeatHead(rt, args, slot, count)) return false;
  rt.vars.set(slot, "1");
  if (count < 1) skipToEnd(rt, BlockKind::kRepete);
  return true;
}

bool cmdFim(Runtime& rt, std::string_view args) {
  if (args.empty()) return false;
  if (equalsKeyword(args, "ENQUANTO")) {
    int head = index(rt).previousHead(BlockKind::kEnquanto, rt.run.currentLine);
    if (head == 0) return false;
    rt.run.currentLine = head - 1;  // the head runs again and tests its condition
    return true;
  }
  if (equalsKeyword(args, "REPETE")) {
    int head = index(rt).previousHead(BlockKind::kRepete, rt.run.currentLine);
    return head != 0 && continueRepeat(rt, head);
  }
  return true;  // FIM SE and any other word: nothing to do
}

bool cmdDesvia(Runtime& rt, std::string_view args) {
  std::optional<std::string> target = takeTarget(rt, args);
  return target && findLabel(rt, *target);
}

bool cmdChama(Runtime& rt, std::string_view args) {
  std::optional<std::string> target = takeTarget(rt, args);
  if (!target) return false;
  if (rt.run.callStack.size() >= kMaxCallDepth) {
    rt.console.writeLineAndSpeak("Muitas chamadas sem retorno");
    return false;
  }
  rt.run.callStack.push_back(rt.run.currentLine);
  return findLabel(rt, *target);
}

bool cmdRetorna(Runtime& rt, std::string_view args) {
  if (!args.empty()) return false;
  if (rt.run.callStack.empty()) {
    rt.console.writeLineAndSpeak("Retorno sem chamada");
    return false;
  }
  rt.run.currentLine = rt.run.callStack.back();
  rt.run.callStack.pop_back();
  return true;
}

bool cmdTermina(Runtime& rt, std::string_view args) {
  rt.run.stopRequested = true;
  rt.run.quietEnd = equalsKeyword(args, "MUDO");
  return true;
}

}  // namespace tamiral
