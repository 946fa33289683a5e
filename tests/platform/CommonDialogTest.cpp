// What CommonDialog hands to each system dialog and what it reads back, through replaced calls that
// write every call down as one line: the dialogs that shut down or format the machine are never run.
// Then the real harmless dialogs under Wine, which open and cancel quietly; VORELIX_DIALOG_HOLD_MS keeps
// each of them up that long (scripts/dialog-screenshots.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <tuple>
#include <type_traits>
#include <vector>

#include "DialogDriver.h"
#include "platform/CommonDialog.h"

namespace vorelix::platform {
namespace {

// Handles the replaced calls are given and hand out, written down as numbers.
const HWND kOwner = reinterpret_cast<HWND>(1);
const HICON kIcon = reinterpret_cast<HICON>(11), kLarge = reinterpret_cast<HICON>(12),
            kSmall = reinterpret_cast<HICON>(13), kCopy = reinterpret_cast<HICON>(14);
const auto kRoot = reinterpret_cast<PIDLIST_ABSOLUTE>(15), kChosen = reinterpret_cast<PIDLIST_ABSOLUTE>(16);

std::wstring recorded;  // the calls, one line each, joined by '|'
BOOL answer = TRUE;     // of the file, colour, font and print dialogs: FALSE cancels them
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
    // Size and instance, owner, flags, tenths of points, colour, face, whether the height is a
    // character's (negative), weight, italic, underline, strike-out.
    calls.chooseFont = [](CHOOSEFONTW& r) {
        LOGFONTW& font = *r.lpLogFont;
        Record(L"font", r.lStructSize == sizeof r && r.hInstance == GetModuleHandleW(nullptr), r.hwndOwner,
               r.Flags, r.iPointSize, r.rgbColors, font.lfFaceName, font.lfHeight < 0, font.lfWeight,
               font.lfItalic, font.lfUnderline, font.lfStrikeOut);
        lstrcpyW(font.lfFaceName, L"Courier New");
        font.lfWeight = FW_NORMAL, font.lfItalic = FALSE, font.lfStrikeOut = TRUE;
        r.iPointSize = 105, r.rgbColors = RGB(0, 0, 255);
        return answer;
    };
    // Size and instance, owner, flags, copies, the printer it starts on; it chooses a landscape duplex
    // printer for three copies and makes a device context.
    calls.printDialog = [](PRINTDLGW& r) {
        std::wstring start = L"default";
        if (const auto* names = static_cast<const wchar_t*>(GlobalLock(r.hDevNames))) {
            const auto* mode = static_cast<const DEVMODEW*>(GlobalLock(r.hDevMode));
            start = std::wstring(names + reinterpret_cast<const DEVNAMES*>(names)->wDeviceOffset) + L"/" +
                    mode->dmDeviceName + L"/" + Text(mode->dmOrientation);
            GlobalUnlock(r.hDevNames), GlobalUnlock(r.hDevMode);
        }
        Record(L"print", r.lStructSize == sizeof r && r.hInstance == GetModuleHandleW(nullptr), r.hwndOwner,
               r.Flags, r.nCopies, start);
        if (!answer) return FALSE;
        GlobalFree(r.hDevNames), GlobalFree(r.hDevMode);
        // DEVNAMES: where driver, device and port start, in characters, then the three texts.
        const std::wstring names =
            std::wstring{4, 13, 28, 0} + std::wstring(L"winspool\0Office Printer\0\0", 25);
        r.hDevNames = GlobalAlloc(GMEM_FIXED, names.size() * sizeof(wchar_t));
        names.copy(static_cast<wchar_t*>(r.hDevNames), names.size());
        auto* mode = static_cast<DEVMODEW*>(r.hDevMode = GlobalAlloc(GPTR, sizeof(DEVMODEW)));
        mode->dmFields = DM_ORIENTATION | DM_DUPLEX | DM_COPIES;
        mode->dmOrientation = DMORIENT_LANDSCAPE, mode->dmDuplex = DMDUP_VERTICAL, mode->dmCopies = 3;
        r.hDC = printerDc = CreateCompatibleDC(nullptr);
        return TRUE;
    };
    calls.restartDialog = Recorder(L"restart", 0);
    calls.exitWindowsDialog = Recorder(L"shutdown", 0);
    calls.runFileDialog = Recorder(L"run", 0);
    calls.pickIconDialog = [](HWND owner, wchar_t* file, UINT capacity, int* index) {
        Record(L"pick", owner, file, capacity, static_cast<int>(file[capacity]));
        lstrcpyW(file, L"C:\\b.dll");
        return *index = 4, TRUE;
    };
    calls.idListFromPath = Recorder(L"root", kRoot);
    calls.objectProperties = Recorder(L"properties", TRUE);
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
    calls.winHelp = Recorder(L"help", TRUE);
    calls.shellAbout = Recorder(L"about", 1);
    calls.formatDrive = Recorder(L"format", DWORD{SHFMT_CANCEL});
    calls.runCommandLine = Recorder(L"command", DWORD{0});
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
        {[](Dialog& d) {
             d.flags = CF_ENABLEHOOK | CF_ENABLETEMPLATE | CF_NOSCRIPTSEL;
             d.fontName = L"Tahoma", d.fontSize = 12, d.bold = d.italic = d.underline = true;
             const auto error = ErrorText(d.ShowFont());
             return error + d.fontName + L" " + Text(d.fontSize) + Text(d.bold) + Text(d.italic) +
                    Text(d.underline) + Text(d.strikeOut) + L" " + Text(d.color);
         },
         L"font 1 1 8388929 120 255 Tahoma 1 700 1 1 0", L"Courier New 100011 16711680"},
        // The first print dialog starts on the default printer, the next on the one chosen; the
        // printer's device context is released, and not taken for an owner.
        {[](Dialog& d) {
             d.flags = 0xFFFFFFFF, d.ShowPrinter(), d.printer.orientation = DMORIENT_PORTRAIT;
             const auto error = ErrorText(d.ShowPrinter());
             return error + d.printer.deviceName + L" " + Text(d.printer.orientation) +
                    Text(d.printer.duplex) + Text(d.printer.copies) + Text(GetObjectType(printerDc)) +
                    Text(d.owner);
         },
         L"print 1 1 1839103 1 default|print 1 1 1839103 3 Office Printer/Office Printer/1",
         L"Office Printer 22301"},
        {[](Dialog& d) {
             std::wstring errors = (d.flags = 0x1F7, ErrorText(d.ShowRestart()));
             errors += ErrorText(d.ShowShutDown());
             return errors + ErrorText(d.ShowRun());
         },
         L"restart 1 Pick one 7|shutdown 1|run 1 11 <null> Run it Pick one 15", L""},
        // The object kind is the bits 0xF00: 1 a printer, 2 a file, 7 the recycled files, 8 the display.
        {[](Dialog& d) {
             std::wstring errors;
             for (DWORD flags : {0x11FF, 0x700, 0x300, 0x800})
                 d.flags = flags, errors += ErrorText(d.ShowObjectProp(L"HP", L"General"));
             return errors;
         },
         L"properties 1 1 HP General|properties 1 2 c:\\recycled General|properties 1 2  General|"
         L"command rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0 1",
         L""},
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
        // The help key is the help engine's data; an empty application name becomes a single NUL.
        {[](Dialog& d) {
             d.ShowHelp(), d.ShowAbout();
             const auto changed =
                 Text(d.helpKey) + L" " + Text(d.ShowFormat(3, 0, 1)) + L" " + Text(d.appName.size());
             return d.appName = L"Vorelix", d.ShowAbout(), changed;
         },
         L"help 1 game.hlp 3 42|about 1  Pick one 11|format 1 3 0 1|about 1 Vorelix Pick one 11", L"42 -2 1"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        recorded.clear();
        Dialog dialog(RecordingCalls());
        dialog.owner = kOwner, dialog.icon = kIcon, dialog.filterIndex = 2, dialog.color = RGB(255, 0, 0);
        dialog.dialogTitle = L"Run it", dialog.dialogPrompt = L"Pick one", dialog.fileName = L"C:\\a.dll";
        dialog.helpFile = L"game.hlp", dialog.helpCommand = 3, dialog.helpKey = 42;
        EXPECT_EQ(cases[i].act(dialog), cases[i].changed) << "case " << i;
        EXPECT_EQ(recorded, cases[i].calls) << "case " << i;
    }
}

TEST(CommonDialogCalls, ACancelIsError5000OnlyWithCancelErrorAndAnUnterminatedAnswerIsIgnored) {
    answer = FALSE;
    for (const bool cancelError : {false, true}) {
        Dialog dialog(RecordingCalls());
        dialog.cancelError = cancelError;
        dialog.fileName = dialog.fileTitle = dialog.fontName = dialog.printer.deviceName = L"kept";
        dialog.color = RGB(1, 2, 3);
        std::wstring errors;
        for (auto show : {&Dialog::ShowOpen, &Dialog::ShowSave, &Dialog::ShowColor, &Dialog::ShowFont,
                          &Dialog::ShowPrinter})
            errors += ErrorText((dialog.*show)()) + L"|";
        EXPECT_EQ(errors, cancelError ? L"5000 CommonDialog.ShowOpen  0|5000 CommonDialog.ShowSave  0|5000 "
                                        L"CommonDialog.ShowColor  0|5000 CommonDialog.ShowFont  0|5000 "
                                        L"CommonDialog.ShowPrinter  0|"
                                      : L"|||||");
        EXPECT_EQ(dialog.fileName + dialog.fileTitle + dialog.fontName + dialog.printer.deviceName +
                      Text(dialog.color),
                  L"keptkeptkeptkept197121");
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
    // In the order scripts/dialog-screenshots.sh takes them; the system names its own dialogs.
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
