#include "tts/diphone_synth.h"

#include <optional>

#include "speech/speech_settings.h"

namespace tamiral {

namespace {

constexpr std::string_view kDefaultDiphoneFolder = "c:\\ondrel\\som\\difones";
// The profile reader's buffer holds 80 characters with the terminating zero.
constexpr size_t kMaxFolderLength = 79;

std::string folderSetting(const Settings& settings, std::string_view key, std::string_view fallback) {
  std::string folder = settings.read("TRADUTOR", key);
  if (folder.empty()) folder = fallback;
  if (folder.size() > kMaxFolderLength) folder.resize(kMaxFolderLength);
  return withFinalBackslash(folder);
}

}  // namespace

// Changing into the folder is the test that it exists; the working folder is
// put back.
bool DiphoneSynth::isFolder(const std::string& folder) {
  std::string here = fs_.workingFolder();
  bool exists = fs_.changeFolder(folder);
  fs_.changeFolder(here);
  return exists;
}

int DiphoneSynth::init(const Settings& settings) {
  release();
  // The letters folder has the same default as the rest of speech, so a
  // machine without settings still talks.
  std::string lettersFolder = folderSetting(settings, "DIRLETRAS", "c:\\ondrel\\som\\letras");
  diphoneFolder_ = folderSetting(settings, "DIRDIFONES", kDefaultDiphoneFolder);
  if (!isFolder(lettersFolder) || !isFolder(diphoneFolder_)) return kMissingFolderOrUnits;
  player_.setLettersFolder(lettersFolder);

  std::string database = diphoneFolder_ + std::string(kDatabaseName);
  std::optional<std::string> index = readWholeFile(fs_, database + ".IND");
  std::unique_ptr<File> data = fs_.open(database + ".DIF", OpenMode::kRead);
  if (!index || !data) return kMissingFolderOrUnits;
  units_.loadIndex(*index);
  units_.openData(std::move(data));

  std::optional<std::string> rules = readWholeFile(fs_, diphoneFolder_ + "nregras.rgr");
  if (!rules) return kUnreadableRulesOrExceptions;
  frontEnd_.loadRules(*rules);
  std::optional<std::string> exceptions = readWholeFile(fs_, diphoneFolder_ + "nportug.exc");
  if (!exceptions) return kUnreadableRulesOrExceptions;
  frontEnd_.loadExceptions(*exceptions);
  return kStarted;
}

void DiphoneSynth::release() {
  units_.release();
  frontEnd_ = TextFrontEnd();
}

}  // namespace tamiral
