// The condition of SE and ENQUANTO: [NÃO] left operator right, or
// [NÃO] left EM [list]. Texts compare without regard to case and digit
// strings by value, except for the exact operators.
#pragma once

#include <string>
#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

struct Condition {
  bool readOk = false;
  bool holds = false;
};

// Reads a condition from the start of text; on success text holds what
// follows it, blanks removed from both ends.
Condition readCondition(Runtime& rt, std::string_view& text);

// Orders two operands as the comparison operators see them: folded, and
// digit strings zero-padded to 21 characters. Negative, zero or positive.
int compareNormalised(std::string_view left, std::string_view right);

}  // namespace tamiral
