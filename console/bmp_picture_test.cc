#include "console/bmp_picture.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

class MemoryFile : public File {
 public:
  explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}
  int64_t read(char* buffer, size_t size) override {
    size_t n = std::min(size, bytes_.size() - std::min(at_, bytes_.size()));
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return static_cast<int64_t>(n);
  }
  int64_t write(const char*, size_t) override { return -1; }
  bool seek(uint64_t offset) override {
    at_ = offset;
    return true;
  }
  std::optional<uint64_t> size() override { return bytes_.size(); }
  bool close() override { return true; }

 private:
  std::string bytes_;
  size_t at_ = 0;
};

void put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

struct BmpLayout {
  int32_t width = 1, height = 1;
  int bitCount = 24;
  uint32_t headerSize = 40;
  uint32_t compression = 0;
  uint32_t coloursUsed = 0;
  std::string palette{};  // B, G, R, 0 per entry
  std::string pixels{};   // rows bottom-up, padded
};

std::string makeBmp(const BmpLayout& layout) {
  std::string s(14 + 40, '\0');
  s[0] = 'B';
  s[1] = 'M';
  put32(s, 10, static_cast<uint32_t>(14 + 40 + layout.palette.size()));
  put32(s, 14, layout.headerSize);
  put32(s, 18, static_cast<uint32_t>(layout.width));
  put32(s, 22, static_cast<uint32_t>(layout.height));
  s[26] = 1;
  s[28] = static_cast<char>(layout.bitCount);
  put32(s, 30, layout.compression);
  put32(s, 46, layout.coloursUsed);
  s += layout.palette;
  s += layout.pixels;
  put32(s, 2, static_cast<uint32_t>(s.size()));
  return s;
}

std::optional<BmpPicture> read(const std::string& bytes) {
  MemoryFile file(bytes);
  return readBmp(file);
}

TEST(BmpPicture, TwentyFourBitPictureAtItsNaturalSize) {
  // 3 x 2, rows bottom-up and padded to 12 bytes; pixels are B, G, R.
  std::string bottom("\x00\x00\xff" "\x00\xff\x00" "\xff\x00\x00" "\0\0\0", 12);
  std::string top("\x10\x20\x30" "\x40\x50\x60" "\x70\x80\x90" "\0\0\0", 12);
  std::optional<BmpPicture> picture = read(makeBmp({.width = 3, .height = 2, .pixels = bottom + top}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 3);
  EXPECT_EQ(picture->height, 2);
  EXPECT_EQ(picture->pixel(0, 0), (Rgb{0x30, 0x20, 0x10}));
  EXPECT_EQ(picture->pixel(2, 0), (Rgb{0x90, 0x80, 0x70}));
  EXPECT_EQ(picture->pixel(0, 1), (Rgb{255, 0, 0}));
  EXPECT_EQ(picture->pixel(1, 1), (Rgb{0, 255, 0}));
  EXPECT_EQ(picture->pixel(2, 1), (Rgb{0, 0, 255}));
  EXPECT_EQ(picture->pixel(3, 0), (Rgb{}));  // outside
}

TEST(BmpPicture, PaletteDepths) {
  std::string twoColours("\xff\x00\x00\x00" "\x00\x00\xff\x00", 8);  // blue, red
  // 1 bit: colours used 0 means the full 2-entry palette. Pixels 0,1,1,0,1.
  std::optional<BmpPicture> mono =
      read(makeBmp({.width = 5, .height = 1, .bitCount = 1, .palette = twoColours, .pixels = std::string("\x68\0\0\0", 4)}));
  ASSERT_TRUE(mono);
  std::vector<Rgb> row;
  for (int x = 0; x < 5; ++x) row.push_back(mono->pixel(x, 0));
  Rgb blue{0, 0, 255}, red{255, 0, 0};
  EXPECT_EQ(row, (std::vector<Rgb>{blue, red, red, blue, red}));

  // 8 bits with only two colours used: the palette is two entries long and
  // the pixel data follows it.
  std::optional<BmpPicture> indexed = read(makeBmp(
      {.width = 2, .height = 1, .bitCount = 8, .coloursUsed = 2, .palette = twoColours, .pixels = std::string("\x01\x00\0\0", 4)}));
  ASSERT_TRUE(indexed);
  EXPECT_EQ(indexed->pixel(0, 0), red);
  EXPECT_EQ(indexed->pixel(1, 0), blue);
}

TEST(BmpPicture, FilesThatAreRefused) {
  std::string pixels(4, '\0');
  struct Case {
    std::string_view name;
    std::string bytes;
  } cases[] = {
      {"old 12-byte header", makeBmp({.headerSize = 12, .pixels = pixels})},
      {"pixel data cut short", makeBmp({.width = 4, .height = 4, .pixels = pixels})},
      {"compressed", makeBmp({.bitCount = 8, .compression = 1, .palette = std::string(1024, '\0'), .pixels = pixels})},
      {"odd bit count", makeBmp({.bitCount = 3, .palette = std::string(32, '\0'), .pixels = pixels})},
      {"no pixels wide", makeBmp({.width = 0, .pixels = pixels})},
      {"header cut short", makeBmp({.pixels = pixels}).substr(0, 30)},
      {"empty file", ""},
      // Claims gigabytes; the short read ends it without trying to hold them.
      {"huge claim", makeBmp({.width = 0xFFFF, .height = 0xFFFF, .bitCount = 32, .pixels = pixels})},
  };
  for (const Case& c : cases) EXPECT_FALSE(read(c.bytes)) << c.name;
}

TEST(BmpPicture, WidthAndHeightAreTheLowSixteenBits) {
  std::optional<BmpPicture> picture = read(makeBmp({.width = 0x10001, .height = 0x20001, .pixels = std::string(4, '\0')}));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 1);
  EXPECT_EQ(picture->height, 1);
}

TEST(BmpPicture, LoadedThroughTheFileSystem) {
  TempFolder folder;
  std::string path = folder.write("foto.bmp", makeBmp({.pixels = std::string("\x01\x02\x03\0", 4)}));
  std::unique_ptr<FileSystem> files = makeLinuxFileSystem();
  std::optional<BmpPicture> picture = loadBmp(*files, path);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixel(0, 0), (Rgb{3, 2, 1}));
  EXPECT_FALSE(loadBmp(*files, folder.path() + "/nada.bmp"));
}

}  // namespace
}  // namespace tamiral
