// The media control strings the runtime understands, read into commands:
//   open DEVICE [type T] [alias A] [shareable] [wait]
//   close A | all              play A [from N] [wait]
//   pause A    resume A    stop A
//   seek A to N | start | end
//   status A mode | length | position | ready
//   setaudio A [left | right] volume to N
//   window A handle H          set A time format milliseconds
// Words are matched without regard to case; a word in double quotes may hold
// spaces. DEVICE is a file name, or "type!element" ("mpegvideo!http://…").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tamiral {

enum class MediaVerb { kOpen, kClose, kPlay, kPause, kResume, kStop, kSeek, kStatus, kSetAudio, kWindow, kSet };
enum class MediaStatusItem { kMode, kLength, kPosition, kReady };
enum class MediaChannel { kBoth, kLeft, kRight };
enum class MediaSeekTarget { kPosition, kStart, kEnd };

struct MediaCommand {
  MediaVerb verb = MediaVerb::kClose;
  // The alias, or for open and for an automatic open by play, the element.
  std::string device;
  std::string deviceType;  // open: from "type T" or the part before '!'
  std::string alias;       // open
  std::optional<int64_t> from;  // play
  MediaSeekTarget seekTarget = MediaSeekTarget::kPosition;
  int64_t position = 0;  // seek to N
  MediaStatusItem item = MediaStatusItem::kMode;
  MediaChannel channel = MediaChannel::kBoth;
  int64_t volume = 0;
};

// Nothing for a string outside the forms above.
std::optional<MediaCommand> parseMediaCommand(std::string_view text);

}  // namespace tamiral
