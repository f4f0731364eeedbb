// Named lists of texts: at most 20 at a time, found by exact name.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamiral {

struct NamedList {
  std::string name;
  std::vector<std::string> items;
};

class ListTable {
 public:
  static constexpr size_t kSlots = 20;

  // The list of that exact name (case and accents matter), or nullptr.
  NamedList* find(std::string_view name);
  // Creates an empty list in the first free slot; nullptr when all are taken.
  NamedList* create(std::string_view name);
  // Releases the list; false when there is none of that name.
  bool remove(std::string_view name);
  void clear();

 private:
  std::array<std::optional<NamedList>, kSlots> slots_;
};

}  // namespace tamiral
