// The talking console over the console model: what is written lands on the
// 80 x 25 grid, keys come from the model's key buffer. It knows no terminal:
// a front end draws the model (ConsoleFrontEnd) and feeds it input
// (ConsoleEvents), so the same console runs in a terminal or in a test.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "console/console_events.h"
#include "console/console_front_end.h"
#include "console/console_model.h"
#include "console/line_editor.h"
#include "console/voiced_console.h"

namespace tamiral {

class ModelConsole : public VoicedConsole {
 public:
  // Runs when the console goes away by itself (consoleDone) with the exit
  // status; it should end the process. If it returns, every later key read
  // gives Enter, so nothing waits on a console that is gone.
  using EndProgram = std::function<void(int status)>;

  // The [VIDEO] settings are read here, once. The line editor's utility keys
  // reach the machine through the devices.
  ModelConsole(ConsoleFrontEnd& screen, ConsoleEvents& events, Settings& settings, FileSystem& fs,
               EndProgram endProgram, EditorDevices devices = systemEditorDevices());

  void consoleInit() override { screen_.ensureCreated(); }
  void setWindowTitle(std::string_view title) override { model_.setWindowTitle(title); }
  // A terminal cannot be raised or restored from here.
  void restoreWindow() override {}
  void processMessages() override;
  void processAllMessages() override { processMessages(); }
  // Lasts the whole time (0..65535 ms) while sound plays in real time,
  // handling input meanwhile, so a key typed during a pause waits in the
  // buffer.
  void delayMs(int milliseconds) override;

  void writeText(std::string_view text) override;
  void writeLine(std::string_view text) override;
  void clearScreen() override { model_.clearScreen(); }
  void gotoXY(int column, int row) override;
  int whereX() override { return model_.whereX(); }
  int whereY() override { return model_.whereY(); }
  void setTextColor(int colour) override { model_.setTextColor(colour); }
  void setTextBackground(int colour) override { model_.setTextBackground(colour); }
  void copyToClipboard(std::string_view text) override { model_.copyToClipboard(text); }
  std::string pasteFromClipboard() override;
  uint8_t textAttr() override { return model_.textAttr(); }
  void setTextAttr(uint8_t attr) override { model_.setTextAttr(attr); }
  void clearEndOfLine() override { model_.clearEndOfLine(); }
  void drawMagnifiedLine(std::string_view text, int position) override { model_.drawMagnifiedLine(text, position); }
  void repaintConsole() override { model_.repaintConsole(); }

  bool keyPressed() override;
  // Waits with the caret shown.
  uint8_t readKey() override;
  KeyModifiers lastKeyModifiers() override { return lastModifiers_; }
  // A terminal reports cells: they become pixels at the console font's size.
  std::optional<PointerPosition> pointerPosition() override;
  // Extended keys are not characters: they are left out of the line.
  std::string readConsoleLine(int capacity) override { return readEchoedLine(capacity); }
  std::string readEditedLine() override { return editor_.readEditedLine(); }
  uint8_t editField(std::string& field, int x, int y, int width, int maxLength) override {
    return editor_.editField(field, x, y, width, maxLength);
  }

  // Also loads the low-vision settings, which every speech start reads.
  bool speechInit(int speed, std::string_view programSoundFolder) override;

  // The console goes away, as when its window is closed: pending keys are
  // dropped, the screen is given back, then the program ends.
  void consoleDone(int status);
  // The run is over: unless it failed, the title says the program ended;
  // then the screen is given back.
  void programEnded(bool normally);
  bool done() const { return done_; }

  ConsoleModel& model() { return model_; }
  LineEditor& editor() { return editor_; }

 private:
  void handle(const EventWait& wait);
  void pumpEvents(int timeoutMs);

  ConsoleFrontEnd& screen_;
  ConsoleEvents& events_;
  EndProgram endProgram_;
  ConsoleModel model_;
  LineEditor editor_;
  KeyModifiers lastModifiers_;
  bool done_ = false;
};

}  // namespace tamiral
