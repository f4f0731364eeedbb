#include "engine/lists.h"

namespace tamiral {

NamedList* ListTable::find(std::string_view name) {
  for (auto& slot : slots_) {
    if (slot && slot->name == name) return &*slot;
  }
  return nullptr;
}

NamedList* ListTable::create(std::string_view name) {
  for (auto& slot : slots_) {
    if (!slot) return &slot.emplace(NamedList{std::string(name), {}});
  }
  return nullptr;
}

bool ListTable::remove(std::string_view name) {
  for (auto& slot : slots_) {
    if (slot && slot->name == name) {
      slot.reset();
      return true;
    }
  }
  return false;
}

void ListTable::clear() {
  for (auto& slot : slots_) slot.reset();
}

}  // namespace tamiral
