// The utilities window UtilitiesWindow: edits the demo selected in the main window in place (nicks, chat
// lines, StatsMe inscriptions), with an optional backup copy before each change.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/Result.h"
#include "demo/edit/ChatScan.h"
#include "demo/edit/NickEdit.h"
#include "demo/edit/WritePlan.h"
#include "ui/base/Controls.h"
#include "ui/base/Fonts.h"
#include "ui/base/Prompter.h"
#include "ui/base/Window.h"
#include "ui/utilities/ToolStates.h"

namespace vorelix::ui {

enum class UtilitiesControlId : int {
    BackupBox = 300,
    StatsMeFrame,
    DeleteStatsMeButton,
    StatsMeLabel,
    NickFrame,
    NickList,
    NewNickBox,
    LoadNicksButton,
    HowToApplyLabel,
    OnlySelectedOption,
    AllSimilarOption,
    SaveNickButton,
    ChatFrame,
    ChatList,
    LoadChatButton,
    EditMessageButton,
    DeleteMessageButton,
};

constexpr int ToInt(UtilitiesControlId id) {
    return static_cast<int>(id);
}

struct UtilitiesServices {
    Prompter& prompter;
    // The full path of the demo selected in the main window; every command asks for it anew.
    std::function<std::wstring()> selectedDemoPath;
};

class UtilitiesWindow : public Window {
  public:
    // Creates the window hidden, with its controls as every opening shows them first.
    explicit UtilitiesWindow(UtilitiesServices services);
    ~UtilitiesWindow() override;

    bool IsCreated() const { return Hwnd() != nullptr; }
    HWND ControlHwnd(UtilitiesControlId id) const { return GetDlgItem(Hwnd(), ToInt(id)); }

    // Shows the window over `owner`, which is disabled until the window is closed, and returns then;
    // `whenShown` runs once the window is shown.
    void ShowModal(HWND owner, const std::function<void()>& whenShown = {});

    // Empties the chat list: its entries belonged to the demo that was selected before.
    void ClearChatList();
    // Loads the chat list as Load does and makes the line whose text holds the demo's byte at
    // `position` (1-based) the current and only selected one, when the list holds such a line.
    void ShowChatLine(std::uint64_t position);

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code);
    LRESULT OnEditorColor(HDC hdc, HWND control, UINT message);
    void Close();

    // Layout and creation (UtilitiesWindowLayout.cpp).
    void CreateControls();
    void CreateToolTip();
    void ApplyDpi(UINT dpi);

    // What the tools share (UtilitiesWindow.cpp).
    std::filesystem::path DemoPath() const;
    // Enables or disables a list or text box with the colour that goes with it.
    void SetEditorEnabled(const Control& editor, bool enabled);
    // The backup copy when the box is ticked, then the plan; nothing is copied for an empty plan. The
    // plan holds only while the demo's last-write time is still `scannedWriteTime`, which a write then
    // moves on to the demo's new time.
    Status BackupAndWrite(const std::filesystem::path& demo, demo::WritePlan plan,
                          std::int64_t& scannedWriteTime);
    void TellDone(std::string_view text);
    void TellWriteFailed(const Failure& failure);
    void TellOpenFailed(const Failure& failure);

    // The nick editor (NickEditor.cpp).
    void EnterNickState(NickEditorState state);
    void OnLoadNicksClick();
    void OnNickSelected();
    void OnNewNickChanged();
    void OnSaveNickClick();
    void FillNickList();
    void ShowNicks(const std::vector<std::size_t>& changed);

    // The chat editor (ChatEditor.cpp).
    void EnterChatState(ChatEditorState state);
    void OnLoadChatClick();
    void OnEditMessageClick();
    void OnDeleteMessageClick();
    void ShowChatEntry(std::size_t index);
    // Takes the deleted entries (indexes in order) off the list and shows the new text of the others.
    void ShowChatEdit(const demo::EntryEdit& edit, const std::vector<std::size_t>& deleted);

    // The StatsMe removal (StatsMeRemoval.cpp).
    void OnDeleteStatsMeClick();

    UtilitiesServices services_;
    FontSet fonts_;
    HWND owner_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool closed_ = false;
    std::vector<HWND> whiteEditors_;

    Button backupBox_, deleteStatsMeButton_, loadNicksButton_, onlySelectedOption_, allSimilarOption_,
        saveNickButton_, loadChatButton_, editMessageButton_, deleteMessageButton_;
    GroupBox statsMeFrame_, nickFrame_, chatFrame_;
    Label statsMeLabel_, howToApplyLabel_;
    ListBox nickList_, chatList_;
    Edit newNickBox_;

    // The lists' entries as demo bytes, index for index with the list boxes.
    std::vector<demo::HeldNick> nicks_;
    std::uint64_t nickDemoLength_ = 0;  // the demo's length and last-write time when the nicks were loaded
    std::int64_t nickDemoWriteTime_ = 0;
    std::size_t boxEntry_ = SIZE_MAX;  // the entry the new-nick box was last filled from
    std::wstring newNickShown_;        // the new-nick box's text as last accepted
    bool trimmingNewNick_ = false;
    std::vector<demo::ChatEntry> chat_;
    std::uint64_t chatDemoLength_ = 0;
    std::int64_t chatDemoWriteTime_ = 0;
};

}  // namespace vorelix::ui
