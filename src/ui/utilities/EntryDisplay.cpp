// The utilities window's side of the demo text rule: the system's code page, UTF-16, and the words
// the user is told.
#include "ui/utilities/EntryDisplay.h"

#include "platform/Text.h"

namespace vorelix::ui {

const demo::TextRule& WindowTextRule() {
    static const demo::TextRule rule(platform::SystemCodePage());
    return rule;
}

std::wstring ShowEntry(std::string_view bytes) {
    return platform::Utf8ToWide(demo::ShownText(bytes, WindowTextRule()));
}

std::wstring RefusalText(demo::TextField field, std::string_view reason) {
    const wchar_t* what = field == demo::TextField::Nick ? L"nick" : L"message";
    return std::wstring(L"The new ") + what + L" cannot be written into the demo: " +
           platform::Utf8ToWide(reason) + L". Nothing is written.";
}

std::size_t FittingLength(std::wstring_view typed, std::string_view replaced, std::size_t roomBytes) {
    const bool utf8 = demo::WrittenInUtf8(replaced, WindowTextRule());
    std::size_t bytes = 0;
    std::size_t i = 0;
    while (i < typed.size()) {
        // A surrogate pair is one character of four UTF-8 bytes; a code page writes any character as one.
        const bool pair = typed[i] >= 0xD800 && typed[i] <= 0xDBFF && i + 1 < typed.size() &&
                          typed[i + 1] >= 0xDC00 && typed[i + 1] <= 0xDFFF;
        const wchar_t unit = typed[i];
        bytes += !utf8 ? 1 : pair ? 4 : unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
        if (bytes > roomBytes) break;
        i += pair ? 2 : 1;
    }
    return i;
}

}  // namespace vorelix::ui
