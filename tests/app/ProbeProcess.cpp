// Child process helpers of the tests: the probe's path, running it, and its completion event.
#include "ProbeProcess.h"

#include <atomic>
#include <vector>

namespace vorelix::test {

namespace {
std::atomic<unsigned> counter{0};
constexpr DWORD kChildTimeoutMs = 60000;
}  // namespace

std::wstring ProbePath() {
    std::wstring path = VORELIX_PROBE_PATH;
    for (auto& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

std::optional<DWORD> RunAndWait(const std::wstring& application, const std::wstring& commandLine) {
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    std::optional<DWORD> result;
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, kChildTimeoutMs) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.hProcess, &code)) {
        result = code;
    }
    CloseHandle(process.hProcess);
    return result;
}

ProbeEvent::ProbeEvent() {
    name_ = L"Local\\VorelixTestProbe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++);
    event_ = CreateEventW(nullptr, TRUE, FALSE, name_.c_str());
}

ProbeEvent::~ProbeEvent() {
    if (event_ != nullptr) CloseHandle(event_);
}

bool ProbeEvent::Wait() const {
    return event_ != nullptr && WaitForSingleObject(event_, kChildTimeoutMs) == WAIT_OBJECT_0;
}

}  // namespace vorelix::test
