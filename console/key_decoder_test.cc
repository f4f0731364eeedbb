#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/cp1252.h"

namespace tamiral {

void PrintTo(const KeyEvent& event, std::ostream* out) {
  static const char* const kKinds[] = {"key", "mouse", "paste"};
  *out << kKinds[static_cast<int>(event.kind)] << "[";
  for (size_t i = 0; i < event.bytes.size(); ++i) {
    *out << (i ? "," : "") << static_cast<int>(static_cast<uint8_t>(event.bytes[i]));
  }
  *out << "]" << (event.shift ? " shift" : "") << (event.ctrl ? " ctrl" : "")
       << (event.alt ? " alt" : "");
  if (event.kind == KeyEvent::Kind::Mouse) *out << " at " << event.column << "," << event.row;
  if (event.kind == KeyEvent::Kind::Paste) *out << " " << testing::PrintToString(event.text);
}

namespace {

// mods: any of 's', 'c', 'a'.
KeyEvent withMods(KeyEvent event, std::string_view mods) {
  event.shift = mods.find('s') != std::string_view::npos;
  event.ctrl = mods.find('c') != std::string_view::npos;
  event.alt = mods.find('a') != std::string_view::npos;
  return event;
}

KeyEvent key(std::string bytes, std::string_view mods = "") {
  KeyEvent event;
  event.bytes = std::move(bytes);
  return withMods(event, mods);
}

KeyEvent ext(int code, std::string_view mods = "") {
  return key(std::string{'\0', static_cast<char>(code)}, mods);
}

KeyEvent click(std::string bytes, int column, int row, std::string_view mods = "") {
  KeyEvent event = key(std::move(bytes), mods);
  event.kind = KeyEvent::Kind::Mouse;
  event.column = column;
  event.row = row;
  return event;
}

KeyEvent pasted(std::string text) {
  KeyEvent event = ext(254, "s");
  event.kind = KeyEvent::Kind::Paste;
  event.text = std::move(text);
  return event;
}

const std::string kWheelUp{'\0', 72};
const std::string kWheelDown{'\0', 80};
const std::string kMiddle{'\0', 67};

struct Case {
  std::string input;
  std::vector<KeyEvent> expected;
  // The input ends in something only a time-out can resolve.
  bool endsWaiting = false;
};

std::vector<KeyEvent> appended(std::vector<KeyEvent> first, const std::vector<KeyEvent>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// Feeds the input whole, then byte by byte with time passing between the
// bytes (always less than the Esc time-out); both must give the same keys,
// and a complete input must give them at once, without waiting.
void checkCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.input));
    for (bool byteByByte : {false, true}) {
      SCOPED_TRACE(byteByByte ? "byte by byte" : "whole");
      KeyDecoder decoder;
      int64_t now = 1000;
      if (byteByByte) {
        for (char byte : c.input) {
          decoder.feed(static_cast<uint8_t>(byte), now);
          now += kEscTimeoutMs - 1;
        }
      } else {
        decoder.feed(c.input, now);
      }
      std::vector<KeyEvent> events = decoder.takeEvents();
      if (!c.endsWaiting) {
        EXPECT_EQ(events, c.expected);
        EXPECT_FALSE(decoder.deadlineMs().has_value());
      }
      decoder.tick(now + kStalledPasteMs);
      EXPECT_EQ(appended(events, decoder.takeEvents()), c.expected);
      EXPECT_FALSE(decoder.deadlineMs().has_value());
    }
  }
}

TEST(KeyDecoder, OrdinaryKeysAndText) {
  checkCases({
      {"a", {key("a")}},
      {"A", {key("A", "s")}},
      {"1 ?", {key("1"), key(" "), key("?")}},
      {"\r", {key("\r")}},
      {"\n", {key("\n", "c")}},  // Ctrl+J stands for Ctrl+Enter
      {"\t", {key("\t")}},
      {"\x7f", {key("\b")}},
      {"\b", {key("\x7f", "c")}},  // Ctrl+Backspace arrives as Ctrl+H
      {"\x01\x1a", {key("\x01", "c"), key("\x1a", "c")}},
      {std::string(1, '\0'), {key(" ", "c")}},  // Ctrl+Space never queues a 0 byte
      {"\x1c", {key("\x1c", "c")}},
      {"\xC3\xA1", {key("\xE1")}},
      {"\xC3\x87", {key("\xC7", "s")}},
      {"\xE2\x82\xAC", {key("\x80")}},
      {"\xE2\x98\x83", {key("?")}},  // no Windows-1252 byte for it
      {"\xF0\x9F\x98\x80!", {key("?"), key("!")}},
      {"\xE9t", {key("\xE9"), key("t")}},  // Latin-1 byte, not UTF-8
      {"\xFF", {key("\xFF")}},
      // Eight-bit meta, raw or as UTF-8: Ctrl+Alt+A.
      {"\xC2\x81", {ext(30, "ca")}},
      {"\x81", {ext(30, "ca")}},
      {"\xC2\x8Dx", {key("x")}},  // Alt+Enter
  });
}

TEST(KeyDecoder, AltAsEscPrefix) {
  checkCases({
      {"\x1b", {key("\x1b")}, true},
      {"\x1b" "ax", {key("x")}},  // Alt+letter alone gives nothing
      {"\x1b" "5x", {key("x")}},
      {"\x1b\xC3\xA1x", {key("x")}},
      {"\x1b\x01", {ext(30, "ca")}},
      {"\x1b\x1a", {ext(44, "ca")}},
      {"\x1b\x1b", {key("\x1b"), key("\x1b")}, true},
      {"\x1b\x1b\x1b", {key("\x1b"), key("\x1b"), key("\x1b")}, true},
      {"\x1b\x1b[D", {ext(75, "a")}},
      {"\x1b\x1bOC", {ext(77, "a")}},
      {"\x1b\x1b[Ax", {key("x")}},
      {"\x1b\x1b\x1b[D", {key("\x1b"), ext(75, "a")}},
      {"\x1b\x1b" "a", {key("\x1b")}},
  });
}

TEST(KeyDecoder, XtermAndTmuxSpecialKeys) {
  checkCases({
      {"\x1bOP\x1bOQ\x1bOR\x1bOS", {ext(59), ext(60), ext(61), ext(62)}},
      {"\x1b[1;2P", {ext(59, "s")}},
      {"\x1b[1;5P", {ext(94, "c")}},
      {"\x1b[1;3Px", {key("x")}},  // Alt+F1 belongs to the system
      {"\x1bO5P", {ext(94, "c")}},
      {"\x1b[15~\x1b[17~\x1b[18~\x1b[19~\x1b[20~",
       {ext(63), ext(64), ext(65), ext(66), ext(67)}},
      {"\x1b[23~\x1b[24~", {ext(69), ext(70)}},
      {"\x1b[15;2~", {ext(63, "s")}},
      {"\x1b[23;5~\x1b[24;5~", {ext(104, "c"), ext(105, "c")}},
      {"\x1b[21~x", {key("x")}},  // F10 without Ctrl gives nothing
      {"\x1b[21;2~x", {key("x")}},
      {"\x1b[21;5~", {ext(103, "c")}},
      {"\x1b[20;5~", {ext(102, "c")}},
      {"\x1b[20;7~", {ext(102, "ca")}},
      {"\x1b[20;6~", {ext(102, "ca")}},  // Ctrl+Shift+F9 stands for Ctrl+Alt+F9
      {"\x1b[19;6~", {ext(101, "sc")}},
      {"\x1b[A\x1b[B\x1b[C\x1b[D", {ext(72), ext(80), ext(77), ext(75)}},
      {"\x1bOA\x1bOD", {ext(72), ext(75)}},
      {"\x1b[1;5A\x1b[1;5B\x1b[1;5C\x1b[1;5D", {ext(113, "c"), ext(114, "c"), ext(116, "c"), ext(115, "c")}},
      {"\x1b[1;2B", {ext(80, "s")}},
      {"\x1b[5C", {ext(116, "c")}},
      {"\x1b[1;3D\x1b[1;3C", {ext(75, "a"), ext(77, "a")}},
      {"\x1b[1;4D", {ext(75, "sa")}},
      {"\x1b[1;3Ax", {key("x")}},
      {"\x1b[1;9C", {ext(77, "a")}},  // xterm's Meta counts as Alt
      {"\x1b[H\x1b[1~\x1bOH", {ext(71), ext(71), ext(71)}},
      {"\x1b[F\x1b[4~\x1bOF", {ext(79), ext(79), ext(79)}},
      {"\x1b[1;5H\x1b[1;5F", {ext(119, "c"), ext(117, "c")}},
      {"\x1b[2~\x1b[2;5~\x1b[2;2~", {ext(82), ext(255, "c"), ext(254, "s")}},
      {"\x1b[3~\x1b[3;5~", {ext(83), ext(83, "c")}},
      {"\x1b[5~\x1b[5;5~\x1b[6~\x1b[6;5~", {ext(73), ext(132, "c"), ext(81), ext(118, "c")}},
      {"\x1b[Z", {key("\t", "s")}},
      {"\x1bOM", {key("\r")}},  // keypad Enter in application mode
      {"\x1bOp\x1bOy\x1bOk\x1bOo", {key("0"), key("9"), key("+"), key("/")}},
      {"\x1b[A\x1b[Bq", {ext(72), ext(80), key("q")}},
  });
}

TEST(KeyDecoder, ExtendedKeyReports) {
  checkCases({
      {"\x1b[13;5u", {key("\n", "c")}},
      {"\x1b[13u", {key("\r")}},
      {"\x1b[127;5u", {key("\x7f", "c")}},
      {"\x1b[127u", {key("\b")}},
      {"\x1b[9;5u", {key("\t", "c")}},
      {"\x1b[27u", {key("\x1b")}},
      {"\x1b[65;6u", {key("\x01", "sc")}},
      {"\x1b[97;5u", {key("\x01", "c")}},
      {"\x1b[97;2u", {key("A", "s")}},
      {"\x1b[97;7u", {ext(30, "ca")}},
      {"\x1b[122;7u", {ext(44, "ca")}},
      {"\x1b[49;7u\x1b[48;7u", {ext(120, "ca"), ext(129, "ca")}},
      {"\x1b[49;5u", {key("1", "c")}},
      {"\x1b[97;3ux", {key("x")}},
      {"\x1b[225u", {key("\xE1")}},
      {"\x1b[97;5:3ux", {key("x")}},  // a release
      {"\x1b[27;5;13~", {key("\n", "c")}},
      {"\x1b[27;2;65~", {key("A", "s")}},
      {"\x1b[27;5;9~", {key("\t", "c")}},
      {"\x1b[27;7;98~", {ext(48, "ca")}},
  });
}

TEST(KeyDecoder, RxvtAndLinuxConsoleKeys) {
  checkCases({
      {"\x1b[11~\x1b[12~\x1b[13~\x1b[14~", {ext(59), ext(60), ext(61), ext(62)}},
      {"\x1b[7~\x1b[8~", {ext(71), ext(79)}},
      {"\x1b[a\x1b[b\x1b[c\x1b[d", {ext(72, "s"), ext(80, "s"), ext(77, "s"), ext(75, "s")}},
      {"\x1bOa\x1bOb\x1bOc\x1bOd", {ext(113, "c"), ext(114, "c"), ext(116, "c"), ext(115, "c")}},
      {"\x1b[2$\x1b[2^", {ext(254, "s"), ext(255, "c")}},
      {"\x1b[11^\x1b[7^", {ext(94, "c"), ext(119, "c")}},
      {"\x1b[20@", {ext(102, "ca")}},
      {"\x1b[25~\x1b[33~", {ext(61, "s"), ext(67, "s")}},
      {"\x1b[34~x", {key("x")}},  // Shift+F10
      {"\x1b[[A\x1b[[B\x1b[[E", {ext(59), ext(60), ext(63)}},
      {"\x1b\x1b[[A" "x", {key("x")}},
  });
}

TEST(KeyDecoder, MouseReports) {
  checkCases({
      {"\x1b[<0;10;5M", {click("\r", 9, 4)}},
      {"\x1b[<0;10;5mx", {key("x")}},  // releases are not keys
      {"\x1b[<2;1;1M", {click("\x1b", 0, 0)}},
      {"\x1b[<1;80;25M", {click(kMiddle, 79, 24)}},
      {"\x1b[<64;3;4M\x1b[<65;3;4M", {click(kWheelUp, 2, 3), click(kWheelDown, 2, 3)}},
      {"\x1b[<66;1;1Mx", {key("x")}},  // sideways wheel
      {"\x1b[<32;5;5Mx", {key("x")}},  // a drag
      {"\x1b[<16;2;3M", {click("\r", 1, 2, "c")}},
      {"\x1b[<4;2;3M", {click("\r", 1, 2, "s")}},
      {std::string("\x1b[M") + char(32) + char(33 + 9) + char(33 + 4) + "x", {click("\r", 9, 4), key("x")}},
      {"\x1b[M#!!x", {key("x")}},  // an old-style release
      {"\x1b[M`!!", {click(kWheelUp, 0, 0)}},
  });
}

TEST(KeyDecoder, BracketedPaste) {
  checkCases({
      {"\x1b[200~ab\x1b[Ac\x1b[20x\x1b\x1b[201~z", {pasted("ab\x1b[Ac\x1b[20x\x1b"), key("z")}},
      {"\x1b[200~l1\rl2\nl3\r\nfim\r\x1b[201~", {pasted("l1\r\nl2\r\nl3\r\nfim\r\n")}},
      {"\x1b[200~a\xC3\xA7\xC3\xA3o \xE2\x82\xAC\x1b[201~", {pasted(std::string("ação €"_cp))}},
      {"\x1b[200~\x1b[201~", {pasted("")}},
      {"\x1b[200~abc", {pasted("abc")}, true},  // the end marker never came
  });
}

TEST(KeyDecoder, GarbageIsDroppedAndTheNextKeyDecoded) {
  checkCases({
      {"\x1b[999~x", {key("x")}},
      {"\x1b[" + std::string(200, '1') + "~x", {key("x")}},
      {"\x1b[" + std::string(200, '1') + "\rx", {key("\r"), key("x")}},
      {"\x1b[1;1;1;1;1;1;1;1;1;1;1A" "x", {key("x")}},
      {"\x1b[1;99999999999Ax", {key("x")}},
      {"\x1b[1;5\rx", {key("\r"), key("x")}},
      {"\x1b[\x1b[Ax", {ext(72), key("x")}},
      {"\x1b[?1;2cx", {key("x")}},
      {"\x1b[>0;95;0cx", {key("x")}},
      {"\x1b[1 qx", {key("x")}},
      {"\x1b[Ix\x1b[Ox", {key("x"), key("x")}},  // focus reports
      {"\x1bO\x7fx", {key("\b"), key("x")}},
      {"\x1bOzx", {key("x")}},
      {"\x1bO" + std::string(100, '1') + "Px", {key("x")}},
      {"\x1b[[zx", {key("x")}},
      {"\x1b[201~x", {key("x")}},
      {"\x1b[<0;1Mx", {key("x")}},
      {"\x1b[M\r", {key("\r")}},
      {"\xC3(x", {key("\xC3", "s"), key("("), key("x")}},
      {"\xE2\x82x", {key("\xE2"), key("\x82"), key("x")}},
      {"\xED\xA0\x80x", {key("\xED"), key("\xA0"), key("\x80"), key("x")}},
  });
}

TEST(KeyDecoder, LoneEscWaitsForTheTimeOut) {
  KeyDecoder decoder;
  decoder.feed(0x1b, 0);
  ASSERT_EQ(decoder.deadlineMs(), std::optional<int64_t>(kEscTimeoutMs));
  decoder.tick(kEscTimeoutMs - 1);
  EXPECT_TRUE(decoder.takeEvents().empty());
  decoder.tick(kEscTimeoutMs);
  EXPECT_EQ(decoder.takeEvents(), std::vector<KeyEvent>{key("\x1b")});
  EXPECT_FALSE(decoder.deadlineMs().has_value());

  // A byte arriving after the time-out, with no tick between, is a key of its own.
  decoder.feed(0x1b, 1000);
  decoder.feed('a', 1000 + kEscTimeoutMs);
  EXPECT_EQ(decoder.takeEvents(), (std::vector<KeyEvent>{key("\x1b"), key("a")}));

  // Esc held down repeats faster than the time-out; every press counts.
  for (int i = 0; i < 5; ++i) decoder.feed(0x1b, 2000 + 33 * i);
  decoder.tick(2000 + 33 * 4 + kEscTimeoutMs);
  EXPECT_EQ(decoder.takeEvents(), std::vector<KeyEvent>(5, key("\x1b")));
}

TEST(KeyDecoder, UnfinishedSequencesTimeOut) {
  struct Stall {
    std::string start;
    int64_t pause;
    std::string rest;
    std::vector<KeyEvent> expected;
  } stalls[] = {
      // "ESC [" or "ESC O" alone was Alt with a character: nothing; what
      // follows later is typed text.
      {"\x1b[", kEscTimeoutMs, "A", {key("A", "s")}},
      {"\x1bO", kEscTimeoutMs, "P", {key("P", "s")}},
      // A sequence with parameters has clearly begun and may come in pieces.
      {"\x1b[1;5", kEscTimeoutMs * 4, "C", {ext(116, "c")}},
      {"\x1b[200~ab", kStalledSequenceMs, "c\x1b[201~", {pasted("abc")}},
      // But not forever.
      {"\x1b[1;5", kStalledSequenceMs, "C", {key("C", "s")}},
      {"\xC3", kStalledSequenceMs, "a", {key("\xC3", "s"), key("a")}},
      {"\x1b[200~ab", kStalledPasteMs, "c", {pasted("ab"), key("c")}},
  };
  for (const Stall& stall : stalls) {
    SCOPED_TRACE(testing::PrintToString(stall.start + stall.rest));
    KeyDecoder decoder;
    decoder.feed(stall.start, 0);
    decoder.tick(stall.pause);
    decoder.feed(stall.rest, stall.pause);
    EXPECT_EQ(decoder.takeEvents(), stall.expected);
    EXPECT_FALSE(decoder.deadlineMs().has_value());
  }
}

TEST(KeyDecoder, PasteArrivingInSeveralReads) {
  KeyDecoder decoder;
  decoder.feed("\x1b[200~primeira ", 0);
  decoder.feed("parte\x1b[2", 300);
  decoder.tick(600);
  decoder.feed("01~x", 900);
  EXPECT_EQ(decoder.takeEvents(), (std::vector<KeyEvent>{pasted("primeira parte"), key("x")}));
}

TEST(KeyDecoder, OverlongPasteIsCutAndTheNextKeyDecoded) {
  KeyDecoder decoder;
  decoder.feed("\x1b[200~" + std::string(kMaxPasteBytes + 100, 'p') + "\x1b[201~\x1b[B", 0);
  std::vector<KeyEvent> events = decoder.takeEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], pasted(std::string(kMaxPasteBytes, 'p')));
  EXPECT_EQ(events[1], ext(80));
}

// Whatever bytes come, a pause ends every sequence and the next key decodes.
TEST(KeyDecoder, RecoversFromRandomBytes) {
  std::mt19937 random(20240611);
  const std::string alphabet = "\x1b\x1b\x1b[[[OO0123456789;;:<?$^@~uMmAZ\x7f\r\x80\xC3\xA1\xE2\xF0";
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> anyByte(0, 255);
  KeyDecoder decoder;
  int64_t now = 0;
  for (int round = 0; round < 3000; ++round) {
    int n = length(random);
    for (int i = 0; i < n; ++i) {
      uint8_t byte = round % 3 == 0 ? static_cast<uint8_t>(anyByte(random))
                                    : static_cast<uint8_t>(alphabet[pick(random)]);
      decoder.feed(byte, now);
      now += round % 2;
    }
    now += kStalledPasteMs;
    decoder.tick(now);
    ASSERT_FALSE(decoder.deadlineMs().has_value()) << "round " << round;
    decoder.takeEvents();
    decoder.feed("\x1b[1;5A", now);
    ASSERT_EQ(decoder.takeEvents(), std::vector<KeyEvent>{ext(113, "c")}) << "round " << round;
  }
}

}  // namespace
}  // namespace tamiral
