// ConfigWindow's life, its modal showing, the list's checks and the OK button that keeps the choice.
#include "ui/config/ConfigWindow.h"

#include "launch/configs/ConfigFiles.h"
#include "launch/configs/ConfigName.h"
#include "ui/base/Dpi.h"
#include "ui/base/ModalLoop.h"
#include "ui/base/TwipsLayout.h"

namespace vorelix::ui {

namespace {

constexpr const wchar_t* kClassName = L"Vorelix.ConfigWindow";
constexpr const wchar_t* kCaption = L"Select your config to launch";

}  // namespace

ConfigWindow::ConfigWindow(ConfigWindowServices services, HWND owner)
    : services_(std::move(services)), owner_(owner), autoexec_(services_.settings) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    // Owned from its creation: it stays above the main window and goes with it.
    if (!CreateTopLevel(kClassName, kCaption, kToolWindowStyle, kToolWindowExStyle, 300, 250, nullptr,
                        owner_))
        return;
    CreateControls();
}

void ConfigWindow::ShowModal() {
    if (!Hwnd()) return;
    hidden_ = false;
    if (owner_) {
        CenterOver(Hwnd(), owner_);
        EnableWindow(owner_, FALSE);
    }
    ShowWindow(Hwnd(), SW_SHOW);
    SetFocus(configList_.Hwnd());
    RunModalLoop(Hwnd(), hidden_);
    Hide();
}

void ConfigWindow::Hide() {
    if (hidden_ && !IsWindowVisible(Hwnd())) return;
    hidden_ = true;
    // The owner is enabled before this window hides, so that the system gives it the activation.
    if (owner_) EnableWindow(owner_, TRUE);
    ShowWindow(Hwnd(), SW_HIDE);
}

std::vector<launch::ConfigEntry> ConfigWindow::Configs() const {
    std::vector<launch::ConfigEntry> configs;
    for (std::size_t i = 0; i < names_.size(); ++i)
        configs.push_back({names_[i], configList_.IsChecked(static_cast<int>(i))});
    return configs;
}

void ConfigWindow::SetConfigs(const std::vector<launch::ConfigEntry>& configs) {
    const CheckListView& list = configList_;
    filling_ = true;
    list.Clear();
    names_.clear();
    for (const auto& config : configs) {
        const int index = list.Add(config.name);
        if (index < 0) break;
        names_.push_back(config.name);
        list.SetChecked(index, config.checked);
    }
    filling_ = false;
}

bool ConfigWindow::RefuseCheck(const NMLISTVIEW& change) {
    // A check box is the item's state image: 1 unchecked, 2 checked.
    const bool checking = (change.uChanged & LVIF_STATE) &&
                          (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    if (!checking || change.iItem < 0 || static_cast<std::size_t>(change.iItem) >= names_.size())
        return false;
    const auto& name = names_[static_cast<std::size_t>(change.iItem)];
    const auto why = launch::WhyNotOnCommandLine(name);
    if (!why) return false;
    // Filling the list refuses it without a word: the caller (configs.ini's reading) tells its own.
    if (!filling_) {
        const auto refusal = launch::ConfigCannotBeChecked(name, *why);
        Warn(services_.prompter, refusal.text, refusal.title);
    }
    return true;
}

LRESULT ConfigWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == ToInt(ConfigControlId::OkButton) && HIWORD(wParam) == BN_CLICKED) {
                OnOkClick();
            } else if (LOWORD(wParam) == IDCANCEL) {
                Hide();  // Esc: as the close box
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == static_cast<UINT_PTR>(ToInt(ConfigControlId::ConfigList)) &&
                header->code == LVN_ITEMCHANGING)
                return RefuseCheck(*reinterpret_cast<const NMLISTVIEW*>(lParam)) ? TRUE : FALSE;
            break;
        }
        case WM_CLOSE:
            // The close box only hides: the list, its checks and the box stay as the user left them,
            // and nothing is saved.
            Hide();
            return 0;
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            MoveToSuggestedPlace(Hwnd(), lParam);
            return 0;
        }
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void ConfigWindow::OnOkClick() {
    const bool useAutoexec = UseAutoexec();
    services_.settings.SetString(L"CooMMon", L"UseAutoexec", useAutoexec ? L"1" : L"0");
    const auto notSaved = launch::SaveConfigList(Configs(), services_.configsIniPath);
    std::vector<launch::UserMessage> told;
    if (useAutoexec && autoexec_.AutoexecRenamed()) told = autoexec_.RestoreAutoexec();
    Hide();
    // The checks apply to this run's launches whether or not they could be kept for the next.
    if (notSaved) told.insert(told.begin(), *notSaved);
    for (const auto& message : told) Warn(services_.prompter, message.text, message.title);
}

}  // namespace vorelix::ui
