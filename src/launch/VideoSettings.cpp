// Renderer code and screen size from the main window's texts.
#include "launch/VideoSettings.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace vorelix::launch {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Rounds to the nearest integer, halves to even; no value outside the 32-bit range.
std::optional<std::int32_t> ToInt32(double number) {
    const double rounded = std::nearbyint(number);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace

double ReadDecimal(const std::wstring& text) {
    // The number's characters without the blanks, up to the first that cannot continue it.
    std::string number;
    bool digits = false;
    bool point = false;
    bool exponent = false;
    for (wchar_t c : text) {
        if (IsBlank(c)) continue;
        const bool signAllowed = number.empty() || (exponent && (number.back() == 'e'));
        if (IsDigit(c)) {
            digits = true;
        } else if ((c == L'+' || c == L'-') && signAllowed) {
        } else if (c == L'.' && !point && !exponent) {
            point = true;
        } else if ((c == L'e' || c == L'E') && digits && !exponent) {
            exponent = true;
            c = L'e';
        } else {
            break;
        }
        number += static_cast<char>(c);
    }
    if (!digits) return 0;
    // strtod stops where the text stops being a number ("12e" reads 12) and gives HUGE_VAL for what is
    // too large; the program never changes the C locale, so its point is ".".
    return std::strtod(number.c_str(), nullptr);
}

std::optional<VideoSettings> VideoSettingsFor(const std::wstring& renderer, const std::wstring& resolution) {
    const auto x = resolution.find(L'x');
    if (x == std::wstring::npos) return std::nullopt;
    const auto width = ToInt32(ReadDecimal(resolution.substr(0, x)));
    const auto height = ToInt32(ReadDecimal(resolution.substr(x + 1)));
    if (!width || !height) return std::nullopt;
    std::int32_t engineType = 1;
    if (renderer == L"OpenGL") {
        engineType = 2;
    } else if (renderer == L"Direct3D") {
        engineType = 3;
    }
    return VideoSettings{RegistryDWord{L"EngineModeW", *width}, RegistryDWord{L"EngineModeH", *height},
                         RegistryDWord{L"EngineType", engineType}};
}

}  // namespace vorelix::launch
