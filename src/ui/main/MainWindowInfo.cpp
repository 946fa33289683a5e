// MainWindow's information panel: what selecting a demo shows.
#include <filesystem>

#include "platform/DemoFile.h"
#include "platform/Text.h"
#include "ui/main/DemoInformation.h"
#include "ui/main/MainWindow.h"

namespace vorelix::ui {

void MainWindow::OnDemoSelected() {
    ClearPlayers();
    // Only the header windows and the body window are read, whatever the demo's size.
    const auto summary = platform::ReadDemoSummary(std::filesystem::path(GetSelectedDemoPath()));
    if (!summary) {
        ShowInfoString(platform::Utf8ToWide(demo::kIncorrectFormatMessage));
        return;
    }
    for (const auto& player : summary->players) AddPlayer(platform::DemoTextForDisplay(player));
    const int selected = demoList_.Selected();
    ShowInfoString(InformationText(selected >= 0 ? demoList_.Entry(selected) : std::wstring{}, *summary));
    if (onDemoRead) onDemoRead();
    UpdateEnables();
}

}  // namespace vorelix::ui
