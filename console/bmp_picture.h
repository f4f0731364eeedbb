// The console picture: an uncompressed BMP with the 40-byte information
// header, read into memory so a front end can draw it over the grid.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "console/console_settings.h"
#include "platform/file_system.h"

namespace tamiral {

struct BmpPicture {
  int width = 0, height = 0;  // pixels
  int bitCount = 0;           // 1, 4, 8, 16, 24 or 32
  std::vector<Rgb> palette;   // for 8 bits or fewer
  std::vector<uint8_t> pixels;  // rows bottom-up, each padded to 4 bytes

  // Colour of a pixel counted from the top left corner.
  Rgb pixel(int x, int y) const;
};

// Nothing when the file is not such a BMP or a read fails part way.
std::optional<BmpPicture> readBmp(File& file);
std::optional<BmpPicture> loadBmp(FileSystem& files, std::string_view path);

}  // namespace tamiral
