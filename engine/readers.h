// The token readers every handler uses to consume its argument text from the
// left. Each takes the remaining text by reference and, on success, leaves it
// holding what follows, blanks removed from both ends (takeListName excepted).
// On failure the remaining text is unspecified; readers write no message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/variables.h"

namespace tamiral {

// A destination variable: $name or a single letter not followed by a letter
// or digit.
std::optional<VarSlot> takeVariable(VariableStore& vars, std::string_view& text);

// One value: a number literal as written, a quoted text ("" inside is one
// quote), a $name or letter variable, or an integer expression in parentheses.
std::optional<std::string> takeValue(VariableStore& vars, std::string_view& text);

// The same value without copying it: a view into the argument text, into the
// variable's text (valid until that variable changes), or into scratch when
// the value had to be built.
std::optional<std::string_view> takeValueView(VariableStore& vars, std::string_view& text, std::string& scratch);

// A handle #d followed by a space or the end; gives the digit 0-9.
std::optional<int> takeHandle(std::string_view& text);

// A list name in square brackets; the text after ']' is not trimmed.
std::optional<std::string> takeListName(std::string_view& text);

// A final '&' (each command says what it means): removed with the blanks
// before it; true when it was there.
bool takeTrailingMark(std::string_view& text);

}  // namespace tamiral
