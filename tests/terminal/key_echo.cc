// For the terminal tests only: runs the terminal console and writes the code
// of every key read, as scripts see keys ("#13", "#0#59"); after Shift+Insert
// the clipboard follows in brackets. "p" pauses for three seconds with the
// caret hidden, "c" crashes, "q" ends the program.
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>

#include "console/model_console.h"
#include "console/terminal_front_end.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/terminal.h"
#include "platform/wave_sink.h"
#include "speech/settings.h"

namespace {

std::string keyText(tamiral::ModelConsole& console) {
  uint8_t key = console.readKey();
  if (key != 0) return "#" + std::to_string(key);
  uint8_t code = console.readKey();
  std::string text = "#0#" + std::to_string(code);
  if (code == 254) text += " [" + console.pasteFromClipboard() + "]";
  return text;
}

}  // namespace

int main() {
  using namespace tamiral;
  Settings settings(readEnvironment());
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  std::unique_ptr<Terminal> terminal = makeProcessTerminal();
  TerminalFrontEnd frontEnd(*terminal);
  ModelConsole console(frontEnd, frontEnd, settings, *fs, [](int status) { std::exit(status); });
  // A sound device (nothing is played) so that pauses last in real time.
  console.speech().useWaveSink(makeSoundDeviceSink("default"));
  console.clearScreen();
  console.setWindowTitle("teclas");
  console.writeLine("Pronto");
  for (;;) {
    std::string text = keyText(console);
    console.writeLine(text);
    if (text == "#113") break;  // q
    if (text == "#99") std::raise(SIGSEGV);  // c
    if (text == "#112") {  // p
      console.writeLine("pausa");
      console.delayMs(3000);
      console.writeLine("fim da pausa");
    }
  }
  console.programEnded(true);
  return 0;
}
