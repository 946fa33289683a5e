// Child process helpers of the tests: the probe's path, its record, its events.
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
