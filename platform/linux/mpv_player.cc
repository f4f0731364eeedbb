// Media players as mpv child processes, one per loaded address, each driven
// through its own JSON IPC socket in a private temporary folder.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/media_control.h"
#include "platform/mpv_json.h"

namespace tamiral {

namespace {

constexpr int kReplyTimeoutMs = 5000;
constexpr int kQuitTimeoutMs = 1000;
constexpr int kRetryMs = 10;

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleepMs(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Where the socket lives: a folder of our own, so no other user can put a
// socket of theirs in its place. A socket's path has a short limit.
std::string makePrivateFolder(const std::string& parent) {
  const char* tmp = std::getenv("TMPDIR");
  std::string base = !parent.empty() ? parent : tmp && *tmp ? tmp : "/tmp";
  if (base.size() > 60) base = "/tmp";
  std::string pattern = base + "/tamiral-mpv-XXXXXX";
  if (!mkdtemp(pattern.data())) return "";
  return pattern;
}

std::vector<std::string> mpvArguments(const MediaOptions& options, const std::string& socket) {
  std::vector<std::string> arguments = {
      options.program, "--no-config", "--idle=yes", "--no-terminal", "--input-ipc-server=" + socket,
      // Kept open at the end, so the position and length stay readable and
      // "play from" still works.
      "--keep-open=yes", "--pause=yes",
      // No picture: a window of its own would take the keyboard away from
      // the talking console.
      "--vid=no", "--force-window=no", "--audio-display=no",
      // Addresses come resolved already.
      "--ytdl=no",
  };
  if (options.audioDevice == "null") {
    arguments.push_back("--ao=null");
    if (options.untimed) arguments.push_back("--ao-null-untimed=yes");
  } else if (!options.audioDevice.empty()) {
    arguments.push_back("--ao=alsa");
    arguments.push_back("--audio-device=alsa/" + options.audioDevice);
  }
  return arguments;
}

// The child dies with this process, holds none of its files, and has no
// terminal to write to.
pid_t startChild(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid != 0) return pid;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  int null = open("/dev/null", O_RDWR);
  for (int fd = 0; fd < 3; ++fd) dup2(null, fd);
  syscall(SYS_close_range, 3U, ~0U, 0U);
  execvp(argv[0], argv.data());
  _exit(127);
}

bool childRunning(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

int connectWhenReady(const std::string& path, pid_t pid, int timeoutMs) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return -1;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  for (int64_t deadline = nowMs() + timeoutMs; nowMs() < deadline && childRunning(pid); sleepMs(kRetryMs)) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
  }
  return -1;
}

class MpvPlayer : public MediaPlayer {
 public:
  MpvPlayer(pid_t pid, std::string folder) : pid_(pid), folder_(std::move(folder)) {}
  ~MpvPlayer() override { finish(); }
  MpvPlayer(const MpvPlayer&) = delete;
  MpvPlayer& operator=(const MpvPlayer&) = delete;

  // Once connected the socket's name is not needed: it goes at once, so
  // nothing is left behind even if this process is killed.
  bool connectTo(const std::string& socket, int timeoutMs) {
    fd_ = connectWhenReady(socket, pid_, timeoutMs);
    removeFolder();
    return fd_ >= 0;
  }

  // Loaded once the player says so; an error or the time-out fails.
  bool load(const std::string& address, int timeoutMs) {
    if (!sendLine(mpvRequest({jsonString("loadfile"), jsonString(address)}, nextId_++))) return false;
    for (int64_t deadline = nowMs() + timeoutMs;;) {
      std::optional<MpvMessage> message = readMessage(static_cast<int>(deadline - nowMs()));
      if (!message) return false;
      if (message->event == "file-loaded") return true;
      if (message->event == "end-file") return false;
    }
  }

  void setPaused(bool paused) override { setProperty("pause", paused ? "true" : "false"); }

  // Waits for the player to restart at the new place, so what it tells
  // next (the end reached or not) is about that place.
  void seek(int64_t milliseconds) override {
    int restarts = restarts_;
    std::optional<MpvMessage> reply = request(
        {jsonString("seek"), jsonNumber(static_cast<double>(milliseconds) / 1000.0), jsonString("absolute+exact")});
    if (!reply || reply->error != "success") return;
    for (int64_t deadline = nowMs() + kReplyTimeoutMs; restarts_ == restarts;) {
      if (!readMessage(static_cast<int>(deadline - nowMs()))) return;
    }
  }

  std::optional<int64_t> positionMs() override { return millisecondsOf("time-pos"); }
  std::optional<int64_t> lengthMs() override { return millisecondsOf("duration"); }

  bool ended() override {
    std::optional<MpvMessage> reply = request({jsonString("get_property"), jsonString("eof-reached")});
    if (!reply) return true;
    const bool* atEnd = std::get_if<bool>(&reply->data);
    if (reply->error == "success" && atEnd) return *atEnd;
    // No file any more (it failed or was unloaded): nothing plays.
    reply = request({jsonString("get_property"), jsonString("idle-active")});
    const bool* idle = reply ? std::get_if<bool>(&reply->data) : nullptr;
    return !idle || *idle;
  }

  // The two gains are applied by a pan filter (linear, as the 0-1000 scale
  // is); the stream is made stereo first so mono sources get both.
  void setVolume(int left, int right) override {
    std::string filter;
    if (left != 1000 || right != 1000) {
      filter = "lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=" + jsonNumber(left / 1000.0) +
               "*c0|c1=" + jsonNumber(right / 1000.0) + "*c1]";
    }
    setProperty("af", jsonString(filter));
  }

 private:
  void setProperty(std::string_view name, const std::string& jsonValue) {
    request({jsonString("set_property"), jsonString(name), jsonValue});
  }

  std::optional<int64_t> millisecondsOf(std::string_view property) {
    std::optional<MpvMessage> reply = request({jsonString("get_property"), jsonString(property)});
    if (!reply || reply->error != "success") return std::nullopt;
    const double* seconds = std::get_if<double>(&reply->data);
    if (!seconds || !std::isfinite(*seconds)) return std::nullopt;
    return std::llround(*seconds * 1000.0);
  }

  // The reply to this request; events read on the way are dropped.
  std::optional<MpvMessage> request(std::initializer_list<std::string> arguments) {
    int64_t id = nextId_++;
    if (!sendLine(mpvRequest(arguments, id))) return std::nullopt;
    for (int64_t deadline = nowMs() + kReplyTimeoutMs;;) {
      std::optional<MpvMessage> message = readMessage(static_cast<int>(deadline - nowMs()));
      if (!message) return std::nullopt;
      if (message->requestId == id) return message;
    }
  }

  bool sendLine(const std::string& line) {
    for (size_t sent = 0; fd_ >= 0 && sent < line.size();) {
      ssize_t n = ::send(fd_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return dropConnection();
      sent += static_cast<size_t>(n);
    }
    return fd_ >= 0;
  }

  // The next whole line that parses; nothing on time-out or a lost player.
  std::optional<MpvMessage> readMessage(int timeoutMs) {
    for (;;) {
      size_t lineEnd = input_.find('\n');
      if (lineEnd != std::string::npos) {
        std::string line = input_.substr(0, lineEnd);
        input_.erase(0, lineEnd + 1);
        std::optional<MpvMessage> message = parseMpvMessage(line);
        if (!message) continue;
        if (message->event == "playback-restart") ++restarts_;
        return message;
      }
      if (fd_ < 0 || !waitReadable(timeoutMs)) return std::nullopt;
      char buffer[4096];
      ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        dropConnection();
        return std::nullopt;
      }
      input_.append(buffer, static_cast<size_t>(n));
    }
  }

  bool waitReadable(int timeoutMs) {
    pollfd entry{fd_, POLLIN, 0};
    int ready;
    do {
      ready = poll(&entry, 1, std::max(timeoutMs, 0));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
  }

  bool dropConnection() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    return false;
  }

  // Asked to quit, then killed if it lingers; reaped either way.
  void finish() {
    sendLine(mpvRequest({jsonString("quit")}, nextId_++));
    dropConnection();
    for (int64_t deadline = nowMs() + kQuitTimeoutMs; nowMs() < deadline; sleepMs(kRetryMs)) {
      if (waitpid(pid_, nullptr, WNOHANG) != 0) return;
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }

  void removeFolder() {
    unlink((folder_ + "/ipc").c_str());
    rmdir(folder_.c_str());
  }

  pid_t pid_;
  std::string folder_;
  int fd_ = -1;
  std::string input_;
  int64_t nextId_ = 1;
  int restarts_ = 0;  // "playback-restart" events seen
};

class MpvPlayers : public MediaPlayers {
 public:
  explicit MpvPlayers(MediaOptions options) : options_(std::move(options)) {}

  std::unique_ptr<MediaPlayer> open(const std::string& address) override {
    std::string folder = makePrivateFolder(options_.socketFolder);
    if (folder.empty()) return nullptr;
    std::string socket = folder + "/ipc";
    pid_t pid = startChild(mpvArguments(options_, socket));
    if (pid < 0) {
      rmdir(folder.c_str());
      return nullptr;
    }
    auto player = std::make_unique<MpvPlayer>(pid, folder);
    if (!player->connectTo(socket, options_.startTimeoutMs) || !player->load(address, options_.loadTimeoutMs))
      return nullptr;
    return player;
  }

 private:
  MediaOptions options_;
};

}  // namespace

std::unique_ptr<MediaPlayers> makeMpvPlayers(const MediaOptions& options) {
  return std::make_unique<MpvPlayers>(options);
}

}  // namespace tamiral
