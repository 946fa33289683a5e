// frmMain's life and message routing, the about line, the video lists and the buttons of later features.
#include "ui/frmMain.h"

#include <shellapi.h>

#include "ResourceIds.h"
#include "platform/Shell.h"

namespace vorelix::ui {

namespace {
constexpr const wchar_t* kClassName = L"Vorelix.frmMain";
constexpr const wchar_t* kCaption = L"Vorelix v2.1b [for CS 1.4-1.5]";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
}  // namespace

void OpenWebPageWithShell(const std::wstring& url) {
    platform::ShellOpen(nullptr, url, L"", L"", SW_SHOWNORMAL);
}

UINT TrackPopupAndReturnCommand(HMENU menu, POINT screenPoint, HWND owner) {
    return static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                              screenPoint.x, screenPoint.y, owner, nullptr));
}

bool DemoButtonsEnabled(int entryCount, int selectedIndex) {
    return entryCount > 0 && selectedIndex >= 0;
}

frmMain::frmMain(frmMainServices services) : services_(std::move(services)) {
    // Tool tips and the v6 buttons need their classes registered before the first window uses them.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VORELIX),
                                               IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (!CreateTopLevel(kClassName, kCaption, kStyle, 0, 600, 600, icon)) return;
    CreateControls();
    SubclassLists();
    InitialiseFolders();
}

frmMain::~frmMain() {
    if (Hwnd()) DestroyWindow(Hwnd());
    if (mnuFile_) DestroyMenu(mnuFile_);
    for (HIMAGELIST& pictures : buttonPictures_) {
        if (pictures) ImageList_Destroy(pictures);
    }
}

LRESULT frmMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnStaticColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_MEASUREITEM:
            if (wParam == static_cast<WPARAM>(ToInt(ControlId::Dir1))) {
                Dir1_.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), dpi_);
                return TRUE;
            }
            break;
        case WM_DRAWITEM:
            if (wParam == static_cast<WPARAM>(ToInt(ControlId::Dir1))) {
                Dir1_.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), dpi_);
                return TRUE;
            }
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == Label5_.Hwnd()) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(Hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            if (onClose) onClose();
            DestroyWindow(Hwnd());
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void frmMain::OnCommand(int id, int code) {
    switch (static_cast<ControlId>(id)) {
        case ControlId::Drive1:
            if (code == CBN_DROPDOWN) Drive1_.Fill();
            if (code == CBN_SELCHANGE) Drive1_.OnSelectionChange();
            break;
        case ControlId::Dir1:
            if (code == LBN_DBLCLK) Dir1_Open(Dir1_.Selected());
            break;
        case ControlId::Files:
            if (code == LBN_SELCHANGE) Files_Click();
            break;
        case ControlId::cboMode:
            if (code == CBN_SELCHANGE) cboMode_Click();
            break;
        case ControlId::cboResolution:
            if (code == CBN_SELCHANGE) cboResolution_Click();
            break;
        case ControlId::Label5:
            if (code == STN_CLICKED) Label5_Click();
            break;
        case ControlId::cmdBrowseHLEXE:
            if (code == BN_CLICKED) cmdBrowseHLEXE_Click();
            break;
        case ControlId::cmdSelectConfig:
            if (code == BN_CLICKED) cmdSelectConfig_Click();
            break;
        case ControlId::cmdUtils:
            if (code == BN_CLICKED) cmdUtils_Click();
            break;
        case ControlId::cmdViewDemo:
            if (code == BN_CLICKED) cmdViewDemo_Click();
            break;
        case ControlId::cmdPlayDemo:
            if (code == BN_CLICKED) cmdPlayDemo_Click();
            break;
        case ControlId::itemRenameDemo:
            itemRenameDemo_Click();
            break;
        case ControlId::itemDeleteDemo:
            itemDeleteDemo_Click();
            break;
        default:
            break;
    }
}

LRESULT frmMain::OnStaticColor(HDC hdc, HWND control) {
    // A read-only edit asks as a static: txtInfo keeps the white of a text box, txtHLPath the button face.
    if (control == txtInfo_.Hwnd()) {
        SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(infoBackground_);
    }
    if (control == Label5_.Hwnd()) {
        SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(hdc, RGB(0, 0, 192));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return DefaultProc(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control));
}

void frmMain::Label5_Click() {
    if (services_.openWebPage) services_.openWebPage(kProjectPage);
}

void frmMain::SetModeIndex(int index) {
    cboMode_.SetSelected(index);
    cboMode_Click();
}

void frmMain::SetResolutionIndex(int index) {
    cboResolution_.SetSelected(index);
    cboResolution_Click();
}

void frmMain::cboMode_Click() {
    const int index = cboMode_.Selected();
    if (index >= 0) services_.settings.SetString(L"main", L"graphmode", std::to_wstring(index));
}

void frmMain::cboResolution_Click() {
    const int index = cboResolution_.Selected();
    if (index >= 0) services_.settings.SetString(L"main", L"graphres", std::to_wstring(index));
}

// The game launch, the config window and the utilities window arrive with their own features.
void frmMain::cmdBrowseHLEXE_Click() {}
void frmMain::cmdSelectConfig_Click() {}
void frmMain::cmdUtils_Click() {}
void frmMain::cmdViewDemo_Click() {}
void frmMain::cmdPlayDemo_Click() {}

}  // namespace vorelix::ui
