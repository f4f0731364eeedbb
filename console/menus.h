// Spoken menus: a list of texts drawn in a box of the console. The user
// moves through it with the arrow, page, Home and End keys, hears each item
// as it becomes current, marks items (Space, +, -, *, / and the Shift moves),
// and leaves it with Enter, Esc, a letter or a function key, which goes back
// to the script with the item that was current.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/key_text.h"

namespace tamiral {

class TalkingConsole;

// Columns and rows of the console, 1-based, as the script gave them.
struct MenuBox {
  int left = 1, top = 1, right = 1, bottom = 1;
  int64_t width() const { return int64_t{right} - left + 1; }
  int64_t height() const { return int64_t{bottom} - top + 1; }
};

// The one menu of the process.
struct Menu {
  MenuBox box;
  std::vector<std::string> items;
  std::vector<bool> marks;  // one per item; they last from run to run
  int64_t firstShown = 0;   // index of the item on the box's first row
  int defaultStart = 1;     // the start item when the script gives none

  void add(std::string item) {
    items.push_back(std::move(item));
    marks.push_back(false);
  }
};

struct MenuChoice {
  int64_t number = 0;  // 1-based; 0 before the first item, count + 1 after the last
  KeyPress key;        // the key that ended the run
};

// Runs the list from a 1-based start item until a key ends it; textAttr is
// as it was afterwards and the magnifier strip is gone.
MenuChoice runMenu(TalkingConsole& console, Menu& menu, int start);

// Overwrites the box with blanks and leaves the cursor at its first cell.
void blankMenuBox(TalkingConsole& console, const MenuBox& box);

}  // namespace tamiral
