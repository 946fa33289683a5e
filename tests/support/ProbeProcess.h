// The tests' child program: where it is, waiting for it without sleeps, reading what it recorded.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vorelix::test {

// The child program's path as this test program was built to find it.
std::wstring ProbePath();

// The lines the child's "record" wrote: argument string, working folder, program folder, base name.
std::vector<std::wstring> RecordedLines(const std::filesystem::path& file);

// A named manual-reset event that the child sets when it has recorded what it saw.
class ProbeEvent {
  public:
    ProbeEvent();
    ~ProbeEvent() { CloseHandle(event_); }
    ProbeEvent(const ProbeEvent&) = delete;
    ProbeEvent& operator=(const ProbeEvent&) = delete;
    const std::wstring& Name() const { return name_; }
    bool Wait() const { return WaitForSingleObject(event_, 60000) == WAIT_OBJECT_0; }
    void Set() const { SetEvent(event_); }

  private:
    std::wstring name_;
    HANDLE event_;
};

}  // namespace vorelix::test
