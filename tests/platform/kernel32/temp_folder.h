// A fresh folder under /tmp for one test, removed with everything in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TempFolder {
public:
  TempFolder() {
    char name[] = "/tmp/kernel32-test-XXXXXX";
    if (mkdtemp(name))
      path_ = name;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty())
      std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path; ASCII, so it reads the same in code page 936.
  const std::string& Path() const { return path_; }

  // `name` is UTF-8, as on disk.
  std::string Put(const std::string& name, const std::string& bytes = "") const {
    std::string full = path_ + "/" + name;
    std::ofstream(full, std::ios::binary) << bytes;
    return full;
  }

  std::string MakeFolder(const std::string& name) const {
    std::string full = path_ + "/" + name;
    std::filesystem::create_directory(full);
    return full;
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(path_ + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ + "/" + name); }

private:
  std::string path_;
};
