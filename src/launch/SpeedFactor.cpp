// ReplaceAll and the speed factor.
#include "launch/SpeedFactor.h"

#include <cwchar>

#include "launch/VideoSettings.h"

namespace vorelix::launch {

std::wstring ReplaceAll(std::wstring text, const std::wstring& find, const std::wstring& replacement) {
    if (find.empty()) return text;
    for (auto at = text.find(find); at != std::wstring::npos; at = text.find(find, at + replacement.size())) {
        text.replace(at, find.size(), replacement);
    }
    return text;
}

std::wstring SpeedFactorText(const std::wstring& speedText) {
    float factor = static_cast<float>(ReadDecimal(speedText) / 100.0);
    if (!(factor > 0)) factor = 1;
    wchar_t buffer[64] = {};
    std::swprintf(buffer, 64, L"%.7g", static_cast<double>(factor));
    // The C library writes the locale's decimal mark; the factor always carries a point.
    return ReplaceAll(buffer, L",", L".");
}

}  // namespace vorelix::launch
