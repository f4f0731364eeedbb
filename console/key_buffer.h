// The console's key queue: every key byte the front end turns input into
// waits here for the readers. An extended key is the byte 0 followed by its
// code, so it takes two places.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tamiral {

struct KeyModifiers {
  bool shift = false, ctrl = false, alt = false;
  bool operator==(const KeyModifiers&) const = default;
};

struct QueuedKey {
  uint8_t code = 0;
  KeyModifiers modifiers;  // as they were when the key arrived
  bool operator==(const QueuedKey&) const = default;
};

class KeyBuffer {
 public:
  static constexpr int kCapacity = 64;

  // False when the buffer is full: the key is dropped without a sound.
  bool push(uint8_t code, KeyModifiers modifiers = {});
  // 0 then the code; dropped whole unless both bytes fit, so a reader never
  // sees half an extended key.
  bool pushExtended(uint8_t code, KeyModifiers modifiers = {});

  bool empty() const { return count_ == 0; }
  int count() const { return count_; }
  std::optional<QueuedKey> peek() const;
  std::optional<QueuedKey> pop();
  void clear() { head_ = count_ = 0; }

 private:
  std::array<QueuedKey, kCapacity> keys_;
  int head_ = 0;
  int count_ = 0;
};

}  // namespace tamiral
