// The demo list's popup menu (rename, delete) and files dropped on the list, on real files.
#include <filesystem>
#include <string>

#include "MainWindowFixture.h"
#include "SyntheticDemo.h"
#include "TempDir.h"

// DROPFILES; needs windows.h, which the fixture brings.
#include <shlobj.h>

namespace vorelix::test {
namespace {

using ui::ControlId;
namespace fs = std::filesystem;
using Names = std::vector<std::wstring>;

const UINT kRename = static_cast<UINT>(ui::ToInt(ControlId::RenameDemoItem));
const UINT kDelete = static_cast<UINT>(ui::ToInt(ControlId::DeleteDemoItem));
const UINT kRepair = static_cast<UINT>(ui::ToInt(ControlId::RepairDemoItem));

class DemoFilesTest : public MainWindowTest {
  protected:
    void ShowFolderWith(const Names& names) {
        MakeFiles(dir.Path(), names);
        ShowFolder(dir.Path());
    }
    // A right click on the list's first entry with the menu answering `command`.
    void RightClickAndChoose(UINT command) {
        RECT item{};
        SendMessageW(Control(ControlId::DemoList), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        window->trackPopup = [this, command](HMENU menu, POINT, HWND) {
            menusShown.push_back(menu);
            repairOffered.push_back(!(GetMenuState(menu, kRepair, MF_BYCOMMAND) & MF_GRAYED));
            return command;
        };
        SendMessageW(Control(ControlId::DemoList), WM_RBUTTONDOWN, MK_RBUTTON,
                     MAKELPARAM(item.left + 3, item.top + 3));
    }
    void Rename(const std::wstring& selected, const std::wstring& typed) {
        ClickDemo(IndexOfDemo(selected));
        prompter.QueueText(typed);
        RightClickAndChoose(kRename);
    }
    // Drops files on the list as the shell hands them over: DROPFILES and the wide names, double-NUL ended.
    void Drop(const std::vector<fs::path>& files) {
        std::wstring names;
        for (const auto& file : files) names += file.wstring() + L'\0';
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(header + 1));
        GlobalUnlock(memory);
        SendMessageW(Control(ControlId::DemoList), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }

    TempDir dir;
    std::vector<HMENU> menusShown;
    std::vector<bool> repairOffered;
};

TEST_F(DemoFilesTest, RightClickShowsTheMenuAndLeavesTheSelectionAlone) {
    ShowFolderWith({L"a.dem", L"b.dem"});
    ClickDemo(1);
    RightClickAndChoose(0);
    ASSERT_EQ(menusShown.size(), 1u);
    EXPECT_EQ(GetMenuItemID(menusShown[0], 0), kRename);
    EXPECT_EQ(ListSelection(ControlId::DemoList), 1);

    // Also on an empty list; other buttons show nothing.
    TempDir empty;
    ShowFolder(empty.Path());
    RightClickAndChoose(0);
    SendMessageW(Control(ControlId::DemoList), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(menusShown.size(), 2u);
}

TEST_F(DemoFilesTest, RenameAsksWithTheCurrentNameAndRenamesInsideTheFolder) {
    ShowFolderWith({L"a.dem", L"z.dem"});
    Rename(L"a.dem", L"new name д.dem");
    ASSERT_EQ(prompter.inputs.size(), 1u);
    EXPECT_EQ(prompter.inputs[0].prompt, L"Enter a new name of the demo:");
    EXPECT_EQ(prompter.inputs[0].title, L"Rename demo");
    EXPECT_EQ(prompter.inputs[0].initialText, L"a.dem");
    EXPECT_FALSE(fs::exists(dir / "a.dem"));
    EXPECT_EQ(ListItems(ControlId::DemoList), (Names{L"new name д.dem", L"z.dem"}));
    // Another extension takes the file out of the list.
    Rename(L"z.dem", L"z.txt");
    EXPECT_TRUE(fs::exists(dir / "z.txt"));
    EXPECT_EQ(ListItems(ControlId::DemoList), Names{L"new name д.dem"});
}

TEST_F(DemoFilesTest, RenameOntoAnExistingNameKeepsBothAndSaysWhy) {
    ShowFolderWith({L"a.dem", L"b.dem"});
    WriteFileBytes(dir / "a.dem", "first");
    prompter.QueueAnswer(ui::Answer::Ok);
    Rename(L"a.dem", L"b.dem");
    EXPECT_EQ(ReadFileBytes(dir / "a.dem"), "first");
    EXPECT_EQ(ReadFileBytes(dir / "b.dem").size(), 406u);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(prompter.messages[0].text.rfind(L"The demo could not be renamed.\r\n\r\n", 0), 0u)
        << "the system's own words follow";
    EXPECT_EQ(ListItems(ControlId::DemoList), (Names{L"a.dem", L"b.dem"}));
}

TEST_F(DemoFilesTest, RenameWithASeparatorCancelTheSameNameOrNothingSelectedTouchesNothing) {
    ShowFolderWith({L"a.dem"});
    fs::create_directory(dir / "sub");
    Rename(L"a.dem", L"sub\\b.dem");
    Rename(L"a.dem", L"sub/moved.dem");
    Rename(L"a.dem", L"");
    Rename(L"a.dem", L"a.dem");
    SendMessageW(Control(ControlId::DemoList), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    prompter.QueueText(L"b.dem");
    RightClickAndChoose(kRename);
    ASSERT_EQ(prompter.inputs.size(), 5u);
    EXPECT_EQ(prompter.inputs[4].initialText, L"");
    EXPECT_TRUE(fs::exists(dir / "a.dem"));
    EXPECT_FALSE(fs::exists(dir / "sub" / "moved.dem"));
    EXPECT_FALSE(fs::exists(dir / "sub" / "b.dem"));
    EXPECT_FALSE(fs::exists(dir / "b.dem"));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(ListItems(ControlId::DemoList), Names{L"a.dem"});
}

TEST_F(DemoFilesTest, DeleteAsksAndOnlyYesDeletesTheSelectedDemo) {
    ShowFolderWith({L"a.dem", L"b.dem"});
    prompter.QueueAnswer(ui::Answer::Yes);
    RightClickAndChoose(kDelete);  // nothing selected: asked, nothing deleted
    EXPECT_EQ(ListItems(ControlId::DemoList), (Names{L"a.dem", L"b.dem"}));

    ClickDemo(0);
    prompter.QueueAnswer(ui::Answer::No);
    RightClickAndChoose(kDelete);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, L"You really want to remove the demo?");
    EXPECT_EQ(prompter.messages[1].title, L"Sure?");
    EXPECT_EQ(prompter.messages[1].icon, ui::MessageIcon::Question);
    EXPECT_EQ(prompter.messages[1].buttons, ui::MessageButtons::YesNo);
    EXPECT_TRUE(fs::exists(dir / "a.dem"));
    EXPECT_EQ(ListSelection(ControlId::DemoList), 0) << "No leaves the list as it was";

    prompter.QueueAnswer(ui::Answer::Yes);
    RightClickAndChoose(kDelete);
    EXPECT_FALSE(fs::exists(dir / "a.dem"));
    EXPECT_TRUE(fs::exists(dir.Path()));
    EXPECT_EQ(ListItems(ControlId::DemoList), Names{L"b.dem"});

    // A delete that fails says why: held open without sharing, as a running game holds its demo.
    ClickDemo(0);
    HANDLE held = CreateFileW((dir / "b.dem").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    prompter.QueueAnswer(ui::Answer::Yes);
    prompter.QueueAnswer(ui::Answer::Ok);
    RightClickAndChoose(kDelete);
    CloseHandle(held);
    EXPECT_TRUE(fs::exists(dir / "b.dem"));
    ASSERT_EQ(prompter.messages.size(), 5u);
    EXPECT_EQ(prompter.messages[4].text.rfind(L"The demo could not be deleted.", 0), 0u);
    EXPECT_EQ(prompter.messages[4].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(ListItems(ControlId::DemoList), Names{L"b.dem"});
}

TEST_F(DemoFilesTest, DroppingCopiesOnlyTheFirstFileAndNeverOneOfTheShownFolder) {
    ShowFolderWith({L"old.dem"});
    WriteFileBytes(dir / "old.dem", "precious");
    TempDir source;
    MakeFiles(source.Path(), {L"first д.dem", L"second.dem"});
    Drop({source.Path() / L"first д.dem", source.Path() / L"second.dem"});
    EXPECT_EQ(ListItems(ControlId::DemoList), (Names{L"first д.dem", L"old.dem"}));
    EXPECT_TRUE(fs::exists(source.Path() / L"first д.dem")) << "copied, not moved";
    EXPECT_TRUE(prompter.messages.empty());

    // A file of the shown folder, or one that vanished: said, nothing destroyed, the list still usable.
    prompter.QueueAnswer(ui::Answer::Ok);
    prompter.QueueAnswer(ui::Answer::Ok);
    Drop({dir / "old.dem"});
    Drop({source / "gone.dem"});
    EXPECT_EQ(ReadFileBytes(dir / "old.dem"), "precious");
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text,
              L"The file old.dem could not be copied.\r\n\r\nThe file is already in this folder.");
    EXPECT_EQ(ListItems(ControlId::DemoList), (Names{L"first д.dem", L"old.dem"}));
    ClickDemo(0);
    EXPECT_TRUE(DemoButtonsEnabled());
}

TEST_F(DemoFilesTest, ADroppedFileWhoseNameIsTakenReplacesTheOtherOnlyAfterYes) {
    ShowFolderWith({L"taken.dem"});
    WriteFileBytes(dir / "taken.dem", "the demo already here");
    TempDir source;
    WriteFileBytes(source / "taken.dem", "the dropped demo");
    prompter.QueueAnswer(ui::Answer::No);
    Drop({source / "taken.dem"});
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, L"taken.dem is already in this folder. Replace it?");
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(ReadFileBytes(dir / "taken.dem"), "the demo already here");

    prompter.QueueAnswer(ui::Answer::Yes);
    Drop({source / "taken.dem"});
    EXPECT_EQ(ReadFileBytes(dir / "taken.dem"), "the dropped demo");
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(DemoFilesTest, ADemoCutOffByACrashIsRepairedIntoACopyThatIsListedAndSelected) {
    const FramedDemo whole = MakeFramedDemo(6);
    const std::string cut = whole.bytes.substr(0, whole.messageOffsets[4] + 20);  // inside a frame
    MakeFiles(dir.Path(), {L"whole.dem"});
    WriteFileBytes(dir / "whole.dem", whole.bytes);
    WriteFileBytes(dir / "cut.dem", cut);
    ShowFolder(dir.Path());
    ClickDemo(IndexOfDemo(L"whole.dem"));
    RightClickAndChoose(0);
    ClickDemo(IndexOfDemo(L"cut.dem"));
    prompter.QueueAnswer(ui::Answer::Ok);
    RightClickAndChoose(kRepair);
    EXPECT_EQ(repairOffered, (std::vector<bool>{false, true}));

    EXPECT_EQ(ReadFileBytes(dir / "cut.dem"), cut) << "the demo itself is only read";
    ASSERT_TRUE(fs::exists(dir / "cut.repaired.dem"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              L"The repaired copy cut.repaired.dem keeps 2.0 s of playback, 4 frames.");
    EXPECT_EQ(window->DemoEntry(window->SelectedDemoIndex()), L"cut.repaired.dem");

    // A second repair finds the copy's name taken and says so; nothing is replaced.
    const std::string repaired = ReadFileBytes(dir / "cut.repaired.dem");
    ClickDemo(IndexOfDemo(L"cut.dem"));
    prompter.QueueAnswer(ui::Answer::Ok);
    RightClickAndChoose(kRepair);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text.rfind(L"The demo could not be repaired.", 0), 0u);
    EXPECT_EQ(ReadFileBytes(dir / "cut.repaired.dem"), repaired);
}

}  // namespace
}  // namespace vorelix::test
