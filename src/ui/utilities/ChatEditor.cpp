// UtilitiesWindow's chat editor: Load lists the demo's chat lines, Edit rewrites the current one within
// its length, Delete blanks the selected ones and takes them off the list.
#include <algorithm>

#include "demo/DemoHeader.h"
#include "demo/edit/ChatEdit.h"
#include "demo/edit/ChatLines.h"
#include "demo/edit/Messages.h"
#include "demo/net/EventRows.h"
#include "platform/files/DemoFile.h"
#include "platform/Text.h"
#include "ui/base/EditRecovery.h"
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
        RecoverDemoBeforeReading(services_.prompter, DemoPath());
        auto demoFile = platform::MappedDemo::Open(DemoPath());
        if (!demoFile) return TellOpenFailed(demoFile.failure());
        if (demoFile->Size() < demo::kShortestScannedDemo) return TellOpenFailed(Failure{});
        chat_ = demo::ScanAllChat(demoFile->Bytes(), &demoFile.value());
        chatDemoLength_ = demoFile->Size();
        chatDemoWriteTime_ = demoFile->LastWriteTime();
    }
    if (chat_.empty()) {
        EnterChatState(ChatEditorState::NothingFound);
        Warn(services_.prompter, platform::Utf8ToWide(demo::kNoChatMessage), L"Nothing...");
        return;
    }
    {
        RedrawPause pause(chatList_.Hwnd());
        chatList_.ReserveItems(static_cast<int>(chat_.size()), chat_.size() * 64 * sizeof(wchar_t));
        for (const auto& entry : chat_) {
            const int index = chatList_.Add(ShowEntry(demo::ListedText(entry)));
            if (index < 0) break;  // out of memory: the list shows the first entries only
            chatList_.SetItemData(index, static_cast<LPARAM>(entry.position));
        }
    }
    // The first entry is the current one, and selected, so that Edit and Delete have something to act on.
    chatList_.SetItemSelected(0, true);
    chatList_.SetCaret(0);
    EnterChatState(ChatEditorState::Loaded);
}

void UtilitiesWindow::ShowChatEntry(std::size_t index) {
    const int at = static_cast<int>(index);
    const bool selected = chatList_.IsItemSelected(at);
    const int caret = chatList_.Caret();
    const int top = chatList_.TopIndex();
    RedrawPause pause(chatList_.Hwnd());
    chatList_.Replace(at, ShowEntry(demo::ListedText(chat_[index])),
                      static_cast<LPARAM>(chat_[index].position));
    chatList_.SetItemSelected(at, selected);
    chatList_.SetCaret(caret);
    chatList_.SetTopIndex(top);
}

void UtilitiesWindow::OnEditMessageClick() {
    const auto count = static_cast<std::size_t>(std::max(chatList_.Count(), 0));
    const int current = chatList_.Caret();
    if (count == 0 || count != chat_.size() || current < 0 || static_cast<std::size_t>(current) >= count)
        return Warn(services_.prompter, L"There is no message to edit. Nothing is written.");
    const auto index = static_cast<std::size_t>(current);
    const std::wstring typed = services_.prompter.AskText(
        {L"Enter the new message:", L"Editing",
         platform::Utf8ToWide(demo::EditableText(chat_[index], WindowTextRule()))});
    auto edit =
        demo::PlanChatEdit(chat_, index, platform::WideToUtf8(typed), chatDemoLength_, WindowTextRule());
    if (!edit) return Warn(services_.prompter, RefusalText(demo::TextField::Chat, edit.failure().systemText));
    if (edit->plan.empty()) return;  // cancelled, or the text as it was
    if (auto written = BackupAndWrite(DemoPath(), edit->plan, chatDemoWriteTime_); !written)
        return TellWriteFailed(written.failure());
    ShowChatEdit(*edit, {});
    TellDone(demo::kMessageEditedMessage);
}

void UtilitiesWindow::OnDeleteMessageClick() {
    const std::vector<int> selected = chatList_.SelectedIndices();
    if (selected.empty())
        return ShowError(services_.prompter,
                         L"And why messages for removal are not selected? What to delete?", L"Hmm");
    const std::vector<std::size_t> deleted(selected.begin(), selected.end());
    const demo::EntryEdit edit = demo::PlanChatDelete(chat_, deleted, chatDemoLength_);
    if (auto written = BackupAndWrite(DemoPath(), edit.plan, chatDemoWriteTime_); !written)
        return TellWriteFailed(written.failure());
    ShowChatEdit(edit, deleted);
    TellDone(demo::kMessagesRemovedMessage);
}

void UtilitiesWindow::ShowChatEdit(const demo::EntryEdit& edit, const std::vector<std::size_t>& deleted) {
    for (const auto& [index, bytes] : edit.shown) chat_[index].text = bytes;
    {
        // From the last to the first (the list box gives them in order), so that the indexes still to
        // come stay valid.
        RedrawPause pause(chatList_.Hwnd());
        for (auto it = deleted.rbegin(); it != deleted.rend(); ++it) {
            chat_.erase(chat_.begin() + static_cast<std::ptrdiff_t>(*it));
            chatList_.Delete(static_cast<int>(*it));
        }
    }
    for (const auto& shown : edit.shown) {
        const auto before =
            std::count_if(deleted.begin(), deleted.end(), [&](std::size_t d) { return d < shown.first; });
        ShowChatEntry(shown.first - static_cast<std::size_t>(before));
    }
}

void UtilitiesWindow::ShowChatLine(std::uint64_t position) {
    OnLoadChatClick();
    const auto index = demo::net::ChatEntryHolding(chat_, position);
    if (!index || static_cast<int>(*index) >= chatList_.Count()) return;
    const int at = static_cast<int>(*index);
    chatList_.SetItemSelected(-1, false);
    chatList_.SetItemSelected(at, true);
    chatList_.SetCaret(at);
    chatList_.SetTopIndex(std::max(at - 3, 0));
}

}  // namespace vorelix::ui
