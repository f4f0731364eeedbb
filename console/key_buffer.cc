#include "console/key_buffer.h"

namespace tamiral {

bool KeyBuffer::push(uint8_t code, KeyModifiers modifiers) {
  if (count_ >= kCapacity) return false;
  keys_[(head_ + count_) % kCapacity] = {code, modifiers};
  ++count_;
  return true;
}

bool KeyBuffer::pushExtended(uint8_t code, KeyModifiers modifiers) {
  if (count_ > kCapacity - 2) return false;
  push(0, modifiers);
  push(code, modifiers);
  return true;
}

std::optional<QueuedKey> KeyBuffer::peek() const {
  if (count_ == 0) return std::nullopt;
  return keys_[head_];
}

std::optional<QueuedKey> KeyBuffer::pop() {
  std::optional<QueuedKey> key = peek();
  if (key) {
    head_ = (head_ + 1) % kCapacity;
    --count_;
  }
  return key;
}

}  // namespace tamiral
