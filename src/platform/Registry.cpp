// Registry writers raising numbered errors, and the readers the settings store and tests use.
#include "platform/Registry.h"

#include <vector>

namespace vorelix::platform {

namespace {

// The object-error base 0x80040000 plus 6003 and 6002, as signed 32-bit numbers.
constexpr long kCreateKeyFailed = -2147215501;
constexpr long kSetValueFailed = -2147215502;

// Keeps an opened key for one write and closes it on every way out.
class OpenedKey {
  public:
    OpenedKey() = default;
    ~OpenedKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

std::optional<RegistryError> WriteValue(const wchar_t* source, HKEY root, const std::wstring& subKey,
                                        const std::wstring& valueName, DWORD type, const BYTE* data,
                                        DWORD size) {
    OpenedKey key;
    const LSTATUS created = RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_SET_VALUE, nullptr, key.Out(), nullptr);
    if (created != ERROR_SUCCESS) {
        return RegistryError{kCreateKeyFailed, source, L"RegCreateKeyEx failed!",
                             static_cast<unsigned long>(created)};
    }
    const LSTATUS set = RegSetValueExW(key.Get(), valueName.c_str(), 0, type, data, size);
    if (set != ERROR_SUCCESS) {
        return RegistryError{kSetValueFailed, source, L"RegSetValueEx failed!",
                             static_cast<unsigned long>(set)};
    }
    return std::nullopt;
}

}  // namespace

std::optional<RegistryError> SetRegString(HKEY root, const std::wstring& subKey,
                                          const std::wstring& valueName, const std::wstring& value) {
    // REG_SZ data is counted in bytes and includes the terminating zero.
    const DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return WriteValue(L"SetRegString", root, subKey, valueName, REG_SZ,
                      reinterpret_cast<const BYTE*>(value.c_str()), size);
}

std::optional<RegistryError> SetRegDWord(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                                         std::int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    return WriteValue(L"SetRegDWord", root, subKey, valueName, REG_DWORD,
                      reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

std::optional<std::wstring> GetRegString(HKEY root, const std::wstring& subKey,
                                         const std::wstring& valueName) {
    // RegGetValueW with RRF_RT_REG_SZ refuses other types and always hands back a terminated text.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        LSTATUS status =
            RegGetValueW(root, subKey.c_str(), valueName.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size);
        if (status != ERROR_SUCCESS) return std::nullopt;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegGetValueW(root, subKey.c_str(), valueName.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(),
                              &size);
        if (status == ERROR_MORE_DATA) continue;  // written to between the two calls
        if (status != ERROR_SUCCESS) return std::nullopt;
        return std::wstring(buffer.data());
    }
    return std::nullopt;
}

std::optional<std::uint32_t> GetRegDWord(HKEY root, const std::wstring& subKey,
                                         const std::wstring& valueName) {
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegGetValueW(root, subKey.c_str(), valueName.c_str(), RRF_RT_REG_DWORD, nullptr, &data, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

bool DeleteRegTree(HKEY root, const std::wstring& subKey) {
    // An empty subKey would empty the root itself: never meant.
    if (subKey.empty()) return false;
    // RegDeleteTreeW removes the named key together with its values and subkeys.
    RegDeleteTreeW(root, subKey.c_str());
    HKEY probe = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) return true;
    RegCloseKey(probe);
    return false;
}

}  // namespace vorelix::platform
