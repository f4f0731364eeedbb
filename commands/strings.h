// Text operations on variables: CONCATENA, COPIA, DELETA, SUBSTITUI.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdConcatena(Runtime& rt, std::string_view args);
bool cmdCopia(Runtime& rt, std::string_view args);
bool cmdDeleta(Runtime& rt, std::string_view args);
bool cmdSubstitui(Runtime& rt, std::string_view args);

// Characters `from` to `to` (1-based, both included) under COPIA's rules.
std::string copyRange(std::string_view text, int32_t from, int32_t to);
// `count` characters removed from position `from` under DELETA's rules.
std::string deleteRange(std::string_view text, int32_t from, int32_t count);
// Every occurrence of `old` replaced by `replacement`, scanning from the end
// over the text as already changed, so a replacement can complete a new
// occurrence to its left ("aab", "ab" -> "b" gives "b"). About linear in the
// text whatever the search text's length (long ones are compared by hash first).
std::string replaceFromEnd(std::string_view text, std::string_view old, std::string_view replacement);
// The same, or nullopt as soon as the text being built outgrows limit.
std::optional<std::string> replaceFromEndWithin(std::string_view text, std::string_view old,
                                                std::string_view replacement, size_t limit);

}  // namespace tamiral
