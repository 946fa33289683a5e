// Chat edit and delete plans.
#include "demo/ChatEdit.h"

#include <algorithm>

namespace vorelix::demo {

namespace {

const ChatEntry* EntryAt(const std::vector<ChatEntry>& entries, std::int64_t position) {
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const ChatEntry& entry) { return entry.position == position; });
    return it == entries.end() ? nullptr : &*it;
}

Failure NoEntryAt(std::int64_t position) {
    return Failure{"no chat message starts at position " + std::to_string(position), 0};
}

}  // namespace

std::size_t WritableLength(const ChatEntry& entry) {
    const auto feed = entry.text.find('\n');
    return feed == std::string::npos ? entry.text.size() : feed;
}

std::string FitChatText(const std::string& newText, std::size_t length) {
    std::string fitted = newText.substr(0, length);
    fitted.resize(length, ' ');
    return fitted;
}

Result<WritePlan> PlanChatEdit(const std::vector<ChatEntry>& entries, std::uint64_t fileLength,
                               std::int64_t position, const std::string& newText) {
    const ChatEntry* entry = EntryAt(entries, position);
    if (entry == nullptr) return NoEntryAt(position);
    WritePlan plan{fileLength, {}};
    const std::size_t length = WritableLength(*entry);
    const std::string fitted = FitChatText(newText, length);
    if (newText.empty() || newText == entry->text) return plan;
    plan.runs.push_back(Overwrite{static_cast<std::uint64_t>(position - 1), fitted});
    return plan;
}

Result<WritePlan> PlanChatDelete(const std::vector<ChatEntry>& entries, std::uint64_t fileLength,
                                 const std::vector<std::int64_t>& positions) {
    WritePlan plan{fileLength, {}};
    for (std::int64_t position : positions) {
        const ChatEntry* entry = EntryAt(entries, position);
        if (entry == nullptr) return NoEntryAt(position);
        plan.runs.push_back(
            Overwrite{static_cast<std::uint64_t>(position - 1), std::string(WritableLength(*entry), ' ')});
    }
    return plan;
}

}  // namespace vorelix::demo
