// The runtime context: one object owns every process-wide store of the
// engine and reaches the console, speech and the clock through interfaces.
// Handlers receive it; a test makes a fresh one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/folder_search.h"
#include "commands/handle_table.h"
#include "commands/byte_files.h"
#include "console/menus.h"
#include "engine/lists.h"
#include "engine/program_store.h"
#include "engine/variables.h"
#include "platform/media_control.h"
#include "platform/midi_output.h"

namespace tamiral {

class TalkingConsole;
class Clock;
class FileSystem;

struct RunState {
  int currentLine = 1;  // jumps store the line before the next one to run
  bool errorFlag = false;
  bool stopRequested = false;
  bool quietEnd = false;
  std::string_view commandWord;  // the command table's word for the command running
  int32_t ioStatus = 0;
  std::vector<int32_t> callStack;
  bool debugTrace = false;
  int nestedSe = 0;  // one-line SE commands running inside one another
  bool midiStarted = false;
};

// Taken at reset; TEMPO counts hundredths of a second from it.
struct TimeReference {
  int weekday = 0;
  int32_t hundredths = 0;
};

struct Runtime {
  Runtime(TalkingConsole& console_, Clock& clock_, FileSystem& fs_) : console(console_), clock(clock_), fs(fs_) {}

  TalkingConsole& console;
  Clock& clock;
  FileSystem& fs;
  ProgramStore program;
  RunState run;
  VariableStore vars;
  ListTable lists;
  ByteFileState byteFiles;  // not cleared by a reset
  HandleTable handles;
  FolderSearch folderSearch;
  // Media control strings and the MIDI output; a program gives the real ones.
  std::unique_ptr<MediaControl> media = std::make_unique<NoMediaControl>();
  std::unique_ptr<MidiOutput> midi = std::make_unique<NoMidiOutput>();
  std::optional<Menu> menu;  // made by MENU CRIA, gone after MENU TERMINA
  uint32_t randomSeed = 0;
  TimeReference timeReference;
  std::vector<std::string> params;  // command-line parameters, Windows-1252
  std::string programName;
};

}  // namespace tamiral
