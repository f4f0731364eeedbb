// The FluidSynth library as the software synthesizer, loaded at run time so
// that neither the build nor the start of a program depends on it.
#include <dlfcn.h>
#include <unistd.h>

#include "platform/midi_output.h"

namespace tamiral {

namespace {

constexpr const char* kLibrary = "libfluidsynth.so.3";
constexpr int kLogLevels = 5;  // panic, error, warning, information, debug
constexpr double kGain = 0.6;

using LogFunction = void (*)(int, const char*, void*);

// The library's types are opaque here.
struct Api {
  void* (*newSettings)();
  int (*setNumber)(void*, const char*, double);
  int (*setInteger)(void*, const char*, int);
  void* (*newSynth)(void*);
  int (*loadSoundFont)(void*, const char*, int);
  int (*noteOn)(void*, int, int, int);
  int (*noteOff)(void*, int, int);
  int (*programChange)(void*, int, int);
  int (*controlChange)(void*, int, int, int);
  int (*systemReset)(void*);
  int (*writeS16)(void*, int, void*, int, int, void*, int, int);
  void (*deleteSynth)(void*);
  void (*deleteSettings)(void*);
  LogFunction (*setLogFunction)(int, LogFunction, void*);
};

template <typename Function>
bool bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

// The library stays loaded once loaded: unloading it is not safe while any
// of the libraries it brought in keep state.
bool loadApi(Api& api) {
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (!library) return false;
  return bind(library, "new_fluid_settings", api.newSettings) &&
         bind(library, "fluid_settings_setnum", api.setNumber) &&
         bind(library, "fluid_settings_setint", api.setInteger) && bind(library, "new_fluid_synth", api.newSynth) &&
         bind(library, "fluid_synth_sfload", api.loadSoundFont) && bind(library, "fluid_synth_noteon", api.noteOn) &&
         bind(library, "fluid_synth_noteoff", api.noteOff) &&
         bind(library, "fluid_synth_program_change", api.programChange) &&
         bind(library, "fluid_synth_cc", api.controlChange) &&
         bind(library, "fluid_synth_system_reset", api.systemReset) &&
         bind(library, "fluid_synth_write_s16", api.writeS16) && bind(library, "delete_fluid_synth", api.deleteSynth) &&
         bind(library, "delete_fluid_settings", api.deleteSettings) &&
         bind(library, "fluid_set_log_function", api.setLogFunction);
}

// The library would print to the terminal the console is drawn on.
void ignoreLogMessage(int, const char*, void*) {}

class FluidSynth : public SoftSynth {
 public:
  explicit FluidSynth(const Api& api) : api_(api) {}
  ~FluidSynth() override {
    if (synth_) api_.deleteSynth(synth_);
    if (settings_) api_.deleteSettings(settings_);
  }
  FluidSynth(const FluidSynth&) = delete;
  FluidSynth& operator=(const FluidSynth&) = delete;

  bool start(uint32_t sampleRate, const std::string& soundFont) {
    for (int level = 0; level < kLogLevels; ++level) api_.setLogFunction(level, ignoreLogMessage, nullptr);
    settings_ = api_.newSettings();
    if (!settings_) return false;
    api_.setNumber(settings_, "synth.sample-rate", sampleRate);
    // One thread calls it, and it starts none of its own.
    api_.setInteger(settings_, "synth.threadsafe-api", 0);
    api_.setInteger(settings_, "synth.cpu-cores", 1);
    // The library's own default is quiet beside speech.
    api_.setNumber(settings_, "synth.gain", kGain);
    synth_ = api_.newSynth(settings_);
    return synth_ && api_.loadSoundFont(synth_, soundFont.c_str(), 1) >= 0;
  }

  void noteOn(int channel, int key, int velocity) override { api_.noteOn(synth_, channel, key, velocity); }
  void noteOff(int channel, int key) override { api_.noteOff(synth_, channel, key); }
  void programChange(int channel, int program) override { api_.programChange(synth_, channel, program); }
  void controlChange(int channel, int control, int value) override {
    api_.controlChange(synth_, channel, control, value);
  }
  void reset() override { api_.systemReset(synth_); }
  void render(int16_t* frames, size_t count) override {
    api_.writeS16(synth_, static_cast<int>(count), frames, 0, 2, frames, 1, 2);
  }

 private:
  Api api_;
  void* settings_ = nullptr;
  void* synth_ = nullptr;
};

}  // namespace

std::vector<std::string> soundFontCandidates() {
  return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
          "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"};
}

std::unique_ptr<SoftSynth> loadSoftSynth(uint32_t sampleRate, const std::vector<std::string>& soundFonts) {
  const std::string* found = nullptr;
  for (const std::string& font : soundFonts) {
    if (access(font.c_str(), R_OK) == 0) {
      found = &font;
      break;
    }
  }
  Api api{};
  if (!found || !loadApi(api)) return nullptr;
  auto synth = std::make_unique<FluidSynth>(api);
  if (!synth->start(sampleRate, *found)) return nullptr;
  return synth;
}

}  // namespace tamiral
