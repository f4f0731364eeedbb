// The machine's power supply as the battery key of the line editor reports
// it: the system battery's charge and whether mains power is off.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tamiral {

struct PowerState {
  std::optional<int> batteryPercent;  // nothing when the machine has no system battery
  bool lineOffline = false;           // known to run without mains power
};

class PowerStatus {
 public:
  virtual ~PowerStatus() = default;
  virtual PowerState read() = 0;
};

// Reads the kernel's power supply folder (normally /sys/class/power_supply).
std::unique_ptr<PowerStatus> makeSystemPowerStatus(std::string folder = "/sys/class/power_supply");

}  // namespace tamiral
