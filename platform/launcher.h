// Starting a program or opening a document or address the way the desktop
// does, without waiting for it. Paths and arguments are native (UTF-8).
#pragma once

#include <memory>
#include <string_view>

namespace tamiral {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // An executable file (a path, or a name found on PATH) is started with the
  // parameter (none when empty) in the given folder; anything else is handed
  // to the desktop's opener (xdg-open), without the parameter. The program
  // runs detached from the console, in its own session with no terminal.
  // Failures are not reported.
  virtual void open(std::string_view program, std::string_view parameter, std::string_view folder) = 0;
};

std::unique_ptr<Launcher> makeSystemLauncher();

}  // namespace tamiral
