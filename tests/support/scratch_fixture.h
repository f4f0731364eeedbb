// A runtime with a scratch folder for tests of commands that touch files.
#pragma once

#include <string>
#include <string_view>

#include "tests/support/engine_fixture.h"
#include "tests/support/temp_folder.h"

namespace tamiral {

class ScratchFolderTest : public EngineTest {
 protected:
  // Runs a script line with the scratch folder's path in place of "@/".
  bool run(std::string line) {
    for (size_t at; (at = line.find("@/")) != std::string::npos;) line.replace(at, 2, folder.path() + "/");
    return exec(line);
  }
  std::string path(std::string_view name) const { return folder.path() + "/" + std::string(name); }

  TempFolder folder;
};

}  // namespace tamiral
