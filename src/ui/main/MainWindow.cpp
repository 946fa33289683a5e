// MainWindow's life and message routing, the about line, the video lists, the utilities button, the
// timeline (and the utilities it opens at a chat line) and the speed box.
#include "ui/main/MainWindow.h"

#include <shellapi.h>

#include "ResourceIds.h"
#include "platform/Shell.h"
#include "ui/base/Dpi.h"
#include "ui/timeline/TimelineWindow.h"
#include "ui/utilities/UtilitiesWindow.h"

namespace vorelix::ui {

namespace {
constexpr const wchar_t* kClassName = L"Vorelix.MainWindow";
constexpr const wchar_t* kCaption = L"Vorelix v2.1b [for CS 1.4-1.5]";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
}  // namespace

void OpenWebPageWithShell(const std::wstring& url) {
    platform::ShellOpen(nullptr, url, L"", L"", SW_SHOWNORMAL);
}

bool DemoButtonsEnabled(int entryCount, int selectedIndex) {
    return entryCount > 0 && selectedIndex >= 0;
}

MainWindow::MainWindow(MainWindowServices services) : services_(std::move(services)) {
    // Tool tips and the v6 buttons need their classes registered before the first window uses them.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VORELIX),
                                               IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (!CreateTopLevel(kClassName, kCaption, kStyle, 0, 600, 600, icon)) return;
    CreateControls();
    // The speed box takes digits only; a paste is filtered by OnSpeedChanged.
    SetWindowLongPtrW(speedBox_.Hwnd(), GWL_STYLE,
                      GetWindowLongPtrW(speedBox_.Hwnd(), GWL_STYLE) | ES_NUMBER);
    configWindow_ = std::make_unique<ConfigWindow>(
        ConfigWindowServices{services_.settings, services_.prompter, services_.configsIniPath}, Hwnd());
    SubclassLists();
    InitialiseFolders();
    // The chat list of an open utilities window belonged to the demo selected before.
    onDemoRead = [this] {
        if (openUtilities_) openUtilities_->ClearChatList();
    };
}

MainWindow::~MainWindow() {
    if (Hwnd()) DestroyWindow(Hwnd());
    if (demoMenu_) DestroyMenu(demoMenu_);
    for (HIMAGELIST& pictures : buttonPictures_) {
        if (pictures) ImageList_Destroy(pictures);
    }
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnStaticColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MEASUREITEM:
            if (wParam == static_cast<WPARAM>(ToInt(ControlId::FolderBox))) {
                folderBox_.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), dpi_);
                return TRUE;
            }
            break;
        case WM_DRAWITEM:
            if (wParam == static_cast<WPARAM>(ToInt(ControlId::FolderBox))) {
                folderBox_.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), dpi_);
                return TRUE;
            }
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == aboutLine_.Hwnd()) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            MoveToSuggestedPlace(Hwnd(), lParam);
            return 0;
        }
        case WM_CLOSE:
            if (launching_) {
                OnCloseDuringLaunch();
                return 0;
            }
            if (onClose) onClose();
            DestroyWindow(Hwnd());
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) OnEndSession();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void MainWindow::OnCommand(int id, int code) {
    switch (static_cast<ControlId>(id)) {
        case ControlId::DriveBox:
            if (code == CBN_DROPDOWN) driveBox_.Fill();
            if (code == CBN_SELCHANGE) driveBox_.OnSelectionChange();
            break;
        case ControlId::FolderBox:
            if (code == LBN_DBLCLK) OpenFolderEntry(folderBox_.Selected());
            break;
        case ControlId::DemoList:
            if (code == LBN_SELCHANGE) OnDemoSelected();
            break;
        case ControlId::RendererBox:
            if (code == CBN_SELCHANGE) OnRendererSelected();
            break;
        case ControlId::ResolutionBox:
            if (code == CBN_SELCHANGE) OnResolutionSelected();
            break;
        case ControlId::SpeedBox:
            if (code == EN_CHANGE) OnSpeedChanged();
            break;
        case ControlId::AboutLine:
            if (code == STN_CLICKED) OnAboutLineClick();
            break;
        case ControlId::BrowseHlExeButton:
            if (code == BN_CLICKED) OnBrowseHlExeClick();
            break;
        case ControlId::SelectConfigButton:
            if (code == BN_CLICKED) OnSelectConfigClick();
            break;
        case ControlId::UtilsButton:
            if (code == BN_CLICKED) OnUtilsClick();
            break;
        case ControlId::ViewDemoButton:
            if (code == BN_CLICKED) OnViewDemoClick();
            break;
        case ControlId::PlayDemoButton:
            if (code == BN_CLICKED) OnPlayDemoClick();
            break;
        case ControlId::RenameDemoItem:
            OnRenameDemoClick();
            break;
        case ControlId::DeleteDemoItem:
            OnDeleteDemoClick();
            break;
        case ControlId::RepairDemoItem:
            OnRepairDemoClick();
            break;
        case ControlId::TimelineItem:
            OnTimelineClick();
            break;
        default:
            break;
    }
}

LRESULT MainWindow::OnStaticColor(HDC hdc, HWND control) {
    // A read-only edit asks as a static: the information box keeps the white of a text box, the hl.exe path
    // box the button face.
    if (control == infoBox_.Hwnd()) {
        SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(infoBackground_);
    }
    if (control == aboutLine_.Hwnd()) {
        SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(hdc, RGB(0, 0, 192));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return DefaultProc(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control));
}

void MainWindow::OnAboutLineClick() {
    if (services_.openWebPage) services_.openWebPage(kProjectPage);
}

void MainWindow::SetModeIndex(int index) {
    rendererBox_.SetSelected(index);
    OnRendererSelected();
}

void MainWindow::SetResolutionIndex(int index) {
    resolutionBox_.SetSelected(index);
    OnResolutionSelected();
}

void MainWindow::OnRendererSelected() {
    const int index = rendererBox_.Selected();
    if (index >= 0) services_.settings.SetString(L"main", L"graphmode", std::to_wstring(index));
}

void MainWindow::OnResolutionSelected() {
    const int index = resolutionBox_.Selected();
    if (index >= 0) services_.settings.SetString(L"main", L"graphres", std::to_wstring(index));
}

void MainWindow::OnUtilsClick() {
    ShowUtilities(Hwnd(), [this] { return GetSelectedDemoPath(); }, {});
}

void MainWindow::ShowUtilities(HWND owner, std::function<std::wstring()> demoPath,
                               const std::function<void(UtilitiesWindow&)>& whenShown) {
    // A fresh window at each opening: closing it discards everything it held.
    UtilitiesWindow utilities({services_.prompter, std::move(demoPath)});
    if (!utilities.IsCreated()) return;
    openUtilities_ = &utilities;
    utilities.ShowModal(owner, whenShown ? [&] { whenShown(utilities); } : std::function<void()>());
    openUtilities_ = nullptr;
}

void MainWindow::OnTimelineClick() {
    if (demoList_.Selected() < 0) return;
    const std::wstring demo = GetSelectedDemoPath();
    TimelineWindow timeline(
        {services_.prompter, demo, ChooseCsvFileWithDialog,
         [this, demo](HWND owner, std::uint64_t chatPosition) {
             ShowUtilities(
                 owner, [demo] { return demo; },
                 [chatPosition](UtilitiesWindow& utilities) { utilities.ShowChatLine(chatPosition); });
         }});
    if (!timeline.IsCreated()) return;
    timeline.ShowModal(Hwnd());
}

void MainWindow::OnSpeedChanged() {
    // Typing is held to digits by the box itself; a pasted text may bring anything.
    const std::wstring text = speedBox_.Text();
    std::wstring digits;
    for (wchar_t c : text) {
        if (c >= L'0' && c <= L'9') digits += c;
    }
    if (digits == text) return;
    speedBox_.SetText(digits);
    SendMessageW(speedBox_.Hwnd(), EM_SETSEL, digits.size(), digits.size());
}

}  // namespace vorelix::ui
