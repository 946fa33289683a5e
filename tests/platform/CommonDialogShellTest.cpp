// What CommonDialog passes to the shell's dialogs and the help engine, and how a missing export fails.
// Everything here answers through replaced calls: these dialogs can shut down or format the machine.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/CommonDialog.h"

namespace vorelix::platform {
namespace {

const HWND kOwner = reinterpret_cast<HWND>(0x1234);
const HICON kIcon = reinterpret_cast<HICON>(0x10);
const HICON kLarge = reinterpret_cast<HICON>(0x20);
const HICON kSmall = reinterpret_cast<HICON>(0x30);
const HICON kCopy = reinterpret_cast<HICON>(0x40);
const auto kRoot = reinterpret_cast<PIDLIST_ABSOLUTE>(0x50);
const auto kChosen = reinterpret_cast<PIDLIST_ABSOLUTE>(0x60);

// One call that reached a replaced function: its strings and numbers in argument order.
struct Call {
    std::string what;
    HWND owner = nullptr;
    std::vector<std::wstring> texts;
    std::vector<UINT_PTR> numbers;
    bool operator==(const Call&) const = default;
};
void PrintTo(const Call& call, std::ostream* out) {
    *out << call.what << " texts=" << ::testing::PrintToString(call.texts)
         << " numbers=" << ::testing::PrintToString(call.numbers);
}

std::vector<Call> recorded;
std::wstring Text(const wchar_t* text) {
    return text != nullptr ? text : L"<null>";
}
UINT_PTR Number(const void* handle) {
    return reinterpret_cast<UINT_PTR>(handle);
}

int WINAPI FakeRestart(HWND owner, const wchar_t* prompt, DWORD options) {
    recorded.push_back({"59", owner, {Text(prompt)}, {options}});
    return 0;
}
void WINAPI FakeExitWindows(HWND owner) {
    recorded.push_back({"60", owner, {}, {}});
}
void WINAPI FakeRun(HWND owner, HICON icon, const wchar_t* folder, const wchar_t* title,
                    const wchar_t* prompt, UINT options) {
    recorded.push_back({"61", owner, {Text(folder), Text(title), Text(prompt)}, {Number(icon), options}});
}
int WINAPI FakePickIcon(HWND owner, wchar_t* file, UINT capacity, int* index) {
    recorded.push_back({"62", owner, {Text(file)}, {capacity, file[capacity]}});
    lstrcpyW(file, L"C:\\b.dll");
    *index = 4;
    return TRUE;
}
PIDLIST_ABSOLUTE WINAPI FakeIdListFromPath(const wchar_t* path) {
    recorded.push_back({"162", nullptr, {Text(path)}, {}});
    return kRoot;
}
BOOL WINAPI FakeObjectProperties(HWND owner, DWORD kind, const wchar_t* object, const wchar_t* page) {
    recorded.push_back({"178", owner, {Text(object), Text(page)}, {kind}});
    return TRUE;
}

template <typename Fn>
FARPROC AsExport(Fn function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

DialogCalls RecordingCalls() {
    DialogCalls calls;
    calls.shellExport = [](ShellOrdinal ordinal) -> FARPROC {
        switch (ordinal) {
            case ShellOrdinal::RestartDialog:
                return AsExport(&FakeRestart);
            case ShellOrdinal::ExitWindowsDialog:
                return AsExport(&FakeExitWindows);
            case ShellOrdinal::RunFileDialog:
                return AsExport(&FakeRun);
            case ShellOrdinal::PickIconDialog:
                return AsExport(&FakePickIcon);
            case ShellOrdinal::SimpleIdListFromPath:
                return AsExport(&FakeIdListFromPath);
            case ShellOrdinal::ObjectProperties:
                return AsExport(&FakeObjectProperties);
        }
        return nullptr;
    };
    calls.browseForFolder = [](BROWSEINFOW& record) {
        recorded.push_back({"browse",
                            record.hwndOwner,
                            {Text(record.lpszTitle)},
                            {Number(record.pidlRoot), record.ulFlags}});
        return kChosen;
    };
    calls.pathFromIdList = [](PCIDLIST_ABSOLUTE item, wchar_t* path) {
        recorded.push_back({"path", nullptr, {}, {Number(item)}});
        lstrcpyW(path, L"C:\\Demos\\Chosen");
        return TRUE;
    };
    calls.freeIdList = [](PIDLIST_ABSOLUTE item) {
        recorded.push_back({"free", nullptr, {}, {Number(item)}});
    };
    calls.extractIcons = [](const wchar_t* file, int index, HICON* large, HICON* small, UINT count) {
        recorded.push_back({"extract", nullptr, {Text(file)}, {static_cast<UINT_PTR>(index), count}});
        *large = kLarge;
        *small = kSmall;
        return 2u;
    };
    calls.copyIcon = [](HICON icon) {
        recorded.push_back({"copy", nullptr, {}, {Number(icon)}});
        return kCopy;
    };
    calls.destroyIcon = [](HICON icon) {
        recorded.push_back({"destroy", nullptr, {}, {Number(icon)}});
        return TRUE;
    };
    calls.winHelp = [](HWND owner, const wchar_t* file, UINT command, ULONG_PTR data) {
        recorded.push_back({"help", owner, {Text(file)}, {command, data}});
        return TRUE;
    };
    calls.shellAbout = [](HWND owner, const wchar_t* app, const wchar_t* other, HICON icon) {
        recorded.push_back({"about", owner, {Text(app), Text(other)}, {Number(icon)}});
        return 1;
    };
    calls.formatDrive = [](HWND owner, UINT drive, UINT capacity, UINT options) {
        recorded.push_back({"format", owner, {}, {drive, capacity, options}});
        return DWORD{SHFMT_CANCEL};
    };
    calls.runCommandLine = [](const std::wstring& commandLine, int show) {
        recorded.push_back({"run", nullptr, {commandLine}, {static_cast<UINT_PTR>(show)}});
        return DWORD{0};
    };
    return calls;
}

std::vector<Call> FolderCalls(UINT_PTR browseOptions) {
    return {{"162", nullptr, {L"C:\\Demos"}, {}},
            {"browse", kOwner, {L"Pick one"}, {Number(kRoot), browseOptions}},
            {"path", nullptr, {}, {Number(kChosen)}},
            {"free", nullptr, {}, {Number(kChosen)}},
            {"free", nullptr, {}, {Number(kRoot)}}};
}
std::vector<Call> IconCalls(HICON copied) {
    return {{"62", nullptr, {L"C:\\a.dll"}, {260, 0}},
            {"extract", nullptr, {L"C:\\b.dll"}, {4, 1}},
            {"copy", nullptr, {}, {Number(copied)}},
            {"destroy", nullptr, {}, {Number(kLarge)}},
            {"destroy", nullptr, {}, {Number(kSmall)}}};
}

TEST(ShellDialogCalls, PassTheMaskedFlagsStringsAndHandlesAndReadTheChoiceBack) {
    using Act = std::function<void(CommonDialog&)>;
    const auto objectProperties = [](CommonDialog& d) { ASSERT_FALSE(d.ShowObjectProp(L"HP", L"General")); };
    const auto folder = [](CommonDialog& d) { ASSERT_FALSE(d.ShowFolder(L"C:\\Demos")); };
    const auto largeIcon = [](CommonDialog& d) { ASSERT_FALSE(d.ShowIcon(true)); };
    const auto smallIcon = [](CommonDialog& d) { ASSERT_FALSE(d.ShowIcon(false)); };
    struct Case {
        Act act;
        DWORD flags;
        std::vector<Call> expected;
        HICON icon = kIcon;
        std::wstring initDir = L"";
    } cases[] = {
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowRestart()); }, 0xFF, {{"59", kOwner, {L"Pick one"}, {7}}}},
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowShutDown()); }, 0xFF, {{"60", kOwner, {}, {}}}},
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowRun()); },
         0xFF,
         {{"61", kOwner, {L"<null>", L"Run it", L"Pick one"}, {Number(kIcon), 15}}}},
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowRun()); },
         0x50,
         {{"61", kOwner, {L"<null>", L"Run it", L"Pick one"}, {Number(kIcon), 5}}}},
        {objectProperties, 0x100, {{"178", kOwner, {L"HP", L"General"}, {1}}}},
        {objectProperties, 0x2FF, {{"178", kOwner, {L"HP", L"General"}, {2}}}},
        {objectProperties, 0x700, {{"178", kOwner, {L"c:\\recycled", L"General"}, {2}}}},
        {objectProperties, 0x300, {{"178", kOwner, {L"", L"General"}, {2}}}},
        {objectProperties,
         0x800,
         {{"run", nullptr, {L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0"}, {SW_SHOWNORMAL}}}},
        {folder, 0, FolderCalls(1), kIcon, L"C:\\Demos\\Chosen"},
        {folder, 0x0FFF, FolderCalls(1), kIcon, L"C:\\Demos\\Chosen"},
        {folder, 0x1040, FolderCalls(0x1000), kIcon, L"C:\\Demos\\Chosen"},
        {folder, 0xFFFF, FolderCalls(0x7001), kIcon, L"C:\\Demos\\Chosen"},
        {[](CommonDialog& d) { ASSERT_FALSE(d.ShowFolder()); },
         0,
         {{"browse", kOwner, {L"Pick one"}, {0, 1}}, FolderCalls(1)[2], FolderCalls(1)[3]},
         kIcon,
         L"C:\\Demos\\Chosen"},
        {largeIcon, 0, IconCalls(kLarge), kCopy},
        {smallIcon, 0, IconCalls(kSmall), kCopy},
        {[](CommonDialog& d) {
             d.fileName = L"C:\\Icons\\";
             ASSERT_FALSE(d.ShowIcon(true));
         },
         0,
         {}},
        {[](CommonDialog& d) { d.ShowHelp(); }, 0, {{"help", kOwner, {L"game.hlp"}, {3, 42}}}},
        {[](CommonDialog& d) { EXPECT_EQ(d.ShowFormat(3, 0, 1), SHFMT_CANCEL); },
         0,
         {{"format", kOwner, {}, {3, 0, 1}}}},
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
        EXPECT_EQ(dialog.helpKey, 42u) << "case " << i;
        EXPECT_EQ(dialog.owner, kOwner) << "case " << i;
    }
}

TEST(ShellDialogCalls, AboutBoxGivesAnEmptyApplicationNameAsASingleNul) {
    recorded.clear();
    CommonDialog dialog(RecordingCalls());
    dialog.owner = kOwner;
    dialog.dialogPrompt = L"Demo tools";
    dialog.icon = kIcon;
    dialog.ShowAbout();
    EXPECT_EQ(dialog.appName, std::wstring(1, L'\0'));
    dialog.appName = L"Vorelix";
    dialog.ShowAbout();
    EXPECT_EQ(recorded, (std::vector<Call>{{"about", kOwner, {L"", L"Demo tools"}, {Number(kIcon)}},
                                           {"about", kOwner, {L"Vorelix", L"Demo tools"}, {Number(kIcon)}}}));
}

TEST(ShellDialogCalls, AMissingExportOrAnOverlongIconFileIsAnErrorAndCallsNothing) {
    DialogCalls calls;  // every other call throws if reached
    calls.shellExport = [](ShellOrdinal) -> FARPROC { return nullptr; };
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
    calls.runCommandLine = [](const std::wstring&, int) { return DWORD{ERROR_FILE_NOT_FOUND}; };
    dialog = CommonDialog(calls);
    dialog.flags = 0x800;
    EXPECT_EQ(dialog.ShowObjectProp(L"", L"")->systemCode, DWORD{ERROR_FILE_NOT_FOUND});
    dialog.fileName.assign(261, L'a');
    EXPECT_EQ(dialog.ShowIcon(true)->number, kInvalidDialogArgument);
    EXPECT_EQ(dialog.ShowIcon(true)->source, L"CommonDialog.ShowIcon");
}

}  // namespace
}  // namespace vorelix::platform
