// The tests' one child program: holds the single-instance guard, or records who it is and what it was
// given. Copied as hl.exe into a game folder it is the stand-in game of the launch tests
// (StandInRecord.h), which holds its demo open as a running game does. For the screenshot scripts it
// also tells where a control of a shown window lies and writes their demos.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "StandInRecord.h"
#include "SyntheticDemo.h"
#include "app/ProgramInstance.h"
#include "demo/DemoContainer.h"
#include "ui/config/ConfigWindow.h"
#include "ui/main/ControlIds.h"
#include "ui/utilities/UtilitiesWindow.h"
#include "platform/files/FileOps.h"
#include "platform/Text.h"

namespace {

using vorelix::platform::WideToUtf8;

bool SetNamedEvent(const wchar_t* name) {
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    return event != nullptr && SetEvent(event) && CloseHandle(event);
}

std::wstring Variable(const wchar_t* name) {
    wchar_t value[1024] = {};
    return GetEnvironmentVariableW(name, value, 1024) < 1024 ? value : L"";
}

int Record(const wchar_t* outFile, const wchar_t* doneEvent) {
    wchar_t folder[4096] = {};
    GetCurrentDirectoryW(4096, folder);
    const auto identity = vorelix::app::CurrentProgram();
    std::ofstream(outFile, std::ios::binary | std::ios::trunc)
        << WideToUtf8(vorelix::app::ArgumentString(GetCommandLineW())) << '\n'
        << WideToUtf8(folder) << '\n'
        << WideToUtf8(identity.folder) << '\n'
        << WideToUtf8(identity.baseName) << '\n';
    return SetNamedEvent(doneEvent) ? 0 : 2;
}

// The stand-in game: records what a launch left for it, then ends, or first keeps cstrike\vorelix.dem
// open (others may read it) until the test lets it go, as a running game does.
int StandIn(const std::wstring& game) {
    using namespace vorelix::test;
    const std::wstring mod = game + L"\\cstrike\\";
    const std::wstring hold = Variable(kHoldEventVariable);
    // Held before the record is written: a test that has read the record knows the file is held.
    HANDLE held = hold.empty() ? INVALID_HANDLE_VALUE
                               : CreateFileW((mod + L"vorelix.dem").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                             nullptr, OPEN_EXISTING, 0, nullptr);
    wchar_t folder[4096] = {};
    GetCurrentDirectoryW(4096, folder);
    std::ofstream record(Variable(kRecordPathVariable).c_str(), std::ios::binary | std::ios::trunc);
    record << "process id=" << GetCurrentProcessId() << "\ncommand line=" << WideToUtf8(GetCommandLineW())
           << "\nworking folder=" << WideToUtf8(folder);
    for (const wchar_t* name : {L"EngineModeW", L"EngineModeH", L"EngineType"}) {
        DWORD type = 0, size = 64;
        char data[64] = {};
        const bool found = RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Valve\\Half-Life\\Settings", name,
                                        RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) == ERROR_SUCCESS;
        record << '\n'
               << WideToUtf8(name) << '='
               << (found ? std::to_string(type) + " " + Hex({data, size}) : "absent");
    }
    const auto config = vorelix::platform::ReadFileStart(mod + L"vorelix.cfg", 1 << 20);
    const auto demo = vorelix::platform::ReadFileStart(mod + L"vorelix.dem", SIZE_MAX);
    const auto exists = [&](const wchar_t* name) {
        return GetFileAttributesW((mod + name).c_str()) != INVALID_FILE_ATTRIBUTES ? "yes" : "no";
    };
    record << "\nvorelix.cfg=" << (config ? Hex(*config) : "absent")
           << "\nvorelix.dem=" << (demo ? DigestText(*demo) : "absent")
           << "\nautoexec.cfg=" << exists(L"autoexec.cfg")
           << "\nautoexec.cfg_old=" << exists(L"autoexec.cfg_old") << '\n';
    record.close();
    SetNamedEvent(Variable(kRecordedEventVariable).c_str());
    if (HANDLE release = hold.empty() ? nullptr : OpenEventW(SYNCHRONIZE, FALSE, hold.c_str())) {
        WaitForSingleObject(release, 120000);
        CloseHandle(release);
    }
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    return 0;
}

// The controls the screenshot scripts click, by the names the program gives them.
int ControlNamed(const std::wstring& name) {
    using vorelix::ui::ToInt;
    using Main = vorelix::ui::ControlId;
    using Utilities = vorelix::ui::UtilitiesControlId;
    const std::pair<const wchar_t*, int> known[] = {
        {L"GameFrame", ToInt(Main::GameFrame)},
        {L"DemoList", ToInt(Main::DemoList)},
        {L"SelectConfigButton", ToInt(Main::SelectConfigButton)},
        {L"UtilsButton", ToInt(Main::UtilsButton)},
        {L"PlayDemoButton", ToInt(Main::PlayDemoButton)},
        {L"ConfigOkButton", ToInt(vorelix::ui::ConfigControlId::OkButton)},
        {L"LoadNicksButton", ToInt(Utilities::LoadNicksButton)},
        {L"LoadChatButton", ToInt(Utilities::LoadChatButton)},
        {L"NickList", ToInt(Utilities::NickList)},
    };
    for (const auto& [knownName, id] : known)
        if (name == knownName) return id;
    return 0;
}

// Prints "X Y BOTTOM" in screen pixels: the middle of a control of the window of that title (or of a
// list box's entry `item`), where a click hits it, and the control's lower edge.
int Place(const std::wstring& title, const std::wstring& control, int item) {
    HWND window = FindWindowW(nullptr, title.c_str());
    HWND child = window ? GetDlgItem(window, ControlNamed(control)) : nullptr;
    if (child == nullptr) return 3;
    RECT rect{};
    if (item < 0) GetClientRect(child, &rect);
    else SendMessageW(child, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, bottom{0, rect.bottom};
    ClientToScreen(child, &middle);
    ClientToScreen(child, &bottom);
    std::cout << middle.x << ' ' << middle.y << ' ' << bottom.y << '\n';
    return 0;
}

// The screenshot scripts' demos: "utils" (nicks, some Cyrillic, and chat lines), "big MB" (a header
// and players, the rest a hole in the file) and "cut SOURCE" (a recording up to its directory, as a
// crash leaves it).
int WriteDemo(const std::wstring& kind, const std::filesystem::path& out, const std::wstring& argument) {
    using vorelix::test::MakeDemo;
    if (kind == L"utils") {
        vorelix::test::Pieces pieces;
        const char* nicks[] = {"Bob", "Alice", "\xD0\x92\xD0\xB0\xD1\x81\xD1\x8F", "Bob", "xXx_Sniper_xXx", "Alice", "Bob"};
        const char* lines[] = {"Bob :   gg", "Alice :   nice shot!",
                               "\xD0\x92\xD0\xB0\xD1\x81\xD1\x8F :   \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
                               "Bob :   rush b", "xXx_Sniper_xXx :   lol"};
        for (std::size_t k = 0; k < std::size(nicks); ++k)
            pieces.emplace_back(2000 + 700 * k, std::string("\\name\\") + nicks[k] + "\\model\\gign\\");
        for (std::size_t k = 0; k < std::size(lines); ++k)
            pieces.emplace_back(20000 + 500 * k, std::string("\x02") + lines[k] + "\n");
        std::ofstream(out, std::ios::binary) << MakeDemo(60000, pieces);
    } else if (kind == L"big") {
        std::ofstream(out, std::ios::binary) << MakeDemo(2000, {{1000, "\\name\\Bob\\model\\gign\\"}});
        std::filesystem::resize_file(out, std::stoull(argument) << 20);  // the rest stays a hole
    } else if (kind == L"cut") {
        const auto bytes = vorelix::platform::ReadFileStart(argument, SIZE_MAX);
        if (!bytes) return 3;
        const auto header = vorelix::demo::ReadContainerHeader(vorelix::demo::AsBytes(*bytes));
        const auto directory = header ? static_cast<std::size_t>(header->directoryOffset) : 0;
        if (directory <= vorelix::demo::kContainerHeaderSize || directory > bytes->size()) return 3;
        std::ofstream(out, std::ios::binary) << bytes->substr(0, directory);
    } else {
        return 2;
    }
    return 0;
}

}  // namespace

// guard NAME: exits 10 when first to hold the guard, 20 when another holds it.
// record OUT_FILE EVENT_NAME [...]: writes the argument string, the working folder, the program's
// folder and base name, one per line in UTF-8, then sets the named event.
// place TITLE CONTROL [ITEM]: prints where a click on the control (or list entry) lands (Place).
// demo KIND OUT [ARGUMENT]: writes a demo for the screenshot scripts (WriteDemo).
// As hl.exe: the stand-in game, whatever the arguments.
int wmain(int argc, wchar_t* argv[]) {
    const auto identity = vorelix::app::CurrentProgram();
    if (identity.baseName == L"hl") return StandIn(identity.folder);
    const std::wstring mode = argc > 2 ? argv[1] : L"";
    if (mode == L"guard") return vorelix::app::SingleInstanceGuard(argv[2]).IsFirstInstance() ? 10 : 20;
    if (mode == L"record" && argc >= 4) return Record(argv[2], argv[3]);
    if (mode == L"place" && argc >= 4) return Place(argv[2], argv[3], argc > 4 ? std::stoi(argv[4]) : -1);
    if (mode == L"demo" && argc >= 4) return WriteDemo(argv[2], argv[3], argc > 4 ? argv[4] : L"0");
    return 2;
}
