// roteiro FILE [PARAMS...]: runs a script file; the program's name is the
// file's name.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/cp1252.h"
#include "platform/files.h"
#include "programs/program_main.h"

int main(int argc, char** argv) {
  using namespace tamiral;
  if (argc < 2) {
    std::fprintf(stderr, "Uso: roteiro ARQUIVO [PARÂMETROS...]\n");
    return kExitUsage;
  }
  std::string path = argv[1];
  std::string bytes;
  if (!readWholeFile(path, bytes)) {
    std::fprintf(stderr, "roteiro: não foi possível ler %s: %s\n", path.c_str(), std::strerror(errno));
    return kExitUsage;
  }
  std::optional<std::vector<std::string>> lines = scriptLinesFromFile(bytes);
  if (!lines) {
    std::fprintf(stderr, "roteiro: %s tem mais de 5000 linhas\n", path.c_str());
    return kExitUsage;
  }
  std::string name = utf8ToCp1252(path.substr(path.find_last_of('/') + 1));
  return runProgram(name, *lines, std::vector<std::string>(argv + 2, argv + argc));
}
