#include "engine/variables.h"

namespace tamiral {

VariableStore::VariableStore() : slots_(kLetters) {}

VarSlot VariableStore::letterSlot(char letter) {
  char upper = (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 0x20) : letter;
  return static_cast<VarSlot>(upper - 'A');
}

VarSlot VariableStore::namedSlot(std::string_view foldedName) {
  std::string name(foldedName);
  auto found = slotByName_.find(name);
  if (found != slotByName_.end()) return found->second;
  VarSlot slot = slots_.size();
  slots_.emplace_back();
  names_.push_back(name);
  slotByName_.emplace(std::move(name), slot);
  return slot;
}

void VariableStore::clear() {
  slots_.assign(kLetters, std::string());
  names_.clear();
  slotByName_.clear();
}

}  // namespace tamiral
