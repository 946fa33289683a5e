// A main window on a test settings key with scripted boxes, and helpers that read its controls back.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedPrompter.h"
#include "TempDir.h"
#include "TestRegistryKey.h"
#include "platform/SettingsStore.h"
#include "ui/MainWindow.h"

namespace vorelix::test {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // What a main window of the test is given: the test's settings, boxes and program folder, and the
    // scripted hl.exe browse.
    ui::MainWindowServices Services();

    HWND Control(ui::ControlId id) const { return window->ControlHwnd(id); }
    // Sends the main window the WM_COMMAND that the control itself sends.
    void Notify(ui::ControlId id, int code) const;

    // Entries and selection of a list box or combo box, read from the control.
    std::vector<std::wstring> ListItems(ui::ControlId id) const;
    int ListSelection(ui::ControlId id) const;
    std::wstring ControlText(ui::ControlId id) const;

    // What the three navigation controls show, read from the controls themselves.
    wchar_t DriveShown() const;
    std::wstring FolderShown()
        const;  // the folder box's entries from the root to its highlighted one, joined
    std::wstring DemoPathSetting() const { return settings.GetString(L"CooMMon", L"DemoPath", L"<absent>"); }

    // SetDemoFolder then LoadDemoList, as the folder box does.
    void ShowFolder(const std::filesystem::path& folder) const;
    // The demo list's entry of that name, or -1.
    int IndexOfDemo(const std::wstring& name) const;
    // Picks entry `index` of the demo list as a click does.
    void ClickDemo(int index) const;
    bool DemoButtonsEnabled() const;

    TestRegistryKey key;
    platform::SettingsStore settings{TestRegistryKey::Root(), key.Path()};
    ScriptedPrompter prompter;
    std::vector<std::wstring> openedPages;
    // The hl.exe browse's answers in order ("" plays a cancel); the real dialog never opens in a test.
    std::deque<std::wstring> hlExeChoices;
    TempDir programFolder;  // where configs.ini is kept
    std::unique_ptr<ui::MainWindow> window;
};

// The entries of a list box (or a combo box) and the text of a control, read from the control.
std::vector<std::wstring> ListBoxItems(HWND list, bool combo = false);
std::wstring WindowText(HWND control);

// A folder as the program writes it: backslashes, no trailing one.
std::wstring FolderText(const std::filesystem::path& folder);

// Creates the smallest readable demos in a folder.
void MakeFiles(const std::filesystem::path& folder, const std::vector<std::wstring>& names);

}  // namespace vorelix::test
