#include "speech/media_interpreter.h"

#include <algorithm>
#include <iterator>

#include "engine/cp1252.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr int kFullVolume = 1000;

std::string milliseconds(std::optional<int64_t> value) { return decimal(std::max<int64_t>(value.value_or(0), 0)); }

}  // namespace

std::string MediaInterpreter::send(std::string_view text) {
  closeFinishedAutomaticDevices();
  std::optional<MediaCommand> command = parseMediaCommand(text);
  return command ? carryOut(*command) : "";
}

std::string MediaInterpreter::carryOut(const MediaCommand& command) {
  if (command.verb == MediaVerb::kOpen) return open(command, false);
  if (command.verb == MediaVerb::kClose) return close(command.device);
  Device* device = find(command.device);
  if (!device) {
    // "play <file>" opens the file under its own name first.
    if (command.verb != MediaVerb::kPlay || open(command, true).empty()) return "";
    device = find(command.device);
  }
  switch (command.verb) {
    case MediaVerb::kPlay: return play(*device, command);
    case MediaVerb::kPause:
      if (modeNow(*device) == Mode::kPlaying) {
        device->player->setPaused(true);
        device->mode = Mode::kPaused;
      }
      return "";
    case MediaVerb::kResume:
      if (modeNow(*device) == Mode::kPaused) {
        device->player->setPaused(false);
        device->mode = Mode::kPlaying;
        device->seekedTo.reset();
      }
      return "";
    case MediaVerb::kStop:
      device->player->setPaused(true);
      device->mode = Mode::kStopped;
      return "";
    case MediaVerb::kSeek: return seek(*device, command);
    case MediaVerb::kStatus: return status(*device, command.item);
    case MediaVerb::kSetAudio: return setAudio(*device, command);
    default: return "";  // window and set change nothing here
  }
}

// The alias is the element itself when none is given; an alias in use, or an
// address no player can load, fails.
std::string MediaInterpreter::open(const MediaCommand& command, bool automatic) {
  std::string alias = upperPt(command.alias.empty() ? command.device : command.alias);
  if (devices_.contains(alias)) return "";
  std::unique_ptr<MediaPlayer> player = players_->open(address(command));
  if (!player) return "";
  Device& device = devices_[alias];
  device.number = freeNumber();
  device.player = std::move(player);
  device.automatic = automatic;
  return decimal(device.number);
}

std::string MediaInterpreter::play(Device& device, const MediaCommand& command) {
  if (command.from) device.player->seek(*command.from);
  device.player->setPaused(false);
  device.mode = Mode::kPlaying;
  device.seekedTo.reset();
  return "";
}

// A seek leaves the device stopped at the new place.
std::string MediaInterpreter::seek(Device& device, const MediaCommand& command) {
  device.player->setPaused(true);
  device.mode = Mode::kStopped;
  int64_t position = command.position;
  if (command.seekTarget == MediaSeekTarget::kStart) position = 0;
  if (command.seekTarget == MediaSeekTarget::kEnd) position = device.player->lengthMs().value_or(0);
  device.player->seek(position);
  device.seekedTo = position;
  return "";
}

std::string MediaInterpreter::status(Device& device, MediaStatusItem item) {
  switch (item) {
    case MediaStatusItem::kMode: {
      Mode mode = modeNow(device);
      return mode == Mode::kPlaying ? "playing" : mode == Mode::kPaused ? "paused" : "stopped";
    }
    case MediaStatusItem::kLength: return milliseconds(device.player->lengthMs());
    case MediaStatusItem::kPosition:
      return milliseconds(device.seekedTo ? device.seekedTo : device.player->positionMs());
    case MediaStatusItem::kReady: return "true";
  }
  return "";
}

std::string MediaInterpreter::setAudio(Device& device, const MediaCommand& command) {
  int volume = static_cast<int>(std::clamp<int64_t>(command.volume, 0, kFullVolume));
  if (command.channel != MediaChannel::kRight) device.left = volume;
  if (command.channel != MediaChannel::kLeft) device.right = volume;
  device.player->setVolume(device.left, device.right);
  return "";
}

std::string MediaInterpreter::close(std::string_view alias) {
  if (equalsKeyword(alias, "ALL"))
    devices_.clear();
  else
    devices_.erase(upperPt(alias));
  return "";
}

std::string MediaInterpreter::address(const MediaCommand& command) {
  if (command.device.find("://") != std::string::npos) return cp1252ToUtf8(command.device);
  return fs_.nativePath(command.device);
}

MediaInterpreter::Device* MediaInterpreter::find(std::string_view alias) {
  auto found = devices_.find(upperPt(alias));
  return found == devices_.end() ? nullptr : &found->second;
}

// Playing ends by itself at the end of the media.
MediaInterpreter::Mode MediaInterpreter::modeNow(Device& device) {
  if (device.mode == Mode::kPlaying && device.player->ended()) device.mode = Mode::kStopped;
  return device.mode;
}

// The lowest number no open device holds, from 1.
int MediaInterpreter::freeNumber() const {
  for (int number = 1;; ++number) {
    bool taken = std::any_of(devices_.begin(), devices_.end(),
                             [number](const auto& entry) { return entry.second.number == number; });
    if (!taken) return number;
  }
}

// Background plays ("play <file>") leave no player behind once they end.
void MediaInterpreter::closeFinishedAutomaticDevices() {
  for (auto entry = devices_.begin(); entry != devices_.end();) {
    bool finished = entry->second.automatic && modeNow(entry->second) == Mode::kStopped;
    entry = finished ? devices_.erase(entry) : std::next(entry);
  }
}

}  // namespace tamiral
