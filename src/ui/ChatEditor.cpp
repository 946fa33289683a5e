// UtilitiesWindow's chat editor: Load lists the demo's chat lines, Edit rewrites the current one within
// its length, Delete blanks the selected ones and takes them off the list.
#include <algorithm>

#include "demo/ChatEdit.h"
#include "demo/DemoLayout.h"
#include "demo/Messages.h"
#include "platform/DemoFile.h"
#include "platform/Text.h"
#include "ui/EntryText.h"
#include "ui/UtilitiesWindow.h"

namespace vorelix::ui {

void UtilitiesWindow::EnterChatState(ChatEditorState state) {
    const ChatEditorControls controls = ChatControlsIn(state);
    loadChatButton_.Enable(controls.loadButton);
    SetEditorEnabled(chatList_, controls.list);
    editMessageButton_.Enable(controls.editAndDelete);
    deleteMessageButton_.Enable(controls.editAndDelete);
}

void UtilitiesWindow::OnLoadChatClick() {
    ClearChatList();
    {
        auto demoFile = platform::MappedDemo::Open(DemoPath());
        if (!demoFile) return TellOpenFailed(demoFile.failure());
        if (demoFile->Size() < demo::kShortestScannedDemo) return TellOpenFailed(Failure{});
        chat_ = demo::ScanChat(demoFile->Bytes(), &demoFile.value());
        chatDemoLength_ = demoFile->Size();
        chatDemoWriteTime_ = demoFile->LastWriteTime();
    }
    if (chat_.empty()) {
        EnterChatState(ChatEditorState::NothingFound);
        Tell(platform::Utf8ToWide(demo::kNoChatMessage), L"Nothing...", MessageIcon::Exclamation);
        return;
    }
    {
        RedrawPause pause(chatList_.Hwnd());
        chatList_.ReserveItems(static_cast<int>(chat_.size()), chat_.size() * 64 * sizeof(wchar_t));
        for (const auto& entry : chat_) {
            const int index = chatList_.Add(ShowEntry(entry.text));
            if (index < 0) break;  // out of memory: the list shows the first entries only
            SendMessageW(chatList_.Hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(index),
                         static_cast<LPARAM>(entry.position));
        }
    }
    // The first entry is the current one, and selected, so that Edit and Delete have something to act on.
    SendMessageW(chatList_.Hwnd(), LB_SETSEL, TRUE, 0);
    SendMessageW(chatList_.Hwnd(), LB_SETCARETINDEX, 0, FALSE);
    EnterChatState(ChatEditorState::Loaded);
}

void UtilitiesWindow::ShowChatEntry(std::size_t index) {
    HWND list = chatList_.Hwnd();
    const auto at = static_cast<WPARAM>(index);
    const bool selected = SendMessageW(list, LB_GETSEL, at, 0) > 0;
    const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    RedrawPause pause(list);
    SendMessageW(list, LB_DELETESTRING, at, 0);
    const std::wstring text = ShowEntry(chat_[index].text);
    SendMessageW(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(list, LB_SETITEMDATA, at, static_cast<LPARAM>(chat_[index].position));
    SendMessageW(list, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

void UtilitiesWindow::OnEditMessageClick() {
    const auto count = static_cast<std::size_t>(std::max(chatList_.Count(), 0));
    const LRESULT current = SendMessageW(chatList_.Hwnd(), LB_GETCARETINDEX, 0, 0);
    if (count == 0 || count != chat_.size() || current < 0 || static_cast<std::size_t>(current) >= count) {
        Tell(L"There is no message to edit. Nothing is written.", kProgramTitle, MessageIcon::Exclamation);
        return;
    }
    const auto index = static_cast<std::size_t>(current);
    const std::wstring typed =
        services_.prompter.AskText({L"Enter the new message:", L"Editing", EditableChatText(chat_[index])});
    const ChatEdit edit = DecideChatEdit(chat_, index, typed, chatDemoLength_);
    if (edit.outcome == ChatEdit::Outcome::Nothing) return;
    if (edit.outcome == ChatEdit::Outcome::Refused) {
        Tell(edit.refusal, kProgramTitle, MessageIcon::Exclamation);
        return;
    }
    if (auto written = BackupAndWrite(DemoPath(), edit.plan, chatDemoWriteTime_); !written)
        return TellWriteFailed(written.failure());
    const std::int64_t position = chat_[index].position;
    NoteWritten(chat_, position, edit.written);
    for (std::size_t i = 0; i < chat_.size(); ++i) {
        if (chat_[i].position == position) ShowChatEntry(i);
    }
    TellDone(demo::kMessageEditedMessage);
}

void UtilitiesWindow::OnDeleteMessageClick() {
    HWND list = chatList_.Hwnd();
    const LRESULT selectedCount = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (selectedCount <= 0) {
        Tell(L"And why messages for removal are not selected? What to delete?", L"Hmm",
             MessageIcon::Critical);
        return;
    }
    std::vector<int> selected(static_cast<std::size_t>(selectedCount));
    SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(selectedCount),
                 reinterpret_cast<LPARAM>(selected.data()));
    std::vector<std::int64_t> positions;
    for (int index : selected) positions.push_back(chat_.at(static_cast<std::size_t>(index)).position);
    auto plan = demo::PlanChatDelete(chat_, chatDemoLength_, positions);
    if (!plan) return TellWriteFailed(plan.failure());
    if (auto written = BackupAndWrite(DemoPath(), *plan, chatDemoWriteTime_); !written)
        return TellWriteFailed(written.failure());

    // From the last to the first, so that the indexes still to come stay valid.
    std::vector<std::pair<std::int64_t, std::string>> blanked;
    {
        RedrawPause pause(list);
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
            const auto index = static_cast<std::size_t>(*it);
            blanked.emplace_back(chat_[index].position, std::string(demo::WritableLength(chat_[index]), ' '));
            chat_.erase(chat_.begin() + *it);
            SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
        }
    }
    // An entry left that starts where a removed one did shows its blanks too.
    for (const auto& [position, blanks] : blanked) {
        NoteWritten(chat_, position, blanks);
        for (std::size_t i = 0; i < chat_.size(); ++i) {
            if (chat_[i].position == position) ShowChatEntry(i);
        }
    }
    TellDone(demo::kMessagesRemovedMessage);
}

}  // namespace vorelix::ui
