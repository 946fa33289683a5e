// Starting the test's child program and waiting for it, without sleeps.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vorelix::test {

// The child program's path as this test program was built to find it.
std::wstring ProbePath();

// Runs `commandLine` (the program's name included) and waits for it; its exit code, or nothing when
// it could not be started or did not end within a minute.
std::optional<DWORD> RunAndWait(const std::wstring& application, const std::wstring& commandLine);

// A named manual-reset event that the child sets when it has recorded what it saw.
class ProbeEvent {
  public:
    ProbeEvent();
    ~ProbeEvent();
    ProbeEvent(const ProbeEvent&) = delete;
    ProbeEvent& operator=(const ProbeEvent&) = delete;
    const std::wstring& Name() const { return name_; }
    bool Wait() const;

  private:
    std::wstring name_;
    HANDLE event_ = nullptr;
};

}  // namespace vorelix::test
