// MainWindow's information panel: what selecting a demo shows.
#include <filesystem>

#include "platform/files/DemoFile.h"
#include "demo/edit/TextRule.h"
#include "platform/Text.h"
#include "ui/base/EditRecovery.h"
#include "ui/main/MainWindow.h"

namespace vorelix::ui {

void MainWindow::OnDemoSelected() {
    ClearPlayers();
    const std::filesystem::path demo(GetSelectedDemoPath());
    if (!demo.empty()) RecoverDemoBeforeReading(services_.prompter, demo);
    // Only the header windows and the body window are read, whatever the demo's size.
    const auto summary = platform::ReadDemoSummary(demo);
    if (!summary) {
        ShowInfoString(platform::Utf8ToWide(demo::kIncorrectFormatMessage));
        return;
    }
    for (const auto& player : summary->players) AddPlayer(platform::DemoTextForDisplay(player));
    const int selected = demoList_.Selected();
    const std::wstring name = selected >= 0 ? demoList_.Entry(selected) : std::wstring{};
    const demo::TextRule rule(platform::SystemCodePage());
    const auto shown = [&rule](std::string_view bytes) { return demo::ShownText(bytes, rule); };
    std::wstring text;
    for (const auto& line : demo::InformationLines(platform::WideToUtf8(name), *summary, shown)) {
        text += (text.empty() ? L"" : L"\r\n") + platform::Utf8ToWide(line);
    }
    ShowInfoString(text);
    if (onDemoRead) onDemoRead();
    UpdateEnables();
}

}  // namespace vorelix::ui
