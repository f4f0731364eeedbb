#include "commands/encodings.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "engine/cp1252.h"
#include "engine/readers.h"
#include "engine/text.h"
#include "platform/file_system.h"

namespace tamiral {

namespace {

constexpr std::string_view kBase64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

constexpr std::array<int8_t, 256> kBase64Values = [] {
  std::array<int8_t, 256> values{};
  values.fill(-1);
  for (size_t i = 0; i < kBase64Alphabet.size(); ++i) values[static_cast<unsigned char>(kBase64Alphabet[i])] = static_cast<int8_t>(i);
  return values;
}();

constexpr size_t kFileBlock = 1024;
// 48 bytes make one line of 64 Base64 characters.
constexpr size_t kBytesPerLine = 48;

size_t base64Length(size_t bytes) { return (bytes + 2) / 3 * 4; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool needsQuoting(unsigned char byte) { return byte <= 0x1F || byte == '=' || byte >= 0x7F; }

size_t utf8Length(std::string_view cp1252) {
  size_t length = 0;
  for (char c : cp1252) {
    char32_t code = cp1252ToCodePoint(static_cast<unsigned char>(c));
    length += code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
  }
  return length;
}

size_t quotedLength(std::string_view text) {
  size_t length = 0;
  for (char c : text) length += needsQuoting(static_cast<unsigned char>(c)) ? 3 : 1;
  return length;
}

// The six variable commands read their argument twice from its start: as the
// source value, then as the variable that receives the result. A convert
// that gives nothing (the result would be too long) fails the command.
template <typename Convert>
bool convertVariable(Runtime& rt, std::string_view args, Convert convert) {
  std::string_view valueText = args;
  std::optional<std::string> source = takeValue(rt.vars, valueText);
  if (!source) return false;
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot) return false;
  std::optional<std::string> result = convert(*source);
  if (!result) return false;
  rt.vars.set(*slot, std::move(*result));
  return true;
}

// Output written under a temporary name beside its destination and renamed
// into place only once complete, so a failure part way never leaves a
// destination that looks whole. The temporary goes when not committed.
class StagedFile {
 public:
  StagedFile(FileSystem& fs, std::string_view destination) : fs_(fs), destination_(destination) {}
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile() {
    if (file_) file_->close();
    if (!temporary_.empty() && !committed_) fs_.removeFile(temporary_);
  }

  // Creates the temporary; fails when the destination's folder cannot take it.
  bool create() {
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string candidate = destination_ + ".~" + decimal(attempt);
      if (fs_.isFile(candidate)) continue;  // left by an earlier failure, or in use
      file_ = fs_.open(candidate, OpenMode::kCreateNew);
      if (!file_) return false;
      temporary_ = std::move(candidate);
      return true;
    }
    return false;
  }

  // A short write (a full disk) is a failure like any error.
  bool write(std::string_view bytes) {
    if (bytes.empty()) return true;
    return file_->write(bytes.data(), bytes.size()) == static_cast<int64_t>(bytes.size());
  }

  bool commit() {
    bool closed = file_->close();
    file_.reset();
    committed_ = closed && fs_.replace(temporary_, destination_);
    return committed_;
  }

 private:
  FileSystem& fs_;
  std::string destination_;
  std::string temporary_;
  std::unique_ptr<File> file_;
  bool committed_ = false;
};

// The two names of a file command, read as values; text after them is ignored.
bool takeTwoPaths(Runtime& rt, std::string_view args, std::string& source, std::string& destination) {
  std::optional<std::string> first = takeValue(rt.vars, args);
  std::optional<std::string> second = first ? takeValue(rt.vars, args) : std::nullopt;
  if (!second) return false;
  source = std::move(*first);
  destination = std::move(*second);
  return true;
}

std::unique_ptr<File> openSource(FileSystem& fs, std::string_view path) {
  return fs.isFile(path) ? fs.open(path, OpenMode::kRead) : nullptr;
}

bool encodeFile(File& source, StagedFile& output) {
  char block[kFileBlock];
  std::string line;  // bytes of the line being gathered
  std::string text;
  for (;;) {
    int64_t got = source.read(block, sizeof block);
    if (got < 0) return false;
    if (got == 0) break;
    text.clear();
    for (std::string_view rest(block, static_cast<size_t>(got)); !rest.empty();) {
      size_t taken = std::min(rest.size(), kBytesPerLine - line.size());
      line.append(rest.substr(0, taken));
      rest.remove_prefix(taken);
      if (line.size() == kBytesPerLine) {
        text += encodeBase64(line);
        text += "\r\n";
        line.clear();
      }
    }
    if (!output.write(text)) return false;
  }
  if (line.empty()) return true;
  return output.write(encodeBase64(line) + "\r\n");
}

bool decodeFile(File& source, StagedFile& output) {
  char block[kFileBlock];
  std::string buffer;
  buffer.reserve(kFileBlock + 3);
  Base64Decoder decoder;
  while (decoder.wantsMore()) {
    int64_t got = source.read(block, sizeof block);
    if (got < 0) return false;
    if (got == 0) break;
    for (int64_t i = 0; i < got && decoder.wantsMore(); ++i) {
      decoder.feed(block[i], buffer);
      if (buffer.size() >= kFileBlock) {
        if (!output.write(std::string_view(buffer).substr(0, kFileBlock))) return false;
        buffer.erase(0, kFileBlock);
      }
    }
  }
  decoder.finish(buffer);
  return output.write(buffer);
}

}  // namespace

std::string encodeBase64(std::string_view bytes) {
  std::string out;
  out.reserve(base64Length(bytes.size()));
  auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    uint32_t group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
    for (int shift = 18; shift >= 0; shift -= 6) out += kBase64Alphabet[(group >> shift) & 0x3F];
  }
  size_t left = bytes.size() - i;
  if (left > 0) {
    uint32_t group = byte(i) << 16 | (left == 2 ? byte(i + 1) << 8 : 0);
    out += kBase64Alphabet[group >> 18];
    out += kBase64Alphabet[(group >> 12) & 0x3F];
    out += left == 2 ? kBase64Alphabet[(group >> 6) & 0x3F] : '=';
    out += '=';
  }
  return out;
}

void Base64Decoder::feed(char c, std::string& out) {
  if (ended_) return;
  if (c == '=') {
    ended_ = true;
    return;
  }
  int value = kBase64Values[static_cast<unsigned char>(c)];
  if (value < 0) return;
  bits_ = bits_ << 6 | static_cast<uint32_t>(value);
  if (++count_ < 4) return;
  out += static_cast<char>(bits_ >> 16);
  out += static_cast<char>(bits_ >> 8);
  out += static_cast<char>(bits_);
  bits_ = 0;
  count_ = 0;
}

void Base64Decoder::finish(std::string& out) {
  if (count_ == 2) {
    out += static_cast<char>(bits_ >> 4);
  } else if (count_ == 3) {
    out += static_cast<char>(bits_ >> 10);
    out += static_cast<char>(bits_ >> 2);
  }
  bits_ = 0;
  count_ = 0;
}

std::string decodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 2);
  Base64Decoder decoder;
  for (size_t i = 0; i < text.size() && decoder.wantsMore(); ++i) decoder.feed(text[i], out);
  decoder.finish(out);
  return out;
}

std::string utf8TwoByteToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    auto lead = static_cast<unsigned char>(text[i]);
    if ((lead & 0xE0) != 0xC0) {
      out += text[i];
      continue;
    }
    // A lead that ends the text reads a space after it.
    auto next = static_cast<unsigned char>(i + 1 < text.size() ? text[++i] : ' ');
    out += static_cast<char>(((lead & 3) << 6) | (next & 0x3F));
  }
  return out;
}

std::string removeQuotedPrintable(std::string_view text) {
  if (!text.empty() && text.back() == '=') text.remove_suffix(1);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size()) {
      int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high << 4 | low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string addQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(quotedLength(text));
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (!needsQuoting(byte)) {
      out += c;
      continue;
    }
    out += '=';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
  }
  return out;
}

bool cmdCodBase64(Runtime& rt, std::string_view args) {
  return convertVariable(rt, args, [](std::string_view text) -> std::optional<std::string> {
    if (base64Length(text.size()) > kMaxTextLength) return std::nullopt;
    return encodeBase64(text);
  });
}

bool cmdDecodBase64(Runtime& rt, std::string_view args) {
  return convertVariable(rt, args, [](std::string_view text) { return std::optional(decodeBase64(text)); });
}

bool cmdAnsiParaUtf8(Runtime& rt, std::string_view args) {
  return convertVariable(rt, args, [](std::string_view text) -> std::optional<std::string> {
    if (utf8Length(text) > kMaxTextLength) return std::nullopt;
    return cp1252ToUtf8(text);
  });
}

bool cmdUtf8ParaAnsi(Runtime& rt, std::string_view args) {
  return convertVariable(rt, args, [](std::string_view text) { return std::optional(utf8TwoByteToCp1252(text)); });
}

bool cmdRemoveQuoted(Runtime& rt, std::string_view args) {
  return convertVariable(rt, args, [](std::string_view text) { return std::optional(removeQuotedPrintable(text)); });
}

bool cmdAdQuoted(Runtime& rt, std::string_view args) {
  return convertVariable(rt, args, [](std::string_view text) -> std::optional<std::string> {
    if (quotedLength(text) > kMaxTextLength) return std::nullopt;
    return addQuotedPrintable(text);
  });
}

bool cmdCodArqBase64(Runtime& rt, std::string_view args) {
  std::string sourcePath, destinationPath;
  if (!takeTwoPaths(rt, args, sourcePath, destinationPath)) return false;
  std::unique_ptr<File> source = openSource(rt.fs, sourcePath);
  if (!source) return false;
  StagedFile output(rt.fs, destinationPath);
  bool done = output.create() && encodeFile(*source, output);
  source->close();
  return done && output.commit();
}

bool cmdDecodArqBase64(Runtime& rt, std::string_view args) {
  std::string sourcePath, destinationPath;
  if (!takeTwoPaths(rt, args, sourcePath, destinationPath)) return false;
  std::unique_ptr<File> source = openSource(rt.fs, sourcePath);
  if (!source) return false;
  StagedFile output(rt.fs, destinationPath);
  bool done = output.create() && decodeFile(*source, output);
  source->close();
  return done && output.commit();
}

}  // namespace tamiral
