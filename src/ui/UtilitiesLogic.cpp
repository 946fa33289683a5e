// The utilities window's control states and the decisions of nick Save and chat Edit.
#include "ui/UtilitiesLogic.h"

#include <limits>

#include "demo/ChatEdit.h"
#include "demo/NickEdit.h"
#include "platform/Text.h"
#include "ui/EntryText.h"

namespace vorelix::ui {

namespace {
constexpr std::size_t kNoRoomLimit = std::numeric_limits<std::size_t>::max();
}  // namespace

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
    if (auto refusal = RefusalForNick(typed); !refusal.empty()) return {refusal, {}, {}};
    const ListedNick& chosen = nicks[static_cast<std::size_t>(selected)];
    NickSave save{{}, {fileLength, {}}, {}};
    for (std::size_t i = 0; i < nicks.size(); ++i) {
        const bool isChosen = i == static_cast<std::size_t>(selected);
        if (!isChosen && !(allSimilar && SameShownText(nicks[i].bytes, chosen.bytes))) continue;
        auto encoded = EncodeReplacement(typed, nicks[i].bytes, kNoRoomLimit);
        if (!encoded.ok()) return {encoded.refusal, {}, {}};
        auto fitted = demo::FitNick(encoded.bytes, nicks[i].room);
        if (!fitted) {
            if (!isChosen) continue;  // too little room here: left out, it keeps its text
            return {L"The new nick does not fit: " + platform::Utf8ToWide(fitted.failure().systemText) +
                        L". Nothing is written.",
                    {},
                    {}};
        }
        save.plan.runs.push_back({static_cast<std::uint64_t>(nicks[i].position - 1), std::move(*fitted)});
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
    if (auto refusal = RefusalForChat(typed); !refusal.empty())
        return {ChatEdit::Outcome::Refused, refusal, {}, {}};
    const std::size_t length = demo::WritableLength(entry);
    auto encoded = EncodeReplacement(typed, entry.text, length);
    if (!encoded.ok()) return {ChatEdit::Outcome::Refused, encoded.refusal, {}, {}};
    auto plan = demo::PlanChatEdit(entries, fileLength, entry.position, encoded.bytes);
    if (!plan) return {ChatEdit::Outcome::Refused, platform::Utf8ToWide(plan.failure().systemText), {}, {}};
    return {ChatEdit::Outcome::Write, {}, std::move(*plan), demo::FitChatText(encoded.bytes, length)};
}

void NoteWritten(std::vector<demo::ChatEntry>& entries, std::int64_t position, const std::string& written) {
    for (auto& entry : entries) {
        if (entry.position == position && entry.text.size() >= written.size()) {
            entry.text.replace(0, written.size(), written);
        }
    }
}

}  // namespace vorelix::ui
