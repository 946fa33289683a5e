// The tests' one child program: holds the single-instance guard, or records who it is and what it was
// given. Copied as hl.exe into a game folder it is the stand-in game of the launch tests
// (StandInRecord.h), which holds its demo open as a running game does.
#include <windows.h>

#include <fstream>
#include <string>

#include "StandInRecord.h"
#include "app/ProgramInstance.h"
#include "platform/FileOps.h"
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

}  // namespace

// guard NAME: exits 10 when first to hold the guard, 20 when another holds it.
// record OUT_FILE EVENT_NAME [...]: writes the argument string, the working folder, the program's
// folder and base name, one per line in UTF-8, then sets the named event.
// As hl.exe: the stand-in game, whatever the arguments.
int wmain(int argc, wchar_t* argv[]) {
    const auto identity = vorelix::app::CurrentProgram();
    if (identity.baseName == L"hl") return StandIn(identity.folder);
    const std::wstring mode = argc > 2 ? argv[1] : L"";
    if (mode == L"guard") return vorelix::app::SingleInstanceGuard(argv[2]).IsFirstInstance() ? 10 : 20;
    if (mode == L"record" && argc >= 4) return Record(argv[2], argv[3]);
    return 2;
}
