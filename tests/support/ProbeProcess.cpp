// Child process helpers of the tests: the probe's path, running it, its record, its events.
#include "ProbeProcess.h"

#include <algorithm>
#include <atomic>
#include <sstream>

#include "TempDir.h"
#include "platform/Text.h"

namespace vorelix::test {

std::wstring ProbePath() {
    std::wstring path = VORELIX_PROBE_PATH;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::optional<DWORD> RunAndWait(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    std::optional<DWORD> result;
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.hProcess, &code))
        result = code;
    CloseHandle(process.hProcess);
    return result;
}

std::vector<std::wstring> RecordedLines(const std::filesystem::path& file) {
    std::istringstream in(ReadFileBytes(file));
    std::vector<std::wstring> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(platform::Utf8ToWide(line));
    return lines;
}

ProbeEvent::ProbeEvent() {
    static std::atomic<unsigned> counter{0};
    name_ = L"Local\\VorelixTestProbe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(counter++);
    event_ = CreateEventW(nullptr, TRUE, FALSE, name_.c_str());
}

}  // namespace vorelix::test
