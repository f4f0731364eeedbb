// The script compiled into a program: Windows-1252 lines generated at build
// time from the UTF-8 source under scripts/.
#pragma once

#include <cstddef>
#include <string_view>

namespace tamiral {

extern const std::string_view kEmbeddedScript[];
extern const size_t kEmbeddedScriptLines;

}  // namespace tamiral
