#include "speech/media_commands.h"

#include <optional>
#include <string>

#include "console/talking_console.h"
#include "engine/readers.h"

namespace tamiral {

namespace {

constexpr int kPollMs = 100;

// Until the media stops or a key is pressed; the key is not kept.
void playToTheEnd(Runtime& rt, const std::string& name) {
  MediaControl& media = *rt.media;
  media.send("open \"" + name + "\" alias myfile");
  media.send("play myfile");
  for (;;) {
    rt.console.delayMs(kPollMs);
    std::string mode = media.send("status myfile mode");
    if (rt.console.keyPressed() || mode != "playing") break;
  }
  while (rt.console.keyPressed()) rt.console.readKey();
  media.send("stop myfile");
  media.send("close myfile");
}

}  // namespace

// The background form quotes the name, so names with spaces play too.
bool cmdToca(Runtime& rt, std::string_view args) {
  bool background = takeTrailingMark(args);
  std::optional<std::string> name = takeValue(rt.vars, args);
  if (!name || !args.empty()) return false;
  if (background)
    rt.media->send("play \"" + *name + "\"");
  else
    playToTheEnd(rt, *name);
  return true;
}

bool cmdMci(Runtime& rt, std::string_view args) {
  std::optional<VarSlot> slot = takeVariable(rt.vars, args);
  if (!slot) return false;
  std::optional<std::string> command = takeValue(rt.vars, args);
  if (!command || !args.empty()) return false;
  rt.vars.set(*slot, rt.media->send(*command));
  return true;
}

}  // namespace tamiral
