// Encodings of texts and files: Base64 (CODBASE64, DECODBASE64 and their
// file forms CODARQBASE64, DECODARQBASE64), Windows-1252 <-> UTF-8
// (ANSIPARAUTF8, UTF8PARAANSI) and quoted-printable escapes (REMOVEQUOTED,
// ADQUOTED).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdCodBase64(Runtime& rt, std::string_view args);
bool cmdDecodBase64(Runtime& rt, std::string_view args);
bool cmdCodArqBase64(Runtime& rt, std::string_view args);
bool cmdDecodArqBase64(Runtime& rt, std::string_view args);
bool cmdAnsiParaUtf8(Runtime& rt, std::string_view args);
bool cmdUtf8ParaAnsi(Runtime& rt, std::string_view args);
bool cmdRemoveQuoted(Runtime& rt, std::string_view args);
bool cmdAdQuoted(Runtime& rt, std::string_view args);

// Standard Base64, '=' filling the last group; no line breaks.
std::string encodeBase64(std::string_view bytes);

// Base64 decoding that ignores what is not in the alphabet and stops at '='.
// Fed one character at a time, so a file can be decoded as it is read.
class Base64Decoder {
 public:
  // False once '=' has been seen: nothing after it counts.
  bool wantsMore() const { return !ended_; }
  // Appends to out the bytes a completed group gives.
  void feed(char c, std::string& out);
  // Appends the whole bytes an incomplete last group holds.
  void finish(std::string& out);

 private:
  uint32_t bits_ = 0;
  int count_ = 0;
  bool ended_ = false;
};

std::string decodeBase64(std::string_view text);

// The runtime's own UTF-8 reading: only two-byte sequences are decoded, to
// the low eight bits of their code point; every other byte is kept.
std::string utf8TwoByteToCp1252(std::string_view text);

// '=' and two hex digits become the byte they give; one trailing '=' (a soft
// line break) is dropped.
std::string removeQuotedPrintable(std::string_view text);

// Control bytes, '=' and bytes from 0x7F up become '=' and two hex digits.
std::string addQuotedPrintable(std::string_view text);

}  // namespace tamiral
