// The tests' one child program: holds the single-instance guard, records who it is and what it was
// given, or holds a file open without sharing, as a running game holds its demo.
#include <windows.h>

#include <fstream>
#include <string>

#include "app/ProgramInstance.h"
#include "platform/Text.h"

namespace {

bool SetNamedEvent(const wchar_t* name) {
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    return event != nullptr && SetEvent(event) && CloseHandle(event);
}

int Record(const wchar_t* outFile, const wchar_t* doneEvent) {
    using vorelix::platform::WideToUtf8;
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

int Hold(const wchar_t* file, const wchar_t* heldEvent, const wchar_t* releaseEvent) {
    HANDLE handle = CreateFileW(file, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, releaseEvent);
    if (handle == INVALID_HANDLE_VALUE || !release || !SetNamedEvent(heldEvent)) return 1;
    WaitForSingleObject(release, INFINITE);
    CloseHandle(handle);
    return 0;
}

}  // namespace

// guard NAME: exits 10 when first to hold the guard, 20 when another holds it.
// record OUT_FILE EVENT_NAME [...]: writes the argument string, the working folder, the program's
// folder and base name, one per line in UTF-8, then sets the named event.
// hold FILE HELD_EVENT RELEASE_EVENT: opens FILE without sharing, sets HELD_EVENT, and keeps the file
// until RELEASE_EVENT is set.
int wmain(int argc, wchar_t* argv[]) {
    const std::wstring mode = argc > 2 ? argv[1] : L"";
    if (mode == L"guard") return vorelix::app::SingleInstanceGuard(argv[2]).IsFirstInstance() ? 10 : 20;
    if (mode == L"record" && argc >= 4) return Record(argv[2], argv[3]);
    if (mode == L"hold" && argc >= 5) return Hold(argv[2], argv[3], argv[4]);
    return 2;
}
