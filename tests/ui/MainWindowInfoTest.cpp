// The information panel: what selecting a demo shows in the information box and the player list, and what it
// leaves.
#include "MainWindowFixture.h"
#include "SyntheticDemo.h"
#include "TempDir.h"
#include "demo/edit/EditJournal.h"
#include "platform/files/EditJournalFile.h"

namespace vorelix::test {
namespace {

using ui::ControlId;
using Names = std::vector<std::wstring>;

class InformationPanelTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        window->onDemoRead = [this] { ++toldUtilities; };
    }
    // Writes the demo into the folder, lists the folder and clicks the demo.
    void WriteAndSelect(const std::wstring& name, const std::string& bytes, const TempDir& in) {
        WriteFileBytes(in.Path() / name, bytes);
        ShowFolder(in.Path());
        PickDemo(name);
    }

    TempDir folder;
    int toldUtilities = 0;  // how often the utilities window heard of a demo read
};

TEST_F(InformationPanelTest, ShowsTheFiveLinesAndThePlayersAndANewSelectionReplacesThem) {
    std::string demo = MakeDemo(734'512, "de_inferno", "cstrike");
    // The summary's order (tests/demo): by bytes, descending.
    PutAt(demo, 2000, "\\name\\Alice\\model\\gign\\name\\bob\\");
    PutAt(demo, 5000, "HLTV Proxy:");
    WriteAndSelect(L"матч 1.dem", demo, folder);
    EXPECT_EQ(
        Text(Control(ControlId::InfoBox)),
        L"Demo name: матч 1.dem\r\nMap: de_inferno\r\nMod: cstrike\r\nType: HLTV demo!\r\nSize: 734Кб.");
    EXPECT_EQ(Items(Control(ControlId::PlayerList)), (Names{L"bob", L"Alice"}));
    EXPECT_TRUE(DemoButtonsEnabled());

    // The smallest demo has an empty body and no players.
    WriteAndSelect(L"tiny.dem", MakeDemo(406, "", ""), folder);
    EXPECT_EQ(Text(Control(ControlId::InfoBox)),
              L"Demo name: tiny.dem\r\nMap: \r\nMod: \r\nType: Demo from eyes...\r\nSize: 0Кб.");
    EXPECT_TRUE(Items(Control(ControlId::PlayerList)).empty());
}

// What is no demo is the summary's to say (tests/platform); here how the panel shows it.
TEST_F(InformationPanelTest, NotADemoSaysSoAndLeavesTheButtonsAlone) {
    std::string lower = MakeDemo(5000);
    PutAt(lower, 0, "hldemo");
    WriteAndSelect(L"a.dem", MakeDemo(5000, {{1000, "\\name\\Ann\\"}}), folder);
    ASSERT_TRUE(DemoButtonsEnabled());
    WriteAndSelect(L"b.dem", lower, folder);
    EXPECT_EQ(Text(Control(ControlId::InfoBox)), L"Incorrect format of the demo!");
    EXPECT_TRUE(Items(Control(ControlId::PlayerList)).empty());
    EXPECT_TRUE(DemoButtonsEnabled()) << "a demo that cannot be read leaves the buttons as they were";
    EXPECT_EQ(toldUtilities, 1);

    // After a folder change disabled them, a demo that cannot be read does not enable them.
    TempDir other;
    WriteAndSelect(L"d.dem", lower, other);
    EXPECT_EQ(Text(Control(ControlId::InfoBox)), L"Incorrect format of the demo!");
    EXPECT_FALSE(DemoButtonsEnabled());
}

// A demo whose edit was cut off is put back before the panel reads it, and the user is told.
TEST_F(InformationPanelTest, SelectingADemoUndoesAnEditThatWasCutOff) {
    const std::string before = MakeDemo(5000, {{1000, "\\name\\Bob\\"}});
    const auto demo = folder.Path() / L"cut.dem";
    WriteFileBytes(demo, before);
    const auto time = platform::File::OpenForReading(demo)->LastWriteTime().value();
    WriteFileBytes(platform::JournalPathFor(demo), demo::EncodeJournal({5000, time, {{1006, "Bob", "Ann"}}}));
    WriteFileBytes(demo, WithPieces(before, {{1006, "An"}}));
    ShowFolder(folder.Path());
    const auto [text, title, icon] = Told([&] { PickDemo(L"cut.dem"); });
    EXPECT_EQ(text, L"cut.dem:\r\n\r\nAn interrupted edit was undone.");
    EXPECT_EQ(icon, ui::MessageIcon::Information);
    EXPECT_EQ(ReadFileBytes(demo), before);
    EXPECT_EQ(Items(Control(ControlId::PlayerList)), (Names{L"Bob"}));
}

}  // namespace
}  // namespace vorelix::test
