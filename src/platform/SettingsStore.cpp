// The settings store over the registry: one subkey per section, every entry a REG_SZ value.
#include "platform/SettingsStore.h"

#include <limits>

#include "platform/Registry.h"

namespace vorelix::platform {

namespace {

// Reads a decimal number as the store writes it: optional blanks around it, an optional sign,
// digits only. Anything else (an empty text, letters, "12abc", a number beyond int) is no number.
std::optional<int> ParseDecimal(const std::wstring& text) {
    std::size_t at = 0;
    const std::size_t end = text.size();
    while (at < end && (text[at] == L' ' || text[at] == L'\t')) ++at;
    std::size_t last = end;
    while (last > at && (text[last - 1] == L' ' || text[last - 1] == L'\t')) --last;
    bool negative = false;
    if (at < last && (text[at] == L'-' || text[at] == L'+')) {
        negative = text[at] == L'-';
        ++at;
    }
    if (at == last) return std::nullopt;
    long long value = 0;
    for (; at < last; ++at) {
        const wchar_t c = text[at];
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

SettingsStore::SettingsStore(HKEY root, std::wstring baseKey) : root_(root), baseKey_(std::move(baseKey)) {}

std::wstring SettingsStore::GetString(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& defaultValue) const {
    auto stored = platform::GetRegString(root_, baseKey_ + L"\\" + section, key);
    return stored ? *stored : defaultValue;
}

std::optional<int> SettingsStore::GetInt(const std::wstring& section, const std::wstring& key,
                                         int defaultValue) const {
    auto stored = platform::GetRegString(root_, baseKey_ + L"\\" + section, key);
    if (!stored) return defaultValue;
    return ParseDecimal(*stored);
}

bool SettingsStore::SetString(const std::wstring& section, const std::wstring& key,
                              const std::wstring& value) {
    return !platform::SetRegString(root_, baseKey_ + L"\\" + section, key, value).has_value();
}

}  // namespace vorelix::platform
