// The main window MainWindow: the demo browser with its folder boxes, demo list, information panel and
// buttons.
#pragma once

#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launch/LaunchPlan.h"
#include "launch/StagedDemoGame.h"
#include "platform/SettingsStore.h"
#include "ui/base/Controls.h"
#include "ui/base/Fonts.h"
#include "ui/base/Prompter.h"
#include "ui/base/Window.h"
#include "ui/config/ConfigWindow.h"
#include "ui/main/ControlIds.h"
#include "ui/main/DemoListBox.h"
#include "ui/main/DriveBox.h"
#include "ui/main/FolderBox.h"

namespace vorelix::ui {

class UtilitiesWindow;

// The project's page that the about line opens.
inline constexpr const wchar_t* kProjectPage = L"https://github.com/vorelix/vorelix";

// Opens a web page with the shell ("open", shown normally); the program's default web-page opener.
void OpenWebPageWithShell(const std::wstring& url);

// The file dialog that asks for hl.exe; the chosen path, or "" when the user cancels.
std::wstring ChooseHlExeWithDialog(HWND owner);

struct MainWindowServices {
    platform::SettingsStore& settings;
    Prompter& prompter;
    std::function<void(const std::wstring& url)> openWebPage = OpenWebPageWithShell;
    std::function<std::wstring(HWND owner)> chooseHlExe = ChooseHlExeWithDialog;
    std::wstring configsIniPath;  // configs.ini in the program's folder
};

// True when the three demo buttons may be used: the list has entries and one is selected.
bool DemoButtonsEnabled(int entryCount, int selectedIndex);

class MainWindow : public Window {
  public:
    // Creates the window hidden, its controls in their starting state, the list in the current folder.
    explicit MainWindow(MainWindowServices services);
    ~MainWindow() override;

    bool IsCreated() const { return Hwnd() != nullptr; }
    void Show(int showCommand) const { ShowWindow(Hwnd(), showCommand); }
    HWND ControlHwnd(ControlId id) const { return GetDlgItem(Hwnd(), ToInt(id)); }
    HMENU DemoMenu() const { return demoMenu_; }

    // Texts of the two boxes that start-up fills and shutdown saves.
    void SetHLPathText(const std::wstring& text) const { hlPathBox_.SetText(text); }
    std::wstring HLPathText() const { return hlPathBox_.Text(); }
    void SetCommandLineText(const std::wstring& text) const { commandLineBox_.SetText(text); }
    std::wstring CommandLineText() const { return commandLineBox_.Text(); }

    // The config window, hidden until "select a config..." shows it; launches read its list and box.
    ConfigWindow& ConfigSelection() { return *configWindow_; }
    // Fills the config window's list from the mod folder of the chosen hl.exe and configs.ini; a mod
    // folder that cannot be listed leaves the list as it was.
    void LoadConfigList();

    // Selects an entry of the renderer or resolution box and runs its click handler; an index outside the
    // list leaves the box without a selection and writes nothing.
    void SetModeIndex(int index);
    void SetResolutionIndex(int index);

    // The demo list.
    const std::wstring& DemoFolder() const { return demoList_.Folder(); }
    // Lists another folder (the folder change handling runs); false when it cannot be shown.
    bool SetDemoFolder(const std::wstring& folder);
    void LoadDemoList();
    // SetDemoFolder and then LoadDemoList, reading the folder once.
    void ShowDemoFolder(const std::wstring& folder);
    int DemoCount() const { return demoList_.Count(); }
    std::wstring DemoEntry(int index) const { return demoList_.Entry(index); }
    const std::vector<std::wstring>& DemoEntries() const { return demoList_.Entries(); }
    int SelectedDemoIndex() const { return demoList_.Selected(); }
    // Selects entry `index` and runs OnDemoSelected, as a click on it would.
    void SelectDemo(int index);
    std::wstring GetSelectedDemoPath() const;
    void UpdateEnables();

    // The information panel.
    void ShowInfoString(const std::wstring& text) const { infoBox_.SetText(text); }
    void ClearPlayers() const { playerList_.Clear(); }
    void AddPlayer(const std::wstring& name) const { playerList_.Add(name); }

    // Called on a close request before the window goes (the shutdown). A close while a launch copies
    // a demo first asks whether to stop it: Yes stops it and closes once it has stopped, No keeps the
    // program open.
    std::function<void()> onClose;
    // Called when the session ends (logoff, shutdown: WM_ENDSESSION), which may end the process with no
    // close request.
    std::function<void()> onEndSession;
    // Called after a demo was read successfully: the utilities window clears its chat list, which
    // belonged to the demo selected before.
    std::function<void()> onDemoRead;
    // Shows the demo menu; tests replace it to pick an item without a menu loop.
    PopupTracker trackPopup = TrackPopupAndReturnCommand;

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code);
    LRESULT OnStaticColor(HDC hdc, HWND control);

    // Layout and creation (MainWindowLayout.cpp).
    void CreateControls();
    void CreateMenu();
    void ApplyDpi(UINT dpi);

    // Folder navigation (MainWindowFolders.cpp).
    void InitialiseFolders();
    void OnDriveChanged();
    void OnFolderChanged();
    void OpenFolderEntry(int index);
    bool MoveFolderBox(const std::wstring& folder);
    void OnDemoFolderChanged();
    void BringFolderBoxesToList();
    void ComeBackFromVanishedFolder();

    // Commands on the demo files (MainWindowFiles.cpp).
    void OnDemoListMouseDown(int button, POINT clientPoint);
    void OnRenameDemoClick();
    void OnDeleteDemoClick();
    void OnFilesDropped(HDROP drop);
    void TellFailure(const std::wstring& what, const std::string& systemText);
    void SubclassLists();
    static LRESULT CALLBACK DemoListSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR subclassId, DWORD_PTR refData);
    static LRESULT CALLBACK FolderBoxSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                  UINT_PTR subclassId, DWORD_PTR refData);

    // A demo cut off by a crash (MainWindowRepair.cpp).
    bool SelectedDemoNeedsRepair() const;
    void OnRepairDemoClick();

    // The information panel (MainWindowInfo.cpp).
    void OnDemoSelected();

    // The other handlers (MainWindow.cpp).
    void OnAboutLineClick();
    void OnRendererSelected();
    void OnResolutionSelected();
    void OnBrowseHlExeClick();
    void OnSelectConfigClick();
    void OnUtilsClick();
    // A fresh utilities window over `owner` on that demo; `whenShown` runs once it is shown.
    void ShowUtilities(HWND owner, std::function<std::wstring()> demoPath,
                       const std::function<void(UtilitiesWindow&)>& whenShown);
    void OnTimelineClick();
    void OnViewDemoClick();
    void OnPlayDemoClick();
    void OnSpeedChanged();

    // The game launch (MainWindowLaunch.cpp).
    void LaunchDemo(launch::DemoCommand command);
    void OnCloseDuringLaunch();
    void OnEndSession();

    MainWindowServices services_;
    UINT dpi_ = 96;
    FontSet fonts_;
    HIMAGELIST buttonPictures_[3] = {};
    HMENU demoMenu_ = nullptr;
    HBRUSH infoBackground_ = nullptr;

    GroupBox gameFrame_, demosFrame_;
    Edit hlPathBox_, infoBox_, speedBox_, commandLineBox_;
    Button browseHlExeButton_, selectConfigButton_, utilsButton_, viewDemoButton_, playDemoButton_;
    Label speedLabel_, commandLineLabel_, infoLabel_, aboutLine_, playersLabel_, graphicModeLabel_;
    ComboBox rendererBox_, resolutionBox_;
    ListBox playerList_;
    DriveBox driveBox_;
    FolderBox folderBox_;
    DemoListBox demoList_;
    UtilitiesWindow* openUtilities_ = nullptr;  // while the utilities window is shown
    std::unique_ptr<ConfigWindow> configWindow_;
    launch::StagedDemoGame stagedDemoGame_;
    bool launching_ = false;         // a launch runs; further launch requests are ignored
    bool stopLaunch_ = false;        // the user (or the session's end) asked the running launch to stop
    bool askingToStop_ = false;      // the question is open
    bool closeAfterLaunch_ = false;  // the stop came from a close request
};

}  // namespace vorelix::ui
