// What CommonDialog passes to the shell's dialogs and the help engine, and how a missing export fails.
// Everything here answers through replaced calls: these dialogs can shut down or format the machine.
#include <gtest/gtest.h>

#include <functional>
#include <type_traits>
#include <vector>

#include "platform/CommonDialog.h"

namespace vorelix::platform {
namespace {

// Handles the fakes hand out and expect back, written as numbers in the record of a call.
const HWND kOwner = reinterpret_cast<HWND>(1);
const HICON kIcon = reinterpret_cast<HICON>(11), kLarge = reinterpret_cast<HICON>(12),
            kSmall = reinterpret_cast<HICON>(13), kCopy = reinterpret_cast<HICON>(14);
const auto kRoot = reinterpret_cast<PIDLIST_ABSOLUTE>(15);
const auto kChosen = reinterpret_cast<PIDLIST_ABSOLUTE>(16);

std::vector<std::wstring> recorded;

std::wstring Show(const wchar_t* text) {
    return text != nullptr ? text : L"<null>";
}
std::wstring Show(const std::wstring& text) {
    return text;
}
template <typename T>
std::wstring Show(T value) {
    if constexpr (std::is_pointer_v<T>) {
        return std::to_wstring(reinterpret_cast<UINT_PTR>(value));
    } else {
        return std::to_wstring(value);
    }
}
// One call as one line: its name, then its arguments separated by blanks.
template <typename... Args>
void Record(const wchar_t* what, const Args&... args) {
    std::wstring line = what;
    ((line += L" " + Show(args)), ...);
    recorded.push_back(line);
}

DialogCalls RecordingCalls() {
    DialogCalls calls;
    calls.restartDialog = [](HWND owner, const wchar_t* prompt, DWORD options) {
        return Record(L"restart", owner, prompt, options), 0;
    };
    calls.exitWindowsDialog = [](HWND owner) { Record(L"shutdown", owner); };
    calls.runFileDialog = [](HWND owner, HICON icon, const wchar_t* folder, const wchar_t* title,
                             const wchar_t* prompt,
                             UINT options) { Record(L"run", owner, icon, folder, title, prompt, options); };
    calls.pickIconDialog = [](HWND owner, wchar_t* file, UINT capacity, int* index) {
        Record(L"pick", owner, static_cast<const wchar_t*>(file), capacity, static_cast<int>(file[capacity]));
        lstrcpyW(file, L"C:\\b.dll");
        *index = 4;
        return TRUE;
    };
    calls.idListFromPath = [](const wchar_t* path) { return Record(L"root", path), kRoot; };
    calls.objectProperties = [](HWND owner, DWORD kind, const wchar_t* object, const wchar_t* page) {
        return Record(L"properties", owner, kind, object, page), TRUE;
    };
    calls.browseForFolder = [](BROWSEINFOW& record) {
        Record(L"browse", record.hwndOwner, record.pidlRoot, record.lpszTitle, record.ulFlags);
        return kChosen;
    };
    calls.pathFromIdList = [](PCIDLIST_ABSOLUTE item, wchar_t* path) {
        Record(L"path", item);
        lstrcpyW(path, L"C:\\Demos\\Chosen");
        return TRUE;
    };
    calls.freeIdList = [](PIDLIST_ABSOLUTE item) { Record(L"free", item); };
    calls.extractIcons = [](const wchar_t* file, int index, HICON* large, HICON* small, UINT count) {
        Record(L"extract", file, index, count);
        *large = kLarge;
        *small = kSmall;
        return 2u;
    };
    calls.copyIcon = [](HICON icon) { return Record(L"copy", icon), kCopy; };
    calls.destroyIcon = [](HICON icon) { return Record(L"destroy", icon), TRUE; };
    calls.winHelp = [](HWND owner, const wchar_t* file, UINT command, ULONG_PTR data) {
        return Record(L"help", owner, file, command, data), TRUE;
    };
    calls.shellAbout = [](HWND owner, const wchar_t* app, const wchar_t* other, HICON icon) {
        return Record(L"about", owner, app, other, icon), 1;
    };
    calls.formatDrive = [](HWND owner, UINT drive, UINT capacity, UINT options) {
        return Record(L"format", owner, drive, capacity, options), DWORD{SHFMT_CANCEL};
    };
    calls.runCommandLine = [](const std::wstring& commandLine, int show) {
        return Record(L"command", commandLine, show), DWORD{0};
    };
    return calls;
}

std::vector<std::wstring> FolderCalls(const wchar_t* browseOptions) {
    return {L"root C:\\Demos", L"browse 1 15 Pick one " + std::wstring(browseOptions), L"path 16", L"free 16",
            L"free 15"};
}
std::vector<std::wstring> IconCalls(const wchar_t* copied) {
    return {L"pick 0 C:\\a.dll 260 0", L"extract C:\\b.dll 4 1", L"copy " + std::wstring(copied),
            L"destroy 12", L"destroy 13"};
}

TEST(ShellDialogCalls, PassTheMaskedFlagsStringsAndHandlesAndReadTheChoiceBack) {
    const auto objectProperties = [](CommonDialog& d) { ASSERT_FALSE(d.ShowObjectProp(L"HP", L"General")); };
    const auto folder = [](CommonDialog& d) { ASSERT_FALSE(d.ShowFolder(L"C:\\Demos")); };
    const auto largeIcon = [](CommonDialog& d) { ASSERT_FALSE(d.ShowIcon(true)); };
    const std::wstring chosen = L"C:\\Demos\\Chosen";
    struct Case {
        std::function<void(CommonDialog&)> act;
        DWORD flags;
        std::vector<std::wstring> expected;
        HICON icon = kIcon;
        std::wstring initDir = L"";
    } cases[] = {
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowRestart()); }, 0xFF, {L"restart 1 Pick one 7"}},
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowShutDown()); }, 0xFF, {L"shutdown 1"}},
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowRun()); }, 0x1F5, {L"run 1 11 <null> Run it Pick one 15"}},
        {objectProperties, 0x100, {L"properties 1 1 HP General"}},
        {objectProperties, 0x2FF, {L"properties 1 2 HP General"}},
        {objectProperties, 0x700, {L"properties 1 2 c:\\recycled General"}},
        {objectProperties, 0x300, {L"properties 1 2  General"}},
        {objectProperties, 0x800, {L"command rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0 1"}},
        {folder, 0x0FFF, FolderCalls(L"1"), kIcon, chosen},
        {folder, 0x1040, FolderCalls(L"4096"), kIcon, chosen},
        {folder, 0xFFFF, FolderCalls(L"28673"), kIcon, chosen},
        // Without a top folder the browser shows the whole shell namespace.
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowFolder()); },
         0,
         {L"browse 1 0 Pick one 1", L"path 16", L"free 16"},
         kIcon,
         chosen},
        {largeIcon, 0, IconCalls(L"12"), kCopy},
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowIcon(false)); }, 0, IconCalls(L"13"), kCopy},
        {[](CommonDialog& d) {
             d.fileName = L"C:\\Icons\\";
             ASSERT_FALSE(d.ShowIcon(true));
         },
         0,
         {}},
        {[](CommonDialog& d) { d.ShowHelp(); }, 0, {L"help 1 game.hlp 3 42"}},
        {[](CommonDialog& d) { EXPECT_EQ(d.ShowFormat(3, 0, 1), SHFMT_CANCEL); }, 0, {L"format 1 3 0 1"}},
        {[](CommonDialog& d) {
             d.ShowAbout();
             EXPECT_EQ(d.appName, std::wstring(1, L'\0'));
         },
         0,
         {L"about 1  Pick one 11"}},
        {[](CommonDialog& d) { d.appName = L"Vorelix", d.ShowAbout(); }, 0, {L"about 1 Vorelix Pick one 11"}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        recorded.clear();
        CommonDialog dialog(RecordingCalls());
        dialog.owner = kOwner;
        dialog.flags = c.flags;
        dialog.dialogTitle = L"Run it";
        dialog.dialogPrompt = L"Pick one";
        dialog.icon = kIcon;
        dialog.fileName = L"C:\\a.dll";
        dialog.helpFile = L"game.hlp";
        dialog.helpCommand = 3;
        dialog.helpKey = 42;
        c.act(dialog);
        EXPECT_EQ(recorded, c.expected) << "case " << i;
        EXPECT_EQ(dialog.icon, c.icon) << "case " << i;
        EXPECT_EQ(dialog.initDir, c.initDir) << "case " << i;
        EXPECT_TRUE(dialog.helpKey == 42 && dialog.owner == kOwner && dialog.fileName.starts_with(L"C:\\"))
            << "case " << i;
    }
}

TEST(ShellDialogCalls, AMissingExportOrAnOverlongIconFileIsAnErrorAndCallsNothing) {
    DialogCalls calls;  // no numbered export; any other call throws if reached
    calls.runCommandLine = [](const std::wstring&, int) { return DWORD{ERROR_FILE_NOT_FOUND}; };
    CommonDialog dialog(calls);
    dialog.fileName = L"C:\\a.dll";
    dialog.flags = 0x200;
    const std::pair<std::optional<DialogError>, const wchar_t*> cases[] = {
        {dialog.ShowRestart(), L"#59"},
        {dialog.ShowShutDown(), L"#60"},
        {dialog.ShowRun(), L"#61"},
        {dialog.ShowIcon(true), L"#62"},
        {dialog.ShowFolder(L"C:\\x"), L"#162"},
        {dialog.ShowObjectProp(L"a", L""), L"#178"},
    };
    for (const auto& [error, ordinal] : cases) {
        ASSERT_TRUE(error.has_value()) << ordinal;
        EXPECT_EQ(error->number, kShellEntryPointMissing);
        EXPECT_NE(error->description.find(std::wstring(ordinal) + L" in shell32.dll"), std::wstring::npos);
    }
    dialog.flags = 0x800;
    EXPECT_EQ(dialog.ShowObjectProp(L"", L"")->systemCode, DWORD{ERROR_FILE_NOT_FOUND});
    dialog.fileName.assign(261, L'a');
    EXPECT_EQ(dialog.ShowIcon(true)->number, kInvalidDialogArgument);
}

}  // namespace
}  // namespace vorelix::platform
