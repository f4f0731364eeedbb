#include "commands/text_files.h"

#include <optional>
#include <string>

#include "commands/handle_table.h"
#include "console/talking_console.h"
#include "engine/cp1252.h"
#include "engine/readers.h"
#include "engine/text.h"
#include "platform/file_system.h"

namespace tamiral {

namespace {

constexpr std::string_view kProcessingError = "Erro no processamento de arquivo";

bool fail(Runtime& rt, std::string_view message) {
  rt.console.writeLineAndSpeak(message);
  return false;
}

// Appending creates the file when it cannot be appended to.
std::unique_ptr<File> openFor(Runtime& rt, const std::string& name, bool append) {
  if (!append) return rt.fs.open(name, OpenMode::kRead);
  std::unique_ptr<File> file = rt.fs.open(name, OpenMode::kAppend);
  return file ? std::move(file) : rt.fs.open(name, OpenMode::kWrite);
}

}  // namespace

bool cmdAbre(Runtime& rt, std::string_view args) {
  bool append = takeTrailingMark(args);
  std::optional<int> handle = takeHandle(args);
  std::optional<std::string> name = handle ? takeValue(rt.vars, args) : std::nullopt;
  std::string shownName = name.value_or("");
  if (!name || name->empty()) return fail(rt, std::string("Erro na abertura do arquivo "_cp) + shownName);
  // A handle opened again lets go of what it held first, writing it out.
  rt.handles.close(*handle);
  std::unique_ptr<File> file = openFor(rt, *name, append);
  if (!file) return fail(rt, std::string("Erro na abertura do arquivo "_cp) + shownName);
  HandleRecord& record = rt.handles.at(*handle);
  record.open = true;
  record.isConnection = false;
  record.file = std::make_unique<TextFile>(std::move(file),
                                           append ? TextFile::Direction::kWrite : TextFile::Direction::kRead);
  return true;
}

bool cmdFecha(Runtime& rt, std::string_view args) {
  std::optional<int> handle = takeHandle(args);
  if (!handle || !rt.handles.close(*handle)) return fail(rt, "Erro no fechamento do arquivo");
  return true;
}

bool cmdChecha(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot || !args.empty()) return false;
  rt.vars.set(*slot, decimal(rt.run.ioStatus));
  return true;
}

bool escreveToHandle(Runtime& rt, std::string_view args, bool lineEnd) {
  rt.run.ioStatus = 0;
  if (args.size() < 2 || !isDigit(args[1])) return fail(rt, kProcessingError);
  int handle = args[1] - '0';
  args = trimBlanks(args.substr(2));
  std::string text;
  if (args.empty()) lineEnd = true;
  for (;;) {
    std::string_view attempt = args;
    std::optional<std::string> value = takeValue(rt.vars, attempt);
    if (!value) break;
    if (value->size() > kMaxTextLength - text.size()) return false;
    text += *value;
    args = attempt;
  }
  HandleRecord& record = rt.handles.at(handle);
  if (!record.open || !record.file) return fail(rt, kProcessingError);
  if (lineEnd) {
    text += "\r\n";
    rt.run.ioStatus = record.file->write(text);
  } else {
    rt.run.ioStatus = record.file->write(text);
    if (rt.run.ioStatus == kIoOk) rt.run.ioStatus = record.file->flush();
  }
  if (!args.empty()) return false;
  rt.console.waitWhileSpeaking();  // as every ESCREVE does
  return true;
}

bool leFromHandle(Runtime& rt, std::string_view args) {
  rt.run.ioStatus = 0;
  std::optional<int> handle = takeHandle(args);
  if (!handle) return false;
  if (args.empty()) return fail(rt, kProcessingError);
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot) return false;
  HandleRecord& record = rt.handles.at(*handle);
  if (!record.open || !record.file) return fail(rt, kProcessingError);
  std::string line;
  rt.run.ioStatus = record.file->readLine(line);
  rt.vars.set(*slot, std::move(line));
  return true;
}

}  // namespace tamiral
