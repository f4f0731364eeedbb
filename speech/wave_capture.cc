#include "speech/wave_capture.h"

#include <deque>

#include "engine/text.h"
#include "speech/wave_playback.h"

namespace tamiral {

namespace {

// Blocks finish when the virtual clock passes the end of their audio.
class VirtualQueue {
 public:
  void add(double durationMs) {
    double start = ends_.empty() ? now_ : std::max(now_, ends_.back());
    ends_.push_back(start + durationMs);
  }
  int takeFinished() {
    int finished = 0;
    while (!ends_.empty() && ends_.front() <= now_) {
      ends_.pop_front();
      ++finished;
    }
    return finished;
  }
  int dropAll() {
    int dropped = static_cast<int>(ends_.size());
    ends_.clear();
    return dropped;
  }
  void advance(int milliseconds) { now_ += milliseconds; }

 private:
  double now_ = 0;
  std::deque<double> ends_;
};

void putLittleEndian32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

class CaptureSink : public WaveSink {
 public:
  CaptureSink(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  ~CaptureSink() override { finishFile(); }

  int open(const WaveFormat& format) override {
    if (file_ && format == format_) return 0;
    finishFile();
    format_ = format;
    file_ = fs_.open(nextFileName(), OpenMode::kWrite);
    if (!file_) return 2;  // as a missing device: nothing will be played
    dataBytes_ = 0;
    std::string header = buildWaveHeader(0, format.rate, format.bits, format.channels);
    if (file_->write(header.data(), header.size()) != static_cast<int64_t>(header.size())) return 5;
    return 0;
  }

  void close() override { finishFile(); }

  bool write(const uint8_t* data, size_t length) override {
    if (!file_) return false;
    if (file_->write(reinterpret_cast<const char*>(data), length) != static_cast<int64_t>(length)) return false;
    dataBytes_ += length;
    updateSizes();
    queue_.add(1000.0 * static_cast<double>(length) / format_.bytesPerSecond());
    return true;
  }

  int takeFinishedBlocks() override { return queue_.takeFinished() + takeDropped(); }
  void reset() override { dropped_ += queue_.dropAll(); }
  bool realTime() const override { return false; }
  void advance(int milliseconds) override { queue_.advance(milliseconds); }

 private:
  int takeDropped() {
    int dropped = dropped_;
    dropped_ = 0;
    return dropped;
  }

  std::string nextFileName() {
    ++files_;
    if (files_ == 1) return path_;
    size_t dot = path_.find_last_of('.');
    size_t slash = path_.find_last_of("/\\");
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    std::string suffix = "-" + decimal(files_);
    return hasExtension ? path_.substr(0, dot) + suffix + path_.substr(dot) : path_ + suffix;
  }

  // The header's two sizes follow the data, so the file is valid after every block.
  void updateSizes() {
    std::string sizes(4, '\0');
    putLittleEndian32(sizes, 0, static_cast<uint32_t>(dataBytes_ + 36));
    file_->seek(4);
    file_->write(sizes.data(), 4);
    putLittleEndian32(sizes, 0, static_cast<uint32_t>(dataBytes_));
    file_->seek(40);
    file_->write(sizes.data(), 4);
    file_->seek(44 + dataBytes_);
  }

  void finishFile() {
    if (!file_) return;
    file_->close();
    file_.reset();
    dropped_ += queue_.dropAll();
  }

  FileSystem& fs_;
  std::string path_;
  std::unique_ptr<File> file_;
  WaveFormat format_;
  uint64_t dataBytes_ = 0;
  int files_ = 0;
  int dropped_ = 0;
  VirtualQueue queue_;
};

class SilentSink : public WaveSink {
 public:
  int open(const WaveFormat& format) override {
    format_ = format;
    return 0;
  }
  void close() override { dropped_ += queue_.dropAll(); }
  bool write(const uint8_t*, size_t length) override {
    queue_.add(1000.0 * static_cast<double>(length) / format_.bytesPerSecond());
    return true;
  }
  int takeFinishedBlocks() override {
    int finished = queue_.takeFinished() + dropped_;
    dropped_ = 0;
    return finished;
  }
  void reset() override { dropped_ += queue_.dropAll(); }
  bool realTime() const override { return false; }
  void advance(int milliseconds) override { queue_.advance(milliseconds); }

 private:
  WaveFormat format_;
  VirtualQueue queue_;
  int dropped_ = 0;
};

}  // namespace

std::unique_ptr<WaveSink> makeCaptureSink(FileSystem& fs, std::string path) {
  return std::make_unique<CaptureSink>(fs, std::move(path));
}

std::unique_ptr<WaveSink> makeSilentSink() { return std::make_unique<SilentSink>(); }

std::unique_ptr<WaveSink> makeWaveSink(const std::string& setting, FileSystem& fs) {
  if (startsWithKeyword(setting, "ARQUIVO:")) return makeCaptureSink(fs, setting.substr(8));
  if (equalsKeyword(setting, "NENHUMA")) return makeSilentSink();
  return makeSoundDeviceSink(setting.empty() ? "default" : setting);
}

}  // namespace tamiral
