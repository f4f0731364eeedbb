// Turns the console model into the bytes a terminal needs to show it. Only
// cells that differ from what the terminal already shows are sent; a grid
// scroll becomes the terminal's own scroll; colours go through the colour map
// to 24-bit colours, or to the nearest of the 16 standard ones where 24-bit
// colour is not known to work. The magnifier strip is drawn over the top of
// the grid: twice as large on terminals with double-size lines, else at the
// normal size in its own colours. Pictures are not drawn.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/console_model.h"
#include "platform/terminal.h"

namespace tamiral {

struct TerminalTraits {
  bool trueColour = false;
  bool doubleSizeLines = false;
  TerminalSize size;
};

// tmux shows 24-bit colour but sets no COLORTERM; double-size lines work in
// xterm-like terminals, not inside tmux or screen.
TerminalTraits terminalTraits(const TerminalEnvironment& environment, TerminalSize size);

// Modes for the console's run: alternate screen, no autowrap, hidden
// underline caret, mouse presses in SGR form, bracketed paste, extended keys,
// Alt as an Esc prefix, keypad application mode. The leave bytes undo them.
std::string_view terminalEnterBytes();
std::string_view terminalLeaveBytes();

// OSC 2 with the title in UTF-8, control characters left out.
std::string terminalTitleBytes(std::string_view title);
// OSC 52: the system clipboard gets the text (UTF-8) where the terminal allows.
std::string terminalClipboardBytes(std::string_view text);

class TerminalScreen {
 public:
  explicit TerminalScreen(TerminalTraits traits = {});

  // The bytes that bring the terminal up to date with the model; takes the
  // model's change record.
  std::string update(ConsoleModel& model);
  // The terminal changed size or lost what it showed: the next update draws
  // everything again.
  void reset(TerminalTraits traits);
  // The caret shows at the cursor from the next update on.
  void setCaretShown(bool shown) { caretWanted_ = shown; }
  const TerminalTraits& traits() const { return traits_; }

 private:
  static constexpr int kRows = ConsoleModel::kRows;
  static constexpr int kColumns = ConsoleModel::kColumns;

  struct Cell {
    uint8_t character = ' ';
    uint8_t attr = 0;
    bool known = false;  // false: the terminal may show anything there
    bool operator==(const Cell&) const = default;
  };
  using Row = std::array<Cell, kColumns>;

  void forgetRows(int first, int last);
  void dropDoubleSize();
  void scroll(int rows);
  void drawRow(int row, const Row& wanted, int left, int right);
  void drawStrip(const MagnifierStrip& strip);
  Row stripRow(const MagnifierStrip& strip) const;
  Row modelRow(const ConsoleModel& model, int row) const;
  void placeCursor(const ConsoleModel& model);
  void moveTo(int row, int column);
  void setColours(const ColourMap& map, uint8_t attr);
  bool visible(int row, int column) const;

  TerminalTraits traits_;
  std::string out_;
  std::array<Row, kRows> shown_;
  std::array<bool, kRows> rowForgotten_;
  bool regionPending_ = true;   // the scroll region still has to be set
  bool doubleSizeShown_ = false;  // the strip is drawn on double-size rows 1 and 2
  std::optional<uint8_t> colours_;  // attr whose colours the terminal has set
  std::optional<std::pair<int, int>> cursor_;  // row, column; none: unknown
  bool caretWanted_ = false;
  bool caretShown_ = false;
  const ColourMap* map_ = nullptr;
};

}  // namespace tamiral
