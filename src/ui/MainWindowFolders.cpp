// frmMain's folder navigation: the drive box, the folder box and the demo list following each other.
#include <string>

#include "platform/Common.h"
#include "ui/FolderPaths.h"
#include "ui/frmMain.h"

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

void frmMain::InitialiseFolders() {
    Drive1_.onChange = [this] { Drive1_Change(); };
    Dir1_.onChange = [this] { Dir1_Change(); };
    Files_.onFolderChange = [this] { Files_PathChange(); };

    // The list starts in the process's current folder; nothing is remembered or enabled yet.
    std::wstring start = NearestExistingFolder(CurrentFolder());
    if (start.empty()) start = L"C:\\";
    Files_.ShowFolder(start);
    Dir1_.ShowPath(Files_.Folder());
    Drive1_.ShowDrive(Files_.Folder().empty() ? L'C' : Files_.Folder()[0]);
    Drive1_.Fill();
}

void frmMain::Drive1_Change() {
    if (Dir1_.SetPath(DriveCurrentFolder(Drive1_.Drive()))) return;
    const wchar_t drive = Drive1_.Drive();
    // The pick is refused: the drive box goes back to the drive of the folder still shown.
    if (!Dir1_.Path().empty()) Drive1_.ShowDrive(Dir1_.Path()[0]);
    MessageRequest message;
    message.text = std::wstring(L"The drive ") + drive + L": is not ready.\r\n\r\nThe list stays in " +
                   Files_.Folder() + L".";
    message.icon = MessageIcon::Exclamation;
    services_.prompter.ShowMessage(message);
}

void frmMain::Dir1_Change() {
    Files_.SetFolder(Dir1_.Path());
}

void frmMain::Dir1_Open(int index) {
    const std::wstring target = Dir1_.ItemPath(index);
    if (target.empty() || Dir1_.SetPath(target)) return;
    MessageRequest message;
    message.text = L"The folder " + target + L" is no longer available.";
    message.icon = MessageIcon::Exclamation;
    services_.prompter.ShowMessage(message);
    if (!NormalizeFolder(Dir1_.Path())) {
        ComeBackFromVanishedFolder();
    } else {
        Dir1_.Refill();
    }
}

void frmMain::Files_PathChange() {
    UpdateEnables();
    services_.settings.SetString(L"CooMMon", L"DemoPath", Files_.Folder());
}

bool frmMain::SetDemoFolder(const std::wstring& folder) {
    return Files_.SetFolder(folder);
}

void frmMain::LoadDemoList() {
    if (!Files_.Refresh()) {
        MessageRequest message;
        message.text = L"The folder " + Files_.Folder() +
                       (NormalizeFolder(Files_.Folder()) ? L" cannot be read." : L" is no longer available.");
        message.icon = MessageIcon::Exclamation;
        services_.prompter.ShowMessage(message);
        ComeBackFromVanishedFolder();
        return;
    }
    // Each step may fail and is then skipped; the last two put folder box and list back where they were
    // after the drive box may have moved them to that drive's current folder.
    const std::wstring p = Files_.Folder();
    Dir1_.SetPath(p);
    const std::wstring d = Dir1_.Path();
    Drive1_.SetDrive(p.substr(0, 3));
    Dir1_.SetPath(d);
    Files_.SetFolder(p);
}

void frmMain::ComeBackFromVanishedFolder() {
    // The shown folder is gone: all three controls move to the nearest folder above it that exists.
    std::wstring fallback = NearestExistingFolder(Files_.Folder());
    if (fallback.empty()) fallback = NearestExistingFolder(CurrentFolder());
    if (fallback.empty()) return;
    Dir1_.SetPath(fallback);
    Files_.SetFolder(fallback);
    Drive1_.ShowDrive(fallback[0]);
}

std::wstring frmMain::GetSelectedDemoPath() const {
    const int selected = Files_.Selected();
    return platform::GetSelectedDemoPath(Files_.Folder(),
                                         selected >= 0 ? Files_.Entry(selected) : std::wstring{});
}

void frmMain::SelectDemo(int index) {
    Files_.SetSelected(index);
    Files_Click();
}

void frmMain::UpdateEnables() {
    const bool enabled = DemoButtonsEnabled(Files_.Count(), Files_.Selected());
    cmdViewDemo_.Enable(enabled);
    cmdPlayDemo_.Enable(enabled);
    cmdUtils_.Enable(enabled);
}

}  // namespace vorelix::ui
