// UtilitiesWindow's chat editor: Load lists the demo's chat lines, Edit rewrites the current one within
// its length, Delete blanks the selected ones and takes them off the list.
#include <algorithm>

#include "demo/edit/ChatEdit.h"
#include "demo/DemoHeader.h"
#include "demo/edit/Messages.h"
#include "platform/DemoFile.h"
#include "platform/Text.h"
#include "ui/utilities/EntryDisplay.h"
#include "ui/utilities/UtilitiesWindow.h"

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
    const std::wstring typed = services_.prompter.AskText(
        {L"Enter the new message:", L"Editing",
         platform::Utf8ToWide(demo::EditableText(chat_[index], WindowTextRule()))});
    auto edit =
        demo::PlanChatEdit(chat_, index, platform::WideToUtf8(typed), chatDemoLength_, WindowTextRule());
    if (!edit) {
        Tell(RefusalText(demo::TextField::Chat, edit.failure().systemText), kProgramTitle,
             MessageIcon::Exclamation);
        return;
    }
    if (edit->plan.empty()) return;  // cancelled, or the text as it was
    if (auto written = BackupAndWrite(DemoPath(), edit->plan, chatDemoWriteTime_); !written)
        return TellWriteFailed(written.failure());
    ShowChatEdit(*edit, {});
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
    const std::vector<std::size_t> deleted(selected.begin(), selected.end());
    const demo::EntryEdit edit = demo::PlanChatDelete(chat_, deleted, chatDemoLength_);
    if (auto written = BackupAndWrite(DemoPath(), edit.plan, chatDemoWriteTime_); !written)
        return TellWriteFailed(written.failure());
    ShowChatEdit(edit, deleted);
    TellDone(demo::kMessagesRemovedMessage);
}

void UtilitiesWindow::ShowChatEdit(const demo::EntryEdit& edit, const std::vector<std::size_t>& deleted) {
    for (const auto& [index, bytes] : edit.shown) chat_[index].text = bytes;
    HWND list = chatList_.Hwnd();
    {
        // From the last to the first (the list box gives them in order), so that the indexes still to
        // come stay valid.
        RedrawPause pause(list);
        for (auto it = deleted.rbegin(); it != deleted.rend(); ++it) {
            chat_.erase(chat_.begin() + static_cast<std::ptrdiff_t>(*it));
            SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
        }
    }
    for (const auto& shown : edit.shown) {
        const auto before =
            std::count_if(deleted.begin(), deleted.end(), [&](std::size_t d) { return d < shown.first; });
        ShowChatEntry(shown.first - static_cast<std::size_t>(before));
    }
}

}  // namespace vorelix::ui
