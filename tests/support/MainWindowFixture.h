// A main window on a test settings key with scripted boxes, and general helpers that drive any window's
// controls as the user does and read them back.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ScriptedPrompter.h"
#include "TempDir.h"
#include "TestRegistryKey.h"
#include "platform/SettingsStore.h"
#include "ui/main/MainWindow.h"

namespace vorelix::test {

// Where a control lies in the client area of `window`, and its font as "face/weight/height".
RECT PlaceIn(HWND window, HWND control);
std::wstring FontOf(HWND control);
// Whether a control is of that window class and, within `typeMask` of its style, of that type.
bool IsKind(HWND control, const wchar_t* className, LONG typeMask = 0, LONG type = 0);
// What a control shows: its text, the entries of a list or combo box, the selected entry (-1: none).
std::wstring Text(HWND control);
std::vector<std::wstring> Items(HWND list);
int Selection(HWND list);
// Sends the control's window the WM_COMMAND that the control itself sends.
void Notify(HWND control, int code);
// Selects entry `index` of a list or combo box and notifies its window as a click does.
void Pick(HWND list, int index);
// Moves the window to each DPI in turn, as a move to another monitor does, and checks there the rules every
// window's layout keeps: each control inside the client area and inside any frame it overlaps, no two other
// controls overlapping (but the pairs of ids given), each label's caption drawn whole, and push buttons and
// frames in the bold caption face at 8.25 pt.
void ExpectLaidOut(HWND window, std::initializer_list<UINT> dpis,
                   const std::set<std::pair<int, int>>& designedOverlaps = {});

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // What a main window of the test is given: the test's settings, boxes and program folder, the
    // scripted hl.exe browse, and no web page opened.
    ui::MainWindowServices Services();
    // A new main window, as the next start of the program makes it.
    void Restart();

    HWND Control(ui::ControlId id) const { return window->ControlHwnd(id); }
    std::wstring Setting(const wchar_t* section, const wchar_t* name) const {
        return settings.GetString(section, name, L"<absent>");
    }
    // Shows a folder in the demo list as a change of folder does.
    void ShowFolder(const std::filesystem::path& folder) const;
    // Selects the demo of that name in the list as a click does.
    void PickDemo(const std::wstring& name) const;
    // Whether the three demo buttons are enabled; they always agree.
    bool DemoButtonsEnabled() const;
    // Runs `action`, which must show one message box per answer given, in order; returns the last box.
    Box Told(const std::function<void()>& action, const std::vector<ui::Answer>& answers = {ui::Answer::Ok});

    TestRegistryKey key;
    platform::SettingsStore settings{TestRegistryKey::Root(), key.Path()};
    ScriptedPrompter prompter;
    // The hl.exe browse's answers in order ("" plays a cancel); the real dialog never opens in a test.
    std::deque<std::wstring> hlExeChoices;
    TempDir programFolder;  // where configs.ini is kept
    std::unique_ptr<ui::MainWindow> window;
};

// A folder as the program writes it: backslashes, no trailing one.
std::wstring FolderText(const std::filesystem::path& folder);

// Creates the smallest readable demos in a folder.
void MakeFiles(const std::filesystem::path& folder, const std::vector<std::wstring>& names);

}  // namespace vorelix::test
