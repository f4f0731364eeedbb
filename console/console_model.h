// The console as data: 80 x 25 cells of character and colour byte, the
// cursor, the colour of the next text, the key queue, the clipboard, the
// picture and the magnifier strip. Front ends draw it and feed it keys; it
// calls them back through ConsoleFrontEnd and records which cells changed so
// they redraw only those. Coordinates in the public operations are 1-based.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/bmp_picture.h"
#include "console/console_front_end.h"
#include "console/console_settings.h"
#include "console/key_buffer.h"
#include "console/magnifier.h"
#include "platform/file_system.h"
#include "speech/settings.h"

namespace tamiral {

// Columns [left, right) of one row.
struct RowSpan {
  int left = 0, right = 0;
  bool empty() const { return left >= right; }
  bool operator==(const RowSpan&) const = default;
};

// What changed since a front end last asked.
struct ConsoleChanges {
  std::array<RowSpan, 25> rows;  // cells to redraw, row 0 first
  int scrolls = 0;               // times the grid moved up a row
  bool cursorMoved = false;
  bool picture = false;    // drawn, moved or removed
  bool magnifier = false;  // strip drawn or removed
  bool any() const;
};

class ConsoleModel {
 public:
  static constexpr int kColumns = 80;
  static constexpr int kRows = 25;
  static constexpr size_t kMaxTitle = 79;

  ConsoleModel(const VideoSettings& video, ConsoleFrontEnd& frontEnd);

  const VideoSettings& video() const { return video_; }
  uint8_t textAttr() const { return textAttr_; }
  // The whole colour byte, fixed colours or not (a hidden password is
  // written in colour 0 on 0).
  void setTextAttr(uint8_t attr) { textAttr_ = attr; }

  // Output. Bytes 32..255 are shown; BEL rings, BS rubs out the cell to the
  // left, LF starts the next row, CR returns to column 1; other control bytes
  // (tab included) are ignored. The cursor may rest at column 81 after the
  // last cell of a row until the next character wraps.
  void writeBuffer(std::string_view bytes);
  void writeChar(uint8_t byte) { writeBuffer(std::string_view(reinterpret_cast<const char*>(&byte), 1)); }
  void gotoXY(int column, int row);
  int whereX() const { return column_ + 1; }
  int whereY() const { return row_ + 1; }
  void clearScreen();
  void clearEndOfLine();
  // Ignored while colours are fixed by the settings.
  void setTextColor(int colour);
  void setTextBackground(int colour);
  // 0 outside the grid.
  uint8_t screenCharAt(int column, int row) const;
  uint8_t screenAttrAt(int column, int row) const;
  // The 25 rows, each without its trailing blanks and ending in "\n".
  std::string screenText() const;

  void setWindowTitle(std::string_view title);
  const std::string& title() const { return title_; }

  // The process's own clipboard; the text ends at its first zero byte, as a
  // platform clipboard text would.
  void copyToClipboard(std::string_view text);
  // At most capacity - 1 characters; empty for a capacity below 1.
  std::string pasteFromClipboard(int capacity) const;

  KeyBuffer& keys() { return keys_; }
  // The cell (0-based) under the mouse pointer at its last report.
  void notePointer(int column, int row) { pointer_ = {column, row}; }
  std::optional<std::pair<int, int>> pointerCell() const { return pointer_; }
  // True when a key waits; the console must exist to have received one.
  bool keyPressed();

  // A loaded picture sits at 0, 0 until drawPicture places it; a failed load
  // keeps the previous one.
  bool loadPicture(FileSystem& files, std::string_view path);
  void drawPicture(int x, int y);
  void clearPicture();
  const BmpPicture* picture() const { return picture_ ? &*picture_ : nullptr; }
  int pictureX() const { return pictureX_; }
  int pictureY() const { return pictureY_; }

  void loadLowVisionSettings(const Settings& settings);
  void loadLowVisionSettings(const LowVisionSettings& settings);
  const Magnifier& magnifier() const { return magnifier_; }
  // Keeps the strip for the front end; nothing while the magnifier is off.
  void drawMagnifiedLine(std::string_view text, int position);
  const std::optional<MagnifierStrip>& magnifierStrip() const { return strip_; }
  // Every cell drawn again; the strip goes.
  void repaintConsole();

  // The record of changes since the last call, which starts a new one.
  ConsoleChanges takeChanges();

 private:
  int index(int column, int row) const { return row * kColumns + column; }
  void markCells(int row, int left, int right);
  void markAll();
  void newLine();
  void scrollUp();
  void blank(int row, int left, int right);

  VideoSettings video_;
  ConsoleFrontEnd& frontEnd_;
  std::array<uint8_t, kColumns * kRows> chars_;
  std::array<uint8_t, kColumns * kRows> attrs_;
  int column_ = 0;  // 0..80: 80 is past the last cell until the next character
  int row_ = 0;
  uint8_t textAttr_;
  std::string title_;
  std::string clipboard_;
  KeyBuffer keys_;
  std::optional<BmpPicture> picture_;
  int pictureX_ = 0, pictureY_ = 0;
  Magnifier magnifier_;
  std::optional<MagnifierStrip> strip_;
  ConsoleChanges changes_;
  std::optional<std::pair<int, int>> pointer_;
};

}  // namespace tamiral
