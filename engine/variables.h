// The variable store: 26 letter variables and $name variables created the
// first time any reader meets their name, kept for the whole process.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tamiral {

using VarSlot = size_t;

class VariableStore {
 public:
  VariableStore();

  static VarSlot letterSlot(char letter) {  // letter in either case
    return static_cast<VarSlot>((letter >= 'a' && letter <= 'z' ? letter - 0x20 : letter) - 'A');
  }
  // The slot of a name already folded to upper case; registers it when new.
  VarSlot namedSlot(std::string_view foldedName);

  const std::string& get(VarSlot slot) const { return slots_[slot]; }
  void set(VarSlot slot, std::string text) { slots_[slot] = std::move(text); }
  // For changes in place, such as appending, that must not copy the text.
  std::string& text(VarSlot slot) { return slots_[slot]; }

  // Names in the order they were first met.
  const std::vector<std::string>& registeredNames() const { return names_; }

  void clear();

 private:
  static constexpr size_t kLetters = 26;
  // A deque, so registering a name never moves the texts of the others:
  // readers may hold a view of a variable's text while reading on.
  std::deque<std::string> slots_;
  std::vector<std::string> names_;
  std::unordered_map<std::string, VarSlot> slotByName_;
};

}  // namespace tamiral
