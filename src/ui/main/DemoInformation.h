// The text of the information box for a selected demo.
#pragma once

#include <string>

#include "demo/DemoSummary.h"

namespace vorelix::ui {

// Five lines joined by CR LF, no line break after the last: the demo's name as the list shows it,
// its map, its mod, its type and its size. Texts from the demo are decoded for display only.
std::wstring InformationText(const std::wstring& demoName, const demo::DemoSummary& summary);

}  // namespace vorelix::ui
