#include "console/console_model.h"

#include <algorithm>
#include <utility>

namespace tamiral {

namespace {
constexpr uint8_t kBell = 7, kBackspace = 8, kLineFeed = 10, kCarriageReturn = 13;
}  // namespace

bool ConsoleChanges::any() const {
  return scrolls > 0 || cursorMoved || picture || magnifier ||
         std::any_of(rows.begin(), rows.end(), [](const RowSpan& span) { return !span.empty(); });
}

ConsoleModel::ConsoleModel(const VideoSettings& video, ConsoleFrontEnd& frontEnd)
    : video_(video), frontEnd_(frontEnd), textAttr_(video.textAttr) {
  chars_.fill(' ');
  attrs_.fill(textAttr_);
}

void ConsoleModel::markCells(int row, int left, int right) {
  if (left >= right) return;
  RowSpan& span = changes_.rows[row];
  span = span.empty() ? RowSpan{left, right} : RowSpan{std::min(span.left, left), std::max(span.right, right)};
}

void ConsoleModel::markAll() {
  for (int row = 0; row < kRows; ++row) markCells(row, 0, kColumns);
}

void ConsoleModel::blank(int row, int left, int right) {
  std::fill(chars_.begin() + index(left, row), chars_.begin() + index(right, row), ' ');
  std::fill(attrs_.begin() + index(left, row), attrs_.begin() + index(right, row), textAttr_);
  markCells(row, left, right);
}

void ConsoleModel::scrollUp() {
  std::copy(chars_.begin() + kColumns, chars_.end(), chars_.begin());
  std::copy(attrs_.begin() + kColumns, attrs_.end(), attrs_.begin());
  blank(kRows - 1, 0, kColumns);
  markAll();
  ++changes_.scrolls;
}

void ConsoleModel::newLine() {
  if (++row_ >= kRows) {
    row_ = kRows - 1;
    scrollUp();
  }
}

void ConsoleModel::writeBuffer(std::string_view bytes) {
  frontEnd_.ensureCreated();
  int startColumn = column_, startRow = row_;
  for (char c : bytes) {
    auto byte = static_cast<uint8_t>(c);
    if (byte == kBell) {
      frontEnd_.bell();
    } else if (byte == kBackspace) {
      if (column_ > 0) {
        --column_;
        blank(row_, column_, column_ + 1);
      }
    } else if (byte == kLineFeed) {
      newLine();
      column_ = 0;
    } else if (byte == kCarriageReturn) {
      column_ = 0;
    } else if (byte >= 32) {
      if (column_ == kColumns) {
        column_ = 0;
        newLine();
      }
      chars_[index(column_, row_)] = byte;
      attrs_[index(column_, row_)] = textAttr_;
      markCells(row_, column_, column_ + 1);
      ++column_;
    }
  }
  if (column_ != startColumn || row_ != startRow) changes_.cursorMoved = true;
  frontEnd_.flush();
}

void ConsoleModel::gotoXY(int column, int row) {
  column_ = std::clamp(column, 1, kColumns) - 1;
  row_ = std::clamp(row, 1, kRows) - 1;
  changes_.cursorMoved = true;
}

void ConsoleModel::clearScreen() {
  frontEnd_.ensureCreated();
  for (int row = 0; row < kRows; ++row) blank(row, 0, kColumns);
  column_ = row_ = 0;
  changes_.cursorMoved = true;
  frontEnd_.flush();
}

void ConsoleModel::clearEndOfLine() {
  frontEnd_.ensureCreated();
  // At column 81 there is nothing left on the row to clear.
  if (column_ < kColumns) blank(row_, column_, kColumns);
  frontEnd_.flush();
}

void ConsoleModel::setTextColor(int colour) {
  frontEnd_.ensureCreated();
  if (!video_.fixedColours) textAttr_ = static_cast<uint8_t>((textAttr_ & 0xF0) | (colour & 0x0F));
}

void ConsoleModel::setTextBackground(int colour) {
  frontEnd_.ensureCreated();
  if (!video_.fixedColours) textAttr_ = static_cast<uint8_t>((textAttr_ & 0x0F) | ((colour * 16) & 0xF0));
}

uint8_t ConsoleModel::screenCharAt(int column, int row) const {
  if (column < 1 || column > kColumns || row < 1 || row > kRows) return 0;
  return chars_[index(column - 1, row - 1)];
}

uint8_t ConsoleModel::screenAttrAt(int column, int row) const {
  if (column < 1 || column > kColumns || row < 1 || row > kRows) return 0;
  return attrs_[index(column - 1, row - 1)];
}

std::string ConsoleModel::screenText() const {
  std::string text;
  for (int row = 0; row < kRows; ++row) {
    std::string_view line(reinterpret_cast<const char*>(chars_.data() + index(0, row)), kColumns);
    size_t end = line.find_last_not_of(' ');
    text.append(line.substr(0, end == std::string_view::npos ? 0 : end + 1));
    text.push_back('\n');
  }
  return text;
}

void ConsoleModel::setWindowTitle(std::string_view title) {
  title_ = title.substr(0, kMaxTitle);
  frontEnd_.titleChanged(title_);
}

void ConsoleModel::copyToClipboard(std::string_view text) {
  clipboard_ = text.substr(0, text.find('\0'));
  frontEnd_.clipboardChanged(clipboard_);
}

std::string ConsoleModel::pasteFromClipboard(int capacity) const {
  if (capacity < 1) return {};
  return clipboard_.substr(0, static_cast<size_t>(capacity) - 1);
}

bool ConsoleModel::keyPressed() {
  frontEnd_.ensureCreated();
  return !keys_.empty();
}

bool ConsoleModel::loadPicture(FileSystem& files, std::string_view path) {
  std::optional<BmpPicture> loaded = loadBmp(files, path);
  if (!loaded) return false;
  picture_ = std::move(loaded);
  // Not drawn yet: it shows at the next repaint or drawPicture.
  pictureX_ = pictureY_ = 0;
  return true;
}

void ConsoleModel::drawPicture(int x, int y) {
  if (!picture_) return;
  pictureX_ = x;
  pictureY_ = y;
  changes_.picture = true;
  frontEnd_.flush();
}

void ConsoleModel::clearPicture() {
  picture_.reset();
  changes_.picture = true;
  markAll();
  frontEnd_.flush();
}

void ConsoleModel::loadLowVisionSettings(const Settings& settings) {
  loadLowVisionSettings(readLowVisionSettings(settings));
}

void ConsoleModel::loadLowVisionSettings(const LowVisionSettings& settings) {
  if (settings.factor != 0) frontEnd_.ensureCreated();
  magnifier_.configure(settings);
  // Set to 0 by a later speech start, the magnifier goes off rather than
  // dividing the window by a zero factor.
  if (!magnifier_.on() && strip_) repaintConsole();
}

void ConsoleModel::drawMagnifiedLine(std::string_view text, int position) {
  std::optional<MagnifierStrip> strip = magnifier_.strip(text, position);
  if (!strip) return;
  strip_ = std::move(strip);
  changes_.magnifier = true;
  frontEnd_.flush();
}

void ConsoleModel::repaintConsole() {
  if (strip_) {
    strip_.reset();
    changes_.magnifier = true;
  }
  markAll();
  frontEnd_.flush();
}

ConsoleChanges ConsoleModel::takeChanges() { return std::exchange(changes_, ConsoleChanges{}); }

}  // namespace tamiral
