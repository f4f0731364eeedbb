#include "tts/unit_database.h"

#include <algorithm>

namespace tamiral {

namespace {

uint32_t littleEndian(std::string_view bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = width; i-- > 0;) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

std::string asciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return upper;
}

}  // namespace

void UnitDatabase::loadIndex(std::string_view indexBytes) {
  records_.clear();
  for (size_t at = 0; at + kRecordSize <= indexBytes.size(); at += kRecordSize) {
    size_t nameLength = std::min<size_t>(static_cast<uint8_t>(indexBytes[at]), 8);
    records_.push_back({asciiUpper(indexBytes.substr(at + 1, nameLength)),
                        static_cast<uint16_t>(littleEndian(indexBytes, at + 9, 2)), littleEndian(indexBytes, at + 11, 4)});
  }
}

void UnitDatabase::release() {
  records_.clear();
  if (data_) data_->close();
  data_.reset();
}

std::optional<UnitRecord> UnitDatabase::find(std::string_view name) const {
  std::string key = asciiUpper(name);
  auto it = std::lower_bound(records_.begin(), records_.end(), key,
                             [](const UnitRecord& record, const std::string& k) { return record.name < k; });
  if (it == records_.end() || it->name != key) return std::nullopt;
  return *it;
}

std::string UnitDatabase::readSamples(uint32_t offset, size_t length) {
  std::string samples(length, '\0');
  if (!data_ || !data_->seek(offset)) return {};
  size_t filled = 0;
  while (filled < length) {
    int64_t got = data_->read(samples.data() + filled, length - filled);
    if (got <= 0) break;
    filled += static_cast<size_t>(got);
  }
  samples.resize(filled);
  return samples;
}

std::string encodeUnitRecord(const UnitRecord& record) {
  std::string bytes(UnitDatabase::kRecordSize, '\0');
  size_t nameLength = std::min<size_t>(record.name.size(), 8);
  bytes[0] = static_cast<char>(nameLength);
  record.name.copy(bytes.data() + 1, nameLength);
  for (size_t i = 0; i < 2; ++i) bytes[9 + i] = static_cast<char>(record.length >> (8 * i));
  for (size_t i = 0; i < 4; ++i) bytes[11 + i] = static_cast<char>(record.offset >> (8 * i));
  return bytes;
}

}  // namespace tamiral
