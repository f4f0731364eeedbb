#include "commands/folder_commands.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "console/talking_console.h"
#include "engine/cp1252.h"
#include "engine/readers.h"
#include "engine/text.h"
#include "platform/environment.h"

namespace tamiral {

namespace {

constexpr size_t kCopyBlock = 30000;

bool report(Runtime& rt, std::string_view message, std::string_view name) {
  rt.console.writeLineAndSpeak(std::string(message) + std::string(name));
  return false;
}

// Two names and nothing after them.
bool takeTwoNames(Runtime& rt, std::string_view& args, std::string& first, std::string& second) {
  std::optional<std::string> a = takeValue(rt.vars, args);
  std::optional<std::string> b = a ? takeValue(rt.vars, args) : std::nullopt;
  if (!b || !args.empty()) return false;
  first = std::move(*a);
  second = std::move(*b);
  return true;
}

enum class CopyResult { kDone, kSourceUnopened, kDestinationUnopened, kReadError, kWriteError };

// Copies in blocks to a temporary file beside the destination, which takes
// the destination's place only when complete: a failed copy leaves the old
// destination as it was and nothing half-written.
CopyResult copyFile(FileSystem& fs, const std::string& source, const std::string& destination) {
  std::unique_ptr<File> in = fs.open(source, OpenMode::kRead);
  if (!in) return CopyResult::kSourceUnopened;
  std::string temporary = destination + ".~replica";
  std::unique_ptr<File> out = fs.open(temporary, OpenMode::kWrite);
  if (!out) return CopyResult::kDestinationUnopened;
  std::string block(kCopyBlock, '\0');
  CopyResult result = CopyResult::kDone;
  for (;;) {
    int64_t got = in->read(block.data(), block.size());
    if (got == 0) break;
    if (got < 0) {
      result = CopyResult::kReadError;
      break;
    }
    if (out->write(block.data(), static_cast<size_t>(got)) != got) {
      result = CopyResult::kWriteError;
      break;
    }
  }
  in->close();
  if (!out->close() && result == CopyResult::kDone) result = CopyResult::kWriteError;
  if (result != CopyResult::kDone || !fs.replace(temporary, destination)) {
    fs.removeFile(temporary);
    if (result == CopyResult::kDone) result = CopyResult::kWriteError;
  }
  return result;
}

std::optional<uint64_t> fileSize(Runtime& rt, const std::string& name) {
  std::unique_ptr<File> file = rt.fs.open(name, OpenMode::kRead);
  if (!file) return std::nullopt;
  std::optional<uint64_t> size = file->size();
  file->close();
  return size;
}

// A size into v; a file that cannot be opened is reported and fails.
bool sizeCommand(Runtime& rt, std::string_view args, bool readable) {
  std::optional<std::string> name = takeValue(rt.vars, args);
  std::optional<VarSlot> slot = name ? takeVariable(rt.vars, args) : std::nullopt;
  if (!slot) return false;
  std::optional<uint64_t> size = fileSize(rt, *name);
  if (!size) return report(rt, "Erro na abertura do arquivo ", *name);
  rt.vars.set(*slot, readable ? readableSize(*size, userDecimalSeparator()) : decimal(static_cast<int64_t>(*size)));
  return true;
}

void endSearch(FolderSearch& search) { search = FolderSearch(); }

bool hasSearchedAttribute(const FolderSearch& search, const DirectoryEntry& entry) {
  return search.forFolders ? entry.isFolder : !entry.isFolder;
}

std::string nextFound(FolderSearch& search) {
  while (search.active && search.next < search.entries.size()) {
    const DirectoryEntry& entry = search.entries[search.next++];
    if (hasSearchedAttribute(search, entry)) return entry.name;
  }
  endSearch(search);
  return {};
}

// The first entry is neither hidden nor, for a file search, a folder; a
// folder search may start on a file.
std::string startSearch(Runtime& rt, std::string_view pattern, bool forFolders) {
  FolderSearch& search = rt.folderSearch;
  endSearch(search);
  std::optional<std::vector<DirectoryEntry>> entries = rt.fs.list(pattern);
  if (!entries) return {};
  search.active = true;
  search.forFolders = forFolders;
  search.entries = std::move(*entries);
  for (; search.next < search.entries.size(); ++search.next) {
    const DirectoryEntry& entry = search.entries[search.next];
    if (!entry.isHidden && (forFolders || !entry.isFolder)) return search.entries[search.next++].name;
  }
  endSearch(search);
  return {};
}

}  // namespace

std::string readableSize(uint64_t bytes, char decimalSeparator) {
  static constexpr std::string_view kUnits[] = {" B", "KB", " MB", "GB", " TB"};
  double x = static_cast<double>(bytes);
  size_t divisions = 0;
  while (x >= 1024) {
    x /= 1024;
    ++divisions;
  }
  char number[64];
  std::snprintf(number, sizeof number, "%.2f", x);
  std::string text = number;
  if (size_t point = text.find('.'); point != std::string::npos) text[point] = decimalSeparator;
  if (divisions < std::size(kUnits)) text += kUnits[divisions];
  return text;
}

bool cmdRemove(Runtime& rt, std::string_view args) {
  bool quiet = takeTrailingMark(args);  // errors not reported; success anyway
  std::optional<std::string> name = takeValue(rt.vars, args);
  if (!name || name->empty()) return false;
  if (rt.fs.removeFile(*name) || quiet) return true;
  return report(rt, "Erro no apagamento do arquivo ", *name);
}

bool cmdRenomeia(Runtime& rt, std::string_view args) {
  bool quiet = takeTrailingMark(args);  // errors not reported; success anyway
  std::string from, to;
  if (!takeTwoNames(rt, args, from, to)) return false;
  return rt.fs.rename(from, to) || quiet;
}

bool cmdReplica(Runtime& rt, std::string_view args) {
  bool quiet = takeTrailingMark(args);  // errors not reported; success anyway
  std::string source, destination;
  if (!takeTwoNames(rt, args, source, destination)) return false;
  CopyResult result = copyFile(rt.fs, source, destination);
  if (result == CopyResult::kDone || quiet) return true;
  if (result == CopyResult::kReadError) return report(rt, "Erro no processamento de arquivo ", source);
  if (result == CopyResult::kWriteError) return report(rt, "Erro na escrita de arquivo ", destination);
  return false;
}

bool cmdDir(Runtime& rt, std::string_view args) {
  bool quiet = takeTrailingMark(args);  // errors not reported; success anyway
  bool (FileSystem::*action)(std::string_view) = nullptr;
  if (startsWithKeyword(args, "CRIA ")) action = &FileSystem::makeFolder;
  if (startsWithKeyword(args, "REMOVE ")) action = &FileSystem::removeFolder;
  if (startsWithKeyword(args, "TROCA ")) action = &FileSystem::changeFolder;
  if (!action) return false;
  args.remove_prefix(args.find(' '));
  std::optional<std::string> path = takeValue(rt.vars, args);
  if (!path || !args.empty()) return false;
  if ((rt.fs.*action)(*path) || quiet) return true;
  return report(rt, "Erro no processamento do diretório "_cp, *path);
}

bool cmdBusca(Runtime& rt, std::string_view args) {
  // "BUSCA v" alone gives the working folder, like "BUSCA v DIR".
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot) return false;
  bool forFolders = startsWithKeyword(args, "DIR");
  if (forFolders) args = trimLeadingBlanks(args.substr(std::min<size_t>(4, args.size())));
  if (startsWithKeyword(args, "FIM")) {
    endSearch(rt.folderSearch);
    return true;
  }
  std::string found;
  if (startsWithKeyword(args, "PRÓXIMO"_cp) || startsWithKeyword(args, "PROXIMO")) {
    if (args.size() > 7) return false;
    found = nextFound(rt.folderSearch);
  } else if (!args.empty()) {
    std::optional<std::string> pattern = takeValue(rt.vars, args);
    if (!pattern || !args.empty()) return false;
    found = startSearch(rt, *pattern, forFolders);
  } else {
    found = rt.fs.workingFolder();
  }
  rt.vars.set(*slot, std::string(trimBlanks(found)));
  return true;
}

bool cmdTamarq(Runtime& rt, std::string_view args) { return sizeCommand(rt, args, false); }
bool cmdHtamarq(Runtime& rt, std::string_view args) { return sizeCommand(rt, args, true); }

}  // namespace tamiral
