#include "speech/midi_commands.h"

#include <array>
#include <optional>
#include <string>

#include "console/talking_console.h"
#include "engine/readers.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr uint32_t kNoteOn = 0x90;
constexpr uint32_t kProgramChange = 0xC0;
constexpr uint32_t kSystemReset = 0xFF;
constexpr int kChannels = 16;
constexpr int kNotes = 128;

uint32_t shortMessage(uint32_t status, int data1, int data2 = 0) {
  return status + static_cast<uint32_t>(data1) * 256 + static_cast<uint32_t>(data2) * 65536;
}

struct Range {
  int low, high;
};
constexpr Range kChannel{1, 16};
constexpr Range kData{0, 127};

// Values in their ranges, in order, with nothing left over.
template <size_t N>
std::optional<std::array<int, N>> takeNumbers(Runtime& rt, std::string_view args, const std::array<Range, N>& ranges) {
  std::array<int, N> numbers{};
  for (size_t i = 0; i < N; ++i) {
    std::optional<std::string> value = takeValue(rt.vars, args);
    std::optional<int32_t> number = value ? toInt(*value) : std::nullopt;
    if (!number || *number < ranges[i].low || *number > ranges[i].high) return std::nullopt;
    numbers[i] = *number;
  }
  if (!args.empty()) return std::nullopt;
  return numbers;
}

// A failed open is not reported: messages then go nowhere, and a program
// change says so.
bool start(Runtime& rt) {
  rt.midi->open();
  rt.midi->send(kSystemReset);
  rt.midi->send(63);
  rt.run.midiStarted = true;
  return true;
}

bool stop(Runtime& rt) {
  rt.midi->close();
  rt.run.midiStarted = false;
  return true;
}

bool silenceAll(Runtime& rt) {
  for (int channel = 0; channel < kChannels; ++channel) {
    for (int note = 0; note < kNotes; ++note) rt.midi->send(shortMessage(kNoteOn + channel, note, 0));
  }
  return true;
}

bool noteOn(Runtime& rt, std::string_view args) {
  auto numbers = takeNumbers<3>(rt, args, {kChannel, kData, kData});
  if (!numbers) return false;
  auto [channel, note, velocity] = *numbers;
  rt.midi->send(shortMessage(kNoteOn + channel - 1, note, velocity));
  return true;
}

bool noteOff(Runtime& rt, std::string_view args) {
  auto numbers = takeNumbers<2>(rt, args, {kChannel, kData});
  if (!numbers) return false;
  auto [channel, note] = *numbers;
  rt.midi->send(shortMessage(kNoteOn + channel - 1, note, 0));
  return true;
}

bool programChange(Runtime& rt, std::string_view args) {
  auto numbers = takeNumbers<2>(rt, args, {kChannel, kData});
  if (!numbers) return false;
  auto [channel, program] = *numbers;
  if (!rt.midi->send(shortMessage(kProgramChange + channel - 1, program))) rt.console.writeLine("erro em ProgramChange");
  return true;
}

}  // namespace

bool cmdMidi(Runtime& rt, std::string_view args) {
  std::string text = upperPt(trimBlanks(args));
  if (text.empty()) return false;
  bool started = rt.run.midiStarted;
  if (text == "INICIA") return !started && start(rt);
  if (!started) return false;
  if (text == "TERMINA") return stop(rt);
  if (text == "PANE") return silenceAll(rt);
  std::string_view code = std::string_view(text).substr(0, 2);
  std::string_view rest = trimBlanks(std::string_view(text).substr(code.size()));
  if (code == "NL") return noteOn(rt, rest);
  if (code == "ND") return noteOff(rt, rest);
  if (code == "TT") return programChange(rt, rest);
  return false;
}

}  // namespace tamiral
