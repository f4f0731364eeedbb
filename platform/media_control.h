// Media control strings ("open "x.mp3" alias m", "play m", "status m mode"):
// what MCI and TOCA send. Each string gets an answer text right away.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tamiral {

class MediaControl {
 public:
  virtual ~MediaControl() = default;
  // The command is Windows-1252 text. Answers: "playing", "paused" or
  // "stopped" for a mode; lengths and positions in milliseconds as decimal
  // text; the device number for an open; "" for commands that answer
  // nothing, an unknown alias, an unknown command or any failure.
  virtual std::string send(std::string_view command) = 0;
};

// Where there is no media player at all: every command fails quietly.
class NoMediaControl : public MediaControl {
 public:
  std::string send(std::string_view) override { return ""; }
};

// One loaded media address, paused at its start until told to play.
// Destroying it ends the player.
class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  virtual void setPaused(bool paused) = 0;
  virtual void seek(int64_t milliseconds) = 0;
  // Nothing while the player cannot tell (a stream not yet started).
  virtual std::optional<int64_t> positionMs() = 0;
  virtual std::optional<int64_t> lengthMs() = 0;
  // The end was reached, or the player is gone.
  virtual bool ended() = 0;
  // Gains of the two channels, 0 (silent) to 1000 (as recorded).
  virtual void setVolume(int left, int right) = 0;
};

class MediaPlayers {
 public:
  virtual ~MediaPlayers() = default;
  // The address is an OS path or a URL, UTF-8. Null when it cannot be
  // played.
  virtual std::unique_ptr<MediaPlayer> open(const std::string& address) = 0;
};

struct MediaOptions {
  std::string program = "mpv";
  // "" for the player's own choice, "null" for none, else an ALSA device.
  std::string audioDevice;
  // With no audio device: play as fast as decoding goes rather than in real
  // time (for runs whose sound is captured or discarded).
  bool untimed = false;
  // Where each player's socket gets a private folder for as long as it takes
  // to connect; empty: $TMPDIR, else /tmp.
  std::string socketFolder;
  int startTimeoutMs = 10000;
  // Streams may take a while to start.
  int loadTimeoutMs = 30000;
};

// Players run as child processes of `options.program` (mpv), one per
// address, driven through their JSON IPC socket; every child ends with its
// player (and with this process).
std::unique_ptr<MediaPlayers> makeMpvPlayers(const MediaOptions& options);

}  // namespace tamiral
