// The drive box, folder box and demo list following each other; "DemoPath" at every change; LoadDemoList.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "MainWindowFixture.h"
#include "TempDir.h"
#include "platform/Text.h"

namespace vorelix::test {
namespace {

using ui::ControlId;
namespace fs = std::filesystem;

// A folder of the test's own on drive Z: (Wine's view of the Linux root), where the build lives.
class ZFolder {
  public:
    ZFolder() {
        static int counter = 0;
        path_ = fs::current_path() /
                ("ui-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
        fs::create_directories(path_);
    }
    ~ZFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    ZFolder(const ZFolder&) = delete;
    ZFolder& operator=(const ZFolder&) = delete;
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

int IndexOfDriveEntry(const std::vector<std::wstring>& entries, wchar_t letter) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (towupper(entries[i].at(0)) == letter) return static_cast<int>(i);
    }
    return -1;
}

TEST_F(MainWindowTest, StartsInTheCurrentFolderWithoutRememberingIt) {
    const std::wstring current = FolderText(fs::current_path());
    EXPECT_EQ(window->DemoFolder(), current);
    EXPECT_EQ(FolderShown(), current);
    EXPECT_EQ(DriveShown(), towupper(current[0]));
    EXPECT_EQ(DemoPathSetting(), L"<absent>");
    EXPECT_EQ(window->SelectedDemoIndex(), -1);
}

TEST_F(MainWindowTest, DriveBoxListsTheMachinesDrivesAsLetterAndLabel) {
    const auto drives = ComboItems(ControlId::Drive1);
    ASSERT_GE(IndexOfDriveEntry(drives, L'C'), 0);
    ASSERT_GE(IndexOfDriveEntry(drives, L'Z'), 0);
    for (const auto& entry : drives) {
        ASSERT_GE(entry.size(), 2u);
        EXPECT_TRUE(iswlower(entry[0])) << "drive letters show in lower case";
        EXPECT_EQ(entry[1], L':');
        if (entry.size() > 2) {
            EXPECT_EQ(entry.substr(2, 2), L" [");
        }
    }
}

TEST_F(MainWindowTest, SetDemoFolderListsDemosSortedWithoutRegardToCaseAndLeavesHiddenOnesOut) {
    TempDir dir;
    MakeFiles(dir.Path(),
              {L"b.dem", L"A.dem", L"c.DEM", L"_under.dem", L"notes.txt", L"x.demo", L"hidden.dem",
               L"system.dem", L"\u0434\u0435\u043C\u043A\u0430 \u0441 blanks.dem"});
    fs::create_directory(dir / "folder.dem");
    SetFileAttributesW((dir.Path() / L"hidden.dem").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((dir.Path() / L"system.dem").c_str(), FILE_ATTRIBUTE_SYSTEM);

    ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
    // Ordinal order without case: '_' (0x5F) sorts after the letters once they are folded to upper case.
    EXPECT_EQ(ListItems(ControlId::Files),
              (std::vector<std::wstring>{L"A.dem", L"b.dem", L"c.DEM", L"_under.dem",
                                         L"\u0434\u0435\u043C\u043A\u0430 \u0441 blanks.dem"}));
    EXPECT_EQ(window->DemoFolder(), FolderText(dir.Path()));
    EXPECT_EQ(DemoPathSetting(), FolderText(dir.Path())) << "remembered at once";
    EXPECT_FALSE(DemoButtonsEnabled());
}

TEST_F(MainWindowTest, AFolderThatIsNoFolderIsRefusedAndNothingMoves) {
    const std::wstring before = window->DemoFolder();
    TempDir dir;
    MakeFiles(dir.Path(), {L"a.dem"});
    EXPECT_FALSE(window->SetDemoFolder((dir.Path() / L"missing").wstring()));
    EXPECT_FALSE(window->SetDemoFolder((dir.Path() / L"a.dem").wstring()));
    EXPECT_FALSE(window->SetDemoFolder(L""));
    EXPECT_EQ(window->DemoFolder(), before);
    EXPECT_EQ(DemoPathSetting(), L"<absent>");
}

TEST_F(MainWindowTest, SelectingADemoEnablesTheButtonsAndAnotherFolderDisablesThem) {
    TempDir withDemos;
    TempDir empty;
    MakeFiles(withDemos.Path(), {L"a.dem", L"b.dem"});
    ASSERT_TRUE(window->SetDemoFolder(withDemos.Path().wstring()));
    EXPECT_FALSE(DemoButtonsEnabled());
    ClickDemo(1);
    EXPECT_TRUE(DemoButtonsEnabled());
    EXPECT_EQ(window->GetSelectedDemoPath(), FolderText(withDemos.Path()) + L"\\b.dem");
    window->ShowInfoString(L"shown before");

    ASSERT_TRUE(window->SetDemoFolder(empty.Path().wstring()));
    EXPECT_EQ(ListItems(ControlId::Files).size(), 0u);
    EXPECT_FALSE(DemoButtonsEnabled());
    EXPECT_EQ(DemoPathSetting(), FolderText(empty.Path()));
    EXPECT_EQ(ControlText(ControlId::txtInfo), L"shown before") << "a folder change leaves the panel alone";
    EXPECT_EQ(window->GetSelectedDemoPath(), FolderText(empty.Path()) + L"\\");
}

TEST_F(MainWindowTest, SelectDemoByCodeRunsTheSelectionAndUpdateEnablesFollowsTheRule) {
    TempDir dir;
    MakeFiles(dir.Path(), {L"a.dem"});
    ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
    window->SelectDemo(0);
    EXPECT_EQ(ListSelection(ControlId::Files), 0);
    EXPECT_TRUE(DemoButtonsEnabled());
    SendMessageW(Control(ControlId::Files), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    window->UpdateEnables();
    EXPECT_FALSE(DemoButtonsEnabled());

    EXPECT_FALSE(ui::DemoButtonsEnabled(0, -1));
    EXPECT_FALSE(ui::DemoButtonsEnabled(0, 0));
    EXPECT_FALSE(ui::DemoButtonsEnabled(3, -1));
    EXPECT_TRUE(ui::DemoButtonsEnabled(1, 0));
}

TEST_F(MainWindowTest, OpeningAFolderInTheFolderBoxMovesTheListAndRemembersIt) {
    TempDir dir;
    fs::create_directory(dir / "sub one");
    fs::create_directory(dir / "Another");
    MakeFiles(dir.Path() / "sub one", {L"inside.dem"});
    ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
    window->LoadDemoList();
    ASSERT_EQ(FolderShown(), FolderText(dir.Path()));

    // The subfolders follow the current folder's entry, sorted.
    const auto entries = ListItems(ControlId::Dir1);
    const int current = ListSelection(ControlId::Dir1);
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(current) + 3);
    EXPECT_EQ(entries[static_cast<std::size_t>(current) + 1], L"Another");
    EXPECT_EQ(entries[static_cast<std::size_t>(current) + 2], L"sub one");

    SendMessageW(Control(ControlId::Dir1), LB_SETCURSEL, static_cast<WPARAM>(current + 2), 0);
    Notify(ControlId::Dir1, LBN_SELCHANGE);
    EXPECT_EQ(window->DemoFolder(), FolderText(dir.Path())) << "a single click only highlights";
    Notify(ControlId::Dir1, LBN_DBLCLK);
    const std::wstring sub = FolderText(dir.Path() / "sub one");
    EXPECT_EQ(window->DemoFolder(), sub);
    EXPECT_EQ(FolderShown(), sub);
    EXPECT_EQ(ListItems(ControlId::Files), std::vector<std::wstring>{L"inside.dem"});
    EXPECT_EQ(DemoPathSetting(), sub);

    // Enter on the parent's entry goes back up.
    SendMessageW(Control(ControlId::Dir1), LB_SETCURSEL, static_cast<WPARAM>(current), 0);
    SendMessageW(Control(ControlId::Dir1), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(window->DemoFolder(), FolderText(dir.Path()));
    EXPECT_EQ(DemoPathSetting(), FolderText(dir.Path()));
}

TEST_F(MainWindowTest, LoadDemoListBringsDriveAndFolderBoxToAListOnAnotherDrive) {
    TempDir onC;
    ZFolder onZ;
    ASSERT_EQ(towupper(FolderText(onC.Path())[0]), L'C') << "Wine's temporary folder is on C:";
    MakeFiles(onZ.Path(), {L"z.dem"});
    MakeFiles(onC.Path(), {L"c.dem"});

    for (const fs::path* folder : {&onC.Path(), &onZ.Path()}) {
        const std::wstring expected = FolderText(*folder);
        ASSERT_TRUE(window->SetDemoFolder(folder->wstring()));
        window->LoadDemoList();
        EXPECT_EQ(DriveShown(), towupper(expected[0]));
        EXPECT_EQ(FolderShown(), expected);
        EXPECT_EQ(window->DemoFolder(), expected);
        EXPECT_EQ(DemoPathSetting(), expected) << "the steps put the list back and that is remembered last";
    }
}

TEST_F(MainWindowTest, PickingAnotherDriveMovesToThatDrivesCurrentFolder) {
    const auto drives = ComboItems(ControlId::Drive1);
    const wchar_t other = DriveShown() == L'C' ? L'Z' : L'C';
    SendMessageW(Control(ControlId::Drive1), CB_SETCURSEL,
                 static_cast<WPARAM>(IndexOfDriveEntry(drives, other)), 0);
    Notify(ControlId::Drive1, CBN_SELCHANGE);

    wchar_t expected[MAX_PATH] = {};
    GetFullPathNameW(std::wstring{other, L':'}.c_str(), MAX_PATH, expected, nullptr);
    const std::wstring expectedFolder = FolderText(expected);
    EXPECT_EQ(DriveShown(), other);
    EXPECT_EQ(FolderShown(), expectedFolder);
    EXPECT_EQ(window->DemoFolder(), expectedFolder);
    EXPECT_EQ(DemoPathSetting(), expectedFolder);
}

TEST_F(MainWindowTest, ADriveThatIsNotReadyIsSaidAndTheControlsStayTogether) {
    TempDir target;
    const std::wstring gone = (target.Path() / L"gone").wstring();
    // A drive letter whose target does not exist: listed, but its root cannot be read.
    wchar_t letter = 0;
    for (wchar_t candidate = L'Q'; candidate <= L'Y' && !letter; ++candidate) {
        if (!(GetLogicalDrives() & (1u << (candidate - L'A')))) letter = candidate;
    }
    ASSERT_NE(letter, 0);
    const std::wstring device{letter, L':'};
    if (!DefineDosDeviceW(0, device.c_str(), gone.c_str())) GTEST_SKIP() << "no substituted drive here";
    struct Undo {
        std::wstring device, target;
        ~Undo() {
            DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, device.c_str(),
                             target.c_str());
        }
    } undo{device, gone};
    TempDir start;
    ASSERT_TRUE(window->SetDemoFolder(start.Path().wstring()));
    window->LoadDemoList();
    // Opening the box lists the drives anew, the new letter among them.
    Notify(ControlId::Drive1, CBN_DROPDOWN);
    const auto drives = ComboItems(ControlId::Drive1);
    const int index = IndexOfDriveEntry(drives, letter);
    if (index < 0) GTEST_SKIP() << "the system does not list the substituted drive";

    prompter.QueueAnswer(ui::Answer::Ok);
    SendMessageW(Control(ControlId::Drive1), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(ControlId::Drive1, CBN_SELCHANGE);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find(std::wstring(L"The drive ") + letter + L": is not ready."),
              std::wstring::npos);
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Exclamation);
    const std::wstring folder = FolderText(start.Path());
    EXPECT_EQ(DriveShown(), towupper(folder[0]));
    EXPECT_EQ(FolderShown(), folder);
    EXPECT_EQ(window->DemoFolder(), folder);
    EXPECT_EQ(DemoPathSetting(), folder);
}

TEST_F(MainWindowTest, AFolderDeletedWhileShownIsSaidAndAllThreeMoveToItsParent) {
    TempDir dir;
    const fs::path shown = dir / "shown";
    fs::create_directories(shown / "child");
    MakeFiles(shown, {L"a.dem"});
    ASSERT_TRUE(window->SetDemoFolder(shown.wstring()));
    window->LoadDemoList();

    // A subfolder vanishes while the folder box still offers it.
    fs::remove_all(shown / "child");
    const auto entries = ListItems(ControlId::Dir1);
    SendMessageW(Control(ControlId::Dir1), LB_SETCURSEL, entries.size() - 1, 0);
    prompter.QueueAnswer(ui::Answer::Ok);
    Notify(ControlId::Dir1, LBN_DBLCLK);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find(L"is no longer available"), std::wstring::npos);
    EXPECT_EQ(window->DemoFolder(), FolderText(shown));
    EXPECT_EQ(FolderShown(), FolderText(shown));
    EXPECT_EQ(ListItems(ControlId::Dir1).size(), entries.size() - 1) << "the gone entry left the box";

    // Then the shown folder itself goes, and the list is read again.
    fs::remove_all(shown);
    prompter.QueueAnswer(ui::Answer::Ok);
    window->LoadDemoList();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_NE(prompter.messages[1].text.find(FolderText(shown)), std::wstring::npos);
    const std::wstring parent = FolderText(dir.Path());
    EXPECT_EQ(window->DemoFolder(), parent);
    EXPECT_EQ(FolderShown(), parent);
    EXPECT_EQ(DriveShown(), towupper(parent[0]));
    EXPECT_EQ(DemoPathSetting(), parent);
    EXPECT_EQ(ListItems(ControlId::Files).size(), 0u);
}

TEST_F(MainWindowTest, ThousandsOfDemosAreListedInOrderQuickly) {
    TempDir dir;
    constexpr int kCount = 3000;
    for (int i = kCount - 1; i >= 0; --i) {
        wchar_t name[32];
        swprintf(name, 32, L"%ls%05d.dem", (i % 2) ? L"Demo" : L"demo", i);
        std::ofstream(dir.Path() / name).put('x');
    }
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
    window->LoadDemoList();
    const auto elapsed = std::chrono::steady_clock::now() - started;
    const auto items = ListItems(ControlId::Files);
    ASSERT_EQ(items.size(), static_cast<std::size_t>(kCount));
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(std::stoi(items[static_cast<std::size_t>(i)].substr(4, 5)), i)
            << platform::WideToUtf8(items[static_cast<std::size_t>(i)]);
    }
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 5000);
}

}  // namespace
}  // namespace vorelix::test
