// A small terminal for tests: it applies the bytes the terminal console sends
// and keeps what a terminal would then show, so a test compares that with the
// console model. It knows only the sequences a terminal console should send;
// anything else is kept in `errors`.
#pragma once

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cp1252.h"

namespace tamiral {

class TerminalReplay {
 public:
  // A colour as set by SGR: 24-bit (rgb) or a standard colour 0..15; -1 is
  // the terminal's default.
  struct Colour {
    bool rgb = false;
    int value = -1;
    bool operator==(const Colour&) const = default;
  };
  struct Cell {
    char32_t code = ' ';
    Colour text, background;
  };

  int columns, rows;
  int cursorRow = 0, cursorColumn = 0;
  bool cursorVisible = true;
  std::string title;
  std::string clipboard;  // OSC 52 payload, as sent
  int bells = 0;
  std::vector<int> lineSize;  // 5 single, 3 and 4 the halves of double size
  std::set<std::string> modes;  // private modes set with "h"
  std::vector<std::string> errors;

  explicit TerminalReplay(int columns_ = 80, int rows_ = 25)
      : columns(columns_), rows(rows_), lineSize(rows_, 5), bottom_(rows_ - 1), cells_(rows_ * columns_) {}

  void feed(std::string_view bytes) {
    for (char c : bytes) byte(static_cast<uint8_t>(c));
  }

  const Cell& at(int row, int column) const { return cells_[row * columns + column]; }

  // A row's characters in UTF-8 without trailing blanks.
  std::string rowText(int row) const {
    std::u32string codes;
    for (int column = 0; column < columns; ++column) codes += at(row, column).code;
    codes.erase(codes.find_last_not_of(U' ') + 1);
    std::string text;
    for (char32_t code : codes) {
      int byte = codePointToCp1252(code);
      text += cp1252ToUtf8(std::string(1, static_cast<char>(byte < 0 ? '?' : byte)));
    }
    return text;
  }

 private:
  enum class State { Ground, Escape, Csi, Osc, OscEscape, LineSize };

  void byte(uint8_t b) {
    switch (state_) {
      case State::Ground: ground(b); break;
      case State::Escape: escape(b); break;
      case State::Csi:
        if (b >= 0x40 && b <= 0x7E) {
          csi(static_cast<char>(b));
          state_ = State::Ground;
        } else {
          sequence_ += static_cast<char>(b);
        }
        break;
      case State::Osc:
        if (b == 7) osc();
        else if (b == 0x1b) state_ = State::OscEscape;
        else sequence_ += static_cast<char>(b);
        break;
      case State::OscEscape:
        if (b == '\\') osc();
        else error("ESC inside OSC");
        break;
      case State::LineSize:
        if (b >= '3' && b <= '5' && cursorRow < rows) lineSize[cursorRow] = b - '0';
        else error(std::string("ESC #") + static_cast<char>(b));
        state_ = State::Ground;
        break;
    }
  }

  void ground(uint8_t b) {
    if (b == 0x1b) {
      state_ = State::Escape;
    } else if (b == 7) {
      ++bells;
    } else if (b < 0x20 || b == 0x7F) {
      error("control byte " + std::to_string(b));
    } else {
      utf8_ += static_cast<char>(b);
      char32_t code = 0;
      if (decodeUtf8(utf8_, 0, code) == utf8_.size()) {
        put(code);
        utf8_.clear();
      } else if (utf8_.size() >= 4) {
        error("bad UTF-8");
        utf8_.clear();
      }
    }
  }

  void escape(uint8_t b) {
    sequence_.clear();
    state_ = State::Ground;
    if (b == '[') state_ = State::Csi;
    else if (b == ']') state_ = State::Osc;
    else if (b == '#') state_ = State::LineSize;
    else if (b != '=' && b != '>') error(std::string("ESC ") + static_cast<char>(b));
  }

  std::vector<int> params(std::string_view text) const {
    std::vector<int> list;
    int value = -1;
    for (char c : text) {
      if (c >= '0' && c <= '9') {
        value = (value < 0 ? 0 : value) * 10 + (c - '0');
      } else if (c == ';') {
        list.push_back(value);
        value = -1;
      }
    }
    list.push_back(value);
    return list;
  }

  void csi(char final) {
    std::string body = sequence_;
    if (!body.empty() && (body[0] == '?' || body[0] == '>')) {
      char prefix = body[0];
      std::string rest = body.substr(1);
      if (prefix == '?' && final == 'h') modes.insert(rest);
      else if (prefix == '?' && final == 'l') modes.erase(rest);
      else if (!(prefix == '>' && final == 'm') && !(prefix == '?' && (final == 's' || final == 'r')))
        error("CSI " + body + final);
      if (rest == "25" && (final == 'h' || final == 'l')) cursorVisible = final == 'h';
      return;
    }
    if (body.ends_with(' ') && final == 'q') return;  // caret shape
    std::vector<int> p = params(body);
    auto get = [&](size_t i, int fallback) { return i < p.size() && p[i] > 0 ? p[i] : fallback; };
    switch (final) {
      case 'H':
        cursorRow = std::min(get(0, 1), rows) - 1;
        cursorColumn = std::min(get(1, 1), columns) - 1;
        break;
      case 'C':
        cursorColumn = std::min(cursorColumn + get(0, 1), columns - 1);
        break;
      case 'S':
        scrollUp(get(0, 1));
        break;
      case 'r':
        top_ = get(0, 1) - 1;
        bottom_ = std::min(get(1, rows), rows) - 1;
        cursorRow = cursorColumn = 0;
        break;
      case 'J':
        if (get(0, 0) != 2) error("CSI " + body + "J");
        for (Cell& cell : cells_) cell = blank();
        break;
      case 'm':
        sgr(p);
        break;
      default:
        error("CSI " + body + final);
    }
  }

  void sgr(const std::vector<int>& p) {
    for (size_t i = 0; i < p.size(); ++i) {
      int code = p[i] < 0 ? 0 : p[i];
      if (code == 0) {
        text_ = background_ = Colour{};
      } else if ((code == 38 || code == 48) && i + 4 < p.size() && p[i + 1] == 2) {
        Colour colour{true, p[i + 2] << 16 | p[i + 3] << 8 | p[i + 4]};
        (code == 38 ? text_ : background_) = colour;
        i += 4;
      } else if (code >= 30 && code <= 37) {
        text_ = Colour{false, code - 30};
      } else if (code >= 90 && code <= 97) {
        text_ = Colour{false, code - 90 + 8};
      } else if (code >= 40 && code <= 47) {
        background_ = Colour{false, code - 40};
      } else if (code >= 100 && code <= 107) {
        background_ = Colour{false, code - 100 + 8};
      } else {
        error("SGR " + std::to_string(code));
      }
    }
  }

  void osc() {
    state_ = State::Ground;
    if (sequence_.starts_with("2;")) title = sequence_.substr(2);
    else if (sequence_.starts_with("52;c;")) clipboard = sequence_.substr(5);
    else error("OSC " + sequence_);
  }

  Cell blank() const { return Cell{U' ', {}, background_}; }

  void put(char32_t code) {
    if (cursorRow >= rows) return;
    cells_[cursorRow * columns + cursorColumn] = Cell{code, text_, background_};
    if (cursorColumn < columns - 1) ++cursorColumn;  // no autowrap: the last column is overwritten
  }

  void scrollUp(int count) {
    for (int i = 0; i < count; ++i) {
      for (int row = top_; row < bottom_; ++row)
        std::copy_n(cells_.begin() + (row + 1) * columns, columns, cells_.begin() + row * columns);
      std::fill_n(cells_.begin() + bottom_ * columns, columns, blank());
    }
  }

  void error(std::string what) { errors.push_back(std::move(what)); }

  State state_ = State::Ground;
  std::string sequence_;
  std::string utf8_;
  int top_ = 0, bottom_;
  Colour text_, background_;
  std::vector<Cell> cells_;
};

}  // namespace tamiral
