#include "commands/byte_files.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine/readers.h"
#include "engine/runtime.h"
#include "engine/text.h"

namespace tamiral {

namespace {

bool fitsInBuffer(const std::string& buffer, size_t more) {
  return more <= kByteBufferCapacity - buffer.size();
}

// Reads up to count bytes from the file's position onto the buffer's end;
// false, with the buffer as it was, on a read error.
bool appendFromFile(File& file, std::string& buffer, size_t count) {
  const size_t start = buffer.size();
  buffer.resize(start + count);
  size_t got = 0;
  while (got < count) {
    int64_t n = file.read(buffer.data() + start + got, count - got);
    if (n < 0) {
      buffer.resize(start);
      return false;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  buffer.resize(start + got);
  return true;
}

}  // namespace

bool cmdCriaBin(Runtime& rt, std::string_view args) {
  std::optional<std::string> name = takeValue(rt.vars, args);
  if (!name || rt.fs.isFile(*name) || rt.byteFiles.file) return false;
  rt.byteFiles.file = rt.fs.open(*name, OpenMode::kCreateNew);
  return rt.byteFiles.file != nullptr;
}

bool cmdFechaBin(Runtime& rt, std::string_view) {
  if (!rt.byteFiles.file) return false;
  std::unique_ptr<File> file = std::move(rt.byteFiles.file);
  return file->close();
}

bool cmdGravaBytes(Runtime& rt, std::string_view) {
  ByteFileState& state = rt.byteFiles;
  if (!state.file) return false;
  if (state.buffer.empty()) return true;
  int64_t written = state.file->write(state.buffer.data(), state.buffer.size());
  if (written == static_cast<int64_t>(state.buffer.size())) {
    std::string().swap(state.buffer);
    return true;
  }
  // Keep what did not reach the file, so a retry once there is room writes
  // each byte exactly once.
  if (written > 0) state.buffer.erase(0, static_cast<size_t>(written));
  return false;
}

bool cmdEscreveByte(Runtime& rt, std::string_view args) {
  std::string scratch;
  std::optional<std::string_view> value = takeValueView(rt.vars, args, scratch);
  if (!value || !fitsInBuffer(rt.byteFiles.buffer, value->size())) return false;
  rt.byteFiles.buffer += *value;
  return true;
}

bool cmdLeByte(Runtime& rt, std::string_view args) {
  std::optional<std::string> name = takeValue(rt.vars, args);
  if (!name) return false;
  std::optional<std::string> fromText = takeValue(rt.vars, args);
  if (!fromText) return false;
  std::optional<std::string> toText = takeValue(rt.vars, args);
  if (!toText) return false;
  std::string& buffer = rt.byteFiles.buffer;
  if (buffer.size() >= kMaxByteReadFile) return false;
  std::optional<int32_t> from = toInt(*fromText);
  std::optional<int32_t> to = toInt(*toText);
  if (!from || !to) return false;

  std::unique_ptr<File> file = rt.fs.open(*name, OpenMode::kRead);
  if (!file) return false;
  // Every failure from here closes the file as it goes out of scope.
  std::optional<uint64_t> size = file->size();
  if (!size || *size > kMaxByteReadFile || *to < *from || *from < 0) return false;
  const uint64_t offset = static_cast<uint64_t>(*from);
  if (offset >= *size || !file->seek(offset)) return false;
  // to == from takes the one byte at from.
  const int64_t wanted = std::max<int64_t>(int64_t{*to} - *from, 1);
  const size_t count = static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(wanted), *size - offset));
  if (!fitsInBuffer(buffer, count) || !appendFromFile(*file, buffer, count)) return false;
  file->close();
  return true;
}

bool cmdLimpaBytes(Runtime& rt, std::string_view) {
  // Bytes past the fill count are never read, so emptying is clearing.
  std::string().swap(rt.byteFiles.buffer);
  return true;
}

}  // namespace tamiral
