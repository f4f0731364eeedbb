#include "engine/variables.h"

namespace tamiral {

VariableStore::VariableStore() : slots_(kLetters) {}

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
  slots_.clear();
  slots_.resize(kLetters);
  names_.clear();
  slotByName_.clear();
}

}  // namespace tamiral
