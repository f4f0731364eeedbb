// A console event source for tests: keys follow a script. A plain key
// arrives when a reader waits for one; a timed key arrives once the fake
// clock reaches its time, which waits move. When the script has run out, a
// reader waiting for a key finds the console gone (status 0), so no test
// hangs.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "console/console_events.h"
#include "console/console_model.h"

namespace tamiral {

class ScriptedEvents : public ConsoleEvents {
 public:
  int64_t now = 0;
  bool reading = false;
  int readingWaits = 0;  // waits made while a reader waited for a key
  bool closed = false;
  // Runs each time a reader starts waiting for a key, so a test can look at
  // the screen as the user sees it then.
  std::function<void()> onReadingWait;

  // One key per byte of text.
  ScriptedEvents& type(std::string_view text) {
    for (char c : text) key(std::string(1, c));
    return *this;
  }
  // One key: a byte, or 0 and the code of an extended key.
  ScriptedEvents& key(std::string bytes, KeyModifiers modifiers = {}) {
    steps_.push_back({std::move(bytes), modifiers, std::nullopt, std::nullopt});
    return *this;
  }
  ScriptedEvents& keyAt(int64_t atMs, std::string bytes) {
    steps_.push_back({std::move(bytes), {}, atMs, std::nullopt});
    return *this;
  }
  // The console goes away (its terminal closed) when a reader next waits,
  // or once the clock reaches atMs.
  ScriptedEvents& end(int status, std::optional<int64_t> atMs = std::nullopt) {
    steps_.push_back({{}, {}, atMs, status});
    return *this;
  }

  void bind(ConsoleModel& model) override { model_ = &model; }

  EventWait wait(int timeoutMs) override {
    if (reading) ++readingWaits;
    if (reading && onReadingWait) onReadingWait();
    if (!steps_.empty() && steps_.front().atMs) {
      int64_t due = *steps_.front().atMs;
      if (timeoutMs >= 0 && due > now + timeoutMs) {
        now += timeoutMs;
        return {};
      }
      now = std::max(now, due);
      return deliver();
    }
    if (timeoutMs < 0) {
      if (steps_.empty()) return {0};
      return deliver();
    }
    now += timeoutMs;
    return {};
  }

  int64_t nowMs() override { return now; }
  void setReading(bool on) override { reading = on; }
  void close() override { closed = true; }

 private:
  struct Step {
    std::string bytes;
    KeyModifiers modifiers;
    std::optional<int64_t> atMs;
    std::optional<int> endStatus;
  };

  EventWait deliver() {
    Step step = steps_.front();
    steps_.pop_front();
    if (step.endStatus) return {step.endStatus};
    if (step.bytes.size() == 2 && step.bytes[0] == '\0')
      model_->keys().pushExtended(static_cast<uint8_t>(step.bytes[1]), step.modifiers);
    else
      model_->keys().push(static_cast<uint8_t>(step.bytes[0]), step.modifiers);
    return {};
  }

  ConsoleModel* model_ = nullptr;
  std::deque<Step> steps_;
};

}  // namespace tamiral
