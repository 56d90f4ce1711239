#pragma once

#include <filesystem>
#include <optional>
#include <string>

// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Sets (or, with nullopt, unsets) an environment variable for the lifetime of
// the object and restores what was there before. On Windows an empty value
// unsets it too.
class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> previous_;
};

// The bytes of a file; "" when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// Writes the bytes to a file, creating or replacing it.
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
