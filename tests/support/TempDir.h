// A fresh temporary folder per test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vorelix::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const {
        return path_ / std::filesystem::u8path(name);
    }

  private:
    std::filesystem::path path_;
};

// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);
// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& file);

}  // namespace vorelix::test
