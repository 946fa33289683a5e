// The main window frmMain: the demo browser with its folder boxes, demo list, information panel and buttons.
#pragma once

#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "app/SettingsStore.h"
#include "ui/ControlIds.h"
#include "ui/Controls.h"
#include "ui/DemoListBox.h"
#include "ui/DriveBox.h"
#include "ui/FolderBox.h"
#include "ui/Fonts.h"
#include "ui/Prompter.h"
#include "ui/Window.h"

namespace vorelix::ui {

// The project's page that the about line opens.
inline constexpr const wchar_t* kProjectPage = L"https://github.com/vorelix/vorelix";

// Opens a web page with the shell ("open", shown normally); the program's default web-page opener.
void OpenWebPageWithShell(const std::wstring& url);

struct frmMainServices {
    app::SettingsStore& settings;
    Prompter& prompter;
    std::function<void(const std::wstring& url)> openWebPage = OpenWebPageWithShell;
};

// Shows a popup menu at a screen point and returns the chosen command id (0 for none).
using PopupTracker = std::function<UINT(HMENU menu, POINT screenPoint, HWND owner)>;
UINT TrackPopupAndReturnCommand(HMENU menu, POINT screenPoint, HWND owner);

// True when the three demo buttons may be used: the list has entries and one is selected.
bool DemoButtonsEnabled(int entryCount, int selectedIndex);

class frmMain : public Window {
  public:
    // Creates the window hidden, its controls in their starting state, the list in the current folder.
    explicit frmMain(frmMainServices services);
    ~frmMain() override;

    bool IsCreated() const { return Hwnd() != nullptr; }
    void Show(int showCommand) const { ShowWindow(Hwnd(), showCommand); }
    HWND ControlHwnd(ControlId id) const { return GetDlgItem(Hwnd(), ToInt(id)); }
    HMENU FileMenu() const { return mnuFile_; }

    // Texts of the two boxes that start-up fills and shutdown saves.
    void SetHLPathText(const std::wstring& text) const { txtHLPath_.SetText(text); }
    std::wstring HLPathText() const { return txtHLPath_.Text(); }
    void SetCommandLineText(const std::wstring& text) const { txtCommandLine_.SetText(text); }
    std::wstring CommandLineText() const { return txtCommandLine_.Text(); }

    // Selects an entry of cboMode / cboResolution and runs its click handler; an index outside the list
    // leaves the box without a selection and writes nothing.
    void SetModeIndex(int index);
    void SetResolutionIndex(int index);

    // The demo list.
    const std::wstring& DemoFolder() const { return Files_.Folder(); }
    // Lists another folder (the folder change handling runs); false when it cannot be shown.
    bool SetDemoFolder(const std::wstring& folder);
    void LoadDemoList();
    int DemoCount() const { return Files_.Count(); }
    std::wstring DemoEntry(int index) const { return Files_.Entry(index); }
    int SelectedDemoIndex() const { return Files_.Selected(); }
    // Selects entry `index` and runs Files_Click, as a click on it would.
    void SelectDemo(int index);
    std::wstring GetSelectedDemoPath() const;
    void UpdateEnables();

    // The information panel.
    void ShowInfoString(const std::wstring& text) const { txtInfo_.SetText(text); }
    void ClearPlayers() const { lstPlayers_.Clear(); }
    void AddPlayer(const std::wstring& name) const { lstPlayers_.Add(name); }

    // Called on a close request before the window goes (the shutdown).
    std::function<void()> onClose;
    // Called after a demo was read successfully: the utilities window clears its chat list, which
    // belonged to the demo selected before.
    std::function<void()> onDemoSelected;
    // Shows mnuFile; tests replace it to pick an item without a menu loop.
    PopupTracker trackPopup = TrackPopupAndReturnCommand;

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code);
    LRESULT OnStaticColor(HDC hdc, HWND control);

    // Layout and creation (frmMainLayout.cpp).
    void CreateControls();
    void CreateMenu();
    void CreateToolTips();
    void ApplyDpi(UINT dpi);

    // Folder navigation (frmMainFolders.cpp).
    void InitialiseFolders();
    void Drive1_Change();
    void Dir1_Change();
    void Dir1_Open(int index);
    void Files_PathChange();
    void ComeBackFromVanishedFolder();

    // Commands on the demo files (frmMainFiles.cpp).
    void Files_MouseDown(int button, POINT clientPoint);
    void itemRenameDemo_Click();
    void itemDeleteDemo_Click();
    void Files_OLEDragDrop(HDROP drop);
    void TellFailure(const std::wstring& what, const std::string& systemText);
    void SubclassLists();
    static LRESULT CALLBACK FilesSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR subclassId, DWORD_PTR refData);
    static LRESULT CALLBACK Dir1SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR subclassId, DWORD_PTR refData);

    // The information panel (frmMainInfo.cpp).
    void Files_Click();

    // The other handlers (frmMain.cpp).
    void Label5_Click();
    void cboMode_Click();
    void cboResolution_Click();
    void cmdBrowseHLEXE_Click();
    void cmdSelectConfig_Click();
    void cmdUtils_Click();
    void cmdViewDemo_Click();
    void cmdPlayDemo_Click();

    frmMainServices services_;
    UINT dpi_ = 96;
    FontSet fonts_;
    HIMAGELIST buttonPictures_[3] = {};
    HMENU mnuFile_ = nullptr;
    HWND toolTips_ = nullptr;
    HBRUSH infoBackground_ = nullptr;

    GroupBox Frame1_, Frame2_;
    Edit txtHLPath_, txtInfo_, txtSpeed_, txtCommandLine_;
    Button cmdBrowseHLEXE_, cmdSelectConfig_, cmdUtils_, cmdViewDemo_, cmdPlayDemo_;
    Label Label1_, Label2_, Label4_, Label5_, Label6_, Label7_;
    ComboBox cboMode_, cboResolution_;
    ListBox lstPlayers_;
    DriveBox Drive1_;
    FolderBox Dir1_;
    DemoListBox Files_;
};

}  // namespace vorelix::ui
