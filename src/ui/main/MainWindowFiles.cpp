// MainWindow's commands on demo files: the list's popup menu (rename, delete) and files dropped on the list.
#include <windowsx.h>

#include "platform/files/File.h"
#include "platform/files/FileOps.h"
#include "platform/PathNames.h"
#include "platform/Text.h"
#include "ui/base/UnexpectedFailure.h"
#include "ui/main/MainWindow.h"

namespace vorelix::ui {

namespace {
constexpr UINT_PTR kFilesSubclass = 1;
constexpr UINT_PTR kFolderBoxSubclass = 2;
constexpr int kRightButton = 2;
}  // namespace

LRESULT CALLBACK MainWindow::DemoListSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                  UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<MainWindow*>(refData);
    switch (message) {
        case WM_RBUTTONDOWN:
            // Handled here so the list keeps its selection: the menu acts on the selected demo.
            RunGuarded(L"the demo list's menu", [&] {
                self->OnDemoListMouseDown(kRightButton, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            });
            return 0;
        case WM_DROPFILES:
            RunGuarded(L"copying the dropped file",
                       [&] { self->OnFilesDropped(reinterpret_cast<HDROP>(wParam)); });
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &MainWindow::DemoListSubclassProc, kFilesSubclass);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::FolderBoxSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                   UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<MainWindow*>(refData);
    switch (message) {
        case WM_GETDLGCODE:
            // Enter opens the highlighted folder instead of pressing the window's default button.
            if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
                wParam == VK_RETURN) {
                return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, message, wParam, lParam);
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                RunGuarded(L"opening the folder",
                           [&] { self->OpenFolderEntry(self->folderBox_.Selected()); });
                return 0;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, &MainWindow::FolderBoxSubclassProc, kFolderBoxSubclass);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void MainWindow::SubclassLists() {
    SetWindowSubclass(demoList_.Hwnd(), &MainWindow::DemoListSubclassProc, kFilesSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(folderBox_.Hwnd(), &MainWindow::FolderBoxSubclassProc, kFolderBoxSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
}

void MainWindow::OnDemoListMouseDown(int button, POINT clientPoint) {
    if (button != kRightButton || !trackPopup) return;
    POINT screen = clientPoint;
    ClientToScreen(demoList_.Hwnd(), &screen);
    HMENU items = GetSubMenu(demoMenu_, 0);
    EnableMenuItem(items, static_cast<UINT>(ToInt(ControlId::RepairDemoItem)),
                   MF_BYCOMMAND | (SelectedDemoNeedsRepair() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(items, static_cast<UINT>(ToInt(ControlId::TimelineItem)),
                   MF_BYCOMMAND | (demoList_.Selected() >= 0 ? MF_ENABLED : MF_GRAYED));
    const UINT command = trackPopup(items, screen, Hwnd());
    if (command != 0) OnCommand(static_cast<int>(command), 0);
}

void MainWindow::OnDeleteDemoClick() {
    if (!AskYesNo(services_.prompter, L"You really want to remove the demo?", L"Sure?")) return;
    // With nothing selected the path names the folder itself: there is no demo to delete.
    if (demoList_.Selected() >= 0) {
        const Status deleted = platform::DeleteFileAt(GetSelectedDemoPath());
        if (!deleted) TellFailure(L"The demo could not be deleted.", deleted.failure().systemText);
    }
    LoadDemoList();
}

void MainWindow::OnRenameDemoClick() {
    const int selected = demoList_.Selected();
    const std::wstring current = selected >= 0 ? demoList_.Entry(selected) : std::wstring{};
    InputRequest request;
    request.prompt = L"Enter a new name of the demo:";
    request.title = L"Rename demo";
    request.initialText = current;
    const std::wstring name = services_.prompter.AskText(request);
    // Either separator would move the demo out of the shown folder.
    if (name.empty() || name.find_first_of(L"\\/") != std::wstring::npos) return;
    // No demo selected, or the name left as it was: no file to move.
    if (selected >= 0 && name != current) {
        const Status renamed = platform::RenameFileTo(GetSelectedDemoPath(),
                                                      platform::JoinFolderAndName(demoList_.Folder(), name));
        if (!renamed) TellFailure(L"The demo could not be renamed.", renamed.failure().systemText);
    }
    LoadDemoList();
}

void MainWindow::OnFilesDropped(HDROP drop) {
    std::wstring first;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        first.resize(length + 1);
        first.resize(DragQueryFileW(drop, 0, first.data(), length + 1));
    }
    DragFinish(drop);
    if (first.empty()) return;
    const std::wstring name = platform::GetFileName(first);
    Status copied = platform::CopyFileIntoFolder(first, demoList_.Folder(), false);
    if (!copied && copied.failure().code == ERROR_FILE_EXISTS) {
        // Another file already has the name: it is replaced only when the user says so.
        if (!AskYesNo(services_.prompter, name + L" is already in this folder. Replace it?")) return;
        copied = platform::CopyFileIntoFolder(first, demoList_.Folder(), true);
    }
    if (!copied) TellFailure(L"The file " + name + L" could not be copied.", copied.failure().systemText);
    LoadDemoList();
}

void MainWindow::TellFailure(const std::wstring& what, const std::string& systemText) {
    Warn(services_.prompter,
         systemText.empty() ? what : what + L"\r\n\r\n" + platform::Utf8ToWide(systemText));
}

}  // namespace vorelix::ui
