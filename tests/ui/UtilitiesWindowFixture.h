// A utilities window over the demo selected in a main window, as Useful utils opens it, with helpers
// that press its buttons, answer its boxes and compare the demo byte for byte.
#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "TempDir.h"
#include "ui/utilities/UtilitiesWindow.h"

namespace vorelix::test {

class UtilitiesWindowTest : public MainWindowTest {
  protected:
    using Id = ui::UtilitiesControlId;
    using MainWindowTest::Control;

    void TearDown() override {
        utilities.reset();
        MainWindowTest::TearDown();
    }

    // Writes the demo as "demo.dem" in a folder of its own, selects it in the main window and opens a
    // fresh utilities window on that selection.
    void Open(const std::string& bytes) {
        original = bytes;
        WriteFileBytes(demoPath = dir.Path() / L"demo.dem", bytes);
        ShowFolder(dir.Path());
        PickDemo(L"demo.dem");
        utilities = std::make_unique<ui::UtilitiesWindow>(
            ui::UtilitiesServices{prompter, [this] { return window->GetSelectedDemoPath(); }});
        ASSERT_TRUE(utilities->IsCreated());
    }

    HWND Control(Id id) const { return utilities->ControlHwnd(id); }

    // Whether a list or the new-nick box can be used.
    bool Editable(Id id) const { return IsWindowEnabled(Control(id)); }

    // A click on an enabled button (a disabled one fails the test: the user cannot click it).
    void Click(Id id) const {
        ASSERT_TRUE(IsWindowEnabled(Control(id))) << "button " << ui::ToInt(id) << " is disabled";
        SendMessageW(Control(id), BM_CLICK, 0, 0);
    }
    Box Press(Id id, const std::vector<ui::Answer>& answers = {ui::Answer::Ok}) {
        return Told([&] { Click(id); }, answers);
    }

    // Pastes `text` over the new-nick box's whole text, or at its end.
    void PasteNick(const std::wstring& text, bool replaceAll = true) const {
        const auto end = static_cast<WPARAM>(GetWindowTextLengthW(Control(Id::NewNickBox)));
        SendMessageW(Control(Id::NewNickBox), EM_SETSEL, replaceAll ? 0 : end, static_cast<LPARAM>(end));
        SendMessageW(Control(Id::NewNickBox), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Selects exactly these chat entries, the first of them current.
    void SelectChat(const std::vector<int>& indexes) const {
        SendMessageW(Control(Id::ChatList), LB_SETSEL, FALSE, -1);
        for (int index : indexes) SendMessageW(Control(Id::ChatList), LB_SETSEL, TRUE, index);
        if (!indexes.empty())
            SendMessageW(Control(Id::ChatList), LB_SETCARETINDEX, static_cast<WPARAM>(indexes.front()), 0);
    }

    // Whether the demo holds exactly these bytes; a failure names the first difference.
    ::testing::AssertionResult DemoIs(const std::string& expected) const {
        const std::string actual = ReadFileBytes(demoPath);
        if (actual == expected) return ::testing::AssertionSuccess();
        const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first;
        return ::testing::AssertionFailure() << "the demo (" << actual.size() << " bytes, " << expected.size()
                                             << " expected) differs first at offset " << at - actual.begin();
    }
    // The contents of the backup copies beside the demo.
    std::multiset<std::string> Backups() const {
        std::multiset<std::string> backups;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().extension() == ".bak") backups.insert(ReadFileBytes(entry.path()));
        return backups;
    }

    TempDir dir;
    std::filesystem::path demoPath;
    std::string original;
    std::unique_ptr<ui::UtilitiesWindow> utilities;
};

}  // namespace vorelix::test
