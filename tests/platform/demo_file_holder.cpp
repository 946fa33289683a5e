// Test helper: opens the file named on its command line without sharing, says "held", and keeps it
// open until its standard input is closed.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD wrote = 0;
    if (file == INVALID_HANDLE_VALUE) {
        WriteFile(out, "failed\n", 7, &wrote, nullptr);
        return 1;
    }
    WriteFile(out, "held\n", 5, &wrote, nullptr);
    char buffer[16];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    CloseHandle(file);
    return 0;
}
