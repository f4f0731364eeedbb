// The console in a terminal: draws the console model with TerminalScreen and
// turns the terminal's bytes into keys with KeyDecoder. The terminal is
// taken over when the console is first used and given back when it closes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "console/console_events.h"
#include "console/console_front_end.h"
#include "console/key_decoder.h"
#include "console/terminal_screen.h"
#include "platform/terminal.h"

namespace tamiral {

class TerminalFrontEnd : public ConsoleFrontEnd, public ConsoleEvents {
 public:
  explicit TerminalFrontEnd(Terminal& terminal) : terminal_(terminal) {}

  // ConsoleFrontEnd.
  void ensureCreated() override;
  void bell() override;
  void titleChanged(std::string_view title) override;
  void clipboardChanged(std::string_view text) override;
  void flush() override;

  // ConsoleEvents. Waiting sleeps in the terminal's poll; a lone Esc becomes
  // the Esc key once the decoder's time-out has passed.
  void bind(ConsoleModel& model) override { model_ = &model; }
  EventWait wait(int timeoutMs) override;
  int64_t nowMs() override { return terminal_.nowMs(); }
  void setReading(bool reading) override;
  void close() override;

 private:
  bool live() const { return created_ && !closed_; }
  // Puts keys into the key buffer and pastes into the clipboard; true when
  // anything arrived.
  bool deliver(const std::vector<KeyEvent>& events);

  Terminal& terminal_;
  ConsoleModel* model_ = nullptr;
  TerminalScreen screen_;
  KeyDecoder decoder_;
  std::string title_;
  bool created_ = false;
  bool closed_ = false;
  bool pasting_ = false;
};

}  // namespace tamiral
