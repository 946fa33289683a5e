// The main window fixture: a fresh MainWindow per test, its settings under a test key that is removed
// afterwards.
#include "MainWindowFixture.h"


#include <algorithm>

#include "SyntheticDemo.h"
#include "TempDir.h"

namespace vorelix::test {

namespace {

void DiscardQuit() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace

ui::MainWindowServices MainWindowTest::Services() {
    const auto choose = [this](HWND) {
        if (hlExeChoices.empty()) {
            ADD_FAILURE() << "the hl.exe browse was not expected";
            return std::wstring();
        }
        std::wstring choice = hlExeChoices.front();
        hlExeChoices.pop_front();
        return choice;
    };
    return {settings, prompter, [](const std::wstring&) {}, choose,
            (programFolder.Path() / L"configs.ini").wstring()};
}

void MainWindowTest::SetUp() {
    Restart();
}

void MainWindowTest::Restart() {
    window.reset();
    DiscardQuit();  // a destroyed window asks the thread to quit; that must not end the next modal loops
    window = std::make_unique<ui::MainWindow>(Services());
    ASSERT_TRUE(window->IsCreated());
}

void MainWindowTest::TearDown() {
    window.reset();
    DiscardQuit();
    EXPECT_TRUE(prompter.AllUsed()) << "a scripted answer was never asked for";
    EXPECT_TRUE(hlExeChoices.empty()) << "a scripted hl.exe choice was never asked for";
}

void MainWindowTest::ShowFolder(const std::filesystem::path& folder) const {
    window->ShowDemoFolder(FolderText(folder));
}

void MainWindowTest::PickDemo(const std::wstring& name) const {
    const auto demos = Items(Control(ui::ControlId::DemoList));
    const auto found = std::find(demos.begin(), demos.end(), name);
    ASSERT_NE(found, demos.end()) << "no demo of that name is listed";
    Pick(Control(ui::ControlId::DemoList), static_cast<int>(found - demos.begin()));
}

bool MainWindowTest::DemoButtonsEnabled() const {
    const bool utils = IsWindowEnabled(Control(ui::ControlId::UtilsButton));
    EXPECT_EQ(IsWindowEnabled(Control(ui::ControlId::ViewDemoButton)) +
                  IsWindowEnabled(Control(ui::ControlId::PlayDemoButton)),
              utils ? 2 : 0)
        << "the three demo buttons disagree";
    return utils;
}

Box MainWindowTest::Told(const std::function<void()>& action, const std::vector<ui::Answer>& answers) {
    const std::size_t before = prompter.messages.size();
    for (ui::Answer answer : answers) prompter.QueueAnswer(answer);
    action();
    EXPECT_EQ(prompter.messages.size() - before, answers.size()) << "message boxes shown";
    return prompter.messages.size() == before ? Box{} : BoxOf(prompter.messages.back());
}

std::wstring FolderText(const std::filesystem::path& folder) {
    std::wstring text = folder.wstring();
    std::replace(text.begin(), text.end(), L'/', L'\\');
    while (text.size() > 3 && text.back() == L'\\') text.pop_back();
    return text;
}

void MakeFiles(const std::filesystem::path& folder, const std::vector<std::wstring>& names) {
    for (const auto& name : names) WriteFileBytes(folder / name, MakeDemo(406));
}

}  // namespace vorelix::test
