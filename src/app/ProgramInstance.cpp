// The single-instance mutex, the running executable's folder and name, and its argument string.
#include "app/ProgramInstance.h"

#include <cwchar>
#include <vector>

namespace vorelix::app {

SingleInstanceGuard::SingleInstanceGuard(const std::wstring& mutexName) {
    mutex_ = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    const DWORD error = GetLastError();
    if (mutex_ != nullptr) {
        first_ = error != ERROR_ALREADY_EXISTS;
    } else {
        // A mutex of that name made by another user or at another integrity level cannot be opened,
        // but it still means the program runs. Any other failure should not keep the program out.
        first_ = error != ERROR_ACCESS_DENIED;
    }
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (mutex_ != nullptr) CloseHandle(mutex_);
}

ProgramIdentity CurrentProgram() {
    // GetModuleFileNameW truncates silently and returns the buffer size when the path is longer.
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size() || buffer.size() >= 65536) break;
        buffer.resize(buffer.size() * 2);
    }
    const std::wstring path(buffer.data(), length);
    ProgramIdentity identity;
    const auto slash = path.find_last_of(L"\\/");
    std::wstring name;
    if (slash == std::wstring::npos) {
        name = path;
    } else {
        identity.folder = path.substr(0, slash);
        name = path.substr(slash + 1);
    }
    if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0)
        name.resize(name.size() - 4);
    identity.baseName = name;
    return identity;
}

std::wstring ArgumentString(const wchar_t* commandLine) {
    if (commandLine == nullptr) return {};
    const wchar_t* at = commandLine;
    // The program's name as the system parses it: a quoted name ends at the next quote, an
    // unquoted one at the first blank or tab.
    if (*at == L'"') {
        ++at;
        while (*at != L'\0' && *at != L'"') ++at;
        if (*at == L'"') ++at;
    } else {
        while (*at != L'\0' && *at != L' ' && *at != L'\t') ++at;
    }
    while (*at == L' ' || *at == L'\t') ++at;
    return std::wstring(at);
}

}  // namespace vorelix::app
