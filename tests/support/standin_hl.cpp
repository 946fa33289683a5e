// The stand-in game of the launch tests, started as hl.exe: records its command line, working folder,
// Half-Life's video settings and the files a launch leaves in cstrike, then ends; or, when told to,
// keeps cstrike\vorelix.dem open until the test lets it go, as a running game does.
#include <windows.h>

#include <fstream>
#include <string>

#include "StandInRecord.h"
#include "platform/Text.h"

namespace {

using vorelix::platform::WideToUtf8;
using vorelix::test::Hex;

std::wstring Variable(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length < 1024 ? value : L"";
}

// "<type> <hex data>" of a value under the game's settings key, or "absent".
std::string RegistryValue(const wchar_t* name) {
    DWORD type = 0;
    char data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Valve\\Half-Life\\Settings", name,
                     RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) != ERROR_SUCCESS) {
        return "absent";
    }
    return std::to_string(type) + " " + Hex(std::string_view(data, size));
}

// Feeds a file to `piece` in pieces; false when it cannot be opened.
template <typename Piece>
bool ReadPieces(const std::wstring& path, Piece piece) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    static char buffer[1 << 16];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        piece(std::string_view(buffer, read));
    CloseHandle(file);
    return true;
}

const char* Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES ? "yes" : "no";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
    wchar_t exe[4096] = {};
    GetModuleFileNameW(nullptr, exe, 4096);
    std::wstring game = exe;
    game.resize(game.rfind(L'\\'));
    const std::wstring mod = game + L"\\cstrike\\";
    wchar_t folder[4096] = {};
    GetCurrentDirectoryW(4096, folder);

    // Held before the record is written: a test that has read the record knows the file is held.
    const std::wstring holdEvent = Variable(vorelix::test::kHoldEventVariable);
    HANDLE heldDemo = holdEvent.empty() ? INVALID_HANDLE_VALUE
                                        : CreateFileW((mod + L"vorelix.dem").c_str(), GENERIC_READ,
                                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string config;
    const bool hasConfig = ReadPieces(mod + L"vorelix.cfg", [&](std::string_view piece) { config += piece; });
    vorelix::test::Digest demo;
    const bool hasDemo = ReadPieces(mod + L"vorelix.dem", [&](std::string_view piece) { demo.Add(piece); });

    std::wstring recordPath = Variable(vorelix::test::kRecordPathVariable);
    if (recordPath.empty()) recordPath = game + L"\\standin-record.txt";
    {
        std::ofstream record(recordPath.c_str(), std::ios::binary | std::ios::trunc);
        record << "process id=" << GetCurrentProcessId() << "\ncommand line=" << WideToUtf8(GetCommandLineW())
               << "\nworking folder=" << WideToUtf8(folder);
        for (const wchar_t* name : {L"EngineModeW", L"EngineModeH", L"EngineType"}) {
            record << '\n' << WideToUtf8(name) << '=' << RegistryValue(name);
        }
        record << "\nvorelix.cfg=" << (hasConfig ? Hex(config) : "absent")
               << "\nvorelix.dem=" << (hasDemo ? demo.Text() : "absent")
               << "\nautoexec.cfg=" << Exists(mod + L"autoexec.cfg")
               << "\nautoexec.cfg_old=" << Exists(mod + L"autoexec.cfg_old") << '\n';
    }
    if (HANDLE recorded =
            OpenEventW(EVENT_MODIFY_STATE, FALSE, Variable(vorelix::test::kRecordedEventVariable).c_str())) {
        SetEvent(recorded);
        CloseHandle(recorded);
    }
    if (HANDLE release = holdEvent.empty() ? nullptr : OpenEventW(SYNCHRONIZE, FALSE, holdEvent.c_str())) {
        WaitForSingleObject(release, 120000);
        CloseHandle(release);
    }
    if (heldDemo != INVALID_HANDLE_VALUE) CloseHandle(heldDemo);
    return 0;
}
