#include "platform/mpv_json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tamiral {

namespace {

constexpr int kDeepestNesting = 32;

void appendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one JSON text from the front; every reader returns false on
// malformed input and never reads past the end.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool atEnd() {
    skipSpace();
    return pos_ == text_.size();
  }

  bool topLevelObject(MpvMessage& message) {
    if (!take('{')) return false;
    if (take('}')) return true;
    do {
      std::string key;
      if (!string(key) || !take(':')) return false;
      JsonScalar value;
      if (!scalarOrSkip(value, 1)) return false;
      keep(message, key, value);
    } while (take(','));
    return take('}');
  }

 private:
  static void keep(MpvMessage& message, const std::string& key, const JsonScalar& value) {
    const double* number = std::get_if<double>(&value);
    const std::string* text = std::get_if<std::string>(&value);
    if (key == "request_id" && number && std::isfinite(*number)) message.requestId = static_cast<int64_t>(*number);
    if (key == "error" && text) message.error = *text;
    if (key == "event" && text) message.event = *text;
    if (key == "reason" && text) message.reason = *text;
    if (key == "data") message.data = value;
  }

  void skipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
      ++pos_;
  }
  bool take(char c) {
    skipSpace();
    if (pos_ == text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool takeWord(std::string_view word) {
    skipSpace();
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool scalarOrSkip(JsonScalar& value, int depth) {
    skipSpace();
    if (pos_ == text_.size()) return false;
    char c = text_[pos_];
    if (c == '{' || c == '[') return skipContainer(depth + 1);
    if (c == '"') {
      std::string text;
      if (!string(text)) return false;
      value = std::move(text);
      return true;
    }
    if (takeWord("true")) {
      value = true;
      return true;
    }
    if (takeWord("false")) {
      value = false;
      return true;
    }
    if (takeWord("null")) return true;
    double number = 0;
    if (!numberValue(number)) return false;
    value = number;
    return true;
  }

  bool skipContainer(int depth) {
    if (depth > kDeepestNesting) return false;
    bool isObject = text_[pos_] == '{';
    char close = isObject ? '}' : ']';
    ++pos_;
    if (take(close)) return true;
    do {
      if (isObject) {
        std::string key;
        if (!string(key) || !take(':')) return false;
      }
      JsonScalar ignored;
      if (!scalarOrSkip(ignored, depth)) return false;
    } while (take(','));
    return take(close);
  }

  bool numberValue(double& number) {
    size_t start = pos_;
    while (pos_ < text_.size() && std::string_view("+-0123456789.eE").find(text_[pos_]) != std::string_view::npos)
      ++pos_;
    if (pos_ == start) return false;
    auto [end, error] = std::from_chars(text_.data() + start, text_.data() + pos_, number);
    return error == std::errc() && end == text_.data() + pos_;
  }

  bool string(std::string& out) {
    if (!take('"')) return false;
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
      } else if (!escape(out)) {
        return false;
      }
    }
    return false;
  }

  bool escape(std::string& out) {
    if (pos_ == text_.size()) return false;
    char c = text_[pos_++];
    switch (c) {
      case '"': case '\\': case '/': out += c; return true;
      case 'b': out += '\b'; return true;
      case 'f': out += '\f'; return true;
      case 'n': out += '\n'; return true;
      case 'r': out += '\r'; return true;
      case 't': out += '\t'; return true;
      case 'u': return unicodeEscape(out);
      default: return false;
    }
  }

  bool hex4(uint32_t& code) {
    if (text_.size() - pos_ < 4) return false;
    code = 0;
    for (int i = 0; i < 4; ++i) {
      int digit = hexDigit(text_[pos_++]);
      if (digit < 0) return false;
      code = code * 16 + static_cast<uint32_t>(digit);
    }
    return true;
  }

  // A lone half of a surrogate pair becomes U+FFFD.
  bool unicodeEscape(std::string& out) {
    uint32_t code = 0;
    if (!hex4(code)) return false;
    if (code >= 0xD800 && code < 0xDC00 && text_.substr(pos_, 2) == "\\u") {
      size_t mark = pos_;
      pos_ += 2;
      uint32_t low = 0;
      if (!hex4(low)) return false;
      if (low >= 0xDC00 && low < 0xE000) {
        appendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
        return true;
      }
      pos_ = mark;
    }
    appendUtf8(out, code >= 0xD800 && code < 0xE000 ? 0xFFFD : code);
    return true;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string jsonNumber(double value) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::isfinite(value) ? value : 0.0);
  return error == std::errc() ? std::string(buffer, end) : "0";
}

std::string mpvRequest(std::initializer_list<std::string> arguments, int64_t requestId) {
  std::string request = "{\"command\":[";
  bool first = true;
  for (const std::string& argument : arguments) {
    if (!first) request += ',';
    request += argument;
    first = false;
  }
  return request + "],\"request_id\":" + std::to_string(requestId) + "}\n";
}

std::optional<MpvMessage> parseMpvMessage(std::string_view line) {
  MpvMessage message;
  Reader reader(line);
  if (!reader.topLevelObject(message) || !reader.atEnd()) return std::nullopt;
  return message;
}

}  // namespace tamiral
