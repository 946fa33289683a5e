// Fuzzes the chat scan and its edit and delete plans: entries are the file's bytes, writes stop
// at an entry's first line feed.
#include "FuzzInput.h"
#include "demo/edit/ChatEdit.h"
#include "demo/edit/ChatScan.h"

using namespace vorelix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)demo::ScanChat(demo::ByteView(data, size));
    const std::string file = fuzz::AsScannedDemo(data, size);
    const auto lines = demo::ScanChat(demo::AsBytes(file));
    std::vector<std::size_t> indexes;
    for (const auto& line : lines) {
        const auto start = static_cast<std::size_t>(line.position - 1);
        fuzz::Require(line.position >= 2 && file[start - 1] == '\x02');
        fuzz::Require(line.text.size() <= 198 && start + line.text.size() < file.size() - 1);
        fuzz::Require(file.compare(start, line.text.size(), line.text) == 0);
        fuzz::Require(file[start + line.text.size()] == '\n');
        fuzz::Require(line.text.find(" :   ") != std::string::npos);
        indexes.push_back(indexes.size());
    }
    if (lines.empty()) return 0;
    const auto edit =
        demo::PlanChatEdit(lines, lines.size() - 1, "edited text", file.size(), demo::TextRule{});
    fuzz::Require(edit.ok() && demo::CheckPlanFits(edit->plan).ok());
    const auto remove = demo::PlanChatDelete(lines, indexes, file.size());
    fuzz::Require(demo::CheckPlanFits(remove.plan).ok() && remove.shown.empty());
    for (const auto* plan : {&edit->plan, &remove.plan}) {
        for (const auto& run : plan->runs) {
            // Never over a line feed: the record structure between chat lines stays.
            for (std::size_t i = 0; i < run.bytes.size(); ++i) fuzz::Require(file[run.offset + i] != '\n');
        }
    }
    return 0;
}
