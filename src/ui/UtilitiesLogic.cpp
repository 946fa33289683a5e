// The utilities window's control states and the decisions of nick Save and chat Edit.
#include "ui/UtilitiesLogic.h"

#include "demo/ChatEdit.h"
#include "ui/EntryText.h"

namespace vorelix::ui {

NickEditorControls NickControlsIn(NickEditorState state) {
    switch (state) {
        case NickEditorState::Loaded:
            return {false, true, true, true};
        case NickEditorState::SaveFailed:
            // The editor stays unusable until the window is opened again; only the options stay enabled.
            return {false, false, true, false};
        case NickEditorState::Initial:
        case NickEditorState::LoadFailed:
            break;
    }
    return {true, false, false, false};
}

ChatEditorControls ChatControlsIn(ChatEditorState state) {
    if (state == ChatEditorState::Loaded) return {false, true, true};
    return {true, false, false};
}

std::vector<ListedNick> ListedNicks(std::vector<demo::NickEntry> scanned) {
    std::vector<ListedNick> nicks;
    nicks.reserve(scanned.size());
    for (auto& entry : scanned) nicks.push_back({entry.position, entry.nick.size(), std::move(entry.nick)});
    return nicks;
}

NickSave DecideNickSave(const std::vector<ListedNick>& nicks, int selected, std::wstring_view typed,
                        bool allSimilar, std::uint64_t fileLength) {
    if (selected < 0 || static_cast<std::size_t>(selected) >= nicks.size()) {
        return {L"Select the nick to change in the list first. Nothing is written.", {}, {}};
    }
    const ListedNick& chosen = nicks[static_cast<std::size_t>(selected)];
    NickSave save{{}, {fileLength, {}}, {}};
    for (std::size_t i = 0; i < nicks.size(); ++i) {
        const bool isChosen = i == static_cast<std::size_t>(selected);
        if (!isChosen && !(allSimilar && SameShownText(nicks[i].bytes, chosen.bytes))) continue;
        auto encoded = EncodeReplacement(typed, nicks[i].bytes, demo::TextField::Nick);
        if (!encoded.ok()) return {encoded.refusal, {}, {}};
        auto fitted = FitReplacement(encoded.bytes, nicks[i].bytes, nicks[i].room, demo::TextField::Nick);
        if (!fitted.ok()) {
            if (!isChosen) continue;  // too little room here: left out, it keeps its text
            return {fitted.refusal, {}, {}};
        }
        save.plan.runs.push_back(
            {static_cast<std::uint64_t>(nicks[i].position - 1), std::move(fitted.bytes)});
        save.shown.emplace_back(i, std::move(encoded.bytes));
    }
    return save;
}

std::wstring EditableChatText(const demo::ChatEntry& entry) {
    // A line feed is the byte 0x0A in UTF-8 and in every code page, and never part of another character.
    std::wstring shown = ShowEntry(entry.text);
    return shown.substr(0, shown.find(L'\n'));
}

ChatEdit DecideChatEdit(const std::vector<demo::ChatEntry>& entries, std::size_t current,
                        std::wstring_view typed, std::uint64_t fileLength) {
    const demo::ChatEntry& entry = entries.at(current);
    if (typed.empty() || typed == EditableChatText(entry)) return {};
    auto encoded = EncodeReplacement(typed, entry.text, demo::TextField::Chat);
    if (!encoded.ok()) return {ChatEdit::Outcome::Refused, encoded.refusal, {}, {}};
    // Only the entry's first line is ever written (see EditableChatText).
    auto fitted = FitReplacement(std::move(encoded.bytes), entry.text, demo::WritableLength(entry),
                                 demo::TextField::Chat);
    if (!fitted.ok()) return {ChatEdit::Outcome::Refused, fitted.refusal, {}, {}};
    demo::WritePlan plan{fileLength, {{static_cast<std::uint64_t>(entry.position - 1), fitted.bytes}}};
    return {ChatEdit::Outcome::Write, {}, std::move(plan), std::move(fitted.bytes)};
}

void NoteWritten(std::vector<demo::ChatEntry>& entries, std::int64_t position, const std::string& written) {
    for (auto& entry : entries) {
        if (entry.position == position && entry.text.size() >= written.size()) {
            entry.text.replace(0, written.size(), written);
        }
    }
}

}  // namespace vorelix::ui
