// What the terminal console costs: the bytes sent to the terminal for a
// one-line write, a scroll and a full repaint (24-bit and 16 colours), and
// the time from a key byte reaching the terminal to the key being in the key
// buffer, measured through a real pseudo-terminal, poll, read, decoder and
// key buffer.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/console_model.h"
#include "console/model_console.h"
#include "console/terminal_front_end.h"
#include "console/terminal_screen.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/terminal.h"
#include "speech/settings.h"
#include "tests/support/recording_front_end.h"

namespace tamiral {
namespace {

using SteadyClock = std::chrono::steady_clock;

// A screen full of text, the colours changing every ten cells.
void fillInColours(ConsoleModel& model) {
  for (int row = 1; row <= 25; ++row) {
    model.gotoXY(1, row);
    for (int block = 0; block < 8; ++block) {
      model.setTextColor((row + block) % 16);
      model.setTextBackground((row + 3 * block) % 8);
      model.writeBuffer(std::string(10, static_cast<char>('a' + (row + block) % 26)));
    }
  }
}

struct ByteCounts {
  size_t repaint, oneLine40, oneLine80, oneCell, scroll, scrollRepainted;
};

ByteCounts countBytes(bool trueColour) {
  TerminalTraits traits;
  traits.trueColour = trueColour;
  RecordingFrontEnd frontEnd;
  ConsoleModel model(VideoSettings{}, frontEnd);
  TerminalScreen screen(traits);
  ByteCounts counts{};
  screen.update(model);
  fillInColours(model);
  counts.repaint = screen.update(model).size();

  model.setTextColor(15);
  model.setTextBackground(0);
  model.gotoXY(1, 10);
  screen.update(model);
  model.writeBuffer(std::string(40, 'x') + "\r\n");
  counts.oneLine40 = screen.update(model).size();
  model.writeBuffer(std::string(80, 'y') + "\r\n");
  counts.oneLine80 = screen.update(model).size();
  model.writeBuffer("z");
  counts.oneCell = screen.update(model).size();

  model.gotoXY(1, 25);
  screen.update(model);
  model.writeBuffer("\r\n" + std::string(40, 'w'));
  counts.scroll = screen.update(model).size();

  // The same scroll on a terminal shorter than the grid, where the terminal's
  // own scroll cannot be used: every cell is sent again.
  traits.size.rows = 24;
  TerminalScreen shortScreen(traits);
  ConsoleModel other(VideoSettings{}, frontEnd);
  fillInColours(other);
  shortScreen.update(other);
  other.gotoXY(1, 25);
  other.writeBuffer("\r\n" + std::string(40, 'w'));
  counts.scrollRepainted = shortScreen.update(other).size();
  return counts;
}

void printByteCounts() {
  ByteCounts rgb = countBytes(true), ansi = countBytes(false);
  std::printf("Bytes sent to the terminal          24-bit   16 colours\n");
  std::printf("  full repaint (many colours)      %7zu   %7zu\n", rgb.repaint, ansi.repaint);
  std::printf("  one 40-character line + CR LF    %7zu   %7zu\n", rgb.oneLine40, ansi.oneLine40);
  std::printf("  one 80-character line + CR LF    %7zu   %7zu\n", rgb.oneLine80, ansi.oneLine80);
  std::printf("  one character                    %7zu   %7zu\n", rgb.oneCell, ansi.oneCell);
  std::printf("  scroll + 40 characters           %7zu   %7zu\n", rgb.scroll, ansi.scroll);
  std::printf("  the same, repainted (24 rows)    %7zu   %7zu\n", rgb.scrollRepainted, ansi.scrollRepainted);
}

void drain(int master) {
  char bytes[4096];
  while (::read(master, bytes, sizeof bytes) > 0) {
  }
}

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(p * (values.size() - 1))];
}

// The bench's standard input and output become the slave side of a
// pseudo-terminal; the bench types into the master side.
int measureKeyLatency(int results) {
  int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return 1;
  int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  if (slave < 0) return 1;
  ::fcntl(master, F_SETFL, O_NONBLOCK);
  ::dup2(slave, STDIN_FILENO);
  ::dup2(slave, STDOUT_FILENO);

  Settings settings(readEnvironment());
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  std::unique_ptr<Terminal> terminal = makeProcessTerminal();
  TerminalFrontEnd frontEnd(*terminal);
  ModelConsole console(frontEnd, frontEnd, settings, *fs, [](int status) { std::exit(status); });
  console.clearScreen();
  drain(master);

  struct Case {
    const char* name;
    std::string bytes;
    int keyBytes;
    int runs;
  } cases[] = {
      {"letter \"a\" (1 byte)", "a", 1, 5000},
      {"F1 (ESC O P)", "\x1bOP", 2, 5000},
      {"Ctrl+Right (ESC [1;5C)", "\x1b[1;5C", 2, 5000},
      {"lone Esc (waits for its time-out)", "\x1b", 1, 20},
  };
  dprintf(results, "\nKey byte written to the terminal -> key in the key buffer (microseconds)\n");
  dprintf(results, "  %-36s %8s %8s %8s\n", "key", "median", "p99", "max");
  for (const Case& c : cases) {
    std::vector<double> micros;
    for (int run = 0; run < c.runs; ++run) {
      auto start = SteadyClock::now();
      [[maybe_unused]] ssize_t put = ::write(master, c.bytes.data(), c.bytes.size());
      console.readKey();  // waits until the key is in the buffer, then takes its first byte
      micros.push_back(std::chrono::duration<double, std::micro>(SteadyClock::now() - start).count());
      for (int i = 1; i < c.keyBytes; ++i) console.readKey();
      drain(master);
    }
    dprintf(results, "  %-36s %8.1f %8.1f %8.1f\n", c.name, percentile(micros, 0.5), percentile(micros, 0.99),
            percentile(micros, 1.0));
  }
  console.programEnded(true);
  drain(master);
  return 0;
}

}  // namespace
}  // namespace tamiral

int main() {
  tamiral::printByteCounts();
  std::fflush(stdout);
  int results = ::dup(STDOUT_FILENO);
  return tamiral::measureKeyLatency(results);
}
