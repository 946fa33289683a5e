// Half-Life's video settings as the launch writes them: three REG_DWORD values from the renderer and
// resolution texts of the main window.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vorelix::launch {

// Under HKEY_CURRENT_USER; the game reads its renderer and screen size from here.
inline constexpr const wchar_t* kHalfLifeSettingsKey = L"SOFTWARE\\Valve\\Half-Life\\Settings";

struct RegistryDWord {
    std::wstring valueName;
    std::int32_t value = 0;
    bool operator==(const RegistryDWord&) const = default;
};

// In the order they are written: "EngineModeW" (width), "EngineModeH" (height), "EngineType"
// (2 for "OpenGL", 3 for "Direct3D", 1 for any other text, compared with case).
using VideoSettings = std::array<RegistryDWord, 3>;

// The values for a renderer text and a resolution text such as "1024x768": width and height are the
// numbers before and after the first lower-case "x". No value when the resolution holds no "x" or a
// side is no 32-bit number.
std::optional<VideoSettings> VideoSettingsFor(const std::wstring& renderer, const std::wstring& resolution);

// A text read as a decimal number the forgiving way: blanks anywhere are skipped, reading stops at the
// first character that cannot continue the number, and a text with no digit first reads as 0.
double ReadDecimal(const std::wstring& text);

}  // namespace vorelix::launch
