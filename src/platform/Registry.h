// The registry writers and readers (advapi32), with the errors they raise to their callers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vorelix::platform {

// An error raised by a registry writer: a number, a source and a description.
struct RegistryError {
    long number = 0;           // -2147215501 (create) or -2147215502 (set)
    std::wstring source;       // "SetRegString" or "SetRegDWord"
    std::wstring description;  // "RegCreateKeyEx failed!" or "RegSetValueEx failed!"
    unsigned long systemCode = 0;
};

// Writes one REG_SZ value, creating the key when missing; "" addresses the default value.
// No value on success.
std::optional<RegistryError> SetRegString(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                                          const std::wstring& value);

// Writes one REG_DWORD value, creating the key when missing. No value on success.
std::optional<RegistryError> SetRegDWord(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                                         std::int32_t value);

// Reads a REG_SZ value; no value when the key or value is absent or of another type.
std::optional<std::wstring> GetRegString(HKEY root, const std::wstring& subKey, const std::wstring& valueName);
std::optional<std::uint32_t> GetRegDWord(HKEY root, const std::wstring& subKey, const std::wstring& valueName);

// Removes a key with everything below it; true when it is gone afterwards.
bool DeleteRegTree(HKEY root, const std::wstring& subKey);

}  // namespace vorelix::platform
