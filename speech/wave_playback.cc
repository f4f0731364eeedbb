#include "speech/wave_playback.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "console/talking_console.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr int kFullQueueTries = 40;
constexpr int kFullQueueDelayMs = 50;

void put16(std::string& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& bytes, size_t at, uint32_t value) {
  put16(bytes, at, value & 0xFFFF);
  put16(bytes, at + 2, value >> 16);
}

uint32_t get16(std::string_view bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8);
}

uint32_t get32(std::string_view bytes, size_t at) { return get16(bytes, at) | (get16(bytes, at + 2) << 16); }

bool sameTag(std::string_view bytes, size_t at, std::string_view tag) {
  return bytes.size() >= at + tag.size() && equalsKeyword(bytes.substr(at, tag.size()), tag);
}

// Position of the largest sample in [from, to] (the first on ties).
size_t peakBetween(const uint8_t* samples, size_t from, size_t to) {
  size_t peak = from;
  for (size_t i = from + 1; i <= to; ++i) {
    if (samples[i] > samples[peak]) peak = i;
  }
  return peak;
}

struct FormatChunk {
  uint16_t channels = 1;
  uint32_t rate = 11025;
  uint16_t bits = 8;
};

FormatChunk readFormat(std::string_view body) {
  FormatChunk format;
  if (body.size() >= 16) {
    format.channels = static_cast<uint16_t>(get16(body, 2));
    format.rate = get32(body, 4);
    format.bits = static_cast<uint16_t>(get16(body, 14));
  }
  return format;
}

// The size of the next piece of a data chunk: 8192 bytes, except that the
// last piece is kept at 256 bytes or more.
size_t nextPieceSize(size_t remaining) {
  if (remaining > 8192 && remaining < 8448) return 7936;
  return std::min<size_t>(remaining, 8192);
}

}  // namespace

std::string buildWaveHeader(size_t dataLength, uint32_t rate, uint16_t bits, uint16_t channels) {
  std::string header = "RIFF----WAVEfmt ";
  header.resize(44, '\0');
  put32(header, 4, static_cast<uint32_t>(dataLength + 36));
  put32(header, 16, 16);
  put16(header, 20, 1);
  put16(header, 22, channels);
  put32(header, 24, rate);
  put32(header, 28, rate * channels * (bits / 8u));
  put16(header, 32, 1);
  put16(header, 34, bits);
  header.replace(36, 4, "data");
  put32(header, 40, static_cast<uint32_t>(dataLength));
  return header;
}

size_t dropPitchPeriods(uint8_t* samples, size_t length, uint16_t bits, uint32_t rate) {
  size_t n = length;
  if (bits == 16) {
    n = length / 2;
    for (size_t i = 0; i < n; ++i) samples[i] = static_cast<uint8_t>(samples[2 * i + 1] ^ 0x80);
  }
  if (n < 1000) return n;
  const size_t scale = rate == 11025 ? 1 : 4;
  const size_t start = 200 * scale, minimum = 80 * scale, width = 50 * scale;
  if (n < start + minimum + width + 1) return n;
  size_t read = peakBetween(samples, start, start + minimum + width);
  size_t write = read;
  while (n > 2 * (minimum + width) + read) {
    size_t p1 = peakBetween(samples, read + minimum, read + minimum + width);
    size_t p2 = peakBetween(samples, p1 + minimum, p1 + minimum + width);
    std::memmove(samples + write, samples + p1, p2 - p1 + 1);
    write += p2 - p1 + 1;
    read = p2;
  }
  while (read < n && write < n && std::abs(static_cast<int>(samples[write]) - 128) > 20) {
    samples[write++] = samples[read++];
  }
  return write;
}

bool WavePlayback::keyPressed() { return host_.keyPressed(); }

int WavePlayback::configure(const WaveFormat& format) {
  if (open_ && format == format_) return 0;
  if (open_) {
    while (busy()) host_.delayMs(10);
    sink_->close();
    open_ = false;
  }
  format_ = format;
  int result = sink_->open(format);
  open_ = result == 0;
  return result;
}

bool WavePlayback::writeBlock(const uint8_t* data, size_t length) {
  for (int tries = 0; queued_ >= kQueueLimit && tries < kFullQueueTries; ++tries) {
    host_.processMessages();
    host_.delayMs(kFullQueueDelayMs);
  }
  if (queued_ >= kQueueLimit || !open_) return false;
  length = std::min(length, kBlockSize);
  bool byteMono = format_.bits == 8 && format_.channels == 1;
  char silence = format_.bits == 8 ? static_cast<char>(128) : '\0';
  block_.assign(reinterpret_cast<const char*>(data), length);
  if (block_.size() < kMinimumBlock) block_.resize(kMinimumBlock, silence);
  // A block that is not full ends on silence, so consecutive pieces do not click.
  if (byteMono && length > 0 && length != kBlockSize) block_[length - 1] = static_cast<char>(128);
  if (!sink_->write(reinterpret_cast<const uint8_t*>(block_.data()), block_.size())) return false;
  ++queued_;
  return true;
}

void WavePlayback::collectFinishedBlocks() {
  int finished = sink_->takeFinishedBlocks();
  queued_ = std::max(0, queued_ - finished);
}

bool WavePlayback::busy() {
  host_.processMessages();
  if (keyPressed() || queued_ == 0) stop();
  return queued_ > 0;
}

void WavePlayback::stop() {
  if (open_ && queued_ > 0) {
    sink_->reset();
    collectFinishedBlocks();
  }
  host_.processMessages();
}

int WavePlayback::playSamples(std::string samples, uint32_t rate, uint16_t channels, uint16_t bits) {
  if (rapidPlayback) rate = static_cast<uint32_t>(rate * 1.5);
  bool dropping = periodDropping && channels == 1;
  uint16_t deviceBits = dropping && bits == 16 ? 8 : bits;
  if (int result = configure({rate, deviceBits, channels}); result != 0) return result;
  auto* data = reinterpret_cast<uint8_t*>(samples.data());
  size_t length = samples.size();
  while (length > 0) {
    while (queued_ >= kQueueLimit) {
      if (keyPressed()) {
        stop();
        return 0;
      }
      host_.delayMs(10);
    }
    if (keyPressed()) {
      stop();
      break;
    }
    size_t n = std::min(length, kBlockSize);
    size_t queuedLength = dropping ? dropPitchPeriods(data, n, bits, rate) : n;
    writeBlock(data, queuedLength);
    data += n;
    length -= n;
  }
  return 0;
}

int WavePlayback::playWaveImage(std::string_view image) {
  if (!sameTag(image, 0, "RIFF") || !sameTag(image, 12, "FMT ") || image.size() < 20) return 0;
  size_t fmtSize = get32(image, 16);
  if (image.size() < 20 + fmtSize) return 0;
  FormatChunk format = readFormat(image.substr(20, fmtSize));
  for (size_t at = 20 + fmtSize; at + 8 <= image.size();) {
    size_t size = get32(image, at + 4);
    if (sameTag(image, at, "DATA")) {
      std::string_view data = image.substr(at + 8, std::min(size, image.size() - at - 8));
      return playSamples(std::string(data), format.rate, format.channels, format.bits);
    }
    at += 8 + size;
  }
  return 0;
}

int WavePlayback::playWaveFile(std::string_view name) {
  if (keyPressed()) {
    stop();
    return 0;
  }
  if (periodDropping) {
    size_t slash = name.find_last_of("\\/");
    std::string folder(slash == std::string_view::npos ? std::string_view() : name.substr(0, slash + 1));
    std::string rapid = folder + "rapido\\" + std::string(name.substr(folder.size()));
    if (fs_.isFile(rapid)) {
      periodDropping = false;
      int result = playWaveFile(rapid);
      periodDropping = true;
      return result;
    }
  }
  std::unique_ptr<File> file = fs_.open(name, OpenMode::kRead);
  if (!file) return -1;
  auto readExactly = [&](size_t size) {
    std::string bytes(size, '\0');
    int64_t got = size ? file->read(bytes.data(), size) : 0;
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
  };
  std::string riff = readExactly(12);
  std::string fmtHeader = readExactly(8);
  if (!sameTag(riff, 0, "RIFF") || !sameTag(fmtHeader, 0, "FMT ") || fmtHeader.size() < 8) return -1;
  size_t fmtSize = get32(fmtHeader, 4);
  if (fmtSize > 1024) return -1;  // no format chunk is that long; the file is not a WAVE
  FormatChunk format = readFormat(readExactly(fmtSize));
  size_t dataLength = 0;
  for (;;) {
    std::string chunk = readExactly(8);
    if (chunk.size() < 8) return -1;
    if (sameTag(chunk, 0, "DATA")) {
      dataLength = get32(chunk, 4);
      break;
    }
    // Another chunk: skip its body in bounded reads.
    for (size_t left = get32(chunk, 4); left > 0;) {
      std::string skipped = readExactly(std::min<size_t>(left, kBlockSize));
      if (skipped.empty()) return -1;
      left -= skipped.size();
    }
  }
  int result = 0;
  while (dataLength > 0 && result == 0 && !keyPressed()) {
    std::string piece = readExactly(nextPieceSize(dataLength));
    if (piece.empty()) break;
    dataLength -= piece.size();
    result = playSamples(std::move(piece), format.rate, format.channels, format.bits);
  }
  file->close();
  if (!noWait) {
    while (busy()) host_.delayMs(10);
  }
  return result;
}

}  // namespace tamiral
