// A utilities window on a demo in a temporary folder with scripted boxes, and helpers that drive its
// controls as the user does and read them back.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "ScriptedPrompter.h"
#include "TempDir.h"
#include "ui/UtilitiesWindow.h"

namespace vorelix::test {

// A message box as the tests compare it: text, title, icon.
using Box = std::tuple<std::wstring, std::wstring, ui::MessageIcon>;

class UtilitiesWindowTest : public ::testing::Test {
  protected:
    using Id = ui::UtilitiesControlId;

    void TearDown() override {
        window.reset();
        EXPECT_TRUE(prompter.AllUsed()) << "a scripted answer was never asked for";
    }

    // Writes the demo as "demo.dem" and opens a fresh window on it.
    void Open(const std::string& bytes) {
        demoPath = dir.Path() / L"demo.dem";
        original = bytes;
        WriteFileBytes(demoPath, bytes);
        window = std::make_unique<ui::UtilitiesWindow>(
            ui::UtilitiesServices{prompter, [this] { return demoPath.wstring(); }});
        ASSERT_TRUE(window->IsCreated());
    }

    HWND Control(Id id) const { return window->ControlHwnd(id); }
    bool Enabled(Id id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    LRESULT Send(Id id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(Control(id), message, wParam, lParam);
    }

    // The background the window gives a list or the new-nick box, asked as the control asks before it
    // paints (a disabled text box asks as a static): true for the window colour, false for button face.
    bool White(Id id) const {
        const UINT message = id != Id::NewNickBox ? WM_CTLCOLORLISTBOX
                             : Enabled(id)        ? WM_CTLCOLOREDIT
                                                  : WM_CTLCOLORSTATIC;
        HDC hdc = GetDC(Control(id));
        SendMessageW(window->Hwnd(), message, reinterpret_cast<WPARAM>(hdc),
                     reinterpret_cast<LPARAM>(Control(id)));
        const COLORREF background = GetBkColor(hdc);
        ReleaseDC(Control(id), hdc);
        EXPECT_TRUE(background == GetSysColor(COLOR_WINDOW) || background == GetSysColor(COLOR_BTNFACE));
        return background == GetSysColor(COLOR_WINDOW);
    }

    std::wstring Text(Id id) const {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Control(id))) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(Control(id), text.data(), static_cast<int>(text.size()))));
        return text;
    }

    std::vector<std::wstring> Items(Id list) const {
        std::vector<std::wstring> items;
        for (LRESULT i = 0, count = Send(list, LB_GETCOUNT); i < count; ++i) {
            std::wstring text(static_cast<std::size_t>(Send(list, LB_GETTEXTLEN, i)) + 1, L'\0');
            text.resize(
                static_cast<std::size_t>(Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
            items.push_back(text);
        }
        return items;
    }

    // Sends the window the WM_COMMAND that the control itself sends.
    void Notify(Id id, int code) const {
        SendMessageW(window->Hwnd(), WM_COMMAND, MAKEWPARAM(ui::ToInt(id), code),
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
        std::size_t at = 0;
        while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
        return ::testing::AssertionFailure() << "the demo (" << actual.size() << " bytes, " << expected.size()
                                             << " expected) differs first at offset " << at;
    }
    std::vector<std::filesystem::path> Backups() const {
        std::vector<std::filesystem::path> backups;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            if (entry.path().extension() == ".bak") backups.push_back(entry.path());
        }
        return backups;
    }

    TempDir dir;
    std::filesystem::path demoPath;
    std::string original;
    ScriptedPrompter prompter;
    std::unique_ptr<ui::UtilitiesWindow> window;
};

}  // namespace vorelix::test
