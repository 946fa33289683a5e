// The settings store: named string settings per user, under HKCU\Software\Vorelix\<section>.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vorelix::platform {

class SettingsStore {
  public:
    // The program's own place; tests pass another root key so they never touch it.
    static constexpr const wchar_t* kProgramKey = L"Software\\Vorelix";

    SettingsStore(HKEY root, std::wstring baseKey);

    // The stored text, or `defaultValue` when the entry is absent or cannot be read.
    std::wstring GetString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue) const;

    // The stored decimal number; `defaultValue` when absent or unreadable; no value when the entry
    // holds no number (the caller then skips the step that wanted it). Blanks and tabs around the
    // number and one leading sign are accepted; anything else in the text, or a number beyond int,
    // makes it no number. The range the caller needs is the caller's to check.
    std::optional<int> GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) const;

    // Writes the text as REG_SZ; false when the store refused it.
    bool SetString(const std::wstring& section, const std::wstring& key, const std::wstring& value);

  private:
    HKEY root_;
    std::wstring baseKey_;
};

}  // namespace vorelix::platform
