// Entry point of a program whose script is compiled in.
#include <string>
#include <vector>

#include "programs/embedded_script.h"
#include "programs/program_main.h"

int main(int argc, char** argv) {
  using namespace tamiral;
  std::vector<std::string> lines(kEmbeddedScript, kEmbeddedScript + kEmbeddedScriptLines);
  return runProgram(TAMIRAL_PROGRAM_NAME, lines, std::vector<std::string>(argv + 1, argv + argc));
}
