// The utilities window as opened: its layout, its first states, and the modal opening from the main window.
#include <gtest/gtest.h>

#include <set>

#include "DialogDriver.h"
#include "SyntheticDemo.h"
#include "UtilitiesWindowFixture.h"

namespace vorelix::test {
namespace {

using Id = ui::UtilitiesControlId;

TEST_F(UtilitiesWindowTest, OpensByTheLayoutRulesWithOnlyWhatNeedsNoLoadedDemoUsable) {
    Open(MakeDemo(1000));
    HWND hwnd = utilities->Hwnd();
    EXPECT_EQ(Text(hwnd), L"Useful utils");
    // The designer's options overlap each other and the label above them by a few pixels.
    ExpectLaidOut(hwnd, {120u, 192u, 96u},
                  {{ui::ToInt(Id::HowToApplyLabel), ui::ToInt(Id::OnlySelectedOption)},
                   {ui::ToInt(Id::OnlySelectedOption), ui::ToInt(Id::AllSimilarOption)}});
    std::set<Id> disabled;
    for (int i = ui::ToInt(Id::BackupBox); i <= ui::ToInt(Id::DeleteMessageButton); ++i) {
        if (!IsWindowEnabled(Control(static_cast<Id>(i)))) disabled.insert(static_cast<Id>(i));
    }
    EXPECT_EQ(disabled, (std::set<Id>{Id::NickList, Id::NewNickBox, Id::OnlySelectedOption,
                                      Id::AllSimilarOption, Id::SaveNickButton, Id::ChatList,
                                      Id::EditMessageButton, Id::DeleteMessageButton}));
    // No backup copy and "All similar" to begin with.
    const auto checked = [this](Id id) {
        return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    EXPECT_EQ((std::vector<bool>{checked(Id::BackupBox), checked(Id::OnlySelectedOption),
                                 checked(Id::AllSimilarOption)}),
              (std::vector<bool>{false, false, true}));
}

TEST_F(UtilitiesWindowTest, UsefulUtilsOpensAFreshModalWindowWhoseChatListANewDemoSelectionEmpties) {
    WriteFileBytes(dir.Path() / "a.dem", MakeDemo(2000, {{1000,
                                                          "\x02"
                                                          "Ann :   hi\n"}}));
    WriteFileBytes(dir.Path() / "b.dem", MakeDemo(2000));
    ShowFolder(dir.Path());
    PickDemo(L"a.dem");
    for (int opening = 0; opening < 2; ++opening) {
        DialogDriver driver(
            [&](HWND hwnd) {
                EXPECT_EQ(GetWindow(hwnd, GW_OWNER), window->Hwnd());
                EXPECT_FALSE(IsWindowEnabled(window->Hwnd())) << "the main window waits";
                const auto send = [hwnd](Id id, UINT message) {
                    return SendMessageW(GetDlgItem(hwnd, ui::ToInt(id)), message, 0, 0);
                };
                EXPECT_EQ(send(Id::BackupBox, BM_GETCHECK) + send(Id::ChatList, LB_GETCOUNT), 0)
                    << "fresh at opening " << opening;
                send(Id::BackupBox, BM_CLICK);
                send(Id::LoadChatButton, BM_CLICK);
                EXPECT_EQ(send(Id::ChatList, LB_GETCOUNT), 1);
                PickDemo(L"b.dem");
                EXPECT_EQ(send(Id::ChatList, LB_GETCOUNT), 0) << "the chat of a.dem is gone";
                PickDemo(L"a.dem");
                SendMessageW(hwnd, WM_CLOSE, 0, 0);
            },
            L"Vorelix.UtilitiesWindow");
        Notify(Control(ui::ControlId::UtilsButton), BN_CLICKED);
        EXPECT_TRUE(driver.acted);
        EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
        EXPECT_EQ(ThreadWindowOfClass(L"Vorelix.UtilitiesWindow"), nullptr) << "closing discards the window";
    }
}

}  // namespace
}  // namespace vorelix::test
