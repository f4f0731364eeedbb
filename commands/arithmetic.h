// Integer arithmetic on a variable's text, 32-bit with wrap-around:
// SOMA, SUBTRAI, MULTIPLICA, DIVIDE.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/runtime.h"

namespace tamiral {

bool cmdSoma(Runtime& rt, std::string_view args);
bool cmdSubtrai(Runtime& rt, std::string_view args);
bool cmdMultiplica(Runtime& rt, std::string_view args);
bool cmdDivide(Runtime& rt, std::string_view args);

// SOMA's rule, in place: the number at the very end of the text (digits,
// with a '-' right before them; none counts as 0) grows by `amount`; the rest
// of the text stays. False, text unchanged, when the trailing digits do not
// fit in 32 bits, rather than losing them.
bool addToTrailingNumber(std::string& text, int32_t amount);

}  // namespace tamiral
