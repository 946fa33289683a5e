// The information panel: what selecting a demo shows in the information box and the player list, and what it
// leaves.
#include <gtest/gtest.h>

#include <string>

#include "MainWindowFixture.h"
#include "RealDemos.h"
#include "SyntheticDemo.h"
#include "TempDir.h"

namespace vorelix::test {
namespace {

using ui::ControlId;
using Names = std::vector<std::wstring>;

class InformationPanelTest : public MainWindowTest {
  protected:
    // Writes the demo into the folder, lists the folder and clicks the demo.
    void WriteAndSelect(const std::wstring& name, const std::string& bytes) {
        WriteFileBytes(folder.Path() / name, bytes);
        ShowFolder(folder.Path());
        ASSERT_GE(IndexOfDemo(name), 0);
        ClickDemo(IndexOfDemo(name));
    }
    std::string DemoWithAt(std::size_t size, std::size_t at, const std::string& text) {
        std::string demo = MakeDemo(size);
        PutAt(demo, at, text);
        return demo;
    }

    TempDir folder;
};

TEST_F(InformationPanelTest, ShowsTheFiveLinesAndThePlayersInDescendingOrderWithinTheBodyWindow) {
    std::string demo = MakeDemo(734'512, "de_inferno", "cstrike");
    PutAt(demo, 2000, "\\name\\bob\\model\\gign\\name\\Alice\\");
    PutAt(demo, 3000, "\\name\\alice\\x\\name\\Bob\\x\\name\\bob\\");
    PutAt(demo, 5000, "HLTV Proxy:");
    WriteAndSelect(L"матч 1.dem", demo);
    EXPECT_EQ(
        ControlText(ControlId::InfoBox),
        L"Demo name: матч 1.dem\r\nMap: de_inferno\r\nMod: cstrike\r\nType: HLTV demo!\r\nSize: 734Кб.");
    EXPECT_EQ(ListItems(ControlId::PlayerList), (Names{L"bob", L"alice", L"Bob", L"Alice"}));
    EXPECT_TRUE(DemoButtonsEnabled());

    // The smallest demo has an empty body and no players.
    WriteAndSelect(L"tiny.dem", MakeDemo(406, "", ""));
    EXPECT_EQ(ControlText(ControlId::InfoBox),
              L"Demo name: tiny.dem\r\nMap: \r\nMod: \r\nType: Demo from eyes...\r\nSize: 0Кб.");
    EXPECT_TRUE(ListItems(ControlId::PlayerList).empty());

    // A large one shows megabytes and ignores what lies beyond the body window.
    demo = DemoWithAt(1'001'000, 1'000'404, "\\name\\Late\\");  // just past the body window
    PutAt(demo, 600, "\\name\\Early\\");
    WriteAndSelect(L"big.dem", demo);
    EXPECT_NE(ControlText(ControlId::InfoBox).find(L"Type: Demo from eyes...\r\nSize: 1Мб."),
              std::wstring::npos);
    EXPECT_EQ(ListItems(ControlId::PlayerList), Names{L"Early"});
}

TEST_F(InformationPanelTest, NotADemoSaysSoAndLeavesTheButtonsAlone) {
    const std::string lower = DemoWithAt(5000, 0, "hldemo");
    WriteAndSelect(L"a.dem", MakeDemo(5000, "de_dust"));
    ASSERT_TRUE(DemoButtonsEnabled());
    for (const auto& [name, bytes] :
         {std::pair{L"b.dem", lower},
          std::pair{L"c.dem", std::string("HLDEMO\0", 7) + std::string(398, '\0')}}) {
        WriteAndSelect(name, bytes);
        EXPECT_EQ(ControlText(ControlId::InfoBox), L"Incorrect format of the demo!") << name;
        EXPECT_TRUE(ListItems(ControlId::PlayerList).empty());
    }
    EXPECT_TRUE(DemoButtonsEnabled()) << "a demo that cannot be read leaves the buttons as they were";

    // After a folder change disabled them, a demo that cannot be read does not enable them.
    TempDir other;
    WriteFileBytes(other.Path() / "d.dem", lower);
    ShowFolder(other.Path());
    ClickDemo(0);
    EXPECT_EQ(ControlText(ControlId::InfoBox), L"Incorrect format of the demo!");
    EXPECT_FALSE(DemoButtonsEnabled());
}

TEST_F(InformationPanelTest, ANewSelectionReplacesThePlayersAndTellsTheUtilitiesWindow) {
    int told = 0;
    window->onDemoRead = [&told] { ++told; };
    WriteAndSelect(L"1.dem", DemoWithAt(4000, 1000, "\\name\\One\\"));
    WriteAndSelect(L"2.dem", DemoWithAt(4000, 1000, "\\name\\Two\\"));
    EXPECT_EQ(ListItems(ControlId::PlayerList), Names{L"Two"});
    EXPECT_EQ(told, 2);
}

TEST_F(InformationPanelTest, RealDemosShowTheirMapAndModFromTheHeader) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    ShowFolder(RealDemosDir());
    ASSERT_GE(IndexOfDemo(L"khdem_weapon.dem"), 0);
    ClickDemo(IndexOfDemo(L"khdem_weapon.dem"));
    EXPECT_EQ(ControlText(ControlId::InfoBox),
              L"Demo name: khdem_weapon.dem\r\nMap: crossfire\r\nMod: cstrike\r\n"
              L"Type: Demo from eyes...\r\nSize: 495Кб.");
    EXPECT_FALSE(ListItems(ControlId::PlayerList).empty());
}

}  // namespace
}  // namespace vorelix::test
