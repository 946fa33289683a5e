// What CommonDialog hands to the system dialogs and what it reads back, through replaced calls that
// write every call down as one line.
// Then the real harmless dialogs under Wine, which open and cancel quietly; VORELIX_DIALOG_HOLD_MS keeps
// each of them up that long (scripts/tools/dialog-screenshots.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <tuple>
#include <type_traits>
#include <vector>

#include "DialogDriver.h"
#include "platform/dialogs/CommonDialog.h"

namespace vorelix::platform {
namespace {

// Handles the replaced calls are given and hand out, written down as numbers.
const HWND kOwner = reinterpret_cast<HWND>(1);
const HICON kIcon = reinterpret_cast<HICON>(11), kLarge = reinterpret_cast<HICON>(12),
            kSmall = reinterpret_cast<HICON>(13), kCopy = reinterpret_cast<HICON>(14);
const auto kRoot = reinterpret_cast<PIDLIST_ABSOLUTE>(15), kChosen = reinterpret_cast<PIDLIST_ABSOLUTE>(16);

std::wstring recorded;  // the calls, one line each, joined by '|'
BOOL answer = TRUE;     // of the file, colour and print dialogs: FALSE cancels them
HDC printerDc = nullptr;

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
// A replaced call that writes its arguments down and gives `result`.
template <typename R>
auto Recorder(const wchar_t* what, R result) {
    return [what, result](const auto&... args) { return Record(what, args...), result; };
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
    // Size and instance, owner, starting colour, flags, how many custom colours are white.
    calls.chooseColor = [](CHOOSECOLORW& r) {
        Record(L"colour", r.lStructSize == sizeof r && r.hInstance == HWND(GetModuleHandleW(nullptr)),
               r.hwndOwner, r.rgbResult, r.Flags, std::count(r.lpCustColors, r.lpCustColors + 16, 0xFFFFFF));
        std::fill_n(r.lpCustColors, 16, RGB(1, 2, 3));
        r.rgbResult = RGB(10, 20, 30);
        return answer;
    };
    // Flags and copies; it makes a device context for the printer.
    calls.printDialog = [](PRINTDLGW& r) {
        Record(L"print", r.Flags, r.nCopies);
        if (answer) r.hDC = printerDc = CreateCompatibleDC(nullptr);
        return answer;
    };
    calls.pickIconDialog = [](HWND owner, wchar_t* file, UINT capacity, int* index) {
        Record(L"pick", owner, file, capacity, static_cast<int>(file[capacity]));
        lstrcpyW(file, L"C:\\b.dll");
        return *index = 4, TRUE;
    };
    calls.idListFromPath = Recorder(L"root", kRoot);
    calls.browseForFolder = [](BROWSEINFOW& r) {
        return Record(L"browse", r.hwndOwner, r.pidlRoot, r.lpszTitle, r.ulFlags), kChosen;
    };
    calls.pathFromIdList = [](PCIDLIST_ABSOLUTE item, wchar_t* path) {
        Record(L"path", item);
        return lstrcpyW(path, L"C:\\Demos\\Chosen"), TRUE;
    };
    calls.freeIdList = Recorder(L"free", 0);
    calls.extractIcons = [](const wchar_t* file, int index, HICON* large, HICON* small, UINT count) {
        Record(L"extract", file, index, count);
        return *large = kLarge, *small = kSmall, 2u;
    };
    calls.copyIcon = Recorder(L"copy", kCopy);
    calls.destroyIcon = Recorder(L"destroy", TRUE);
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
        // The custom colours start white at every call.
        {[](Dialog& d) {
             const auto error = (d.flags = 0xFFFF, d.ShowColor(), ErrorText(d.ShowColor()));
             return error + Text(d.color);
         },
         L"colour 1 1 255 15 16|colour 1 1 1971210 15 16", L"1971210"},
        // The printer's device context is released, and not taken for an owner.
        {[](Dialog& d) {
             d.flags = 0xFFFFFFFF;
             const auto error = ErrorText(d.ShowPrinter());
             return error + Text(GetObjectType(printerDc)) + L" " + Text(d.owner);
         },
         L"print 1839103 1", L"0 1"},
        // The browse options are the default unless the caller chose its own; without a top folder the
        // browser shows the whole shell namespace.
        {[](Dialog& d) {
             d.flags = 0xFFFF;
             const auto first = ErrorText(d.ShowFolder(L"C:\\Demos")) + d.initDir;
             return d.flags = 0x1040, d.initDir = L"", first + L"|" + ErrorText(d.ShowFolder()) + d.initDir;
         },
         L"root C:\\Demos|browse 1 15 Pick one 28673|path 16|free 16|free 15|browse 1 0 Pick one 4096|path "
         L"16|free 16",
         L"C:\\Demos\\Chosen|C:\\Demos\\Chosen"},
        // A copy of the chosen icon in the size asked for; nothing for a folder; a name beyond the room
        // of the picker is refused.
        {[](Dialog& d) {
             std::wstring icons;
             for (const bool large : {true, false})
                 icons += ErrorText(d.ShowIcon(large)), icons += Text(d.icon);
             d.fileName = L"C:\\Icons\\", d.icon = kIcon, icons += ErrorText(d.ShowIcon(true));
             icons += Text(d.icon) + L"|";
             return d.fileName.assign(261, L'a'), icons + ErrorText(d.ShowIcon(true));
         },
         L"pick 0 C:\\a.dll 260 0|extract C:\\b.dll 4 1|copy 12|destroy 12|destroy 13|"
         L"pick 0 C:\\a.dll 260 0|extract C:\\b.dll 4 1|copy 13|destroy 12|destroy 13",
         L"141411|5 CommonDialog.ShowIcon Invalid procedure call or argument 0"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        recorded.clear();
        Dialog dialog(RecordingCalls());
        dialog.owner = kOwner, dialog.icon = kIcon, dialog.filterIndex = 2, dialog.color = RGB(255, 0, 0);
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
        dialog.fileName = dialog.fileTitle = dialog.printer.deviceName = L"kept";
        dialog.color = RGB(1, 2, 3);
        std::wstring errors;
        for (auto show : {&Dialog::ShowOpen, &Dialog::ShowSave, &Dialog::ShowColor, &Dialog::ShowPrinter})
            errors += ErrorText((dialog.*show)()) + L"|";
        EXPECT_EQ(errors, cancelError ? L"5000 CommonDialog.ShowOpen  0|5000 CommonDialog.ShowSave  0|5000 "
                                        L"CommonDialog.ShowColor  0|5000 CommonDialog.ShowPrinter  0|"
                                      : L"||||");
        EXPECT_EQ(dialog.fileName + dialog.fileTitle + dialog.printer.deviceName + Text(dialog.color),
                  L"keptkeptkept197121");
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

TEST(CommonDialogCalls, AMissingShellExportIsAnErrorAndCallsNothing) {
    DialogCalls calls;  // no numbered export; any other call throws if reached
    calls.runCommandLine = [](const std::wstring&, int) { return DWORD{ERROR_FILE_NOT_FOUND}; };
    Dialog dialog(calls);
    dialog.fileName = L"C:\\a.dll";
    dialog.flags = 0x200;
    for (const auto& [error, name, ordinal] :
         {std::tuple{dialog.ShowRestart(), L"ShowRestart", 59},
          std::tuple{dialog.ShowShutDown(), L"ShowShutDown", 60},
          std::tuple{dialog.ShowRun(), L"ShowRun", 61}, std::tuple{dialog.ShowIcon(true), L"ShowIcon", 62},
          std::tuple{dialog.ShowFolder(L"C:\\x"), L"ShowFolder", 162},
          std::tuple{dialog.ShowObjectProp(L"a", L""), L"ShowObjectProp", 178}}) {
        EXPECT_EQ(ErrorText(error), L"453 CommonDialog." + std::wstring(name) +
                                        L" Can't find DLL entry point #" + Text(ordinal) +
                                        L" in shell32.dll 127");
    }
    dialog.flags = 0x800;
    EXPECT_EQ(ErrorText(dialog.ShowObjectProp(L"", L"")),
              L"53 CommonDialog.ShowObjectProp The display settings could not be opened. 2");
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
