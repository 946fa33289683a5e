// Fuzzes the nick scan and rename plans: every write stays inside a nick's room, whatever the
// nick's bytes and however the text rule shows them.
#include <algorithm>

#include "FuzzInput.h"
#include "demo/edit/NickEdit.h"
#include "demo/edit/NickScan.h"

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
    const demo::TextRule rule(demo::Windows1251());
    const std::string shown = demo::ShownText(nicks->front().nick, rule);
    // The first half of its characters typed back: refused (a control character) or written into
    // every entry shown the same that has room for it, each padded to its own room.
    std::vector<std::size_t> boundaries{0};
    for (std::size_t at = 0; at < shown.size() && demo::NextCodePoint(shown, at);) boundaries.push_back(at);
    const std::string typed = shown.substr(0, boundaries[boundaries.size() / 2]);
    const auto held = demo::HeldNicks(*nicks);
    auto rename = demo::PlanNickRename(held, 0, true, typed, file.size(), rule);
    if (rename.ok()) {
        fuzz::Require(demo::CheckPlanFits(rename->plan).ok());
        for (const auto& run : rename->plan.runs) {
            const auto entry = std::find_if(held.begin(), held.end(), [&](const demo::HeldNick& nick) {
                return static_cast<std::uint64_t>(nick.position - 1) == run.offset;
            });
            fuzz::Require(entry != held.end() && run.bytes.size() == entry->room);
        }
        // Each entry shown alike is written or left out.
        const auto alike = std::count_if(held.begin(), held.end(), [&](const demo::HeldNick& nick) {
            return demo::ShownText(nick.bytes, rule) == shown;
        });
        fuzz::Require(rename->shown.size() == rename->plan.runs.size() &&
                      static_cast<std::ptrdiff_t>(rename->shown.size() + rename->leftOut.size()) == alike);
    }
    // No room in the chosen entry: refused.
    fuzz::Require(
        !demo::PlanNickRename(held, 0, true, std::string(file.size(), 'x'), file.size(), rule).ok());
    return 0;
}
