// Keeps Wine's background processes attached to this process instead of a test's output pipes:
// a message-only window that writes the "ready" file named by its argument, then waits forever.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    HWND window = CreateWindowExW(0, L"STATIC", L"vorelix-keeper", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr);
    if (commandLine && *commandLine) {
        std::wstring path(commandLine);
        if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
            path = path.substr(1, path.size() - 2);
        HANDLE ready = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    }
    MSG msg;
    while (GetMessageW(&msg, window, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
