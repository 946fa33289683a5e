// The demo list's popup menu (rename, delete, repair) and files dropped on the list, on real files.
#include "MainWindowFixture.h"
#include "SyntheticDemo.h"
#include "TempDir.h"

// DROPFILES; needs windows.h, which the fixture brings.
#include <shlobj.h>

namespace vorelix::test {
namespace {

using ui::ControlId;
using ui::MessageIcon;
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
    // A right click on the list's first entry with the menu answering `command`; the menu acts on the
    // selected demo, whichever entry was clicked.
    void RightClickAndChoose(UINT command) {
        RECT item{};
        SendMessageW(Control(ControlId::DemoList), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        window->trackPopup = [this, command](HMENU menu, POINT, HWND) {
            repairOffered.push_back(!(GetMenuState(menu, kRepair, MF_BYCOMMAND) & MF_GRAYED));
            return command;
        };
        SendMessageW(Control(ControlId::DemoList), WM_RBUTTONDOWN, MK_RBUTTON,
                     MAKELPARAM(item.left + 3, item.top + 3));
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
    std::vector<bool> repairOffered;  // at each menu shown
};

TEST_F(DemoFilesTest, RenameAsksWithTheCurrentNameAndRenamesOnlyInsideTheFolderNeverOverAnotherDemo) {
    ShowFolderWith({L"a.dem", L"b.dem", L"z.dem"});
    WriteFileBytes(dir / "a.dem", "first");
    fs::create_directory(dir / "sub");
    const Names renamed{L"a.dem", L"new name д.dem"};
    const struct {
        const wchar_t *selected, *typed;
        Names listed;
        bool told;  // "The demo could not be renamed." and the system's own words
    } renames[] = {
        {L"b.dem", L"new name д.dem", {L"a.dem", L"new name д.dem", L"z.dem"}, false},
        {L"z.dem", L"z.txt", renamed, false},  // another extension takes it out of the list
        {L"a.dem", L"new name д.dem", renamed, true},
        {L"a.dem", L"sub\\b.dem", renamed, false},
        {L"a.dem", L"sub/moved.dem", renamed, false},
        {L"a.dem", L"", renamed, false},  // cancelled
        {L"a.dem", L"a.dem", renamed, false},
    };
    for (const auto& rename : renames) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(rename.typed)));
        PickDemo(rename.selected);
        prompter.QueueText(rename.typed);
        if (rename.told) prompter.QueueAnswer(ui::Answer::Ok);
        RightClickAndChoose(kRename);
        EXPECT_EQ(Items(Control(ControlId::DemoList)), rename.listed);
        EXPECT_EQ(prompter.inputs.back().initialText, rename.selected);
    }
    EXPECT_EQ(prompter.inputs[0].prompt + L"|" + prompter.inputs[0].title,
              L"Enter a new name of the demo:|Rename demo");
    EXPECT_TRUE(fs::exists(dir / "z.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "a.dem"), "first");
    EXPECT_TRUE(fs::is_empty(dir / "sub"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompter.messages[0].text.rfind(L"The demo could not be renamed.\r\n\r\n", 0), 0u)
        << "the system's own words follow";

    // The menu also shows over an empty list; with nothing selected a name is asked for, nothing renamed.
    TempDir empty;
    ShowFolder(empty.Path());
    prompter.QueueText(L"b.dem");
    RightClickAndChoose(kRename);
    EXPECT_EQ(prompter.inputs.back().initialText, L"");
    EXPECT_TRUE(fs::is_empty(empty.Path()));
}

TEST_F(DemoFilesTest, DeleteAsksAndOnlyYesDeletesTheSelectedDemoOrSaysWhyNot) {
    ShowFolderWith({L"a.dem", L"b.dem"});
    const auto choose = [this] { RightClickAndChoose(kDelete); };
    Told(choose, {ui::Answer::Yes});  // nothing selected: asked, nothing deleted
    EXPECT_EQ(Items(Control(ControlId::DemoList)), (Names{L"a.dem", L"b.dem"}));

    PickDemo(L"a.dem");
    EXPECT_EQ(Told(choose, {ui::Answer::No}),
              (Box{L"You really want to remove the demo?", L"Sure?", MessageIcon::Question}));
    EXPECT_EQ(prompter.messages.back().buttons, ui::MessageButtons::YesNo);
    EXPECT_TRUE(fs::exists(dir / "a.dem"));
    EXPECT_EQ(Selection(Control(ControlId::DemoList)), 0) << "No leaves the list as it was";
    Told(choose, {ui::Answer::Yes});
    EXPECT_FALSE(fs::exists(dir / "a.dem"));
    EXPECT_EQ(Items(Control(ControlId::DemoList)), Names{L"b.dem"});

    // A delete that fails says why: held open without sharing, as a running game holds its demo.
    PickDemo(L"b.dem");
    HANDLE held = CreateFileW((dir / "b.dem").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const auto [text, title, icon] = Told(choose, {ui::Answer::Yes, ui::Answer::Ok});
    CloseHandle(held);
    EXPECT_TRUE(fs::exists(dir / "b.dem"));
    EXPECT_EQ(text.rfind(L"The demo could not be deleted.", 0), 0u);
    EXPECT_EQ(icon, MessageIcon::Exclamation);
    EXPECT_EQ(Items(Control(ControlId::DemoList)), Names{L"b.dem"});
}

TEST_F(DemoFilesTest, DroppingCopiesTheFirstFileNeverOneOfTheShownFolderAndReplacesOnlyAfterYes) {
    ShowFolderWith({L"old.dem"});
    WriteFileBytes(dir / "old.dem", "precious");
    TempDir source;
    MakeFiles(source.Path(), {L"first д.dem", L"second.dem"});
    Drop({source.Path() / L"first д.dem", source.Path() / L"second.dem"});
    EXPECT_EQ(Items(Control(ControlId::DemoList)), (Names{L"first д.dem", L"old.dem"}));
    EXPECT_TRUE(fs::exists(source.Path() / L"first д.dem")) << "copied, not moved";
    EXPECT_TRUE(prompter.messages.empty());

    // A file of the shown folder: said, nothing destroyed, the list still usable. (The copy's other
    // refusals, a source that vanished among them, are tested in tests/platform.)
    EXPECT_EQ(std::get<0>(Told([&] { Drop({dir / "old.dem"}); })),
              L"The file old.dem could not be copied.\r\n\r\nThe file is already in this folder.");
    EXPECT_EQ(ReadFileBytes(dir / "old.dem"), "precious");
    EXPECT_EQ(Items(Control(ControlId::DemoList)), (Names{L"first д.dem", L"old.dem"}));

    // A name already taken is replaced only after Yes.
    WriteFileBytes(source / "old.dem", "the dropped demo");
    EXPECT_EQ(std::get<0>(Told([&] { Drop({source / "old.dem"}); }, {ui::Answer::No})),
              L"old.dem is already in this folder. Replace it?");
    EXPECT_EQ(prompter.messages.back().buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(ReadFileBytes(dir / "old.dem"), "precious");
    Told([&] { Drop({source / "old.dem"}); }, {ui::Answer::Yes});
    EXPECT_EQ(ReadFileBytes(dir / "old.dem"), "the dropped demo");
}

TEST_F(DemoFilesTest, ADemoCutOffByACrashIsRepairedIntoACopyThatIsListedAndSelected) {
    const FramedDemo whole = MakeFramedDemo(6);
    const std::string cut = whole.bytes.substr(0, whole.messageOffsets[4] + 20);  // inside a frame
    WriteFileBytes(dir / "whole.dem", whole.bytes);
    WriteFileBytes(dir / "cut.dem", cut);
    ShowFolder(dir.Path());
    PickDemo(L"whole.dem");
    RightClickAndChoose(0);
    PickDemo(L"cut.dem");
    EXPECT_EQ(std::get<0>(Told([this] { RightClickAndChoose(kRepair); })),
              L"The repaired copy cut.repaired.dem keeps 2.0 s of playback, 4 frames.");
    EXPECT_EQ(repairOffered, (std::vector<bool>{false, true}));
    EXPECT_EQ(ReadFileBytes(dir / "cut.dem"), cut) << "the demo itself is only read";
    EXPECT_EQ(window->DemoEntry(window->SelectedDemoIndex()), L"cut.repaired.dem");

    // A second repair finds the copy's name taken and says which and what to do; nothing is replaced.
    const std::string repaired = ReadFileBytes(dir / "cut.repaired.dem");
    PickDemo(L"cut.dem");
    EXPECT_EQ(std::get<0>(Told([this] { RightClickAndChoose(kRepair); })),
              L"The demo could not be repaired: the file cut.repaired.dem already exists.\r\n\r\nRename or "
              L"delete it, then repair the demo again.");
    EXPECT_EQ(ReadFileBytes(dir / "cut.repaired.dem"), repaired);

    // The engine's reason is told as a sentence of its own.
    WriteFileBytes(dir / "early.dem", whole.bytes.substr(0, 600));
    ShowFolder(dir.Path());
    PickDemo(L"early.dem");
    EXPECT_EQ(
        std::get<0>(Told([this] { RightClickAndChoose(kRepair); })),
        L"The demo could not be repaired.\r\n\r\nThe demo breaks inside its loading segment at offset 544: "
        L"the file ends inside a net message frame (it needs 477 bytes, 56 are left); there is no "
        L"playback to keep.");
}

}  // namespace
}  // namespace vorelix::test
