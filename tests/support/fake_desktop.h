// The machine as the line editor's utility keys see it: a power state a test
// sets, and a launcher that records what it was asked to open.
#pragma once

#include <string>
#include <vector>

#include "platform/launcher.h"
#include "platform/power_status.h"

namespace tamiral {

class FakePowerStatus : public PowerStatus {
 public:
  PowerState state;
  PowerState read() override { return state; }
};

class FakeLauncher : public Launcher {
 public:
  struct Opened {
    std::string program, parameter, folder;
    bool operator==(const Opened&) const = default;
  };
  std::vector<Opened> opened;
  void open(std::string_view program, std::string_view parameter, std::string_view folder) override {
    opened.push_back({std::string(program), std::string(parameter), std::string(folder)});
  }
};

}  // namespace tamiral
