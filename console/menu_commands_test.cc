#include "console/menu_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/console_runtime_fixture.h"

namespace tamiral {
namespace {

using Heard = std::vector<std::string>;

class MenuTest : public ConsoleRuntimeTest {
 protected:
  // A menu of items "item 1" .. "item count" in the box.
  void makeMenu(int count, std::string_view box = "1 1 40 20") {
    ASSERT_TRUE(run("MENU CRIA " + std::string(box)));
    for (int i = 1; i <= count; ++i) ASSERT_TRUE(run("MENU ADICIONA \"item " + std::to_string(i) + "\""));
  }
  // Runs the menu from start item n with the keys; true when the command
  // succeeded.
  bool choose(std::string start, std::string_view keys) {
    setVar("n", std::move(start));
    return run("MENU EXECUTA n k t", keys);
  }
  int textColourAt(int column, int row) { return console.model().screenAttrAt(column, row) & 0x0F; }
};

TEST_F(MenuTest, PageDownPastTheEndBeepsSaysNothingAndEnterGivesCountPlusOne) {
  makeMenu(20);
  ASSERT_TRUE(choose("15", "<PgDn><Enter>"));
  EXPECT_EQ(console.heard, (Heard{"say:item 15", "beep"}));
  EXPECT_EQ(var("n"), "21");
  EXPECT_EQ(var("k"), "#13");
  EXPECT_EQ(var("t"), "");
}

TEST_F(MenuTest, TheStartItemComesFromNOrTheLastOneGiven) {
  makeMenu(20);
  struct Case {
    std::string n;
    std::string_view said;
  } cases[] = {{"palavra", "say:item 1"}, {" 5 ", "say:item 5"}, {"palavra", "say:item 5"}, {"0", "say:item 1"},
               {"-3", "say:item 1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    ASSERT_TRUE(choose(c.n, "<Enter>"));
    EXPECT_EQ(console.heard, Heard{std::string(c.said)});
    EXPECT_EQ(var("t"), std::string(c.said.substr(4)));
  }
  makeMenu(3);
  ASSERT_TRUE(choose("palavra", "<Enter>"));
  EXPECT_EQ(var("n"), "1");  // a new menu starts at its first item again
}

TEST_F(MenuTest, KeysThatEndTheRunAndWhatTheyGive) {
  makeMenu(5);
  struct Case {
    std::string_view keys;
    std::string_view n, k, t;
  } cases[] = {
      {"<Down>q", "2", "q", "item 2"},  {"<Esc>", "1", "#27", "item 1"}, {"<Down><F2>", "2", "#0#60", "item 2"},
      {"<Tab>", "1", "#9", "item 1"},   {"<F12>", "1", "#0#70", "item 1"}, {"<Ctrl+A>", "1", "#1", "item 1"},
      {"<Up>Q", "0", "Q", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    ASSERT_TRUE(choose("1", c.keys));
    EXPECT_EQ(var("n"), c.n);
    EXPECT_EQ(var("k"), c.k);
    EXPECT_EQ(var("t"), c.t);
  }
}

TEST_F(MenuTest, MovingKeysRestartTheListAtItsStartItem) {
  makeMenu(5);
  for (std::string_view key : {"<Right>", "<Left>", "<Ctrl+F1>", "<Ctrl+Right>", "<Ctrl+F9>"}) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(choose("2", "<Down>" + std::string(key) + "<Enter>"));
    EXPECT_EQ(console.heard, (Heard{"say:item 2", "say:item 3", "say:item 2"}));
    EXPECT_EQ(var("n"), "2");
  }
}

TEST_F(MenuTest, BeyondEitherEndTheListBeepsAndStaysOneStepOutside) {
  makeMenu(3);
  ASSERT_TRUE(choose("1", "<Up><Up><Down><Enter>"));
  EXPECT_EQ(console.heard, (Heard{"say:item 1", "beep", "beep", "say:item 1"}));
  ASSERT_TRUE(choose("3", "<Down><Down><Up><Enter>"));
  EXPECT_EQ(console.heard, (Heard{"say:item 3", "beep", "beep", "say:item 3"}));
  ASSERT_TRUE(choose("1", "<PgUp><Enter>"));
  EXPECT_EQ(var("n"), "0");
  ASSERT_TRUE(choose("9", "<Enter>"));  // a start past the end is one step after the last
  EXPECT_EQ(var("n"), "4");
}

TEST_F(MenuTest, MarkedItemsShowGreenAndBeepBeforeTheyAreSaid) {
  makeMenu(3);
  ASSERT_TRUE(choose("1", "<Space><Down><Up><Down><Enter>"));
  EXPECT_EQ(console.heard,
            (Heard{"say:item 1", "beep", "say:item 1", "say:item 2", "beep", "say:item 1", "say:item 2"}));
  EXPECT_EQ(textColourAt(1, 1), 2);   // marked
  EXPECT_EQ(textColourAt(1, 2), 14);  // current
  EXPECT_EQ(textColourAt(1, 3), 15);  // the text colour of before
  EXPECT_EQ(console.textAttr(), 0x0F);

  // Marks last from run to run; each marking key in turn.
  struct Case {
    std::string_view keys;
    std::vector<int> colours;  // rows 1..3 after Enter with item 1 current
  } cases[] = {
      {"<Space><Enter>", {14, 15, 15}},                // Space toggled item 1 off again
      {"*<Enter>", {14, 2, 2}},                        // every item
      {"/<Enter>", {14, 15, 15}},                      // none
      {"<Down>+<Up><Enter>", {14, 2, 15}},             // mark
      {"<Down>-<Up><Enter>", {14, 15, 15}},            // unmark
      {"<Shift+Down><Shift+Down><Shift+Up><Shift+Up><Enter>", {14, 15, 15}},  // Shift+Up unmarks on the way back
      {"<Shift+End><Home><Enter>", {14, 2, 2}},        // marks from the current item to the last
      {"<End><Shift+Home><Enter>", {14, 15, 15}},      // unmarks back to the first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    ASSERT_TRUE(choose("1", c.keys));
    EXPECT_EQ((std::vector<int>{textColourAt(1, 1), textColourAt(1, 2), textColourAt(1, 3)}), c.colours);
  }
}

TEST_F(MenuTest, ShiftDownMarksWithABeepAndHomeAndEndBeep) {
  makeMenu(5);
  ASSERT_TRUE(choose("1", "<Shift+Down><Shift+Down><Enter>"));
  EXPECT_EQ(console.heard, (Heard{"say:item 1", "beep", "beep", "say:item 2", "beep", "say:item 3"}));
  ASSERT_TRUE(choose("1", "/<End><Home><Enter>"));
  EXPECT_EQ(console.heard,
            (Heard{"beep", "say:item 1", "say:item 1", "beep", "say:item 5", "beep", "say:item 1"}));
}

TEST_F(MenuTest, TheListScrollsInItsBoxAndTheCursorRestsOnTheCurrentItem) {
  makeMenu(30, "3 2 12 6");
  ASSERT_TRUE(choose("1", "<PgDn><Down><Enter>"));
  EXPECT_EQ(var("n"), "12");
  std::vector<std::string> rows;
  for (int r = 2; r <= 6; ++r) rows.push_back(console.row(r));
  EXPECT_EQ(rows, (std::vector<std::string>{"  item 8", "  item 9", "  item 10", "  item 11", "  item 12"}));
}

TEST_F(MenuTest, ABoxTallerThanTheConsoleDrawsItsLastRowsOverTheBottomRow) {
  makeMenu(11, "1 20 30 30");
  ASSERT_TRUE(choose("1", "<Enter>"));
  EXPECT_EQ(console.row(20), "item 1");
  EXPECT_EQ(console.row(24), "item 5");
  EXPECT_EQ(console.row(25), "item 11");
  EXPECT_EQ(console.row(1), "");  // nothing scrolled
}

TEST_F(MenuTest, TerminaBlanksExactlyTheBox) {
  for (int r = 1; r <= 8; ++r) {
    console.gotoXY(1, r);
    console.writeText(std::string(80, 'x'));
  }
  makeMenu(2, "5 3 34 6");
  ASSERT_TRUE(run("MENU TERMINA"));
  std::string kept(4, 'x'), blanked(30, ' '), rest(46, 'x');
  for (int r = 3; r <= 6; ++r) EXPECT_EQ(console.row(r), kept + blanked + rest) << r;
  EXPECT_EQ(console.row(2), std::string(80, 'x'));
  EXPECT_EQ(console.row(7), std::string(80, 'x'));
  EXPECT_EQ(console.whereX(), 5);
  EXPECT_EQ(console.whereY(), 3);
}

TEST_F(MenuTest, BadFormsAndAMissingMenuFail) {
  EXPECT_FALSE(run("MENU ADICIONA \"a\""));
  EXPECT_FALSE(run("MENU EXECUTA n k t"));
  EXPECT_TRUE(run("MENU TERMINA"));  // nothing to remove
  struct Case {
    std::string_view line;
    bool ok;
  } cases[] = {
      {"MENU CRIA 1 2 3", false},       {"MENU CRIA 1 2 3 \"x\"", false}, {"MENU CRIA 1 2 3 4 5", false},
      {"menu cria 1 (1+1) 30 \"9\"", true}, {"MENU ADICIONA", false},     {"MENU ADICIONA \"a\" \"b\"", false},
      {"MENU EXECUTA n k", false},      {"MENU EXECUTA n k t u", false}, {"MENU TERMINA agora", false},
      {"MENU FAZ", false},              {"MENU", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(run(c.line), c.ok);
  }
  ASSERT_TRUE(run("MENU TERMINA"));
  EXPECT_FALSE(run("MENU ADICIONA \"a\""));
  EXPECT_FALSE(run("MENU EXECUTA n k t"));
}

}  // namespace
}  // namespace tamiral
