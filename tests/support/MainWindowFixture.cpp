// The main window fixture: a fresh MainWindow per test, its settings under a test key that is removed
// afterwards.
#include "MainWindowFixture.h"

#include "SyntheticDemo.h"
#include "TempDir.h"

namespace vorelix::test {

namespace {
bool IsComboBox(ui::ControlId id) {
    return id == ui::ControlId::DriveBox || id == ui::ControlId::RendererBox ||
           id == ui::ControlId::ResolutionBox;
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
    return {settings, prompter, [this](const std::wstring& url) { openedPages.push_back(url); }, choose,
            (programFolder.Path() / L"configs.ini").wstring()};
}

void MainWindowTest::SetUp() {
    window = std::make_unique<ui::MainWindow>(Services());
    ASSERT_TRUE(window->IsCreated());
}

void MainWindowTest::TearDown() {
    window.reset();
    // The destroyed window asked the thread to quit; that must not end the next test's modal loops.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    EXPECT_TRUE(prompter.AllUsed()) << "a scripted answer was never asked for";
    EXPECT_TRUE(hlExeChoices.empty()) << "a scripted hl.exe choice was never asked for";
}

void MainWindowTest::Notify(ui::ControlId id, int code) const {
    SendMessageW(window->Hwnd(), WM_COMMAND, MAKEWPARAM(ui::ToInt(id), code),
                 reinterpret_cast<LPARAM>(Control(id)));
}

std::vector<std::wstring> MainWindowTest::ListItems(ui::ControlId id) const {
    return ListBoxItems(Control(id), IsComboBox(id));
}

int MainWindowTest::ListSelection(ui::ControlId id) const {
    return static_cast<int>(SendMessageW(Control(id), IsComboBox(id) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

std::wstring MainWindowTest::ControlText(ui::ControlId id) const {
    return WindowText(Control(id));
}

wchar_t MainWindowTest::DriveShown() const {
    const int selected = ListSelection(ui::ControlId::DriveBox);
    if (selected < 0) return 0;
    return static_cast<wchar_t>(
        towupper(ListItems(ui::ControlId::DriveBox)[static_cast<std::size_t>(selected)][0]));
}

std::wstring MainWindowTest::FolderShown() const {
    const auto items = ListItems(ui::ControlId::FolderBox);
    const int selected = ListSelection(ui::ControlId::FolderBox);
    if (items.empty() || selected < 0) return {};
    std::wstring path = items[0];
    for (int i = 1; i <= selected; ++i) {
        if (path.back() != L'\\') path += L'\\';
        path += items[static_cast<std::size_t>(i)];
    }
    return path;
}

void MainWindowTest::ShowFolder(const std::filesystem::path& folder) const {
    ASSERT_TRUE(window->SetDemoFolder(FolderText(folder)));
    window->LoadDemoList();
}

int MainWindowTest::IndexOfDemo(const std::wstring& name) const {
    const auto items = ListItems(ui::ControlId::DemoList);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == name) return static_cast<int>(i);
    }
    return -1;
}

void MainWindowTest::ClickDemo(int index) const {
    SendMessageW(Control(ui::ControlId::DemoList), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(ui::ControlId::DemoList, LBN_SELCHANGE);
}

bool MainWindowTest::DemoButtonsEnabled() const {
    const bool utils = IsWindowEnabled(Control(ui::ControlId::UtilsButton));
    const bool view = IsWindowEnabled(Control(ui::ControlId::ViewDemoButton));
    const bool play = IsWindowEnabled(Control(ui::ControlId::PlayDemoButton));
    EXPECT_TRUE(utils == view && view == play) << "the three demo buttons disagree";
    return utils && view && play;
}

std::vector<std::wstring> ListBoxItems(HWND list, bool combo) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(text);
    }
    return items;
}

std::wstring WindowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring FolderText(const std::filesystem::path& folder) {
    std::wstring text = folder.wstring();
    for (auto& c : text) {
        if (c == L'/') c = L'\\';
    }
    while (text.size() > 3 && text.back() == L'\\') text.pop_back();
    return text;
}

void MakeFiles(const std::filesystem::path& folder, const std::vector<std::wstring>& names) {
    for (const auto& name : names) WriteFileBytes(folder / name, MakeDemo(406));
}

}  // namespace vorelix::test
