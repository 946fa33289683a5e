// Who this process is: the single-instance guard, the program's folder and name, its argument string.
#pragma once

#include <windows.h>

#include <string>

namespace vorelix::app {

// Holds a named mutex for the program's life; a second process sees it taken.
class SingleInstanceGuard {
  public:
    static constexpr const wchar_t* kProgramMutex = L"Local\\Vorelix.SingleInstance";

    explicit SingleInstanceGuard(const std::wstring& mutexName = kProgramMutex);
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // False when another instance already held the mutex.
    bool IsFirstInstance() const { return first_; }

  private:
    HANDLE mutex_ = nullptr;
    bool first_ = true;
};

struct ProgramIdentity {
    std::wstring folder;    // without a trailing "\"
    std::wstring baseName;  // the executable's name without ".exe"
};

// The running executable's folder and name (GetModuleFileNameW).
ProgramIdentity CurrentProgram();

// Everything after the program's name in a command line, taken unchanged: quotes are kept and
// several names are not split; only the blanks that separate it from the program's name go.
std::wstring ArgumentString(const wchar_t* commandLine);

}  // namespace vorelix::app
