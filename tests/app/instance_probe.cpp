// A small child program for the tests: holds the single-instance guard, or records who it is and
// what it was given, then signals the test.
#include <windows.h>

#include <fstream>
#include <string>

#include "app/ProgramInstance.h"
#include "platform/Text.h"

namespace {

constexpr int kFirstInstance = 10;
constexpr int kOtherInstance = 20;
constexpr int kUsage = 2;

std::wstring CurrentFolder() {
    wchar_t buffer[4096] = {};
    const DWORD length = GetCurrentDirectoryW(4096, buffer);
    return std::wstring(buffer, length < 4096 ? length : 0);
}

// record OUT_FILE EVENT_NAME [...]: writes the argument string, the working folder, the program's
// folder and base name, one per line in UTF-8, then sets the named event.
int Record(const std::wstring& outFile, const std::wstring& eventName) {
    using vorelix::platform::WideToUtf8;
    const auto identity = vorelix::app::CurrentProgram();
    {
        std::ofstream out(outFile.c_str(), std::ios::binary | std::ios::trunc);
        out << WideToUtf8(vorelix::app::ArgumentString(GetCommandLineW())) << '\n'
            << WideToUtf8(CurrentFolder()) << '\n'
            << WideToUtf8(identity.folder) << '\n'
            << WideToUtf8(identity.baseName) << '\n';
    }
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str());
    if (event == nullptr) return kUsage;
    SetEvent(event);
    CloseHandle(event);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    if (argc < 3) return kUsage;
    const std::wstring mode = argv[1];
    if (mode == L"guard") {
        vorelix::app::SingleInstanceGuard guard(argv[2]);
        return guard.IsFirstInstance() ? kFirstInstance : kOtherInstance;
    }
    if (mode == L"record" && argc >= 4) return Record(argv[2], argv[3]);
    return kUsage;
}
