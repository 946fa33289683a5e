// A utilities window over the demo selected in a main window, as Useful utils opens it, with helpers
// that drive its controls as the user does and read them back.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "MainWindowFixture.h"
#include "TempDir.h"
#include "ui/UtilitiesWindow.h"

namespace vorelix::test {

// A message box as the tests compare it: text, title, icon.
using Box = std::tuple<std::wstring, std::wstring, ui::MessageIcon>;

class UtilitiesWindowTest : public MainWindowTest {
  protected:
    using Id = ui::UtilitiesControlId;

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
        ClickDemo(IndexOfDemo(L"demo.dem"));
        utilities = std::make_unique<ui::UtilitiesWindow>(
            ui::UtilitiesServices{prompter, [this] { return window->GetSelectedDemoPath(); }});
        ASSERT_TRUE(utilities->IsCreated());
    }

    HWND Control(Id id) const { return utilities->ControlHwnd(id); }
    bool Enabled(Id id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    LRESULT Send(Id id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(Control(id), message, wParam, lParam);
    }
    std::wstring Text(Id id) const { return WindowText(Control(id)); }
    std::vector<std::wstring> Items(Id list) const { return ListBoxItems(Control(list)); }

    // The background the window gives a list or the new-nick box, asked as the control asks before it
    // paints (a disabled text box asks as a static): true for the window colour, false for button face.
    bool White(Id id) const {
        const UINT message = id != Id::NewNickBox ? WM_CTLCOLORLISTBOX
                             : Enabled(id)        ? WM_CTLCOLOREDIT
                                                  : WM_CTLCOLORSTATIC;
        HDC hdc = GetDC(Control(id));
        SendMessageW(utilities->Hwnd(), message, reinterpret_cast<WPARAM>(hdc),
                     reinterpret_cast<LPARAM>(Control(id)));
        const COLORREF background = GetBkColor(hdc);
        ReleaseDC(Control(id), hdc);
        EXPECT_TRUE(background == GetSysColor(COLOR_WINDOW) || background == GetSysColor(COLOR_BTNFACE));
        return background == GetSysColor(COLOR_WINDOW);
    }

    // Sends the window the WM_COMMAND that the control itself sends.
    void Notify(Id id, int code) const {
        SendMessageW(utilities->Hwnd(), WM_COMMAND, MAKEWPARAM(ui::ToInt(id), code),
                     reinterpret_cast<LPARAM>(Control(id)));
    }
    // A click on an enabled button (a disabled one fails the test: the user cannot click it).
    void Click(Id id) const {
        ASSERT_TRUE(Enabled(id)) << "button " << ui::ToInt(id) << " is disabled";
        Send(id, BM_CLICK);
    }

    // Runs `action`, which must show one message box per answer given, in order; returns the last.
    Box BoxOf(const std::function<void()>& action,
              const std::vector<ui::Answer>& answers = {ui::Answer::Ok}) {
        const std::size_t before = prompter.messages.size();
        for (ui::Answer answer : answers) prompter.QueueAnswer(answer);
        action();
        EXPECT_EQ(prompter.messages.size() - before, answers.size()) << "message boxes shown";
        if (prompter.messages.size() == before) return {};
        const auto& box = prompter.messages.back();
        return {box.text, box.title, box.icon};
    }
    Box ClickForBox(Id id) {
        return BoxOf([&] { Click(id); });
    }
    // The StatsMe removal confirmed: the box that reports its outcome.
    Box RemoveStatsMe() {
        return BoxOf([&] { Click(Id::DeleteStatsMeButton); }, {ui::Answer::Yes, ui::Answer::Ok});
    }

    void SelectNick(int index) const {
        Send(Id::NickList, LB_SETCURSEL, static_cast<WPARAM>(index));
        Notify(Id::NickList, LBN_SELCHANGE);
    }
    // Pastes `text` over the new-nick box's whole text, or at its end.
    void PasteNick(const std::wstring& text, bool replaceAll = true) const {
        const auto end = static_cast<WPARAM>(GetWindowTextLengthW(Control(Id::NewNickBox)));
        Send(Id::NewNickBox, EM_SETSEL, replaceAll ? 0 : end, static_cast<LPARAM>(end));
        Send(Id::NewNickBox, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Selects exactly these chat entries, the first of them current.
    void SelectChat(const std::vector<int>& indexes) const {
        Send(Id::ChatList, LB_SETSEL, FALSE, -1);
        for (int index : indexes) Send(Id::ChatList, LB_SETSEL, TRUE, index);
        if (!indexes.empty()) Send(Id::ChatList, LB_SETCARETINDEX, static_cast<WPARAM>(indexes.front()));
    }

    // Whether the demo holds exactly these bytes; a failure names the first difference.
    ::testing::AssertionResult DemoIs(const std::string& expected) const {
        const std::string actual = ReadFileBytes(demoPath);
        if (actual == expected) return ::testing::AssertionSuccess();
        const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first;
        return ::testing::AssertionFailure() << "the demo (" << actual.size() << " bytes, " << expected.size()
                                             << " expected) differs first at offset " << at - actual.begin();
    }
    std::vector<std::string> Backups() const {
        std::vector<std::string> backups;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            if (entry.path().extension() == ".bak") backups.push_back(ReadFileBytes(entry.path()));
        }
        return backups;
    }

    TempDir dir;
    std::filesystem::path demoPath;
    std::string original;
    std::unique_ptr<ui::UtilitiesWindow> utilities;
};

}  // namespace vorelix::test
