#pragma once
// Points the user's configuration folder (and with it the registry store) at a fresh
// temporary folder for the life of the object, and restores the old setting after.

#include <cstdlib>
#include <optional>
#include <string>

#include "testing/TempFolder.h"

class TempConfigFolder {
public:
  TempConfigFolder() {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.Path().c_str(), 1);
  }
  ~TempConfigFolder() {
    if (saved_) ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
  }
  TempConfigFolder(const TempConfigFolder&) = delete;
  TempConfigFolder& operator=(const TempConfigFolder&) = delete;

  const TempFolder& Folder() const { return dir_; }

private:
  TempFolder dir_;
  std::optional<std::string> saved_;
};
