#include "platform/power_status.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tamiral {

namespace {

// One entry of the power supply folder, by the files the kernel gives it.
struct Supply {
  std::filesystem::path folder;

  std::string read(const char* name) const {
    std::ifstream in(folder / name);
    std::string value;
    std::getline(in, value);
    return value;
  }
  std::optional<long> number(const char* name) const {
    std::string text = read(name);
    if (text.empty()) return std::nullopt;
    try {
      return std::stol(text);
    } catch (...) {
      return std::nullopt;
    }
  }
  // A mouse's or headset's battery says so ("Device"); the machine's does not.
  bool systemBattery() const { return read("type") == "Battery" && read("scope") != "Device" && read("present") != "0"; }
  bool mainsAdapter() const { return read("type") == "Mains"; }

  std::optional<int> percent() const {
    if (std::optional<long> capacity = number("capacity")) return static_cast<int>(*capacity);
    for (auto [now, full] : {std::pair{"energy_now", "energy_full"}, std::pair{"charge_now", "charge_full"}}) {
      std::optional<long> n = number(now), f = number(full);
      if (n && f && *f > 0) return static_cast<int>(*n * 100 / *f);
    }
    return std::nullopt;
  }
};

class SystemPowerStatus : public PowerStatus {
 public:
  explicit SystemPowerStatus(std::string folder) : folder_(std::move(folder)) {}

  // Several batteries report their mean charge. Without an adapter entry, a
  // discharging battery tells that mains power is off.
  PowerState read() override {
    std::vector<Supply> supplies = list();
    int batteries = 0, total = 0;
    bool anyAdapter = false, adapterOnline = false, discharging = false;
    for (const Supply& supply : supplies) {
      if (supply.mainsAdapter()) {
        anyAdapter = true;
        adapterOnline = adapterOnline || supply.read("online") == "1";
      } else if (supply.systemBattery()) {
        std::optional<int> percent = supply.percent();
        if (!percent) continue;
        ++batteries;
        total += *percent;
        discharging = discharging || supply.read("status") == "Discharging";
      }
    }
    PowerState state;
    if (batteries > 0) state.batteryPercent = total / batteries;
    state.lineOffline = anyAdapter ? !adapterOnline : discharging;
    return state;
  }

 private:
  std::vector<Supply> list() const {
    std::vector<Supply> supplies;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) supplies.push_back({entry.path()});
    return supplies;
  }

  std::string folder_;
};

}  // namespace

std::unique_ptr<PowerStatus> makeSystemPowerStatus(std::string folder) {
  return std::make_unique<SystemPowerStatus>(std::move(folder));
}

}  // namespace tamiral
