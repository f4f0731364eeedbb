// The recorded units of the built-in voice: an index of 15-byte records
// (name length, eight name bytes, unit length, offset; sorted by name) held
// in memory, and the samples read from the open data file when a unit plays.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace tamiral {

struct UnitRecord {
  std::string name;  // upper case, at most 8 characters
  uint16_t length = 0;
  uint32_t offset = 0;
};

class UnitDatabase {
 public:
  static constexpr size_t kRecordSize = 15;

  // The index file's bytes; a trailing partial record is ignored.
  void loadIndex(std::string_view indexBytes);
  void openData(std::unique_ptr<File> data) { data_ = std::move(data); }
  void release();

  // Bisection over the index; the name is compared upper-cased.
  std::optional<UnitRecord> find(std::string_view name) const;
  // Up to length samples from offset; fewer when the file ends first.
  std::string readSamples(uint32_t offset, size_t length);

  size_t size() const { return records_.size(); }
  const std::vector<UnitRecord>& records() const { return records_; }

 private:
  std::vector<UnitRecord> records_;
  std::unique_ptr<File> data_;
};

// The index record of one unit, as the index file stores it.
std::string encodeUnitRecord(const UnitRecord& record);

}  // namespace tamiral
