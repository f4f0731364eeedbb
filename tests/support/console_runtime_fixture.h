// A runtime over a recording model console, for commands that read keys and
// draw: keys are fed as a key script, the screen is read back by rows and
// what would be heard is in console.heard.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "engine/runtime.h"
#include "platform/file_system.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/key_script.h"
#include "tests/support/recording_console.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/scripted_events.h"
#include "tests/support/settings_fixture.h"

namespace tamiral {

class ConsoleRuntimeTest : public SettingsFolderTest {
 protected:
  ConsoleRuntimeTest() { resetEngine(rt); }

  // Runs one line with these keys waiting for it; what is heard is recorded
  // from here on.
  bool run(std::string_view line, std::string_view keys = {}) {
    typeKeys(events, keys);
    console.heard.clear();
    return executeLine(rt, line, false);
  }

  const std::string& var(std::string_view name) {
    if (name.size() == 1) return rt.vars.get(VariableStore::letterSlot(name[0]));
    return rt.vars.get(rt.vars.namedSlot(name));
  }
  void setVar(std::string_view name, std::string value) {
    VarSlot slot = name.size() == 1 ? VariableStore::letterSlot(name[0]) : rt.vars.namedSlot(name);
    rt.vars.set(slot, std::move(value));
  }

  static EditorDevices fakeDevices() {
    return {std::make_unique<FakeClock>(), std::make_unique<FakePowerStatus>(), std::make_unique<FakeLauncher>()};
  }

  Settings settings_ = settings();
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  RecordingFrontEnd screen;
  ScriptedEvents events;
  RecordingConsole console{screen, events, settings_, *fs, [](int) {}, fakeDevices()};
  FakeClock clock;
  Runtime rt{console, clock, *fs};
};

}  // namespace tamiral
