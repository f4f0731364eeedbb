#include "console/terminal_front_end.h"

#include <algorithm>

#include "console/console_model.h"

namespace tamiral {

void TerminalFrontEnd::ensureCreated() {
  if (created_ || closed_) return;
  created_ = true;
  screen_.reset(terminalTraits(terminal_.environment(), terminal_.size()));
  terminal_.takeOver(terminalEnterBytes(), terminalLeaveBytes());
  if (!title_.empty()) terminal_.write(terminalTitleBytes(title_));
}

void TerminalFrontEnd::bell() {
  if (live()) terminal_.write("\a");
}

void TerminalFrontEnd::titleChanged(std::string_view title) {
  title_ = title;
  if (live()) terminal_.write(terminalTitleBytes(title_));
}

// Text pasted into the console came from the system clipboard already.
void TerminalFrontEnd::clipboardChanged(std::string_view text) {
  if (live() && !pasting_) terminal_.write(terminalClipboardBytes(text));
}

void TerminalFrontEnd::flush() {
  if (!live() || !model_) return;
  std::string bytes = screen_.update(*model_);
  if (!bytes.empty()) terminal_.write(bytes);
}

void TerminalFrontEnd::setReading(bool reading) {
  screen_.setCaretShown(reading);
  flush();
}

bool TerminalFrontEnd::deliver(const std::vector<KeyEvent>& events) {
  for (const KeyEvent& event : events) {
    KeyModifiers modifiers{event.shift, event.ctrl, event.alt};
    if (event.kind == KeyEvent::Kind::Mouse) model_->notePointer(event.column, event.row);
    if (event.kind == KeyEvent::Kind::Paste) {
      pasting_ = true;
      model_->copyToClipboard(event.text);
      pasting_ = false;
    }
    auto first = static_cast<uint8_t>(event.bytes[0]);
    if (event.bytes.size() == 2 && first == 0)
      model_->keys().pushExtended(static_cast<uint8_t>(event.bytes[1]), modifiers);
    else
      model_->keys().push(first, modifiers);
  }
  return !events.empty();
}

EventWait TerminalFrontEnd::wait(int timeoutMs) {
  ensureCreated();
  if (!live() || !model_) return {};
  flush();
  int64_t start = terminal_.nowMs();
  for (;;) {
    int64_t now = terminal_.nowMs();
    int64_t budget = timeoutMs < 0 ? -1 : std::max<int64_t>(0, start + timeoutMs - now);
    if (std::optional<int64_t> deadline = decoder_.deadlineMs()) {
      int64_t untilDeadline = std::max<int64_t>(0, *deadline - now);
      budget = budget < 0 ? untilDeadline : std::min(budget, untilDeadline);
    }
    std::string input;
    TerminalWake wake = terminal_.wait(static_cast<int>(budget), input);
    now = terminal_.nowMs();
    decoder_.feed(input, now);
    decoder_.tick(now);
    bool arrived = deliver(decoder_.takeEvents());
    if (wake.resized) {
      screen_.reset(terminalTraits(terminal_.environment(), terminal_.size()));
      model_->repaintConsole();
    }
    if (wake.endStatus) return {wake.endStatus};
    if (arrived || wake.resized || (timeoutMs >= 0 && now - start >= timeoutMs)) {
      flush();
      return {};
    }
  }
}

void TerminalFrontEnd::close() {
  if (live()) terminal_.giveBack();
  closed_ = true;
}

}  // namespace tamiral
