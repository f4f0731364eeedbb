// The product settings file "Tamiral.ini": where it lives and how a key is
// read. The runtime never writes it.
#pragma once

#include <string>
#include <string_view>

#include "platform/environment.h"

namespace tamiral {

// A profile file's lookup rules: section and key names compared without
// regard to case, first match wins, values trimmed, one pair of surrounding
// quotes removed, ';' comment lines, at most 255 characters. Missing: empty.
std::string iniValue(std::string_view fileText, std::string_view section, std::string_view key);

class Settings {
 public:
  explicit Settings(Environment env) : env_(std::move(env)) {}

  // The per-user folder; the system folder instead when only it holds the file.
  std::string productDataFolder() const;

  // The value of a key, with the legacy fallback to the system folder's file
  // and the "@" forms substituted.
  std::string read(std::string_view section, std::string_view key) const;

  void setLegacyFallback(bool on) { legacyFallback_ = on; }
  bool legacyFallback() const { return legacyFallback_; }

 private:
  std::string readRaw(std::string_view section, std::string_view key) const;
  std::string substituteAtForms(std::string value) const;

  Environment env_;
  bool legacyFallback_ = true;
};

}  // namespace tamiral
