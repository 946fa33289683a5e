// The config window ConfigWindow: the mod folder's configs with a check box each and the autoexec.cfg
// box, which every launch reads; it lives hidden from start-up to the end and is shown modally.
#pragma once

#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>

#include <string>
#include <vector>

#include "launch/configs/AutoexecSwitch.h"
#include "launch/configs/ConfigList.h"
#include "platform/SettingsStore.h"
#include "ui/base/Controls.h"
#include "ui/base/Fonts.h"
#include "ui/base/Prompter.h"
#include "ui/base/Window.h"

namespace vorelix::ui {

enum class ConfigControlId : int {
    ConfigFrame = 400,
    ListLabel,
    ConfigList,
    UseAutoexecBox,
    OkButton = IDOK,  // Enter in the window presses it
};

constexpr int ToInt(ConfigControlId id) {
    return static_cast<int>(id);
}

struct ConfigWindowServices {
    platform::SettingsStore& settings;
    Prompter& prompter;
    std::wstring configsIniPath;  // configs.ini in the program's folder
};

class ConfigWindow : public Window {
  public:
    // Creates the window hidden and owned by `owner`, with an empty list and the box unchecked.
    ConfigWindow(ConfigWindowServices services, HWND owner);

    bool IsCreated() const { return Hwnd() != nullptr; }
    HWND ControlHwnd(ConfigControlId id) const { return GetDlgItem(Hwnd(), ToInt(id)); }

    // Shows the window centred over its owner, which is disabled until the window hides again, and
    // returns then. OK saves; the close box and Esc only hide.
    void ShowModal();

    // The list, in its order, with its checks as the user left them. A config whose name the command
    // line cannot carry is never checked: the user is told why, SetConfigs leaves it unchecked.
    std::vector<launch::ConfigEntry> Configs() const;
    void SetConfigs(const std::vector<launch::ConfigEntry>& configs);

    bool UseAutoexec() const { return useAutoexecBox_.IsChecked(); }
    void SetUseAutoexec(bool use) const { useAutoexecBox_.SetChecked(use); }

    // autoexec.cfg switched off by launches, and given back by OK (box checked), at shutdown, at the
    // end of the session and at the next start after a run that could not.
    launch::AutoexecSwitch& Autoexec() { return autoexec_; }

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOkClick();
    void Hide();
    // True when the change would check a config whose name the command line cannot carry; says why.
    bool RefuseCheck(const NMLISTVIEW& change);

    // Layout and creation (ConfigWindowLayout.cpp).
    void CreateControls();
    void ApplyDpi(UINT dpi);

    ConfigWindowServices services_;
    HWND owner_;
    launch::AutoexecSwitch autoexec_;
    bool hidden_ = true;
    FontSet fonts_;
    std::vector<std::wstring> names_;  // the list's names, index for index
    bool filling_ = false;             // SetConfigs is filling the list
    CheckListView configList_;
    Button useAutoexecBox_, okButton_;
};

}  // namespace vorelix::ui
