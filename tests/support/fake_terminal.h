// A terminal for tests: input arrives at set times on a fake clock that
// waits move; everything written is kept. When the input has run out, a
// wait without a limit finds the terminal closed, so no test hangs.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "platform/terminal.h"

namespace tamiral {

class FakeTerminal : public Terminal {
 public:
  int64_t now = 0;
  std::string written;
  std::string enter, leave;  // as given to takeOver
  int takeOvers = 0, giveBacks = 0;
  TerminalSize terminalSize;
  TerminalEnvironment terminalEnvironment{"xterm-256color", "truecolor", false, false};

  // Bytes that arrive at atMs (at once when that time has passed).
  FakeTerminal& input(std::string bytes, int64_t atMs = 0) {
    arrivals_.push_back({atMs, std::move(bytes), false, std::nullopt});
    return *this;
  }
  FakeTerminal& resize(TerminalSize size, int64_t atMs = 0) {
    arrivals_.push_back({atMs, {}, true, std::nullopt, size});
    return *this;
  }
  FakeTerminal& end(int status, int64_t atMs = 0) {
    arrivals_.push_back({atMs, {}, false, status});
    return *this;
  }

  void takeOver(std::string_view enterBytes, std::string_view leaveBytes) override {
    ++takeOvers;
    enter = enterBytes;
    leave = leaveBytes;
    written += enterBytes;
  }
  void giveBack() override {
    ++giveBacks;
    written += leave;
  }
  void write(std::string_view bytes) override { written += bytes; }

  TerminalWake wait(int timeoutMs, std::string& in) override {
    ++waits;
    if (arrivals_.empty()) {
      if (timeoutMs < 0) return {false, 129};
      now += timeoutMs;
      return {};
    }
    Arrival& next = arrivals_.front();
    if (timeoutMs >= 0 && next.atMs > now + timeoutMs) {
      now += timeoutMs;
      return {};
    }
    now = std::max(now, next.atMs);
    Arrival arrival = next;
    arrivals_.pop_front();
    in += arrival.bytes;
    if (arrival.resize) terminalSize = arrival.size;
    return {arrival.resize, arrival.endStatus};
  }

  int64_t nowMs() override { return now; }
  TerminalSize size() override { return terminalSize; }
  TerminalEnvironment environment() override { return terminalEnvironment; }

  int waits = 0;

 private:
  struct Arrival {
    int64_t atMs;
    std::string bytes;
    bool resize;
    std::optional<int> endStatus;
    TerminalSize size{};
  };
  std::deque<Arrival> arrivals_;
};

}  // namespace tamiral
