// The information panel: what selecting a demo shows in txtInfo and lstPlayers, and what it leaves.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "MainWindowFixture.h"
#include "RealDemos.h"
#include "SyntheticDemo.h"
#include "TempDir.h"

namespace vorelix::test {
namespace {

class InformationPanelTest : public MainWindowTest {
  protected:
    // Lists the temporary folder and selects `name` as a click on it does.
    void SelectDemoNamed(const std::wstring& name) {
        ASSERT_TRUE(window->SetDemoFolder(FolderText(folder.Path())));
        window->LoadDemoList();
        const auto entries = ListItems(ui::ControlId::Files);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == name) {
                ClickDemo(static_cast<int>(i));
                return;
            }
        }
        FAIL() << "the demo is not listed";
    }
    void Write(const std::wstring& name, const std::string& bytes) {
        WriteFileBytes(folder.Path() / name, bytes);
    }

    TempDir folder;
};

TEST_F(InformationPanelTest, ShowsTheFiveLinesAndThePlayersInDescendingOrder) {
    std::string demo = MakeDemo(734'512, "de_inferno", "cstrike");
    PutAt(demo, 2000, "\\name\\bob\\model\\gign\\name\\Alice\\");
    PutAt(demo, 3000, "\\name\\alice\\x\\name\\Bob\\x\\name\\bob\\");
    PutAt(demo, 5000, "HLTV Proxy:");
    Write(L"матч 1.dem", demo);

    SelectDemoNamed(L"матч 1.dem");
    EXPECT_EQ(
        ControlText(ui::ControlId::txtInfo),
        L"Demo name: матч 1.dem\r\nMap: de_inferno\r\nMod: cstrike\r\nType: HLTV demo!\r\nSize: 734Кб.");
    EXPECT_EQ(ListItems(ui::ControlId::lstPlayers),
              (std::vector<std::wstring>{L"bob", L"alice", L"Bob", L"Alice"}));
    EXPECT_TRUE(DemoButtonsEnabled());
}

TEST_F(InformationPanelTest, LargeDemoShowsMegabytesAndIgnoresWhatLiesBeyondTheBodyWindow) {
    std::string demo = MakeDemo(1'001'000);
    PutAt(demo, 1'000'404, "\\name\\Late\\");  // just past the body window
    PutAt(demo, 600, "\\name\\Early\\");
    Write(L"big.dem", demo);

    SelectDemoNamed(L"big.dem");
    const std::wstring info = ControlText(ui::ControlId::txtInfo);
    EXPECT_NE(info.find(L"Type: Demo from eyes...\r\nSize: 1Мб."), std::wstring::npos) << info.size();
    EXPECT_EQ(ListItems(ui::ControlId::lstPlayers), std::vector<std::wstring>{L"Early"});
}

TEST_F(InformationPanelTest, NotADemoSaysSoAndLeavesTheButtonsAlone) {
    Write(L"a.dem", MakeDemo(5000, "de_dust"));
    std::string lower = MakeDemo(5000);
    PutAt(lower, 0, "hldemo");
    Write(L"b.dem", lower);
    Write(L"c.dem", std::string(405, '\0').replace(0, 7, std::string("HLDEMO\0", 7)));

    SelectDemoNamed(L"a.dem");
    ASSERT_TRUE(DemoButtonsEnabled());
    for (const wchar_t* broken : {L"b.dem", L"c.dem"}) {
        SelectDemoNamed(broken);
        EXPECT_EQ(ControlText(ui::ControlId::txtInfo), L"Incorrect format of the demo!") << broken;
        EXPECT_TRUE(ListItems(ui::ControlId::lstPlayers).empty());
    }
    EXPECT_TRUE(DemoButtonsEnabled()) << "a demo that cannot be read leaves the buttons as they were";

    // After a folder change disabled them, a demo that cannot be read does not enable them.
    TempDir other;
    WriteFileBytes(other.Path() / "d.dem", lower);
    ASSERT_TRUE(window->SetDemoFolder(FolderText(other.Path())));
    window->LoadDemoList();
    ClickDemo(0);
    EXPECT_EQ(ControlText(ui::ControlId::txtInfo), L"Incorrect format of the demo!");
    EXPECT_FALSE(DemoButtonsEnabled());
}

TEST_F(InformationPanelTest, SmallestDemoHasAnEmptyBodyAndNoPlayers) {
    Write(L"tiny.dem", MakeDemo(406, "", ""));
    SelectDemoNamed(L"tiny.dem");
    EXPECT_EQ(ControlText(ui::ControlId::txtInfo),
              L"Demo name: tiny.dem\r\nMap: \r\nMod: \r\nType: Demo from eyes...\r\nSize: 0Кб.");
    EXPECT_TRUE(ListItems(ui::ControlId::lstPlayers).empty());
}

TEST_F(InformationPanelTest, ANewSelectionReplacesThePlayersAndTellsTheUtilitiesWindow) {
    std::string first = MakeDemo(4000);
    PutAt(first, 1000, "\\name\\One\\");
    Write(L"1.dem", first);
    std::string second = MakeDemo(4000);
    PutAt(second, 1000, "\\name\\Two\\");
    Write(L"2.dem", second);
    int told = 0;
    window->onDemoSelected = [&told] { ++told; };

    SelectDemoNamed(L"1.dem");
    SelectDemoNamed(L"2.dem");
    EXPECT_EQ(ListItems(ui::ControlId::lstPlayers), std::vector<std::wstring>{L"Two"});
    EXPECT_EQ(told, 2);
}

TEST_F(InformationPanelTest, RealDemosShowTheirMapAndModFromTheHeader) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    ASSERT_TRUE(window->SetDemoFolder(FolderText(RealDemosDir())));
    window->LoadDemoList();
    const auto entries = ListItems(ui::ControlId::Files);
    const auto find = [&entries](const wchar_t* name) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == name) return static_cast<int>(i);
        return -1;
    };
    const int weapon = find(L"khdem_weapon.dem");
    ASSERT_GE(weapon, 0);
    ClickDemo(weapon);
    EXPECT_EQ(ControlText(ui::ControlId::txtInfo),
              L"Demo name: khdem_weapon.dem\r\nMap: crossfire\r\nMod: cstrike\r\nType: Demo from eyes...\r\n"
              L"Size: 495Кб.");
    EXPECT_FALSE(ListItems(ui::ControlId::lstPlayers).empty());

    const int patriots = find(L"uds_New_Patriots_1.dem");
    ASSERT_GE(patriots, 0);
    ClickDemo(patriots);
    EXPECT_NE(ControlText(ui::ControlId::txtInfo).find(L"Size: 714Кб."), std::wstring::npos);
    EXPECT_GE(ListItems(ui::ControlId::lstPlayers).size(), 2u);
}

}  // namespace
}  // namespace vorelix::test
