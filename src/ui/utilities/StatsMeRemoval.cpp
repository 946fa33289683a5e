// UtilitiesWindow's StatsMe removal: after a warning, blanks the text of every StatsMe inscription.
#include "demo/edit/Messages.h"
#include "demo/edit/StatsMe.h"
#include "platform/files/DemoFile.h"
#include "platform/Text.h"
#include "ui/utilities/UtilitiesWindow.h"
#include "ui/base/EditRecovery.h"

namespace vorelix::ui {

void UtilitiesWindow::OnDeleteStatsMeClick() {
    if (!AskYesNo(services_.prompter,
                  L"Warning! This option may be work incorrectly with newest versions of StatsMe mod. Do you "
                  L"want to continue?",
                  L"Are you sure?"))
        return;
    const auto path = DemoPath();
    demo::StatsMePlan removal;
    std::int64_t writeTime = 0;
    {
        RecoverDemoBeforeReading(services_.prompter, path);
        auto demoFile = platform::MappedDemo::Open(path);
        if (!demoFile) return TellWriteFailed(demoFile.failure());
        removal = demo::PlanStatsMeRemoval(demoFile->Bytes(), &demoFile.value());
        writeTime = demoFile->LastWriteTime();
    }
    if (!removal.found)
        return ShowError(services_.prompter, platform::Utf8ToWide(demo::kStatsMeNotFoundMessage));
    // A failure is told as one; the button stays, so the removal can be tried again.
    if (auto written = BackupAndWrite(path, removal.plan, writeTime); !written)
        return TellWriteFailed(written.failure());
    deleteStatsMeButton_.Enable(false);
    TellDone(demo::kStatsMeRemovedMessage);
}

}  // namespace vorelix::ui
