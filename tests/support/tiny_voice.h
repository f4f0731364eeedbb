// Test support for speech: a console whose delays move the speech output's
// clock as the real event loop does, and a built-in voice small enough to
// reason about.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "speech/speech.h"
#include "tests/support/fake_console.h"
#include "tests/support/temp_folder.h"
#include "tts/unit_database.h"

namespace tamiral {

class LoopConsole : public FakeConsole {
 public:
  void processMessages() override {
    if (speech) speech->onMessages();
  }
  void delayMs(int milliseconds) override {
    if (milliseconds == 50) ++fiftyMsDelays;
    if (keyAfterDelays > 0 && --keyAfterDelays == 0) keys.push_back('k');
    if (speech) speech->onDelay(milliseconds);
  }
  Speech* speech = nullptr;
  // Punctuation pauses wait in 50 ms steps.
  int fiftyMsDelays = 0;
  // A key arrives during the n-th delay from now (0: never).
  int keyAfterDelays = 0;
};

// A diphone folder under `relative` whose units are runs of one byte value
// each, with rules for the letters a, k, s and z only (anything else spells)
// and one exception. Returns the folder's path.
inline std::string writeTinyVoice(const TempFolder& folder, std::string_view relative,
                                  const std::map<std::string, std::string>& units = {{"$A", std::string(600, 'A')},
                                                                                     {"$KA", std::string(900, 'K')},
                                                                                     {"$ZA", std::string(900, 'Z')}}) {
  std::string index, data;
  for (const auto& [name, samples] : units) {
    index += encodeUnitRecord({name, static_cast<uint16_t>(samples.size()), static_cast<uint32_t>(data.size())});
    data += samples;
  }
  std::string base = std::string(relative) + "/";
  folder.write(base + "DIFONES2.IND", index);
  folder.write(base + "DIFONES2.DIF", data);
  folder.write(base + "nregras.rgr", "; tiny rules\n(A)=a\n(K)= k\n(S)#= z\n(S)= s\n(Z)= z\n");
  folder.write(base + "nportug.exc", "casa=kaza\n");
  return folder.path() + "/" + base;
}

}  // namespace tamiral
