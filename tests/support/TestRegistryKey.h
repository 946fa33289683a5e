// A registry key of the test's own under HKCU\Software\VorelixTest, removed with everything below it.
#pragma once

#include <windows.h>

#include <string>

namespace vorelix::test {

class TestRegistryKey {
  public:
    TestRegistryKey();
    ~TestRegistryKey();
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    static HKEY Root() { return HKEY_CURRENT_USER; }
    // "Software\VorelixTest\<unique>", relative to Root(); the key itself exists from the start.
    const std::wstring& Path() const { return path_; }
    // Path() followed by "\" and `child`.
    std::wstring operator/(const std::wstring& child) const { return path_ + L"\\" + child; }

    // Creates `child` (one or more levels) as volatile keys and gives its path. The registry refuses
    // to make a lasting key below a volatile one (ERROR_CHILD_MUST_BE_VOLATILE), on Windows and on
    // Wine alike: an honest refusal for tests, where Wine, running everyone as an administrator,
    // would never deny access.
    std::wstring CreateVolatile(const std::wstring& child) const;

  private:
    std::wstring path_;
};

}  // namespace vorelix::test
