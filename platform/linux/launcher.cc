#include "platform/launcher.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace tamiral {

namespace {

bool isExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The file a program name runs: a path as given, a bare name from PATH;
// empty when it is not an executable file.
std::string findExecutable(std::string_view program) {
  std::string name(program);
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string();
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "/usr/bin:/bin";
  while (!folders.empty()) {
    size_t colon = folders.find(':');
    std::string_view folder = folders.substr(0, colon);
    std::string candidate = std::string(folder.empty() ? "." : folder) + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    folders.remove_prefix(colon == std::string_view::npos ? folders.size() : colon + 1);
  }
  return {};
}

// A shell starts the program in the background and ends at once, so the
// program is left to init and no child of ours is left to wait for. Its own
// session keeps it off the console's terminal.
void runDetached(const std::vector<std::string>& command, std::string_view folder) {
  std::vector<std::string> words = {"sh", "-c",
                                    "[ -n \"$0\" ] && cd -- \"$0\" 2>/dev/null; \"$@\" </dev/null >/dev/null 2>&1 &",
                                    std::string(folder)};
  words.insert(words.end(), command.begin(), command.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = 0;
  int failed = posix_spawn(&pid, "/bin/sh", nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (failed) return;
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

class SystemLauncher : public Launcher {
 public:
  void open(std::string_view program, std::string_view parameter, std::string_view folder) override {
    std::string executable = findExecutable(program);
    if (executable.empty()) {
      runDetached({"xdg-open", std::string(program)}, folder);
      return;
    }
    std::vector<std::string> command = {executable};
    if (!parameter.empty()) command.emplace_back(parameter);
    runDetached(command, folder);
  }
};

}  // namespace

std::unique_ptr<Launcher> makeSystemLauncher() { return std::make_unique<SystemLauncher>(); }

}  // namespace tamiral
