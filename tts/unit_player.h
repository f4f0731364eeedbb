// Plays a phonetic string (see data/difones/README.md) by joining recorded
// units into an output buffer of 64000 bytes, 8-bit mono at 11025 Hz, that
// is played each time it fills and at the end, so long texts start sounding
// before they are joined to the end.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "tts/unit_database.h"

namespace tamiral {

// What the player needs from speech.
class UnitOutput {
 public:
  virtual ~UnitOutput() = default;
  // Plays a RIFF WAVE image and returns when it has sounded or was cut.
  virtual void playAndWait(std::string_view waveImage) = 0;
  // Speech was cut (a key): nothing more is played until the next text.
  virtual bool cut() = 0;
};

struct DiphoneParams {
  int cut = 400;           // bytes taken off unstressed units
  int minimumLength = 0;   // what the cut may not go below
  int wordGap = 100;       // samples of silence between words
};

class UnitPlayer {
 public:
  static constexpr size_t kBufferSize = 64000;
  static constexpr size_t kHeaderSize = 44;
  static constexpr size_t kMaxToken = 40;

  UnitPlayer(UnitDatabase& units, FileSystem& fs, UnitOutput& output) : units_(units), fs_(fs), output_(output) {}

  void setLettersFolder(std::string folder) { lettersFolder_ = std::move(folder); }
  void setParams(const DiphoneParams& params) { params_ = params; }
  const DiphoneParams& params() const { return params_; }

  void speakPhonetic(std::string_view phonetic);

  // Told every unit the groups ask for, before any decomposition, and
  // whether it was found: how coverage of the database is measured.
  std::function<void(std::string_view unit, bool found)> unitObserver;

 private:
  std::string nextPhoneticWord(std::string_view phonetic, size_t& at, bool& endedWord);
  void splitGroups(std::string_view group, double factor);
  void playGroup(std::string_view group, double factor);
  void playUnit(const std::string& name, int level, double factor);
  bool lookupUnit(const std::string& name, int level, double factor);
  bool playLetterFile(const std::string& name);
  void append(std::string_view samples);
  void appendSilence(int samples);
  void appendNoise(size_t bytes);
  void flush();

  UnitDatabase& units_;
  FileSystem& fs_;
  UnitOutput& output_;
  std::string lettersFolder_;
  DiphoneParams params_;
  std::string buffer_;
  int level_ = 1;
  bool cut_ = false;
  std::minstd_rand noise_{1997};
};

}  // namespace tamiral
