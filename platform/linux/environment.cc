#include <unistd.h>

#include <cstdlib>

#include "platform/environment.h"

namespace tamiral {

namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string runningProgramFolder() {
  char buffer[4096];
  ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return ".";
  std::string path(buffer, static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

Environment readEnvironment() {
  Environment env;
  env.configHome = variable("XDG_CONFIG_HOME");
  if (env.configHome.empty()) env.configHome = variable("HOME") + "/.config";
  env.programFolder = runningProgramFolder();
  return env;
}

}  // namespace tamiral
