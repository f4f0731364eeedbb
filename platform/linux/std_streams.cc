#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/std_streams.h"

namespace tamiral {

namespace {

class ProcessStdStreams : public StdStreams {
 public:
  bool readByte(unsigned char& byte, int timeoutMs) override {
    if (!ended_) {
      pollfd input{STDIN_FILENO, POLLIN, 0};
      int ready = ::poll(&input, 1, timeoutMs);
      if (ready <= 0) return false;  // time-out, or a signal
      for (;;) {
        ssize_t got = ::read(STDIN_FILENO, &byte, 1);
        if (got == 1) return true;
        if (got < 0 && errno == EINTR) continue;
        ended_ = true;
        break;
      }
    }
    // Input has ended: a timed wait still waits, so callers polling for a
    // key in a delay loop do not spin; an endless wait returns at once.
    if (timeoutMs > 0) {
      timespec pause{timeoutMs / 1000, (timeoutMs % 1000) * 1000000L};
      while (::nanosleep(&pause, &pause) != 0 && errno == EINTR) {
      }
    }
    return false;
  }

  bool inputEnded() const override { return ended_; }

  void write(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t put = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return;  // output closed: nothing more can be shown
      bytes.remove_prefix(static_cast<size_t>(put));
    }
  }

 private:
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<StdStreams> makeProcessStdStreams() {
  // A reader that went away must not kill the run: writes just fail.
  std::signal(SIGPIPE, SIG_IGN);
  return std::make_unique<ProcessStdStreams>();
}

}  // namespace tamiral
