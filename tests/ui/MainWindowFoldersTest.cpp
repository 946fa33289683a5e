// The drive box, folder box and demo list following each other; "DemoPath" at every change; LoadDemoList.
#include <algorithm>

#include "MainWindowFixture.h"
#include "TempDir.h"

namespace vorelix::test {
namespace {

using ui::ControlId;
namespace fs = std::filesystem;
using Names = std::vector<std::wstring>;

class FoldersTest : public MainWindowTest {
  protected:
    // The three controls and the setting all on `folder`; the folder box shows the path from the root to
    // its highlighted entry.
    void ExpectAllOn(const std::wstring& folder, bool remembered = true) const {
        const auto drives = Items(Control(ControlId::DriveBox));
        const int drive = Selection(Control(ControlId::DriveBox));
        ASSERT_GE(drive, 0);
        EXPECT_EQ(towupper(drives[static_cast<std::size_t>(drive)][0]), towupper(folder[0]));
        const auto entries = Items(Control(ControlId::FolderBox));
        std::wstring path = entries.at(0);
        for (int i = 1; i <= Selection(Control(ControlId::FolderBox)); ++i)
            path += (path.back() == L'\\' ? L"" : L"\\") + entries[static_cast<std::size_t>(i)];
        EXPECT_EQ(path, folder);
        EXPECT_EQ(window->DemoFolder(), folder);
        EXPECT_EQ(Setting(L"CooMMon", L"DemoPath"), remembered ? folder : L"<absent>");
    }
    int DriveIndex(wchar_t letter) const {
        const auto drives = Items(Control(ControlId::DriveBox));
        const auto found = std::find_if(drives.begin(), drives.end(),
                                        [letter](const std::wstring& d) { return towupper(d[0]) == letter; });
        return found == drives.end() ? -1 : static_cast<int>(found - drives.begin());
    }

    TempDir dir;
};

TEST_F(FoldersTest, ListsDemosSortedWithoutRegardToCaseAndLeavesHiddenOnesOut) {
    ExpectAllOn(FolderText(fs::current_path()), /*remembered=*/false);  // where the process started
    MakeFiles(dir.Path(), {L"b.dem", L"A.dem", L"c.DEM", L"_under.dem", L"notes.txt", L"x.demo",
                           L"hidden.dem", L"system.dem", L"демка с blanks.dem"});
    fs::create_directory(dir / "folder.dem");
    SetFileAttributesW((dir.Path() / L"hidden.dem").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((dir.Path() / L"system.dem").c_str(), FILE_ATTRIBUTE_SYSTEM);

    ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
    // Ordinal order without case: '_' (0x5F) sorts after the letters once they are folded to upper case.
    EXPECT_EQ(Items(Control(ControlId::DemoList)),
              (Names{L"A.dem", L"b.dem", L"c.DEM", L"_under.dem", L"демка с blanks.dem"}));
    EXPECT_FALSE(DemoButtonsEnabled()) << "nothing is selected yet";
}

TEST_F(FoldersTest, OpeningAFolderInTheFolderBoxMovesTheListAndRemembersIt) {
    fs::create_directory(dir / "sub one");
    fs::create_directory(dir / "Another");
    MakeFiles(dir / "sub one", {L"inside.dem"});
    ShowFolder(dir.Path());
    // The subfolders follow the current folder's entry, sorted.
    HWND folderBox = Control(ControlId::FolderBox);
    const int current = Selection(folderBox);
    const auto entries = Items(folderBox);
    EXPECT_EQ(Names(entries.begin() + current + 1, entries.end()), (Names{L"Another", L"sub one"}));

    Pick(folderBox, current + 2);
    EXPECT_EQ(window->DemoFolder(), FolderText(dir.Path())) << "a single click only highlights";
    Notify(folderBox, LBN_DBLCLK);
    ExpectAllOn(FolderText(dir / "sub one"));
    EXPECT_EQ(Items(Control(ControlId::DemoList)), Names{L"inside.dem"});

    // Enter on the parent's entry goes back up.
    SendMessageW(folderBox, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
    SendMessageW(folderBox, WM_KEYDOWN, VK_RETURN, 0);
    ExpectAllOn(FolderText(dir.Path()));
}

TEST_F(FoldersTest, TheListBringsDriveAndFolderBoxToAFolderOnAnotherDriveAndADriveMovesAllThree) {
    // A folder of the test's own on drive Z: (Wine's view of the Linux root), where the build lives.
    ASSERT_EQ(towupper(FolderText(dir.Path())[0]), L'C') << "Wine's temporary folder is on C:";
    const fs::path onZ = fs::current_path() / ("ui-test-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(onZ);
    ShowFolder(dir.Path());
    ExpectAllOn(FolderText(dir.Path()));
    ShowFolder(onZ);
    ExpectAllOn(FolderText(onZ));
    // As a rename or delete reads the list again after a folder change.
    ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
    window->LoadDemoList();
    ExpectAllOn(FolderText(dir.Path()));
    fs::remove_all(onZ);

    // Picking a drive moves to that drive's current folder.
    const wchar_t other = towupper(window->DemoFolder()[0]) == L'C' ? L'Z' : L'C';
    Pick(Control(ControlId::DriveBox), DriveIndex(other));
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
    Notify(Control(ControlId::DriveBox), CBN_DROPDOWN);  // opening the box lists the drives anew
    if (DriveIndex(letter) < 0) GTEST_SKIP() << "the system does not list the substituted drive";
    EXPECT_EQ(Told([&] { Pick(Control(ControlId::DriveBox), DriveIndex(letter)); }),
              (Box{std::wstring(L"The drive ") + letter + L": is not ready.\r\n\r\nThe list stays in " +
                       FolderText(dir.Path()) + L".",
                   ui::kProgramTitle, ui::MessageIcon::Exclamation}));
    ExpectAllOn(FolderText(dir.Path()));
}

TEST_F(FoldersTest, AFolderDeletedWhileShownIsSaidAndAllThreeMoveToItsParent) {
    const fs::path shown = dir / "shown";
    fs::create_directories(shown / "child");
    ShowFolder(shown);

    // A subfolder vanishes while the folder box still offers it.
    fs::remove_all(shown / "child");
    const auto entries = Items(Control(ControlId::FolderBox));
    Pick(Control(ControlId::FolderBox), static_cast<int>(entries.size() - 1));
    EXPECT_NE(std::get<0>(Told([&] {
                  Notify(Control(ControlId::FolderBox), LBN_DBLCLK);
              })).find(L"is no longer available"),
              std::wstring::npos);
    ExpectAllOn(FolderText(shown));
    EXPECT_EQ(Items(Control(ControlId::FolderBox)).size(), entries.size() - 1)
        << "the gone entry left the box";

    // Then the shown folder itself goes, and the list is read again.
    fs::remove_all(shown);
    EXPECT_NE(std::get<0>(Told([&] { window->LoadDemoList(); })).find(FolderText(shown)), std::wstring::npos);
    ExpectAllOn(FolderText(dir.Path()));
    EXPECT_TRUE(Items(Control(ControlId::DemoList)).empty());
}

}  // namespace
}  // namespace vorelix::test
