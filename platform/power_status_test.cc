#include "platform/power_status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

// A power supply folder laid out as the kernel does: one folder per supply,
// one file per property.
struct SupplyFiles {
  std::string name;
  std::vector<std::pair<std::string, std::string>> files;
};

TEST(SystemPowerStatus, ReadsTheSystemBatteryAndTheMainsAdapter) {
  struct Case {
    std::string_view name;
    std::vector<SupplyFiles> supplies;
    std::optional<int> percent;
    bool offline;
  } cases[] = {
      {"no supplies: a desktop", {}, std::nullopt, false},
      {"charging on mains",
       {{"BAT0", {{"type", "Battery"}, {"capacity", "57"}, {"status", "Charging"}}},
        {"AC", {{"type", "Mains"}, {"online", "1"}}}},
       57, false},
      {"adapter unplugged",
       {{"BAT0", {{"type", "Battery"}, {"capacity", "20"}, {"status", "Discharging"}}},
        {"AC", {{"type", "Mains"}, {"online", "0"}}}},
       20, true},
      {"no adapter entry, discharging", {{"BAT0", {{"type", "Battery"}, {"capacity", "80"}, {"status", "Discharging"}}}},
       80, true},
      {"a mouse's battery is not the machine's",
       {{"hid-mouse", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "90"}}}}, std::nullopt, false},
      {"an empty battery bay", {{"BAT1", {{"type", "Battery"}, {"present", "0"}}}}, std::nullopt, false},
      {"charge from energy counters",
       {{"BAT0", {{"type", "Battery"}, {"energy_now", "30000"}, {"energy_full", "40000"}, {"status", "Full"}}}}, 75,
       false},
      {"two batteries give their mean",
       {{"BAT0", {{"type", "Battery"}, {"capacity", "40"}}}, {"BAT1", {{"type", "Battery"}, {"capacity", "60"}}}}, 50,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    for (const SupplyFiles& supply : c.supplies) {
      for (const auto& [file, value] : supply.files) folder.write(supply.name + "/" + file, value + "\n");
    }
    PowerState state = makeSystemPowerStatus(folder.path())->read();
    EXPECT_EQ(state.batteryPercent, c.percent);
    EXPECT_EQ(state.lineOffline, c.offline);
  }
}

TEST(SystemPowerStatus, AMissingFolderMeansNoBattery) {
  PowerState state = makeSystemPowerStatus("/nonexistent/power_supply")->read();
  EXPECT_FALSE(state.batteryPercent);
  EXPECT_FALSE(state.lineOffline);
}

}  // namespace
}  // namespace tamiral
