// Test helper: opens the file named on its command line without sharing, sets the "held" event
// named next, and keeps the file open until the "release" event named last is set.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    if (file == INVALID_HANDLE_VALUE || !held || !release) return 1;
    SetEvent(held);
    WaitForSingleObject(release, INFINITE);
    CloseHandle(file);
    return 0;
}
