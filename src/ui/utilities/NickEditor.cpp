// UtilitiesWindow's nick editor: Load lists every nick of the demo, a selection puts one into the new-nick
// box, Save writes the new nick over it or over every nick shown with the same text.
#include <algorithm>

#include "demo/edit/Messages.h"
#include "demo/edit/NickEdit.h"
#include "platform/files/DemoFile.h"
#include "platform/Text.h"
#include "ui/utilities/EntryDisplay.h"
#include "ui/utilities/UtilitiesWindow.h"
#include "ui/base/EditRecovery.h"

namespace vorelix::ui {

namespace {
// Replacing one entry moves every entry after it; past this many, filling the list again is quicker.
constexpr std::size_t kRefillAbove = 32;
}  // namespace

void UtilitiesWindow::EnterNickState(NickEditorState state) {
    const NickEditorControls controls = NickControlsIn(state);
    loadNicksButton_.Enable(controls.loadButton);
    SetEditorEnabled(nickList_, controls.listAndBox);
    SetEditorEnabled(newNickBox_, controls.listAndBox);
    onlySelectedOption_.Enable(controls.options);
    allSimilarOption_.Enable(controls.options);
    saveNickButton_.Enable(controls.saveButton);
}

void UtilitiesWindow::OnLoadNicksClick() {
    std::vector<demo::NickEntry> scanned;
    {
        RecoverDemoBeforeReading(services_.prompter, DemoPath());
        auto demoFile = platform::MappedDemo::Open(DemoPath());
        auto nicks = demoFile ? demo::ScanNicks(demoFile->Bytes(), &demoFile.value())
                              : Result<std::vector<demo::NickEntry>>(demoFile.failure());
        if (!nicks) {
            EnterNickState(NickEditorState::LoadFailed);
            TellOpenFailed(nicks.failure());
            return;
        }
        scanned = std::move(*nicks);
        nickDemoLength_ = demoFile->Size();
        nickDemoWriteTime_ = demoFile->LastWriteTime();
    }
    nicks_ = demo::HeldNicks(std::move(scanned));
    FillNickList();
    EnterNickState(NickEditorState::Loaded);
}

void UtilitiesWindow::FillNickList() {
    // A long demo holds tens of thousands of nicks: the list reserves its room and draws once.
    std::vector<std::wstring> texts;
    texts.reserve(nicks_.size());
    std::size_t characters = 0;
    for (const auto& nick : nicks_) {
        texts.push_back(ShowEntry(nick.bytes));
        characters += texts.back().size() + 1;
    }
    RedrawPause pause(nickList_.Hwnd());
    nickList_.Clear();
    nickList_.ReserveItems(static_cast<int>(texts.size()), characters * sizeof(wchar_t));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int index = nickList_.Add(texts[i]);
        if (index < 0) break;  // out of memory: the list shows the first entries only
        nickList_.SetItemData(index, static_cast<LPARAM>(nicks_[i].position));
    }
}

void UtilitiesWindow::ShowNicks(const std::vector<std::size_t>& changed) {
    const int selected = nickList_.Selected();
    const int top = nickList_.TopIndex();
    if (changed.size() > kRefillAbove) {
        FillNickList();
    } else {
        RedrawPause pause(nickList_.Hwnd());
        for (std::size_t i : changed)
            nickList_.Replace(static_cast<int>(i), ShowEntry(nicks_[i].bytes),
                              static_cast<LPARAM>(nicks_[i].position));
    }
    nickList_.SetSelected(selected);
    nickList_.SetTopIndex(top);
}

void UtilitiesWindow::OnNickSelected() {
    const int index = nickList_.Selected();
    if (index < 0 || static_cast<std::size_t>(index) >= nicks_.size()) return;
    const demo::HeldNick& nick = nicks_[static_cast<std::size_t>(index)];
    boxEntry_ = static_cast<std::size_t>(index);
    // Every character takes at least one byte, so the room in bytes bounds the characters; the bytes
    // themselves are counted when the text changes. A nick with no room takes no character at all.
    newNickBox_.LimitText(static_cast<int>(std::max<std::size_t>(nick.room, 1)));
    SendMessageW(newNickBox_.Hwnd(), EM_SETREADONLY, nick.room == 0 ? TRUE : FALSE, 0);
    newNickBox_.SetText(ShowEntry(nick.bytes));
    newNickShown_ = newNickBox_.Text();
    // Shown for editing, but not to be saved unchanged: the first change enables Save.
    saveNickButton_.Enable(false);
}

void UtilitiesWindow::OnNewNickChanged() {
    if (trimmingNewNick_) return;
    std::wstring text = newNickBox_.Text();
    if (boxEntry_ < nicks_.size()) {
        const demo::HeldNick& nick = nicks_[boxEntry_];
        const std::size_t fitting = FittingLength(text, nick.bytes, nick.room);
        if (fitting < text.size()) {
            // More bytes than the demo holds there: the characters past the room are taken back.
            DWORD caret = 0;
            SendMessageW(newNickBox_.Hwnd(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
            text.resize(fitting);
            trimmingNewNick_ = true;
            newNickBox_.SetText(text);
            trimmingNewNick_ = false;
            caret = std::min<DWORD>(caret, static_cast<DWORD>(fitting));
            SendMessageW(newNickBox_.Hwnd(), EM_SETSEL, caret, caret);
            MessageBeep(MB_OK);
        }
    }
    if (text == newNickShown_) return;  // a keystroke taken back changes nothing
    newNickShown_ = text;
    saveNickButton_.Enable(true);
}

void UtilitiesWindow::OnSaveNickClick() {
    const int selected = nickList_.Selected();
    if (selected < 0 || static_cast<std::size_t>(selected) >= nicks_.size())
        return Warn(services_.prompter, L"Select the nick to change in the list first. Nothing is written.");
    // Entries left out for want of room keep their text; the user sees which in the list.
    auto rename =
        demo::PlanNickRename(nicks_, static_cast<std::size_t>(selected), allSimilarOption_.IsChecked(),
                             platform::WideToUtf8(newNickBox_.Text()), nickDemoLength_, WindowTextRule());
    if (!rename)
        return Warn(services_.prompter, RefusalText(demo::TextField::Nick, rename.failure().systemText));
    if (auto written = BackupAndWrite(DemoPath(), rename->plan, nickDemoWriteTime_); !written) {
        EnterNickState(NickEditorState::SaveFailed);
        TellWriteFailed(written.failure());
        return;
    }
    std::vector<std::size_t> changed;
    for (auto& [index, bytes] : rename->shown) {
        nicks_[index].bytes = std::move(bytes);
        changed.push_back(index);
    }
    ShowNicks(changed);
    TellDone(demo::kNickSavedMessage);
}

}  // namespace vorelix::ui
