// A console front end for tests: remembers what the model asked of it.
#pragma once

#include <string>
#include <vector>

#include "console/console_front_end.h"

namespace tamiral {

class RecordingFrontEnd : public ConsoleFrontEnd {
 public:
  int created = 0;  // calls of ensureCreated
  int bells = 0;
  int flushes = 0;
  std::vector<std::string> titles;
  std::vector<std::string> clipboardTexts;

  void ensureCreated() override { ++created; }
  void bell() override { ++bells; }
  void titleChanged(std::string_view title) override { titles.emplace_back(title); }
  void clipboardChanged(std::string_view text) override { clipboardTexts.emplace_back(text); }
  void flush() override { ++flushes; }
};

}  // namespace tamiral
