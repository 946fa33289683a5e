// Fuzzes the nick scan and rename plans: every write stays inside a nick's room.
#include "FuzzInput.h"
#include "demo/NickEdit.h"
#include "demo/NickScan.h"

using namespace vorelix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)demo::ScanNicks(demo::ByteView(data, size));
    const std::string file = fuzz::AsScannedDemo(data, size);
    const auto bytes = demo::AsBytes(file);
    auto nicks = demo::ScanNicks(bytes);
    fuzz::Require(nicks.ok());
    for (const auto& entry : *nicks) {
        const auto start = static_cast<std::size_t>(entry.position - 1);
        fuzz::Require(entry.position >= 7 && start + entry.nick.size() < file.size() - 1);
        fuzz::Require(file.compare(start - 6, 6, "\\name\\") == 0);
        fuzz::Require(file.compare(start, entry.nick.size(), entry.nick) == 0);
        const char terminator = file[start + entry.nick.size()];
        fuzz::Require(terminator == '\\' || terminator == '\0');
    }
    if (nicks->empty()) return 0;
    const std::string& old = nicks->front().nick;
    const std::string shorter = old.substr(0, old.size() / 2);
    auto plan = demo::PlanNickEdit(*nicks, file.size(), old, shorter, std::nullopt);
    fuzz::Require(plan.ok());
    fuzz::Require(demo::CheckPlanFits(*plan).ok());
    for (const auto& run : plan->runs) {
        fuzz::Require(run.bytes.size() == old.size());
        const char terminator = file[run.offset + run.bytes.size()];
        fuzz::Require(terminator == '\\' || terminator == '\0');
    }
    fuzz::Require(!demo::PlanNickEdit(*nicks, file.size(), old, old + "x", std::nullopt).ok());
    return 0;
}
