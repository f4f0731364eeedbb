// Windows-1252 <-> UTF-8 at the edges (terminal, files shown, UTF-8 sources),
// and the _cp literal that lets sources hold messages as readable UTF-8 while
// the program carries Windows-1252 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamiral {

// Unicode code point of each byte 0x80-0x9F; the five bytes Windows-1252
// leaves undefined map to the C1 control of the same value.
inline constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t cp1252ToCodePoint(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
}

// The byte for a code point, or -1 when Windows-1252 has none.
constexpr int codePointToCp1252(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<int>(code);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == code) return 0x80 + i;
  }
  return -1;
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, or 0 when the
// bytes there are not a valid, shortest-form sequence.
constexpr size_t decodeUtf8(std::string_view text, size_t pos, char32_t& code) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                 : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
  if (length == 0 || pos + length > text.size()) return 0;
  code = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(pos + i) & 0x3F);
  }
  bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::string cp1252ToUtf8(std::string_view text);
// Appends a code point below U+10000 in UTF-8.
void appendUtf8(std::string& out, char32_t code);

// Characters Windows-1252 cannot hold become '?'; bytes that are not valid
// UTF-8 are kept as they are (taken as Windows-1252 already).
std::string utf8ToCp1252(std::string_view text);

bool isValidUtf8(std::string_view text);
bool hasNonAscii(std::string_view text);

// "Ação"_cp is the Windows-1252 text of a UTF-8 literal, converted at compile
// time; a character Windows-1252 cannot hold does not compile.
template <size_t N>
struct Cp1252Literal {
  char bytes[N]{};
  size_t length = 0;
  consteval Cp1252Literal(const char (&utf8)[N]) {
    std::string_view text(utf8, N - 1);
    for (size_t pos = 0; pos < text.size();) {
      char32_t code = 0;
      size_t used = decodeUtf8(text, pos, code);
      int converted = used ? codePointToCp1252(code) : -1;
      if (converted < 0) throw "not representable in Windows-1252";
      bytes[length++] = static_cast<char>(converted);
      pos += used;
    }
  }
};

template <Cp1252Literal L>
constexpr std::string_view operator""_cp() {
  return std::string_view(L.bytes, L.length);
}

}  // namespace tamiral
