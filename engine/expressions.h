// Integer expressions in parentheses: 64-bit values with wrap-around,
// + - * / (truncating), unary minus, number literals read as 32-bit, and
// variables holding numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/variables.h"

namespace tamiral {

// text starts after the opening parenthesis. On success text is left at the
// token that ended the expression (normally the closing parenthesis).
// Fails on a malformed expression, a variable that is not a number, division
// by zero, or nesting deeper than kMaxExpressionDepth.
std::optional<int64_t> evaluateExpression(VariableStore& vars, std::string_view& text);

inline constexpr int kMaxExpressionDepth = 200;

}  // namespace tamiral
