// Chat edit and delete plans.
#include "demo/edit/ChatEdit.h"

#include <algorithm>

namespace vorelix::demo {

namespace {

// Writes `bytes` at `position` into `edit`, once per position, and notes what every entry starting
// there and not in `gone` shows afterwards.
void WriteOver(const std::vector<ChatEntry>& entries, std::int64_t position, std::string bytes,
               std::string expected, const std::vector<std::size_t>& gone, EntryEdit& edit) {
    const auto offset = static_cast<std::uint64_t>(position - 1);
    if (std::any_of(edit.plan.runs.begin(), edit.plan.runs.end(),
                    [&](const Overwrite& run) { return run.offset == offset; }))
        return;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ChatEntry& entry = entries[i];
        if (entry.position != position || entry.text.size() < bytes.size() ||
            std::find(gone.begin(), gone.end(), i) != gone.end())
            continue;
        edit.shown.emplace_back(i, bytes + entry.text.substr(bytes.size()));
    }
    edit.plan.runs.push_back({offset, std::move(bytes), std::move(expected)});
}

}  // namespace

std::size_t WritableLength(const ChatEntry& entry) {
    const auto feed = entry.text.find('\n');
    return feed == std::string::npos ? entry.text.size() : feed;
}

std::string EditableText(const ChatEntry& entry, const TextRule& rule) {
    // A line feed is the byte 0x0A in UTF-8 and in every code page, and never part of another character.
    std::string shown = ShownText(entry.text, rule);
    return shown.substr(0, shown.find('\n'));
}

Result<EntryEdit> PlanChatEdit(const std::vector<ChatEntry>& entries, std::size_t index,
                               std::string_view typed, std::uint64_t fileLength, const TextRule& rule) {
    const ChatEntry& entry = entries.at(index);
    EntryEdit edit{{fileLength, {}}, {}, {}};
    if (typed.empty() || typed == EditableText(entry, rule)) return edit;
    auto encoded = EncodeTypedText(typed, entry.text, TextField::Chat, rule);
    if (!encoded) return encoded.failure();
    auto fitted =
        FitEncodedText(std::move(*encoded), entry.text, WritableLength(entry), TextField::Chat, rule);
    if (!fitted) return fitted.failure();
    std::string expected = entry.text.substr(0, fitted->size());
    WriteOver(entries, entry.position, std::move(*fitted), std::move(expected), {}, edit);
    return edit;
}

EntryEdit PlanChatDelete(const std::vector<ChatEntry>& entries, const std::vector<std::size_t>& indexes,
                         std::uint64_t fileLength) {
    EntryEdit edit{{fileLength, {}}, {}, {}};
    for (std::size_t index : indexes) {
        const ChatEntry& entry = entries.at(index);
        const std::size_t writable = WritableLength(entry);
        WriteOver(entries, entry.position, std::string(writable, ' '), entry.text.substr(0, writable), indexes,
                  edit);
    }
    return edit;
}

}  // namespace vorelix::demo
