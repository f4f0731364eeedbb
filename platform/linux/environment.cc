#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "platform/environment.h"

namespace tamiral {

namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string runningProgramFolder() {
  char buffer[4096];
  ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return ".";
  std::string path(buffer, static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

char userDecimalSeparator() {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    locale = variable(name);
    if (!locale.empty()) break;
  }
  std::string language = locale.substr(0, locale.find_first_of("_.@"));
  static constexpr std::string_view kCommaLanguages[] = {
      "pt", "es", "fr", "de", "it", "nl", "ru", "pl", "cs", "sk", "da", "sv", "nb", "nn", "no", "fi",
      "tr", "el", "hu", "ro", "bg", "uk", "hr", "sl", "sr", "lt", "lv", "et", "ca", "gl", "eu", "is", "id", "vi"};
  for (std::string_view comma : kCommaLanguages) {
    if (language == comma) return ',';
  }
  return '.';
}

Environment readEnvironment() {
  Environment env;
  env.configHome = variable("XDG_CONFIG_HOME");
  if (env.configHome.empty()) env.configHome = variable("HOME") + "/.config";
  env.programFolder = runningProgramFolder();
  return env;
}

}  // namespace tamiral
