// Sets or removes an environment variable for one test and puts the old state back afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class TScopedEnv {
 public:
  // value nullopt removes the variable.
  TScopedEnv(std::string name, const std::optional<std::string>& value) : FName(std::move(name)) {
    if (const char* old = std::getenv(FName.c_str())) FOld = old;
    if (value)
      setenv(FName.c_str(), value->c_str(), 1);
    else
      unsetenv(FName.c_str());
  }
  ~TScopedEnv() {
    if (FOld)
      setenv(FName.c_str(), FOld->c_str(), 1);
    else
      unsetenv(FName.c_str());
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

 private:
  std::string FName;
  std::optional<std::string> FOld;
};
