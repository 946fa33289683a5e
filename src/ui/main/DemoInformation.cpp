// The information box's five lines.
#include "ui/main/DemoInformation.h"

#include "platform/Text.h"

namespace vorelix::ui {

std::wstring InformationText(const std::wstring& demoName, const demo::DemoSummary& summary) {
    using platform::DemoTextForDisplay;
    using platform::Utf8ToWide;
    return L"Demo name: " + demoName + L"\r\n" +                   //
           L"Map: " + DemoTextForDisplay(summary.map) + L"\r\n" +  //
           L"Mod: " + DemoTextForDisplay(summary.mod) + L"\r\n" +  //
           L"Type: " + Utf8ToWide(summary.TypeText()) + L"\r\n" +  //
           L"Size: " + Utf8ToWide(summary.sizeText);
}

}  // namespace vorelix::ui
