// MainWindow's folder navigation: the drive box, the folder box and the demo list following each other.
#include <string>

#include "platform/files/File.h"
#include "platform/FolderPaths.h"
#include "ui/main/MainWindow.h"

namespace vorelix::ui {

namespace {

std::wstring CurrentFolder() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(needed, L'\0');
    const DWORD written = GetCurrentDirectoryW(needed, folder.data());
    folder.resize(written < needed ? written : 0);
    return folder;
}

}  // namespace

void MainWindow::InitialiseFolders() {
    driveBox_.onChange = [this] { OnDriveChanged(); };
    folderBox_.onChange = [this] { OnFolderChanged(); };
    demoList_.onFolderChange = [this] { OnDemoFolderChanged(); };

    // The list starts in the process's current folder; nothing is remembered or enabled yet.
    platform::ReadEachFolderOnce once;
    std::wstring start = platform::NearestExistingFolder(CurrentFolder());
    if (start.empty()) start = L"C:\\";
    demoList_.ShowFolder(start);
    folderBox_.ShowPath(demoList_.Folder());
    driveBox_.ShowDrive(demoList_.Folder().empty() ? L'C' : demoList_.Folder()[0]);
    driveBox_.Fill();
}

void MainWindow::OnDriveChanged() {
    if (MoveFolderBox(platform::DriveCurrentFolder(driveBox_.Drive()))) return;
    const wchar_t drive = driveBox_.Drive();
    // The pick is refused: the drive box goes back to the drive of the folder still shown.
    if (!folderBox_.Path().empty()) driveBox_.ShowDrive(folderBox_.Path()[0]);
    Warn(services_.prompter, std::wstring(L"The drive ") + drive +
                                 L": is not ready.\r\n\r\nThe list stays in " + demoList_.Folder() + L".");
}

void MainWindow::OnFolderChanged() {
    demoList_.SetFolder(folderBox_.Path());
}

void MainWindow::OpenFolderEntry(int index) {
    const std::wstring target = folderBox_.ItemPath(index);
    if (target.empty() || MoveFolderBox(target)) return;
    Warn(services_.prompter, L"The folder " + target + L" is no longer available.");
    if (!platform::NormalizeFolder(folderBox_.Path())) {
        ComeBackFromVanishedFolder();
    } else {
        folderBox_.Refill();
    }
}

bool MainWindow::MoveFolderBox(const std::wstring& folder) {
    // The folder box reads the folder's subfolders and the demo list, following it, its demos.
    platform::ReadEachFolderOnce once;
    return folderBox_.SetPath(folder);
}

void MainWindow::OnDemoFolderChanged() {
    UpdateEnables();
    services_.settings.SetString(L"CooMMon", L"DemoPath", demoList_.Folder());
}

bool MainWindow::SetDemoFolder(const std::wstring& folder) {
    return demoList_.SetFolder(folder);
}

void MainWindow::ShowDemoFolder(const std::wstring& folder) {
    {
        platform::ReadEachFolderOnce once;
        const std::wstring before = demoList_.Folder();
        // A folder change has just read the new folder: reading it again at once would find the same
        // entries, and a folder of thousands takes a noticeable time to read.
        if (SetDemoFolder(folder) && demoList_.Folder() != before && demoList_.IsRead()) {
            BringFolderBoxesToList();
            return;
        }
    }
    LoadDemoList();
}

void MainWindow::LoadDemoList() {
    {
        // The demo list and the folder box read the folder once between them.
        platform::ReadEachFolderOnce once;
        if (demoList_.Refresh()) {
            BringFolderBoxesToList();
            return;
        }
    }
    Warn(services_.prompter,
         L"The folder " + demoList_.Folder() +
             (platform::NormalizeFolder(demoList_.Folder()) ? L" cannot be read."
                                                            : L" is no longer available."));
    ComeBackFromVanishedFolder();
}

void MainWindow::BringFolderBoxesToList() {
    const std::wstring p = demoList_.Folder();
    folderBox_.SetPath(p);
    // With the folder box on the list's folder, the drive box only has to show its drive: setting the
    // drive as a user does would take both to that drive's current folder and then back again,
    // reading the folder twice more for the same end.
    if (folderBox_.Path() == p) {
        driveBox_.ShowDriveOf(p);
        return;
    }
    // Each step may fail and is then skipped; the last two put folder box and list back where they were
    // after the drive box may have moved them to that drive's current folder.
    const std::wstring d = folderBox_.Path();
    driveBox_.SetDrive(p.substr(0, 3));
    folderBox_.SetPath(d);
    demoList_.SetFolder(p);
}

void MainWindow::ComeBackFromVanishedFolder() {
    // The shown folder is gone: all three controls move to the nearest folder above it that exists.
    std::wstring fallback = platform::NearestExistingFolder(demoList_.Folder());
    if (fallback.empty()) fallback = platform::NearestExistingFolder(CurrentFolder());
    if (fallback.empty()) return;
    platform::ReadEachFolderOnce once;
    folderBox_.SetPath(fallback);
    demoList_.SetFolder(fallback);
    driveBox_.ShowDrive(fallback[0]);
}

std::wstring MainWindow::GetSelectedDemoPath() const {
    const int selected = demoList_.Selected();
    // With nothing selected the path names the folder followed by "\" (no file).
    return platform::JoinFolderAndName(demoList_.Folder(),
                                       selected >= 0 ? demoList_.Entry(selected) : std::wstring{});
}

void MainWindow::SelectDemo(int index) {
    demoList_.SetSelected(index);
    OnDemoSelected();
}

void MainWindow::UpdateEnables() {
    const bool enabled = DemoButtonsEnabled(demoList_.Count(), demoList_.Selected());
    viewDemoButton_.Enable(enabled);
    playDemoButton_.Enable(enabled);
    utilsButton_.Enable(enabled);
}

}  // namespace vorelix::ui
