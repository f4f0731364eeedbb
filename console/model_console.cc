#include "console/model_console.h"

#include <algorithm>
#include <limits>

namespace tamiral {

namespace {

constexpr uint8_t kEnter = 13;
constexpr int kLongestDelayMs = 65535;
// While sound plays, a waiting reader wakes this often to hand finished
// blocks to playback; otherwise it sleeps until input comes.
constexpr int kSoundStepMs = 10;

}  // namespace

ModelConsole::ModelConsole(ConsoleFrontEnd& screen, ConsoleEvents& events, Settings& settings, FileSystem& fs,
                           EndProgram endProgram, EditorDevices devices)
    : VoicedConsole(settings, fs),
      screen_(screen),
      events_(events),
      endProgram_(std::move(endProgram)),
      model_(readVideoSettings(settings), screen),
      editor_(*this, std::move(devices)) {
  events_.bind(model_);
}

void ModelConsole::handle(const EventWait& wait) {
  if (wait.endStatus && !done_) consoleDone(*wait.endStatus);
}

void ModelConsole::pumpEvents(int timeoutMs) {
  if (!done_) handle(events_.wait(timeoutMs));
}

void ModelConsole::processMessages() {
  pumpEvents(0);
  speech().onMessages();
}

// Outputs that are not real time (a capture file, no sound) finish blocks on
// the clock that delays move, so their waits need no sleep at all.
void ModelConsole::delayMs(int milliseconds) {
  milliseconds = std::clamp(milliseconds, 0, kLongestDelayMs);
  int sleep = speech().realTimeOutput() ? milliseconds : 0;
  int64_t end = events_.nowMs() + sleep;
  for (int64_t left = sleep; !done_; left = end - events_.nowMs()) {
    // Sound beside speech (MIDI) is fed in short steps through the sleep.
    bool feeding = speech().backgroundSounding();
    int64_t wait = std::max<int64_t>(left, 0);
    pumpEvents(static_cast<int>(feeding ? std::min<int64_t>(wait, kSoundStepMs) : wait));
    if (feeding) speech().onMessages();
    if (left <= 0) break;
  }
  speech().onDelay(milliseconds);
}

// Each write is drawn at once and then pending input is handled, so a key
// pressed during output is queued straight away.
void ModelConsole::writeText(std::string_view text) {
  model_.writeBuffer(text);
  processMessages();
}

void ModelConsole::writeLine(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  writeText(line);
}

void ModelConsole::gotoXY(int column, int row) {
  model_.gotoXY(column, row);
  screen_.flush();
}

std::string ModelConsole::pasteFromClipboard() {
  return model_.pasteFromClipboard(std::numeric_limits<int>::max());
}

bool ModelConsole::keyPressed() {
  consoleInit();
  pumpEvents(0);
  return !model_.keys().empty();
}

uint8_t ModelConsole::readKey() {
  if (!keyPressed() && !done_) {
    events_.setReading(true);
    while (model_.keys().empty() && !done_) {
      bool sounding = speech().wave().queuedBlocks() > 0 || speech().backgroundSounding();
      pumpEvents(sounding ? kSoundStepMs : -1);
      if (sounding) speech().onMessages();
    }
    if (!done_) events_.setReading(false);
  }
  std::optional<QueuedKey> key = model_.keys().pop();
  lastModifiers_ = key ? key->modifiers : KeyModifiers{};
  return key ? key->code : kEnter;
}


// The low-vision keys are read with the legacy fallback on, as LEGADO
// itself is; the speech start then sets the fallback from LEGADO.
std::optional<TalkingConsole::PointerPosition> ModelConsole::pointerPosition() {
  std::optional<std::pair<int, int>> cell = model_.pointerCell();
  if (!cell) return std::nullopt;
  // No desktop to measure: the font size a 1024 x 734 work area gives.
  FontSize font = consoleFontSize(model_.video(), 1024, 734);
  return PointerPosition{cell->first * font.width, cell->second * font.height};
}

bool ModelConsole::speechInit(int speed, std::string_view programSoundFolder) {
  settings().setLegacyFallback(true);
  model_.loadLowVisionSettings(settings());
  return VoicedConsole::speechInit(speed, programSoundFolder);
}

void ModelConsole::consoleDone(int status) {
  if (done_) return;
  done_ = true;
  model_.keys().clear();
  events_.close();
  endProgram_(status);
}

void ModelConsole::programEnded(bool normally) {
  if (done_) return;
  if (normally) model_.setWindowTitle("Programa terminado");
  done_ = true;
  events_.close();
}

}  // namespace tamiral
