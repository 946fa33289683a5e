#include "ui/base/EditRecovery.h"

#include "platform/files/EditJournalFile.h"
#include "platform/Text.h"

namespace vorelix::ui {

void RecoverDemoBeforeReading(Prompter& prompter, const std::filesystem::path& demo) {
    const auto outcome = platform::RecoverInterruptedEdit(demo);
    if (outcome.kind == platform::Recovery::None) return;
    std::wstring text = platform::Utf8ToWide(outcome.text);
    text[0] = static_cast<wchar_t>(towupper(text[0]));
    text = demo.filename().wstring() + L":\r\n\r\n" + text + L".";
    if (outcome.kind == platform::Recovery::LeftAlone) {
        Warn(prompter, text);
    } else {
        Inform(prompter, text);
    }
}

}  // namespace vorelix::ui
