// The media control strings carried out over media players: aliases, device
// numbers, play modes and channel volumes are kept here; the players only
// load, play, pause, seek and tell their position.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/media_control.h"
#include "speech/media_strings.h"

namespace tamiral {

class MediaInterpreter : public MediaControl {
 public:
  // File names reach the players through the file system's path mapping;
  // "type!address" devices whose address holds "://" go as they are.
  MediaInterpreter(FileSystem& fs, std::unique_ptr<MediaPlayers> players)
      : fs_(fs), players_(std::move(players)) {}

  std::string send(std::string_view command) override;

 private:
  enum class Mode { kStopped, kPaused, kPlaying };
  struct Device {
    int number = 0;
    std::unique_ptr<MediaPlayer> player;
    Mode mode = Mode::kStopped;
    int left = 1000;
    int right = 1000;
    // Opened by "play <file>" rather than by "open": closed once it ends.
    bool automatic = false;
    // Where a seek left the device: its position until it plays again,
    // however near the player's own landing is.
    std::optional<int64_t> seekedTo;
  };

  std::string carryOut(const MediaCommand& command);
  std::string open(const MediaCommand& command, bool automatic);
  std::string play(Device& device, const MediaCommand& command);
  std::string seek(Device& device, const MediaCommand& command);
  std::string status(Device& device, MediaStatusItem item);
  std::string setAudio(Device& device, const MediaCommand& command);
  std::string close(std::string_view alias);
  std::string address(const MediaCommand& command);
  Device* find(std::string_view alias);
  Mode modeNow(Device& device);
  int freeNumber() const;
  void closeFinishedAutomaticDevices();

  FileSystem& fs_;
  std::unique_ptr<MediaPlayers> players_;
  std::map<std::string, Device> devices_;  // by alias, folded
};

}  // namespace tamiral
