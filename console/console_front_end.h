// What the console model asks of whatever shows it (a terminal, a window,
// plain standard output). The model never touches the OS itself.
#pragma once

#include <string_view>

namespace tamiral {

class ConsoleFrontEnd {
 public:
  virtual ~ConsoleFrontEnd() = default;
  // Called before anything is drawn, so the window exists by then.
  virtual void ensureCreated() = 0;
  // The bell character was written.
  virtual void bell() = 0;
  virtual void titleChanged(std::string_view title) = 0;
  // The process's clipboard now holds this text; mirror it if you can.
  virtual void clipboardChanged(std::string_view text) = 0;
  // Cells, picture or magnifier strip changed: draw what the model's change
  // record names, then handle pending input.
  virtual void flush() = 0;
};

}  // namespace tamiral
