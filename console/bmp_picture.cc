#include "console/bmp_picture.h"

#include <algorithm>

namespace tamiral {

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr size_t kReadPiece = 16384;

bool readAt(File& file, uint64_t offset, uint64_t size, std::vector<uint8_t>& out) {
  out.clear();
  if (!file.seek(offset)) return false;
  // Grown piece by piece, so a header that claims gigabytes costs only what
  // the file really holds before the short read ends the load.
  while (out.size() < size) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(kReadPiece, size - out.size()));
    size_t had = out.size();
    out.resize(had + want);
    int64_t got = file.read(reinterpret_cast<char*>(out.data() + had), want);
    if (got <= 0) return false;
    out.resize(had + static_cast<size_t>(got));
  }
  return true;
}

uint32_t le32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint64_t rowBytes(int width, int bitCount) { return ((uint64_t(width) * bitCount + 31) / 32) * 4; }

}  // namespace

Rgb BmpPicture::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {};
  size_t row = static_cast<size_t>(height - 1 - y) * rowBytes(width, bitCount);
  const uint8_t* p = pixels.data() + row;
  switch (bitCount) {
    case 32:
    case 24: {
      const uint8_t* q = p + static_cast<size_t>(x) * (bitCount / 8);
      return {q[2], q[1], q[0]};
    }
    case 16: {
      unsigned v = p[x * 2] | p[x * 2 + 1] << 8;
      auto scale = [](unsigned five) { return static_cast<uint8_t>(five * 255 / 31); };
      return {scale(v >> 10 & 31), scale(v >> 5 & 31), scale(v & 31)};
    }
    default: {
      int perByte = 8 / bitCount;
      unsigned byte = p[x / perByte];
      int shift = 8 - bitCount * (x % perByte + 1);
      unsigned index = byte >> shift & ((1u << bitCount) - 1);
      return index < palette.size() ? palette[index] : Rgb{};
    }
  }
}

std::optional<BmpPicture> readBmp(File& file) {
  std::vector<uint8_t> bytes;
  if (!readAt(file, 14, 4, bytes) || le32(bytes, 0) != kInfoHeaderSize) return std::nullopt;
  if (!readAt(file, 10, 4, bytes)) return std::nullopt;
  uint32_t pixelOffset = le32(bytes, 0);

  std::vector<uint8_t> header;
  if (!readAt(file, 14, kInfoHeaderSize, header)) return std::nullopt;
  BmpPicture picture;
  picture.bitCount = le16(header, 14);
  // Only what a display bitmap can be made from; compressed data is refused
  // rather than shown as noise.
  static constexpr int kDepths[] = {1, 4, 8, 16, 24, 32};
  if (std::find(std::begin(kDepths), std::end(kDepths), picture.bitCount) == std::end(kDepths)) return std::nullopt;
  if (le32(header, 16) != 0) return std::nullopt;
  picture.width = le32(header, 4) & 0xFFFF;
  picture.height = le32(header, 8) & 0xFFFF;
  if (picture.width == 0 || picture.height == 0) return std::nullopt;

  if (picture.bitCount <= 8) {
    uint32_t colours = le32(header, 32);
    uint32_t full = 1u << picture.bitCount;
    if (colours == 0 || colours > full) colours = full;  // more entries could never be indexed
    if (!readAt(file, 14 + kInfoHeaderSize, uint64_t(colours) * 4, bytes)) return std::nullopt;
    for (uint32_t i = 0; i < colours; ++i) picture.palette.push_back({bytes[i * 4 + 2], bytes[i * 4 + 1], bytes[i * 4]});
  }

  uint64_t imageSize = picture.height * rowBytes(picture.width, picture.bitCount);
  if (!readAt(file, pixelOffset, imageSize, picture.pixels)) return std::nullopt;
  return picture;
}

std::optional<BmpPicture> loadBmp(FileSystem& files, std::string_view path) {
  std::unique_ptr<File> file = files.open(path, OpenMode::kRead);
  if (!file) return std::nullopt;
  std::optional<BmpPicture> picture = readBmp(*file);
  file->close();
  return picture;
}

}  // namespace tamiral
