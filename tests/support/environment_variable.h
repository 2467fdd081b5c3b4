// Test helper: sets (or unsets, for null) an environment variable for the
// life of the object and puts the old value back afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class EnvironmentVariable {
public:
  EnvironmentVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name))
      old_ = old;
    Set(value);
  }
  ~EnvironmentVariable() { Set(old_ ? old_->c_str() : nullptr); }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
  void Set(const char* value) {
    if (value)
      setenv(name_.c_str(), value, 1);
    else
      unsetenv(name_.c_str());
  }
  std::string name_;
  std::optional<std::string> old_;
};
