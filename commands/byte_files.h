// Byte files: CRIABIN, FECHABIN, GRAVABYTES, ESCREVEBYTE, LEBYTE, LIMPABYTES.
// Bytes are gathered in one buffer (from values or from pieces of files) and
// written out to the one byte file a script may have open at a time.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tamiral {

struct Runtime;

// The most bytes the buffer holds.
inline constexpr size_t kByteBufferCapacity = (size_t{1} << 27) + 2;
// LEBYTE reads from files up to this size, and only into a buffer below it.
inline constexpr size_t kMaxByteReadFile = size_t{1} << 27;

// Lives as long as the process: a reset of the engine leaves it alone.
struct ByteFileState {
  ByteFileState() = default;
  ByteFileState(const ByteFileState&) = delete;
  ByteFileState& operator=(const ByteFileState&) = delete;
  ~ByteFileState() {
    if (file) file->close();
  }

  // Its size is the fill count; it grows only as bytes arrive.
  std::string buffer;
  // The open byte file, or null.
  std::unique_ptr<File> file;
};

bool cmdCriaBin(Runtime& rt, std::string_view args);
bool cmdFechaBin(Runtime& rt, std::string_view args);
bool cmdGravaBytes(Runtime& rt, std::string_view args);
bool cmdEscreveByte(Runtime& rt, std::string_view args);
bool cmdLeByte(Runtime& rt, std::string_view args);
bool cmdLimpaBytes(Runtime& rt, std::string_view args);

}  // namespace tamiral
