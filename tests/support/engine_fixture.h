// A fresh runtime over the fake console and clock, with verbs for tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "engine/runtime.h"
#include "platform/file_system.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_console.h"

namespace tamiral {

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() { resetEngine(rt); }

  // Runs one line as the run loop would.
  bool exec(std::string_view line) { return executeLine(rt, line, false); }

  RunOutcome runLines(std::initializer_list<std::string_view> lines) {
    int n = 0;
    for (std::string_view line : lines) addScriptLine(rt, std::string(line), ++n);
    return runScript(rt);
  }

  const std::string& var(std::string_view name) {
    if (name.size() == 1) return rt.vars.get(VariableStore::letterSlot(name[0]));
    return rt.vars.get(rt.vars.namedSlot(name));
  }

  void setVar(std::string_view name, std::string value) {
    VarSlot slot = name.size() == 1 ? VariableStore::letterSlot(name[0]) : rt.vars.namedSlot(name);
    rt.vars.set(slot, std::move(value));
  }

  FakeConsole console;
  FakeClock clock;
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  Runtime rt{console, clock, *fs};
};

}  // namespace tamiral
