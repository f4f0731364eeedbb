#include "console/console_settings.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/support/settings_fixture.h"
#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

using Values = std::map<std::pair<std::string, std::string>, std::string>;

VideoSettings parse(const Values& values) {
  return parseVideoSettings([&](std::string_view section, std::string_view key) -> std::optional<std::string> {
    auto found = values.find({std::string(section), std::string(key)});
    if (found == values.end()) return std::nullopt;
    return found->second;
  });
}

using ConsoleSettingsFileTest = SettingsFolderTest;

TEST_F(ConsoleSettingsFileTest, WithoutAnIniFileEverythingHasItsDefault) {
  VideoSettings video = readVideoSettings(settings());
  EXPECT_EQ(video.textAttr, 0x0F);  // white on black
  EXPECT_FALSE(video.fixedColours);
  EXPECT_FALSE(video.fastScroll);
  EXPECT_EQ(video.brailleKeyboardMode, 0);
  EXPECT_EQ(video.fontFace, "Lucida Console");
  EXPECT_EQ(video.fontWeight, 700);
  EXPECT_TRUE(video.openAtComputedSize);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(video.colourMap.slot(i), i);
  // The size is computed from the work area.
  EXPECT_EQ(consoleFontSize(video, 1024, 734), (FontSize{13, 28}));
  EXPECT_EQ(consoleFontSize(video, 1920, 1050), (FontSize{24, 40}));

  EXPECT_EQ(readLowVisionSettings(settings()), (LowVisionSettings{0, 14, 6, 3}));
}

TEST_F(ConsoleSettingsFileTest, KeysAreReadFromTheirSections) {
  folder.write("config/Tamiral/Tamiral.ini",
               "[VIDEO]\nTABCORES=15, 0\nCORESFIXAS=Sim\nCORFUNDO=1\nCORLETRA=14\nLARGURALETRA=20\n"
               "[BRAILLE]\nMODO=2\n"
               "[BAIXAVISAO]\nAMPLIACAO=4\nCORCURSOR=12\n");
  VideoSettings video = readVideoSettings(settings());
  EXPECT_EQ(video.colourMap.slot(0), 15);
  EXPECT_EQ(video.colourMap.slot(1), 0);
  EXPECT_TRUE(video.fixedColours);
  EXPECT_EQ(video.textAttr, 0x1E);
  EXPECT_EQ(video.brailleKeyboardMode, 2);
  EXPECT_EQ(consoleFontSize(video, 1024, 734), (FontSize{20, 28}));
  EXPECT_EQ(readLowVisionSettings(settings()), (LowVisionSettings{4, 14, 6, 12}));
}

TEST(ColourMap, TabcoresFillsSlotsUntilTheFirstEntryThatIsNotANumber) {
  struct Case {
    std::string_view list;
    std::array<int, 5> firstSlots;
  } cases[] = {
      {"0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15", {0, 1, 2, 3, 4}},
      {"15, 0", {15, 0, 2, 3, 4}},
      {" 4 ,  3 ,2", {4, 3, 2, 3, 4}},
      {"1,2,abc,9", {1, 2, 0, 3, 4}},  // the list stops at "abc"; slot 3 keeps its own value
      {"7x,9", {7, 1, 2, 3, 4}},       // leading digits, then stop
      {"$F,x1", {15, 1, 2, 3, 4}},     // whole numbers may be hex
      {"1,2,", {1, 2, 0, 3, 4}},
      {"", {0, 1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.list));
    ColourMap map;
    map.apply(c.list);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(map.slot(i), c.firstSlots[i]) << "slot " << i;
  }
}

TEST(ColourMap, MoreThanSixteenEntriesAreIgnored) {
  ColourMap map;
  map.apply("9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9,9");
  for (int i = 0; i < 16; ++i) EXPECT_EQ(map.slot(i), 9);
}

TEST(ColourMap, WhatAnIndexPaints) {
  ColourMap map;
  EXPECT_EQ(map.colour(5), (Rgb{142, 0, 142}));
  EXPECT_EQ(map.colour(6), (Rgb{68, 34, 34}));
  EXPECT_EQ(map.colour(8), (Rgb{40, 40, 40}));
  map.apply("15, 0, 16, 300, -1");
  EXPECT_EQ(map.colour(0), (Rgb{255, 255, 255}));
  EXPECT_EQ(map.colour(1), (Rgb{0, 0, 0}));
  // Mapped past the palette: black. 300 is kept as a byte (44), -1 as 255.
  EXPECT_EQ(map.slot(3), 44);
  for (int i : {2, 3, 4}) EXPECT_EQ(map.colour(i), (Rgb{0, 0, 0})) << i;
  EXPECT_EQ(map.colour(14), (Rgb{255, 255, 0}));
}

TEST(VideoSettings, ValuesAndTheirRules) {
  struct Case {
    std::string_view name;
    Values values;
    std::function<bool(const VideoSettings&)> check;
  } cases[] = {
      {"empty text colour is grey", {{{"VIDEO", "CORLETRA"}, ""}}, [](auto& v) { return v.textAttr == 0x07; }},
      {"empty background is black", {{{"VIDEO", "CORFUNDO"}, ""}}, [](auto& v) { return v.textAttr == 0x0F; }},
      {"leading digits", {{{"VIDEO", "CORFUNDO"}, "2abc"}}, [](auto& v) { return v.textAttr == 0x2F; }},
      {"no digits is 0", {{{"VIDEO", "CORLETRA"}, "abc"}}, [](auto& v) { return v.textAttr == 0x00; }},
      {"kept to a byte", {{{"VIDEO", "CORFUNDO"}, "17"}, {{"VIDEO", "CORLETRA"}, "1"}},
       [](auto& v) { return v.textAttr == 0x11; }},
      {"fixed s", {{{"VIDEO", "CORESFIXAS"}, "s"}}, [](auto& v) { return v.fixedColours; }},
      {"fixed N", {{{"VIDEO", "CORESFIXAS"}, "N"}}, [](auto& v) { return !v.fixedColours; }},
      {"fixed empty", {{{"VIDEO", "CORESFIXAS"}, ""}}, [](auto& v) { return !v.fixedColours; }},
      {"slow", {{{"VIDEO", "LENTO"}, "SIM"}}, [](auto& v) { return v.fastScroll; }},
      {"corner NAO", {{{"VIDEO", "CANTOTELA"}, "NAO"}}, [](auto& v) { return !v.openAtComputedSize; }},
      {"corner empty", {{{"VIDEO", "CANTOTELA"}, ""}}, [](auto& v) { return !v.openAtComputedSize; }},
      {"mode 1", {{{"BRAILLE", "MODO"}, "1"}}, [](auto& v) { return v.brailleKeyboardMode == 1; }},
      {"mode 3 acts as 1", {{{"BRAILLE", "MODO"}, "3"}}, [](auto& v) { return v.brailleKeyboardMode == 1; }},
      {"mode from first code", {{{"BRAILLE", "MODO"}, "N"}}, [](auto& v) { return v.brailleKeyboardMode == 2; }},
      {"mode 4 is off", {{{"BRAILLE", "MODO"}, "4"}}, [](auto& v) { return v.brailleKeyboardMode == 0; }},
      {"mode empty", {{{"BRAILLE", "MODO"}, ""}}, [](auto& v) { return v.brailleKeyboardMode == 0; }},
      {"empty face", {{{"VIDEO", "FONTE"}, ""}}, [](auto& v) { return v.fontFace.empty(); }},
      {"width", {{{"VIDEO", "LARGURALETRA"}, "18px"}}, [](auto& v) { return v.fontWidth == 18; }},
      {"empty width computed", {{{"VIDEO", "LARGURALETRA"}, ""}}, [](auto& v) { return !v.fontWidth; }},
      {"height", {{{"VIDEO", "ALTURALETRA"}, "x"}}, [](auto& v) { return v.fontHeight == 0; }},
      {"weight", {{{"VIDEO", "PESOLETRA"}, "400"}}, [](auto& v) { return v.fontWeight == 400; }},
      {"long value cut at 80", {{{"VIDEO", "FONTE"}, std::string(100, 'f')}},
       [](auto& v) { return v.fontFace == std::string(80, 'f'); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    EXPECT_TRUE(c.check(parse(c.values)));
  }
}

TEST(LowVisionSettings, FactorAndColours) {
  struct Case {
    std::map<std::string, std::string> values;
    LowVisionSettings expected;
  } cases[] = {
      {{}, {0, 14, 6, 3}},
      {{{"AMPLIACAO", ""}}, {0, 14, 6, 3}},
      {{{"AMPLIACAO", "0"}}, {0, 14, 6, 3}},
      {{{"AMPLIACAO", "abc"}}, {3, 14, 6, 3}},
      {{{"AMPLIACAO", "-1"}}, {3, 14, 6, 3}},
      {{{"AMPLIACAO", "11"}}, {3, 14, 6, 3}},
      {{{"AMPLIACAO", "2x"}}, {3, 14, 6, 3}},  // the whole value must be a number
      {{{"AMPLIACAO", "10"}}, {10, 14, 6, 3}},
      {{{"CORLETRA", "16"}, {"CORFUNDO", "-1"}, {"CORCURSOR", "abc"}}, {0, 14, 6, 3}},
      {{{"CORLETRA", "0"}, {"CORFUNDO", "15"}, {"CORCURSOR", "7"}}, {0, 0, 15, 7}},
  };
  for (const Case& c : cases) {
    LowVisionSettings got = parseLowVisionSettings([&](std::string_view key) {
      auto found = c.values.find(std::string(key));
      return found == c.values.end() ? std::string() : found->second;
    });
    EXPECT_EQ(got, c.expected) << (c.values.empty() ? "none" : c.values.begin()->first + "=" + c.values.begin()->second);
  }
}

}  // namespace
}  // namespace tamiral
