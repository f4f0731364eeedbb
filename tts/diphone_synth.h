// The runtime's own voice: the text front end and the unit player over the
// data of the diphone folder ([TRADUTOR] "DIRDIFONES"): the unit index and
// samples, the letter rules and the exceptions.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "speech/settings.h"
#include "tts/text_front_end.h"
#include "tts/unit_database.h"
#include "tts/unit_player.h"

namespace tamiral {

class DiphoneSynth {
 public:
  static constexpr std::string_view kDatabaseName = "DIFONES2";
  static constexpr int kStarted = 0;
  static constexpr int kMissingFolderOrUnits = 1;
  static constexpr int kUnreadableRulesOrExceptions = 2;

  DiphoneSynth(FileSystem& fs, UnitOutput& output) : fs_(fs), player_(units_, fs, output) {}

  // Loads everything; one of the three codes above.
  int init(const Settings& settings);
  void release();
  void setParams(int cut, int minimumLength, int wordGap) { player_.setParams({cut, minimumLength, wordGap}); }

  std::string textToPhonetic(std::string_view text) const { return frontEnd_.textToPhonetic(text); }
  // Returns when the last piece has played, or speech was cut.
  void speakPhonetic(std::string_view phonetic) { player_.speakPhonetic(phonetic); }

  UnitPlayer& player() { return player_; }
  const UnitDatabase& units() const { return units_; }
  const std::string& diphoneFolder() const { return diphoneFolder_; }

 private:
  bool isFolder(const std::string& folder);

  FileSystem& fs_;
  UnitDatabase units_;
  TextFrontEnd frontEnd_;
  UnitPlayer player_;
  std::string diphoneFolder_;
};

}  // namespace tamiral
