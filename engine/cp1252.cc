#include "engine/cp1252.h"

namespace tamiral {

void appendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) appendUtf8(out, cp1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    char32_t code = 0;
    size_t used = decodeUtf8(text, pos, code);
    if (used == 0) {
      out += text[pos++];
      continue;
    }
    int converted = codePointToCp1252(code);
    out += converted < 0 ? '?' : static_cast<char>(converted);
    pos += used;
  }
  return out;
}

bool isValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    char32_t code = 0;
    size_t used = decodeUtf8(text, pos, code);
    if (used == 0) return false;
    pos += used;
  }
  return true;
}

bool hasNonAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace tamiral
