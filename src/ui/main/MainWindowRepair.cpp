// MainWindow's repair of a demo cut off by a crash: the demo menu's "Восстановить копию демки..." item.
#include <cwchar>

#include "demo/DemoContainer.h"
#include "demo/DemoRepair.h"
#include "platform/files/DemoFile.h"
#include "platform/Text.h"
#include "ui/main/MainWindow.h"

namespace vorelix::ui {

namespace {

std::wstring SecondsText(double seconds) {
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%.1f", seconds);
    return text;
}

}  // namespace

bool MainWindow::SelectedDemoNeedsRepair() const {
    if (demoList_.Selected() < 0) return false;
    // The walk reads the whole demo, a megabyte at a time: milliseconds for a usual demo.
    const auto check = platform::CheckDemoFile(GetSelectedDemoPath());
    return check.ok() && check->directory && *check->directory != demo::DirectoryState::Ok;
}

void MainWindow::OnRepairDemoClick() {
    if (demoList_.Selected() < 0) return;
    const std::filesystem::path demoPath = GetSelectedDemoPath();
    const auto outcome = platform::RepairDemoFile(demoPath);
    if (!outcome) {
        const Failure& failure = outcome.failure();
        // Creating the copy fails with the first code; a copy renamed into place, with the second.
        if (failure.code == ERROR_FILE_EXISTS || failure.code == ERROR_ALREADY_EXISTS) {
            return Warn(services_.prompter,
                        L"The demo could not be repaired: the file " +
                            demo::RepairedDemoPath(demoPath).filename().wstring() +
                            L" already exists.\r\n\r\nRename or delete it, then repair the "
                            L"demo again.");
        }
        // Without a code the reason is the engine's own clause, not the system's text.
        if (failure.code == 0) {
            return Warn(services_.prompter, L"The demo could not be repaired.\r\n\r\n" +
                                                platform::Utf8ToWide(demo::AsSentence(failure.systemText)));
        }
        TellFailure(L"The demo could not be repaired.", failure.systemText);
        return;
    }
    if (outcome->answer.Whole())
        return Inform(services_.prompter,
                      L"The demo is whole: there is nothing to repair, and nothing was written.");
    const std::wstring name = outcome->output.filename().wstring();
    LoadDemoList();
    for (int i = 0; i < demoList_.Count(); ++i) {
        if (demoList_.Entry(i) == name) {
            SelectDemo(i);
            break;
        }
    }
    const auto& plan = *outcome->answer.plan;
    const std::string sizeStop = demo::DescribeSizeStop(plan);
    Inform(services_.prompter, L"The repaired copy " + name + L" keeps " + SecondsText(plan.duration) +
                                   L" s of playback, " + std::to_wstring(plan.frames) + L" frames." +
                                   (sizeStop.empty() ? L"" : L" " + platform::Utf8ToWide(sizeStop)));
}

}  // namespace vorelix::ui
