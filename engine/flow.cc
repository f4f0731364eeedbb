#include "engine/flow.h"

#include "engine/text.h"

namespace tamiral {

bool cmdTermina(Runtime& rt, std::string_view args) {
  rt.run.stopRequested = true;
  rt.run.quietEnd = equalsKeyword(args, "MUDO");
  return true;
}

}  // namespace tamiral
