#include "platform/terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace tamiral {

namespace {

constexpr int kInput = STDIN_FILENO;
constexpr int kOutput = STDOUT_FILENO;
constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGQUIT};
// A process asked to end that does not reach its event loop in this time
// (a script busy in a long computation) is ended by the signal side alone.
constexpr unsigned kEndGraceSeconds = 3;

// What the signal handlers need. A handler can run at any moment and reach
// nothing but process-wide state, so this is the one place the terminal's
// state lives outside an object; it is filled in before any handler is
// installed and only flags change afterwards.
struct HandlerState {
  volatile sig_atomic_t active = 0;  // the terminal is taken over
  volatile sig_atomic_t endSignal = 0;
  volatile sig_atomic_t resized = 0;
  bool installed = false;  // handlers are installed once per process
  termios saved{};
  char leave[512] = {};
  size_t leaveLength = 0;
  int wake[2] = {-1, -1};  // self-pipe: a signal wakes the poll
  alignas(16) char alternateStack[64 * 1024] = {};
};

HandlerState handlerState;

void writeAll(int fd, const char* bytes, size_t length) {
  while (length > 0) {
    ssize_t put = ::write(fd, bytes, length);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return;  // the terminal is gone: nothing more to do
    bytes += put;
    length -= static_cast<size_t>(put);
  }
}

// Async-signal-safe: only write, tcsetattr and flags.
void restoreTerminal() {
  if (!handlerState.active) return;
  handlerState.active = 0;
  int savedErrno = errno;
  writeAll(kOutput, handlerState.leave, handlerState.leaveLength);
  ::tcsetattr(kInput, TCSADRAIN, &handlerState.saved);
  errno = savedErrno;
}

void wakeTheLoop() {
  int savedErrno = errno;
  char byte = 1;
  [[maybe_unused]] ssize_t ignored = ::write(handlerState.wake[1], &byte, 1);
  errno = savedErrno;
}

void onEndSignal(int signal) {
  if (handlerState.endSignal != 0) {  // asked twice: no more waiting
    restoreTerminal();
    ::_exit(128 + signal);
  }
  handlerState.endSignal = signal;
  wakeTheLoop();
  ::alarm(kEndGraceSeconds);
}

void onEndGraceOver(int) {
  restoreTerminal();
  ::_exit(128 + handlerState.endSignal);
}

void onResize(int) {
  handlerState.resized = 1;
  wakeTheLoop();
}

// The terminal first, then the crash goes on as it would have: the default
// action (a core dump, the shell's message) with the same signal.
void onCrash(int signal) {
  restoreTerminal();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void install(int signal, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
}

// A stack overflow must still reach the crash handler.
void installAlternateStack() {
  stack_t stack{};
  stack.ss_sp = handlerState.alternateStack;
  stack.ss_size = sizeof handlerState.alternateStack;
  ::sigaltstack(&stack, nullptr);
}

int64_t monotonicMs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

class ProcessTerminal : public Terminal {
 public:
  void takeOver(std::string_view enter, std::string_view leave) override {
    if (handlerState.active) return;
    if (::tcgetattr(kInput, &handlerState.saved) != 0) return;
    size_t length = std::min(leave.size(), sizeof handlerState.leave);
    std::memcpy(handlerState.leave, leave.data(), length);
    handlerState.leaveLength = length;
    if (handlerState.wake[0] < 0 && ::pipe2(handlerState.wake, O_CLOEXEC | O_NONBLOCK) != 0) return;
    installHandlers();
    handlerState.active = 1;
    termios raw = handlerState.saved;
    // Ctrl+C, Ctrl+Z, Ctrl+\, Ctrl+S and Ctrl+Q are keys; Enter stays CR so
    // Ctrl+J can be Ctrl+Enter; output goes out as sent.
    raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INLCR | IGNCR | INPCK | ISTRIP | IXON | IXOFF);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    ::tcsetattr(kInput, TCSADRAIN, &raw);
    write(enter);
  }

  void giveBack() override {
    restoreTerminal();
    ::alarm(0);
  }

  void write(std::string_view bytes) override { writeAll(kOutput, bytes.data(), bytes.size()); }

  TerminalWake wait(int timeoutMs, std::string& input) override {
    TerminalWake wake;
    pollfd sources[2] = {{kInput, POLLIN, 0}, {handlerState.wake[0], POLLIN, 0}};
    int ready = ::poll(sources, handlerState.wake[0] < 0 ? 1 : 2, timeoutMs);
    if (ready > 0 && (sources[1].revents & POLLIN)) drainWakePipe();
    if (ready > 0 && (sources[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL))) readInput(input, wake);
    if (handlerState.resized) {
      handlerState.resized = 0;
      wake.resized = true;
    }
    if (handlerState.endSignal != 0) wake.endStatus = 128 + handlerState.endSignal;
    return wake;
  }

  int64_t nowMs() override { return monotonicMs(); }

  TerminalSize size() override {
    winsize window{};
    if (::ioctl(kOutput, TIOCGWINSZ, &window) != 0 || window.ws_col == 0 || window.ws_row == 0) return {};
    return {window.ws_col, window.ws_row};
  }

  TerminalEnvironment environment() override {
    return {environmentValue("TERM"), environmentValue("COLORTERM"), std::getenv("TMUX") != nullptr,
            std::getenv("STY") != nullptr};
  }

 private:
  static void installHandlers() {
    if (handlerState.installed) return;
    handlerState.installed = true;
    installAlternateStack();
    for (int signal : kEndSignals) install(signal, onEndSignal, SA_RESTART);
    install(SIGALRM, onEndGraceOver, SA_RESTART);
    install(SIGWINCH, onResize, SA_RESTART);
    for (int signal : kCrashSignals) install(signal, onCrash, SA_ONSTACK | SA_RESETHAND | SA_NODEFER);
    std::atexit(restoreTerminal);
  }

  static void drainWakePipe() {
    char bytes[64];
    while (::read(handlerState.wake[0], bytes, sizeof bytes) > 0) {
    }
  }

  // A hang-up (the terminal window closed) ends the program like SIGHUP.
  static void readInput(std::string& input, TerminalWake& wake) {
    char bytes[4096];
    ssize_t got = ::read(kInput, bytes, sizeof bytes);
    if (got > 0) {
      input.append(bytes, static_cast<size_t>(got));
    } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
      wake.endStatus = 128 + SIGHUP;
    }
  }
};

}  // namespace

bool standardStreamsAreTerminals() { return ::isatty(kInput) == 1 && ::isatty(kOutput) == 1; }

std::unique_ptr<Terminal> makeProcessTerminal() { return std::make_unique<ProcessTerminal>(); }

}  // namespace tamiral
