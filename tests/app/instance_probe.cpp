// A small child program for the tests: holds the single-instance guard, or records who it is and
// what it was given, then signals the test.
#include <windows.h>

#include <fstream>
#include <string>

#include "app/ProgramInstance.h"
#include "platform/Text.h"

// guard NAME: exits 10 when first to hold the guard, 20 when another holds it.
// record OUT_FILE EVENT_NAME [...]: writes the argument string, the working folder, the program's
// folder and base name, one per line in UTF-8, then sets the named event.
int wmain(int argc, wchar_t* argv[]) {
    using vorelix::platform::WideToUtf8;
    const std::wstring mode = argc > 2 ? argv[1] : L"";
    if (mode == L"guard") return vorelix::app::SingleInstanceGuard(argv[2]).IsFirstInstance() ? 10 : 20;
    if (mode != L"record" || argc < 4) return 2;
    wchar_t folder[4096] = {};
    GetCurrentDirectoryW(4096, folder);
    const auto identity = vorelix::app::CurrentProgram();
    std::ofstream(argv[2], std::ios::binary | std::ios::trunc)
        << WideToUtf8(vorelix::app::ArgumentString(GetCommandLineW())) << '\n'
        << WideToUtf8(folder) << '\n'
        << WideToUtf8(identity.folder) << '\n'
        << WideToUtf8(identity.baseName) << '\n';
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    return event != nullptr && SetEvent(event) && CloseHandle(event) ? 0 : 2;
}
