// The terminal the process runs in, for the terminal console: raw bytes out,
// raw bytes in, its size, and the signals that end the process or resize the
// terminal. Taking it over puts it in raw mode; from then on every way out of
// the process (a normal end, exit(), the end signals, a crash) gives it back
// as it was found.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tamiral {

struct TerminalSize {
  int columns = 80;
  int rows = 25;
};

// What the environment says about the terminal.
struct TerminalEnvironment {
  std::string term;       // $TERM
  std::string colorTerm;  // $COLORTERM
  bool insideTmux = false;    // $TMUX set
  bool insideScreen = false;  // $STY set
};

struct TerminalWake {
  bool resized = false;
  // Once the terminal has closed or the process was asked to end (SIGTERM,
  // SIGHUP, SIGINT from outside): the exit status to end with.
  std::optional<int> endStatus;
};

class Terminal {
 public:
  virtual ~Terminal() = default;
  // Raw mode (no signal keys, no echo, no line editing), then `enter` is
  // written. `leave` is what gives the screen back; it is written on every
  // way out of the process, so it must be short (at most 512 bytes).
  virtual void takeOver(std::string_view enter, std::string_view leave) = 0;
  // Writes `leave` and puts the original modes back; harmless when repeated.
  virtual void giveBack() = 0;
  virtual void write(std::string_view bytes) = 0;
  // Waits up to timeoutMs (-1: no limit) for input, a resize or the end;
  // input bytes are appended to `input`.
  virtual TerminalWake wait(int timeoutMs, std::string& input) = 0;
  virtual int64_t nowMs() = 0;
  virtual TerminalSize size() = 0;
  virtual TerminalEnvironment environment() = 0;
};

// True when standard input and standard output are both terminals.
bool standardStreamsAreTerminals();

// The terminal of standard input and output; not taken over yet.
std::unique_ptr<Terminal> makeProcessTerminal();

}  // namespace tamiral
