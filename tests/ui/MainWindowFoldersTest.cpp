// The drive box, folder box and demo list following each other; "DemoPath" at every change; LoadDemoList.
#include <filesystem>
#include <string>

#include "MainWindowFixture.h"
#include "TempDir.h"

namespace vorelix::test {
namespace {

using ui::ControlId;
namespace fs = std::filesystem;

class FoldersTest : public MainWindowTest {
  protected:
    // The three controls and the setting all on `folder`.
    void ExpectAllOn(const std::wstring& folder) const {
        EXPECT_EQ(DriveShown(), towupper(folder[0]));
        EXPECT_EQ(FolderShown(), folder);
        EXPECT_EQ(window->DemoFolder(), folder);
        EXPECT_EQ(DemoPathSetting(), folder);
    }
    int DriveIndex(wchar_t letter) const {
        const auto drives = ListItems(ControlId::DriveBox);
        for (std::size_t i = 0; i < drives.size(); ++i) {
            if (towupper(drives[i][0]) == letter) return static_cast<int>(i);
        }
        return -1;
    }
    // Picks an entry of the drive or folder box as the user does.
    void Pick(ControlId box, int index, int code) const {
        SendMessageW(Control(box), box == ControlId::DriveBox ? CB_SETCURSEL : LB_SETCURSEL,
                     static_cast<WPARAM>(index), 0);
        Notify(box, code);
    }

    TempDir dir;
};

TEST_F(FoldersTest, StartsInTheCurrentFolderWithoutRememberingIt) {
    const std::wstring current = FolderText(fs::current_path());
    EXPECT_EQ(window->DemoFolder(), current);
    EXPECT_EQ(FolderShown(), current);
    EXPECT_EQ(DriveShown(), towupper(current[0]));
    EXPECT_EQ(DemoPathSetting(), L"<absent>");
}

TEST_F(FoldersTest, ListsDemosSortedWithoutRegardToCaseAndLeavesHiddenOnesOut) {
    MakeFiles(dir.Path(), {L"b.dem", L"A.dem", L"c.DEM", L"_under.dem", L"notes.txt", L"x.demo",
                           L"hidden.dem", L"system.dem", L"демка с blanks.dem"});
    fs::create_directory(dir / "folder.dem");
    SetFileAttributesW((dir.Path() / L"hidden.dem").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((dir.Path() / L"system.dem").c_str(), FILE_ATTRIBUTE_SYSTEM);

    ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
    // Ordinal order without case: '_' (0x5F) sorts after the letters once they are folded to upper case.
    EXPECT_EQ(
        ListItems(ControlId::DemoList),
        (std::vector<std::wstring>{L"A.dem", L"b.dem", L"c.DEM", L"_under.dem", L"демка с blanks.dem"}));
    EXPECT_EQ(DemoPathSetting(), FolderText(dir.Path())) << "remembered at once";

    // What is no folder is refused, and nothing moves.
    for (const std::wstring& notAFolder :
         {(dir / "missing").wstring(), (dir / "b.dem").wstring(), std::wstring()})
        EXPECT_FALSE(window->SetDemoFolder(notAFolder));
    EXPECT_EQ(window->DemoFolder(), FolderText(dir.Path()));
}

TEST_F(FoldersTest, SelectingADemoEnablesTheButtonsAndAnotherFolderDisablesThem) {
    TempDir empty;
    MakeFiles(dir.Path(), {L"a.dem", L"b.dem"});
    ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
    EXPECT_FALSE(DemoButtonsEnabled());
    ClickDemo(1);
    EXPECT_TRUE(DemoButtonsEnabled());
    EXPECT_EQ(window->GetSelectedDemoPath(), FolderText(dir.Path()) + L"\\b.dem");

    ASSERT_TRUE(window->SetDemoFolder(empty.Path().wstring()));
    EXPECT_FALSE(DemoButtonsEnabled());
    EXPECT_EQ(window->GetSelectedDemoPath(), FolderText(empty.Path()) + L"\\");

    EXPECT_FALSE(ui::DemoButtonsEnabled(0, 0));
    EXPECT_FALSE(ui::DemoButtonsEnabled(3, -1));
}

TEST_F(FoldersTest, OpeningAFolderInTheFolderBoxMovesTheListAndRemembersIt) {
    fs::create_directory(dir / "sub one");
    fs::create_directory(dir / "Another");
    MakeFiles(dir / "sub one", {L"inside.dem"});
    ShowFolder(dir.Path());
    // The subfolders follow the current folder's entry, sorted.
    const std::size_t current = static_cast<std::size_t>(ListSelection(ControlId::FolderBox));
    const auto entries = ListItems(ControlId::FolderBox);
    ASSERT_EQ(entries.size(), current + 3);
    EXPECT_EQ(entries[current + 1], L"Another");
    EXPECT_EQ(entries[current + 2], L"sub one");

    Pick(ControlId::FolderBox, static_cast<int>(current + 2), LBN_SELCHANGE);
    EXPECT_EQ(window->DemoFolder(), FolderText(dir.Path())) << "a single click only highlights";
    Notify(ControlId::FolderBox, LBN_DBLCLK);
    ExpectAllOn(FolderText(dir / "sub one"));
    EXPECT_EQ(ListItems(ControlId::DemoList), std::vector<std::wstring>{L"inside.dem"});

    // Enter on the parent's entry goes back up.
    SendMessageW(Control(ControlId::FolderBox), LB_SETCURSEL, current, 0);
    SendMessageW(Control(ControlId::FolderBox), WM_KEYDOWN, VK_RETURN, 0);
    ExpectAllOn(FolderText(dir.Path()));
}

TEST_F(FoldersTest, LoadDemoListBringsDriveAndFolderBoxToAListOnAnotherDrive) {
    // A folder of the test's own on drive Z: (Wine's view of the Linux root), where the build lives.
    ASSERT_EQ(towupper(FolderText(dir.Path())[0]), L'C') << "Wine's temporary folder is on C:";
    const fs::path onZ = fs::current_path() / ("ui-test-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(onZ);
    for (const fs::path& folder : {dir.Path(), onZ, dir.Path()}) {
        ShowFolder(folder);
        ExpectAllOn(FolderText(folder));
    }
    fs::remove_all(onZ);

    // Picking a drive moves to that drive's current folder.
    const wchar_t other = DriveShown() == L'C' ? L'Z' : L'C';
    Pick(ControlId::DriveBox, DriveIndex(other), CBN_SELCHANGE);
    wchar_t expected[MAX_PATH] = {};
    GetFullPathNameW(std::wstring{other, L':'}.c_str(), MAX_PATH, expected, nullptr);
    ExpectAllOn(FolderText(expected));
}

TEST_F(FoldersTest, ADriveThatIsNotReadyIsSaidAndTheControlsStayTogether) {
    // A drive letter whose target does not exist: listed, but its root cannot be read.
    const std::wstring gone = (dir / "gone").wstring();
    wchar_t letter = 0;
    for (wchar_t candidate = L'Q'; candidate <= L'Y' && !letter; ++candidate) {
        if (!(GetLogicalDrives() & (1u << (candidate - L'A')))) letter = candidate;
    }
    const std::wstring device{letter, L':'};
    if (!letter || !DefineDosDeviceW(0, device.c_str(), gone.c_str())) GTEST_SKIP() << "no substituted drive";
    struct Undo {
        std::wstring device, target;
        ~Undo() {
            DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, device.c_str(),
                             target.c_str());
        }
    } undo{device, gone};
    ShowFolder(dir.Path());
    Notify(ControlId::DriveBox, CBN_DROPDOWN);  // opening the box lists the drives anew
    if (DriveIndex(letter) < 0) GTEST_SKIP() << "the system does not list the substituted drive";
    prompter.QueueAnswer(ui::Answer::Ok);
    Pick(ControlId::DriveBox, DriveIndex(letter), CBN_SELCHANGE);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find(std::wstring(L"The drive ") + letter + L": is not ready."),
              std::wstring::npos);
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Exclamation);
    ExpectAllOn(FolderText(dir.Path()));
}

TEST_F(FoldersTest, AFolderDeletedWhileShownIsSaidAndAllThreeMoveToItsParent) {
    const fs::path shown = dir / "shown";
    fs::create_directories(shown / "child");
    ShowFolder(shown);

    // A subfolder vanishes while the folder box still offers it.
    fs::remove_all(shown / "child");
    const auto entries = ListItems(ControlId::FolderBox);
    prompter.QueueAnswer(ui::Answer::Ok);
    Pick(ControlId::FolderBox, static_cast<int>(entries.size() - 1), LBN_DBLCLK);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find(L"is no longer available"), std::wstring::npos);
    ExpectAllOn(FolderText(shown));
    EXPECT_EQ(ListItems(ControlId::FolderBox).size(), entries.size() - 1) << "the gone entry left the box";

    // Then the shown folder itself goes, and the list is read again.
    fs::remove_all(shown);
    prompter.QueueAnswer(ui::Answer::Ok);
    window->LoadDemoList();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_NE(prompter.messages[1].text.find(FolderText(shown)), std::wstring::npos);
    ExpectAllOn(FolderText(dir.Path()));
    EXPECT_TRUE(ListItems(ControlId::DemoList).empty());
}

}  // namespace
}  // namespace vorelix::test
