// What CommonDialog hands to the file dialogs (the one the program opens to choose hl.exe) and what it
// reads back, through replaced calls that write every call down as one line.
// Then the real harmless dialogs under Wine, which open and cancel quietly; VORELIX_DIALOG_HOLD_MS keeps
// each of them up that long (scripts/tools/dialog-screenshots.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <type_traits>
#include <vector>

#include "DialogDriver.h"
#include "platform/dialogs/CommonDialog.h"

namespace vorelix::platform {
namespace {

// The owner handle the replaced calls are given, written down as a number.
const HWND kOwner = reinterpret_cast<HWND>(1);

std::wstring recorded;  // the calls, one line each, joined by '|'
BOOL answer = TRUE;     // of the file dialogs: FALSE cancels them

template <typename T>
std::wstring Text(const T& value) {
    if constexpr (std::is_convertible_v<const T&, const wchar_t*>) {
        const wchar_t* text = value;
        return text != nullptr ? text : L"<null>";
    } else if constexpr (std::is_convertible_v<const T&, std::wstring>) {
        return value;
    } else if constexpr (std::is_pointer_v<T>) {
        return std::to_wstring(reinterpret_cast<UINT_PTR>(value));
    } else {
        return std::to_wstring(value);
    }
}
// A NUL-separated list up to its empty entry, NULs shown as '^'.
std::wstring ListText(const wchar_t* list) {
    std::wstring text;
    for (std::size_t i = 0; i == 0 || list[i] != 0 || list[i - 1] != 0; ++i) text += list[i] ? list[i] : L'^';
    return text + L'^';
}
std::wstring ErrorText(const std::optional<DialogError>& error) {
    if (!error) return L"";
    return Text(error->number) + L" " + error->source + L" " + error->description + L" " +
           Text(error->systemCode);
}
template <typename... Args>
void Record(const wchar_t* what, const Args&... args) {
    recorded += (recorded.empty() ? L"" : L"|") + std::wstring(what);
    ((recorded += L" " + Text(args)), ...);
}
// A file dialog writes down: current record size and our instance, owner, filter list, filter index,
// starting name, rooms of name and title, starting folder, title, extension, flags, and whether a
// custom filter, hook or template is set; it chooses C:\Games\hl.exe.
auto FileDialog(const wchar_t* what) {
    return [what](OPENFILENAMEW& r) {
        Record(what, r.lStructSize == sizeof r && r.hInstance == GetModuleHandleW(nullptr), r.hwndOwner,
               ListText(r.lpstrFilter), r.nFilterIndex, r.lpstrFile, r.nMaxFile, r.nMaxFileTitle,
               r.lpstrInitialDir, r.lpstrTitle, r.lpstrDefExt, r.Flags,
               r.lpstrCustomFilter || r.lpfnHook || r.lpTemplateName || r.lCustData);
        if (answer) lstrcpyW(r.lpstrFile, L"C:\\Games\\hl.exe"), lstrcpyW(r.lpstrFileTitle, L"hl.exe");
        return answer;
    };
}

DialogCalls RecordingCalls() {
    DialogCalls calls;
    calls.getOpenFileName = FileDialog(L"open");
    calls.getSaveFileName = FileDialog(L"save");
    return calls;
}

using Dialog = CommonDialog;

TEST(CommonDialogCalls, PassTheirPartOfTheFlagsThePropertiesAndHandlesAndReadTheChoiceBack) {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::wstring programFolder = std::filesystem::path(program).parent_path().wstring();
    const std::wstring open = L"open 1 1 hl.exe^hl.exe^^ 2 C:\\a.dll 255 255 ";
    const struct {
        std::function<std::wstring(Dialog&)> act;  // gives what the operations changed
        std::wstring calls;
        std::wstring changed;
    } cases[] = {
        // The game-folder browse: a one-entry filter and no starting folder, which is the program's.
        {[](Dialog& d) {
             d.filter = NulSeparated({L"hl.exe", L"hl.exe"}), d.flags = 6144;
             return ErrorText(d.ShowOpen()) + d.fileName + L"|" + d.fileTitle;
         },
         open + programFolder + L" Run it <null> 6144 0", L"C:\\Games\\hl.exe|hl.exe"},
        // "|" separates nothing; hook and template bits never pass; an empty title is the system's; a
        // name of 255 fits, one of 256 does not.
        {[](Dialog& d) {
             d.filter = L"Demos|*.dem", d.initDir = L"C:\\Demos", d.defaultExt = L"dem", d.dialogTitle = L"";
             d.fileName.assign(255, L'n'), d.flags = 0xFFFFFFFF;
             const auto saved = ErrorText(d.ShowSave()) + d.fileName;
             return d.fileName.assign(256, L'n'), saved + L"|" + ErrorText(d.ShowOpen());
         },
         L"save 1 1 Demos|*.dem^^ 2 " + std::wstring(255, L'n') +
             L" 255 255 C:\\Demos <null> dem 4294967071 0",
         L"C:\\Games\\hl.exe|5 CommonDialog.ShowOpen Invalid procedure call or argument 0"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        recorded.clear();
        Dialog dialog(RecordingCalls());
        dialog.owner = kOwner, dialog.filterIndex = 2;
        dialog.dialogTitle = L"Run it", dialog.dialogPrompt = L"Pick one", dialog.fileName = L"C:\\a.dll";
        EXPECT_EQ(cases[i].act(dialog), cases[i].changed) << "case " << i;
        EXPECT_EQ(recorded, cases[i].calls) << "case " << i;
    }
}

TEST(CommonDialogCalls, ACancelIsError5000OnlyWithCancelErrorAndAnUnterminatedAnswerIsIgnored) {
    answer = FALSE;
    for (const bool cancelError : {false, true}) {
        Dialog dialog(RecordingCalls());
        dialog.cancelError = cancelError;
        dialog.fileName = dialog.fileTitle = L"kept";
        std::wstring errors;
        for (auto show : {&Dialog::ShowOpen, &Dialog::ShowSave}) errors += ErrorText((dialog.*show)()) + L"|";
        EXPECT_EQ(errors, cancelError ? L"5000 CommonDialog.ShowOpen  0|5000 CommonDialog.ShowSave  0|" : L"||");
        EXPECT_EQ(dialog.fileName + dialog.fileTitle, L"keptkept");
    }
    answer = TRUE;
    DialogCalls calls;
    calls.getOpenFileName = [](OPENFILENAMEW& record) {
        std::fill_n(record.lpstrFile, record.nMaxFile, L'x');
        std::fill_n(record.lpstrFileTitle, record.nMaxFileTitle, L'y');
        return TRUE;
    };
    Dialog dialog(calls);
    EXPECT_EQ(ErrorText(dialog.ShowOpen()) + dialog.fileName + L"|" + dialog.fileTitle, L"|");
}

TEST(CommonDialogOnWine, TheHarmlessDialogsOpenAndCancelAndShellHasEveryNumberedExport) {
    CommonDialog dialog;
    dialog.dialogTitle = L"Please choose hl.exe", dialog.filter = NulSeparated({L"hl.exe", L"hl.exe"});
    dialog.appName = L"Vorelix", dialog.dialogPrompt = L"Counter-Strike demo browser";
    dialog.fontName = L"Tahoma", dialog.fontSize = 10, dialog.color = RGB(0, 128, 0);
    // In the order scripts/tools/dialog-screenshots.sh takes them; the system names its own dialogs.
    const std::pair<std::wstring, std::function<std::optional<DialogError>()>> cases[] = {
        {L"Please choose hl.exe", [&] { return dialog.ShowOpen(); }},
        {L"", [&] { return dialog.ShowColor(); }},
        {L"", [&] { return dialog.ShowFont(); }},
        {L"", [&] { return dialog.ShowFolder(); }},
        {L"About Vorelix", [&] { return dialog.ShowAbout(), std::nullopt; }},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& [caption, show] = cases[i];
        wchar_t shown[64] = {};
        test::DialogDriver driver([&](HWND box) {
            GetWindowTextW(box, shown, 64);
            SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        EXPECT_FALSE(show().has_value());
        EXPECT_TRUE(driver.acted) << "no dialog was shown";
        EXPECT_TRUE(caption.empty() || shown == caption) << shown;
    }
    // The numbered exports are looked up only, never called: some of them act on the machine.
    const DialogCalls& calls = SystemDialogCalls();
    EXPECT_TRUE(calls.restartDialog && calls.exitWindowsDialog && calls.runFileDialog &&
                calls.pickIconDialog && calls.idListFromPath && calls.objectProperties);
}

}  // namespace
}  // namespace vorelix::platform
