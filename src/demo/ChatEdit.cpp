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

Result<WritePlan> PlanChatEdit(const std::vector<ChatEntry>& entries, std::uint64_t fileLength,
                               std::int64_t position, std::string_view newText, const TextRule& rule) {
    const ChatEntry* entry = EntryAt(entries, position);
    if (entry == nullptr) return NoEntryAt(position);
    WritePlan plan{fileLength, {}};
    if (newText.empty() || newText == ShownText(entry->text, rule)) return plan;
    auto fitted = FitTypedText(newText, std::string_view(entry->text).substr(0, WritableLength(*entry)),
                               TextField::Chat, rule);
    if (!fitted) return fitted.failure();
    plan.runs.push_back(Overwrite{static_cast<std::uint64_t>(position - 1), std::move(*fitted)});
    return plan;
}

Result<WritePlan> PlanChatDelete(const std::vector<ChatEntry>& entries, std::uint64_t fileLength,
                                 const std::vector<std::int64_t>& positions) {
    WritePlan plan{fileLength, {}};
    for (std::int64_t position : positions) {
        const ChatEntry* entry = EntryAt(entries, position);
        if (entry == nullptr) return NoEntryAt(position);
        const auto offset = static_cast<std::uint64_t>(position - 1);
        if (std::any_of(plan.runs.begin(), plan.runs.end(),
                        [&](const Overwrite& run) { return run.offset == offset; }))
            continue;
        plan.runs.push_back(Overwrite{offset, std::string(WritableLength(*entry), ' ')});
    }
    return plan;
}

}  // namespace vorelix::demo
