#include "console/plain_console.h"

#include "engine/cp1252.h"
#include "engine/text.h"

namespace tamiral {

namespace {

constexpr uint8_t kEnter = 13;
constexpr int kSoundStepMs = 10;

// Standard output holds plain lines: the console's CR LF becomes LF.
std::string outputBytes(std::string_view text) {
  std::string out = cp1252ToUtf8(text);
  std::erase(out, '\r');
  return out;
}

size_t utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 1;
}

}  // namespace

void PlainConsole::processMessages() {
  pumpInput(0);
  speech().onMessages();
}

// Sleeps in the input wait, so a key ends the delay's sleep at once (and is
// queued); outputs that are not real time need no sleep at all.
void PlainConsole::delayMs(int milliseconds) {
  unsigned char byte = 0;
  int sleep = speech().realTimeOutput() ? milliseconds : 0;
  bool keyed = false;
  // Sound beside speech (MIDI) is fed in short steps through the sleep.
  for (; !keyed && sleep > kSoundStepMs && speech().backgroundSounding(); sleep -= kSoundStepMs) {
    keyed = streams_.readByte(byte, kSoundStepMs);
    speech().onMessages();
  }
  if (keyed || streams_.readByte(byte, sleep)) queueInputByte(byte);
  pumpInput(0);
  speech().onDelay(milliseconds);
}

void PlainConsole::writeText(std::string_view text) { streams_.write(outputBytes(text)); }

void PlainConsole::writeLine(std::string_view text) { streams_.write(outputBytes(text) + "\n"); }

void PlainConsole::pumpInput(int timeoutMs) {
  unsigned char byte = 0;
  while (streams_.readByte(byte, timeoutMs)) {
    queueInputByte(byte);
    timeoutMs = 0;
  }
}

// Keys are Windows-1252 bytes: a UTF-8 sequence becomes its one byte; LF,
// CR and CR LF are one Enter.
void PlainConsole::queueInputByte(unsigned char byte) {
  bool afterCarriageReturn = lastWasCarriageReturn_;
  lastWasCarriageReturn_ = byte == '\r';
  if (byte == '\n') {
    if (!afterCarriageReturn) keys_.push_back(kEnter);
    return;
  }
  if (byte == '\r') {
    keys_.push_back(kEnter);
    return;
  }
  std::string sequence(1, static_cast<char>(byte));
  for (size_t needed = utf8SequenceLength(byte); sequence.size() < needed;) {
    unsigned char next = 0;
    if (!streams_.readByte(next, 100)) break;
    sequence += static_cast<char>(next);
  }
  for (char c : utf8ToCp1252(sequence)) keys_.push_back(static_cast<uint8_t>(c));
}

bool PlainConsole::keyPressed() {
  pumpInput(0);
  return !keys_.empty();
}

uint8_t PlainConsole::readKey() {
  while (keys_.empty() && speech().backgroundSounding() && !streams_.inputEnded()) {
    pumpInput(kSoundStepMs);
    speech().onMessages();
  }
  if (keys_.empty()) pumpInput(-1);
  if (keys_.empty()) return kEnter;  // input has ended
  uint8_t key = keys_.front();
  keys_.pop_front();
  return key;
}


// Standard output is a stream of lines, where the spoken line editor's field,
// redrawn in place at every key, cannot show: a plain line of up to 255
// characters is read instead.
std::string PlainConsole::readEditedLine() { return readConsoleLine(257); }

}  // namespace tamiral
