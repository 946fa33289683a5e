// A main window on a test settings key with scripted boxes.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ControlDriver.h"
#include "ScriptedPrompter.h"
#include "TempDir.h"
#include "TestRegistryKey.h"
#include "platform/SettingsStore.h"
#include "ui/main/MainWindow.h"

namespace vorelix::test {

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
