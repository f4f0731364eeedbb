#include "console/line_editor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/key_script.h"
#include "tests/support/recording_console.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/scripted_events.h"
#include "tests/support/settings_fixture.h"

namespace tamiral {
namespace {

using Heard = std::vector<std::string>;

class LineEditorTest : public SettingsFolderTest {
 protected:
  EditorDevices devices() {
    auto fakeClock = std::make_unique<FakeClock>();
    auto fakePower = std::make_unique<FakePowerStatus>();
    auto fakeLauncher = std::make_unique<FakeLauncher>();
    clock = fakeClock.get();
    power = fakePower.get();
    launcher = fakeLauncher.get();
    return {std::move(fakeClock), std::move(fakePower), std::move(fakeLauncher)};
  }

  // Edits a field on row 1 with the keys of a script; gives the key that
  // ended the editing. What is heard is recorded from here on.
  uint8_t edit(std::string& field, std::string_view keys, int maxLength = 80, int width = 79) {
    typeKeys(events, keys);
    console.heard.clear();
    return console.editField(field, 1, 1, width, maxLength);
  }

  std::string row(int r) { return console.row(r); }

  Settings settings_ = settings();
  std::unique_ptr<FileSystem> fs = makeLinuxFileSystem();
  RecordingFrontEnd screen;
  ScriptedEvents events;
  FakeClock* clock = nullptr;
  FakePowerStatus* power = nullptr;
  FakeLauncher* launcher = nullptr;
  RecordingConsole console{screen, events, settings_, *fs, [](int) {}, devices()};
};

TEST_F(LineEditorTest, KeysEditTheFieldAndSayWhatTheyDid) {
  struct Case {
    std::string_view name;
    std::string offered;
    int maxLength;
    std::string_view keys;
    std::string field;
    Heard heard;
  } cases[] = {
      {"typing first replaces the offered text", "abc", 80, "x<Enter>", "x", {"click", "click", "char:x"}},
      {"moving first keeps it", "abc", 80, "<Right>x<Enter>", "axbc", {"char:a", "char:x"}},
      {"a full field pushes its last character out", "abcde", 5, "<Right>x<Enter>", "axbcd", {"char:a", "char:x"}},
      {"typing past the last position beeps", "abcde", 5, "<End>x<Enter>", "abcde", {"beep"}},
      {"backspace at the first position beeps", "", 80, "<BS><Enter>", "", {"beep"}},
      {"backspace says what it removed", "", 80, "ab<BS><Enter>", "a",
       {"char:a", "char:b", "item:_DEL", "char:b"}},
      {"delete on the last blank", "ab", 3, "<End><Del><Enter>", "ab", {"item:_DEL", "char: "}},
      {"delete past the field beeps", "abc", 3, "<End><Del><Enter>", "abc", {"beep"}},
      {"three shift+right then delete", "abcdef", 80, "<Shift+Right><Shift+Right><Shift+Right><Del><Enter>", "def",
       {"char:a", "char:b", "char:c", "item:_DEL", "spell:abc"}},
      {"a plain key drops the selection", "abcdef", 80, "<Shift+Right><Right><Del><Enter>", "abdef",
       {"char:a", "char:b", "item:_DEL", "char:c"}},
      {"ctrl+backspace deletes the word and its blanks", "um dois tres", 80, "<Ctrl+Right><Ctrl+BS><Enter>",
       "um tres", {"click", "click", "item:_DEL", "spell:dois "}},
      {"ctrl+backspace inside a word starts at its first letter", "um dois", 80,
       "<Ctrl+Right><Right><Right><Ctrl+BS><Enter>", "um",
       {"click", "char:d", "char:o", "click", "beep", "item:_DEL", "spell:dois"}},
      {"ctrl+d blanks to the end", "abcdef", 80, "<Right><Right><Ctrl+D><Enter>", "ab",
       {"char:a", "char:b", "item:_APFCPO"}},
      {"ctrl+s deletes before the cursor", "abcdef", 80, "<Right><Right><Ctrl+S><Enter>", "cdef",
       {"char:a", "char:b", "item:_APICPO"}},
      {"ctrl+y blanks the field", "abcdef", 80, "<End><Ctrl+Y><Enter>", "", {"item:_CPOAPA"}},
      {"ctrl+u gives the offered text back", "abc", 80, "x<Ctrl+U><Enter>", "abc",
       {"click", "click", "char:x", "beep", "beep", "beep"}},
      {"ctrl+k says the position", "abc", 80, "<End><Ctrl+K><Enter>", "abc", {"say:4"}},
      {"ctrl+f1 says the field", "bom dia", 80, "<Ctrl+F1><Enter>", "bom dia", {"say:bom dia"}},
      {"word moves click, and beep at the ends", "ab 12cd", 80,
       "<Ctrl+Right><Ctrl+Right><Ctrl+Right><Ctrl+Left><Ctrl+Left><Ctrl+Left><Enter>", "ab 12cd",
       {"click", "click", "beep", "click", "click", "beep"}},
      {"left beeps at the first position", "ab", 80, "<Left><Right><Left><Enter>", "ab",
       {"beep", "char:a", "char:a"}},
      {"right beeps past the field", "ab", 2, "<Right><Right><Right><Enter>", "ab", {"char:a", "char:b", "beep"}},
      {"alt+right says a letter's spelling word", "a1", 80, "<Alt+Right><Alt+Right><Enter>", "a1",
       {"item:_FON97", "char:1"}},
      {"alt+digits do nothing", "", 80, "<Alt+1><Alt+0>x<Enter>", "x", {"char:x"}},
      {"a control key first clicks over an offered text", "abc", 80, "<Ctrl+E><Enter>", "abc", {"click", "click"}},
      {"home and end", "abc  ", 80, "<End>d<Home>e<Enter>", "eabcd", {"char:d", "char:e"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string field = c.offered;
    EXPECT_EQ(edit(field, c.keys, c.maxLength), 13);
    EXPECT_EQ(field, c.field);
    EXPECT_EQ(console.heard, c.heard);
    EXPECT_EQ(row(1), c.field);
  }
}

TEST_F(LineEditorTest, F1SaysTheNextTokenAndSpellsWordsWithoutVowels) {
  std::string field = "12 casa ctrl -5 ,";
  edit(field, "<F1><F1><F1><F1><F1><F1><Enter>");
  EXPECT_EQ(console.heard, (Heard{"say:12", "say:casa", "spell:ctrl", "say:-5", "spell:,", "beep"}));
}

TEST_F(LineEditorTest, TypingEchoIsToggledByF4AndKeptBetweenFields) {
  std::string field;
  edit(field, "<F4>a<Enter>");
  EXPECT_EQ(console.heard, (Heard{"item:_FALDLG"}));
  edit(field, "b<F4>c<Enter>");
  EXPECT_EQ(console.heard, (Heard{"click", "click", "item:_FALACI", "char:c"}));
}

TEST_F(LineEditorTest, KeysThatEndTheEditing) {
  struct Case {
    std::string_view keys;
    uint8_t ending;
  } cases[] = {
      {"<Enter>", 13}, {"<Esc>", 27},    {"<Tab>", 9},     {"<Ctrl+Enter>", 10}, {"<Ctrl+B>", 2},
      {"<Up>", 72},    {"<PgDn>", 81},   {"<F2>", 60},     {"<Ins>", 82},        {"<Ctrl+F9>", 102},
      {"<Alt+F1>", 104},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    std::string field;
    EXPECT_EQ(edit(field, std::string("ab") + std::string(c.keys)), c.ending);
    EXPECT_EQ(field, "ab");
  }
}

TEST_F(LineEditorTest, ScreenReviewKeyBeepsAndEditingGoesOn) {
  std::string field;
  EXPECT_EQ(edit(field, "<Ctrl+Alt+F9>a<Enter>"), 13);
  EXPECT_EQ(field, "a");
  EXPECT_EQ(console.heard, (Heard{"beep", "char:a"}));
}

TEST_F(LineEditorTest, AltGrPrefixCodesAreSkipped) {
  std::string field;
  events.key({'\0', 16});
  edit(field, "q<Enter>");
  EXPECT_EQ(field, "q");
}

TEST_F(LineEditorTest, CopyTakesTheSelectionOrTheWholeFieldWithALineEnd) {
  std::string field = "abc";
  edit(field, "<Ctrl+Ins><Enter>");
  EXPECT_EQ(console.pasteFromClipboard(), "abc\r\n");
  edit(field, "<Right><Shift+Right><Shift+Right><Ctrl+C><Enter>");
  EXPECT_EQ(console.pasteFromClipboard(), "bc");
}

TEST_F(LineEditorTest, PasteInsertsTheFirstLineAndShowsItSelected) {
  struct Case {
    std::string_view name;
    std::string offered;
    int maxLength;
    std::string clipboard;
    std::string_view keys;
    std::string field;
  } cases[] = {
      {"two lines: the first only", "", 80, "um\r\ndois", "<Shift+Ins><Enter>", "um"},
      {"first key blanks an offered text", "abc", 80, "um", "<Shift+Ins><Enter>", "um"},
      {"at the cursor", "xy", 80, "um", "<End><Shift+Ins><Enter>", "xyum"},
      {"in place of the selection", "abcdef", 80, "XY", "<Shift+Right><Shift+Right><Ctrl+V><Enter>", "XYcdef"},
      {"cut back to the field", "abcd", 4, "XYZ", "<Right><Right><Ctrl+V><Enter>", "abXY"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    console.copyToClipboard(c.clipboard);
    std::string field = c.offered;
    edit(field, c.keys, c.maxLength);
    EXPECT_EQ(field, c.field);
  }
  // While the editor waits after a paste, the pasted text is on dark grey.
  console.copyToClipboard("um");
  std::vector<int> backgrounds;
  events.onReadingWait = [&] { backgrounds.push_back(console.model().screenAttrAt(2, 1) >> 4); };
  std::string field = "x";
  edit(field, "<End><Ctrl+V><Enter>");
  EXPECT_EQ(backgrounds, (std::vector<int>{0, 0, 8}));
  EXPECT_EQ(console.model().screenAttrAt(2, 1) >> 4, 0);  // the last drawing has no selection
}

TEST_F(LineEditorTest, TheFieldIsAtMost2048Characters) {
  std::string field(3000, 'a');
  edit(field, "<End>x<Enter>", 3000);
  EXPECT_EQ(field, std::string(2048, 'a'));
  EXPECT_EQ(console.heard, (Heard{"beep"}));
}

TEST_F(LineEditorTest, ALongFieldScrollsInItsWidth) {
  std::string field = "abcdefghij";
  edit(field, "<End><Enter>", 80, 4);
  EXPECT_EQ(row(1), "abcd");  // the end shows the field's start again
  std::vector<std::string> shown;
  events.onReadingWait = [&] { shown.push_back(row(1)); };
  edit(field, "<End><Left><Home><Enter>", 80, 4);
  EXPECT_EQ(shown, (std::vector<std::string>{"abcd", "ghij", "ghij", "abcd"}));
}

TEST_F(LineEditorTest, AFieldNeverReachesPastItsRow) {
  std::string field;
  typeKeys(events, std::string(20, 'x') + "<Enter>");
  console.editField(field, 70, 25, 40, 255);
  EXPECT_EQ(field, std::string(20, 'x'));
  EXPECT_EQ(row(25), std::string(69, ' ') + std::string(10, 'x'));  // 10 cells: column 80 stays free
  EXPECT_EQ(row(1), "");  // nothing scrolled
}

TEST_F(LineEditorTest, WhileEditingTheStripMagnifiesTheFieldAndEchoesAreNotWaitedFor) {
  console.model().loadLowVisionSettings(LowVisionSettings{.factor = 2});
  console.speech().wave().noWait = false;
  std::vector<std::string> strips;
  std::vector<bool> noWait;
  events.onReadingWait = [&] {
    const std::optional<MagnifierStrip>& strip = console.model().magnifierStrip();
    strips.push_back(strip ? strip->before + "[" + strip->mark + "]" + strip->after.substr(0, 3) : "none");
    noWait.push_back(console.speech().wave().noWait);
  };
  std::string field = "abc";
  edit(field, "<Right><Right><Enter>", 3);
  EXPECT_EQ(strips, (std::vector<std::string>{"[]abc", "[a]bc ", "a[b]c  "}));
  EXPECT_EQ(noWait, (std::vector<bool>{true, true, true}));
  EXPECT_FALSE(console.model().magnifierStrip());
  EXPECT_FALSE(console.speech().wave().noWait);
}

TEST_F(LineEditorTest, ReadEditedLineBlanksTheTypingOnEsc) {
  console.gotoXY(5, 3);
  typeKeys(events, "abcde<Esc>");
  EXPECT_EQ(console.readEditedLine(), "");
  EXPECT_EQ(row(3), "");
  EXPECT_EQ(console.whereX(), 1);
  EXPECT_EQ(console.whereY(), 4);

  typeKeys(events, "abcde<Up>");
  EXPECT_EQ(console.readEditedLine(), "abcde");
  EXPECT_EQ(row(4), "abcde");
  EXPECT_EQ(console.whereY(), 5);

  // A text longer than the field: Esc blanks the field's cells, not the row below.
  console.gotoXY(1, 7);
  console.writeText("abaixo");
  console.gotoXY(70, 6);
  typeKeys(events, std::string(30, 'x') + "<Esc>");
  EXPECT_EQ(console.readEditedLine(), "");
  EXPECT_EQ(row(6), "");
  EXPECT_EQ(row(7), "abaixo");
}

TEST_F(LineEditorTest, ReadConsoleLineKeeps126CharactersSilently) {
  typeKeys(events, std::string(130, 'x') + "<F1>" + "<Enter>");
  console.heard.clear();
  EXPECT_EQ(console.readConsoleLine(128), std::string(126, 'x'));
  EXPECT_EQ(console.heard, Heard{});
  EXPECT_EQ(row(1) + row(2), std::string(126, 'x'));  // the F1 code is no character
}

TEST_F(LineEditorTest, TimeDateAndBatteryKeys) {
  clock->local = DateTime{.year = 2025, .month = 2, .day = 3, .hour = 14, .minute = 5};
  struct Case {
    std::string_view keys;
    PowerState power;
    Heard heard;
  } cases[] = {
      {"<F8>", {}, {"time:14:05"}},
      {"<Ctrl+F8>", {}, {"date:3/2/2025"}},
      {"<Ctrl+F11>", {std::nullopt, false}, {"item:_SEMBAT"}},
      {"<Ctrl+F11>", {57, false}, {"say:57%"}},
      {"<Ctrl+F11>", {20, true}, {"say:20%", "item:_SEMENER"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    power->state = c.power;
    std::string field;
    EXPECT_EQ(edit(field, std::string(c.keys) + "<Enter>"), 13);
    EXPECT_EQ(console.heard, c.heard);
  }
}

TEST_F(LineEditorTest, DiallingPlaysTheTonesWithoutRapidPlayback) {
  console.speech().wave().rapidPlayback = true;
  std::string field = "1*#,a9";
  edit(field, "<Ctrl+\\><Enter>");
  EXPECT_EQ(console.heard, (Heard{"wave:dtmf_1.wav", "wave:dtmf_X.wav", "wave:dtmf_#.wav", "wave:dtmf_9.wav"}));
  EXPECT_TRUE(console.speech().wave().rapidPlayback);
}

TEST_F(LineEditorTest, SpeedKeyRestartsSpeechWithTheKeyTyped) {
  console.speech().wave().noWait = false;
  std::vector<bool> noWait;
  std::string field;
  edit(field, "<Ctrl+F4><Esc><Enter>");
  EXPECT_EQ(console.heard, (Heard{"item:_VELOC", "char:\x1b"}));
  events.onReadingWait = [&] { noWait.push_back(console.speech().wave().noWait); };
  edit(field, "<Ctrl+F4>4<Enter>");
  EXPECT_EQ(console.heard, (Heard{"item:_VELOC", "char:4", "restart:4"}));
  EXPECT_EQ(noWait, (std::vector<bool>{true, true, true}));  // still no-wait after the restart
  EXPECT_FALSE(console.speech().wave().noWait);
}

TEST_F(LineEditorTest, F12OpensTheWordAtTheCursor) {
  userIni("[TAMIRAL]\nPROG.TXT=c:\\bin\\editor\n");
  Settings withPrograms = settings();
  ScriptedEvents ownEvents;
  RecordingFrontEnd ownScreen;
  RecordingConsole opener(ownScreen, ownEvents, withPrograms, *fs, [](int) {}, devices());
  std::string here = fs->workingFolder();
  struct Case {
    std::string field;
    std::string_view keys;
    FakeLauncher::Opened opened;
  } cases[] = {
      {"veja www.site.br agora", "<Ctrl+Right><F12>", {"http://www.site.br", "", here}},
      {"(https://a.b/c?d=1)", "<F12>", {"https://a.b/c?d=1", "", here}},
      {"nota.txt", "<End><F12>", {fs->nativePath("c:\\bin\\editor"), "nota.txt", here}},
      {"prog.exe", "<F12>", {here + "/prog.exe", "", here}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    launcher->opened.clear();
    std::string field = c.field;
    typeKeys(ownEvents, std::string(c.keys) + "<Enter>");
    opener.editField(field, 1, 1, 79, 80);
    EXPECT_EQ(launcher->opened, std::vector<FakeLauncher::Opened>{c.opened});
  }
  std::string blank;
  typeKeys(ownEvents, "<F12><Enter>");
  opener.heard.clear();
  opener.editField(blank, 1, 1, 79, 80);
  EXPECT_EQ(opener.heard, (Heard{"beep"}));
}

TEST_F(LineEditorTest, AddressesOpenWithTheBrowserSetting) {
  userIni("[TAMIRAL]\nPROG.HTM=navegador\n");
  Settings withBrowser = settings();
  ScriptedEvents ownEvents;
  RecordingFrontEnd ownScreen;
  RecordingConsole opener(ownScreen, ownEvents, withBrowser, *fs, [](int) {}, devices());
  std::string field = "<www.site.br>";
  typeKeys(ownEvents, "<F12><Enter>");
  opener.editField(field, 1, 1, 79, 80);
  ASSERT_EQ(launcher->opened.size(), 1u);
  EXPECT_EQ(launcher->opened[0].program, "navegador");
  EXPECT_EQ(launcher->opened[0].parameter, "www.site.br");
}

}  // namespace
}  // namespace tamiral
