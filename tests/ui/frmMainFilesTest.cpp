// The demo list's popup menu (rename, delete) and files dropped on the list, on real files.
#include <filesystem>
#include <string>

#include "MainWindowFixture.h"
#include "TempDir.h"

// DROPFILES; needs windows.h, which the fixture brings.
#include <shlobj.h>

namespace vorelix::test {
namespace {

using ui::ControlId;
namespace fs = std::filesystem;

class DemoFilesTest : public MainWindowTest {
  protected:
    void ShowFolderWith(const std::vector<std::wstring>& names) {
        MakeFiles(dir.Path(), names);
        ASSERT_TRUE(window->SetDemoFolder(dir.Path().wstring()));
        window->LoadDemoList();
    }
    int IndexOf(const std::wstring& entry) const {
        const auto items = ListItems(ControlId::Files);
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i] == entry) return static_cast<int>(i);
        }
        return -1;
    }
    // A right click on the list's entry `index` with the menu answering `command`.
    void RightClickAndChoose(int index, UINT command) {
        RECT item{};
        SendMessageW(Control(ControlId::Files), LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        window->trackPopup = [this, command](HMENU menu, POINT, HWND) {
            menusShown.push_back(menu);
            return command;
        };
        SendMessageW(Control(ControlId::Files), WM_RBUTTONDOWN, MK_RBUTTON,
                     MAKELPARAM(item.left + 3, item.top + 3));
    }
    void Rename(const std::wstring& selected, const std::wstring& typed) {
        ClickDemo(IndexOf(selected));
        prompter.QueueText(typed);
        RightClickAndChoose(0, static_cast<UINT>(ui::ToInt(ControlId::itemRenameDemo)));
    }

    TempDir dir;
    std::vector<HMENU> menusShown;
};

TEST_F(DemoFilesTest, RightClickShowsTheMenuAndLeavesTheSelectionAlone) {
    ShowFolderWith({L"a.dem", L"b.dem"});
    ClickDemo(1);
    RightClickAndChoose(0, 0);
    ASSERT_EQ(menusShown.size(), 1u);
    EXPECT_EQ(GetMenuItemID(menusShown[0], 0), static_cast<UINT>(ui::ToInt(ControlId::itemRenameDemo)));
    EXPECT_EQ(ListSelection(ControlId::Files), 1);

    // Also on an empty list with nothing selected; other buttons show nothing.
    TempDir empty;
    ASSERT_TRUE(window->SetDemoFolder(empty.Path().wstring()));
    RightClickAndChoose(0, 0);
    EXPECT_EQ(menusShown.size(), 2u);
    SendMessageW(Control(ControlId::Files), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(menusShown.size(), 2u);
}

TEST_F(DemoFilesTest, RenameAsksWithTheCurrentNameAndRenamesInsideTheFolder) {
    ShowFolderWith({L"a.dem", L"z.dem"});
    Rename(L"a.dem", L"new name \u0434.dem");
    ASSERT_EQ(prompter.inputs.size(), 1u);
    EXPECT_EQ(prompter.inputs[0].prompt, L"Enter a new name of the demo:");
    EXPECT_EQ(prompter.inputs[0].title, L"Rename demo");
    EXPECT_EQ(prompter.inputs[0].initialText, L"a.dem");
    EXPECT_FALSE(fs::exists(dir / "a.dem"));
    EXPECT_TRUE(fs::exists(dir.Path() / L"new name \u0434.dem"));
    EXPECT_EQ(ListItems(ControlId::Files), (std::vector<std::wstring>{L"new name \u0434.dem", L"z.dem"}));
}

TEST_F(DemoFilesTest, RenameOntoAnExistingNameKeepsBothAndSaysWhy) {
    ShowFolderWith({L"a.dem", L"b.dem"});
    WriteFileBytes(dir / "a.dem", "first");
    WriteFileBytes(dir / "b.dem", "second");
    prompter.QueueAnswer(ui::Answer::Ok);
    Rename(L"a.dem", L"b.dem");
    EXPECT_EQ(ReadFileBytes(dir / "a.dem"), "first");
    EXPECT_EQ(ReadFileBytes(dir / "b.dem"), "second");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, L"Vorelix");
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_NE(prompter.messages[0].text.find(L"could not be renamed"), std::wstring::npos);
    EXPECT_GT(prompter.messages[0].text.size(), std::wstring(L"The demo could not be renamed.").size())
        << "the system's own words follow";
    EXPECT_EQ(ListItems(ControlId::Files), (std::vector<std::wstring>{L"a.dem", L"b.dem"}));
}

TEST_F(DemoFilesTest, RenameWithABackslashCancelOrTheSameNameTouchesNothing) {
    ShowFolderWith({L"a.dem"});
    fs::create_directory(dir / "sub");
    Rename(L"a.dem", L"sub\\b.dem");
    Rename(L"a.dem", L"");
    Rename(L"a.dem", L"a.dem");
    EXPECT_TRUE(fs::exists(dir / "a.dem"));
    EXPECT_FALSE(fs::exists(dir / "sub" / "b.dem"));
    EXPECT_EQ(prompter.inputs.size(), 3u);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(ListItems(ControlId::Files), std::vector<std::wstring>{L"a.dem"});
}

TEST_F(DemoFilesTest, RenameToAnotherExtensionTakesTheFileOutOfTheList) {
    ShowFolderWith({L"a.dem", L"b.dem"});
    Rename(L"b.dem", L"b.txt");
    EXPECT_TRUE(fs::exists(dir / "b.txt"));
    EXPECT_EQ(ListItems(ControlId::Files), std::vector<std::wstring>{L"a.dem"});
}

TEST_F(DemoFilesTest, RenameWithNothingSelectedStartsEmptyAndChangesNoFile) {
    ShowFolderWith({L"a.dem"});
    prompter.QueueText(L"b.dem");
    RightClickAndChoose(0, static_cast<UINT>(ui::ToInt(ControlId::itemRenameDemo)));
    ASSERT_EQ(prompter.inputs.size(), 1u);
    EXPECT_EQ(prompter.inputs[0].initialText, L"");
    EXPECT_TRUE(fs::exists(dir / "a.dem"));
    EXPECT_FALSE(fs::exists(dir / "b.dem"));
    EXPECT_TRUE(fs::exists(dir.Path())) << "the folder itself was not moved";
}

TEST_F(DemoFilesTest, RenameInADriveRoot) {
    // The root of C: belongs to the test run's own Wine prefix; on Windows a standard user may not write
    // there.
    const std::wstring root = L"C:\\";
    const std::wstring stem = L"vorelix-root-test-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring from = stem + L"-a.dem";
    const std::wstring to = stem + L"-b.dem";
    struct Cleanup {
        std::wstring a, b;
        ~Cleanup() {
            DeleteFileW(a.c_str());
            DeleteFileW(b.c_str());
        }
    } cleanup{root + from, root + to};
    HANDLE file = CreateFileW((root + from).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) GTEST_SKIP() << "the root of C: is not writable here";
    CloseHandle(file);

    ASSERT_TRUE(window->SetDemoFolder(root));
    window->LoadDemoList();
    EXPECT_EQ(window->DemoFolder(), root);
    ClickDemo(IndexOf(from));
    EXPECT_EQ(window->GetSelectedDemoPath(), root + from);
    prompter.QueueText(to);
    RightClickAndChoose(0, static_cast<UINT>(ui::ToInt(ControlId::itemRenameDemo)));
    EXPECT_NE(GetFileAttributesW((root + to).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((root + from).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_GE(IndexOf(to), 0);
    EXPECT_EQ(IndexOf(from), -1);
}

TEST_F(DemoFilesTest, DeleteAsksAndOnlyYesDeletes) {
    ShowFolderWith({L"a.dem", L"b.dem"});
    ClickDemo(0);
    prompter.QueueAnswer(ui::Answer::No);
    RightClickAndChoose(0, static_cast<UINT>(ui::ToInt(ControlId::itemDeleteDemo)));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, L"You really want to remove the demo?");
    EXPECT_EQ(prompter.messages[0].title, L"Sure?");
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Question);
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_TRUE(fs::exists(dir / "a.dem"));
    EXPECT_EQ(ListSelection(ControlId::Files), 0) << "No leaves the list as it was, unread";

    prompter.QueueAnswer(ui::Answer::Yes);
    RightClickAndChoose(0, static_cast<UINT>(ui::ToInt(ControlId::itemDeleteDemo)));
    EXPECT_FALSE(fs::exists(dir / "a.dem"));
    EXPECT_TRUE(fs::exists(dir / "b.dem"));
    EXPECT_EQ(ListItems(ControlId::Files), std::vector<std::wstring>{L"b.dem"});
}

TEST_F(DemoFilesTest, DeleteWithNothingSelectedAsksAndDeletesNothing) {
    ShowFolderWith({L"a.dem"});
    prompter.QueueAnswer(ui::Answer::Yes);
    RightClickAndChoose(0, static_cast<UINT>(ui::ToInt(ControlId::itemDeleteDemo)));
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(fs::exists(dir / "a.dem"));
    EXPECT_TRUE(fs::exists(dir.Path()));
}

TEST_F(DemoFilesTest, ADeleteThatFailsIsSaidWithTheSystemsWords) {
    ShowFolderWith({L"a.dem"});
    ClickDemo(0);
    // Held open without sharing, as a running game holds its demo.
    HANDLE held =
        CreateFileW((dir.Path() / L"a.dem").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    prompter.QueueAnswer(ui::Answer::Yes);
    prompter.QueueAnswer(ui::Answer::Ok);
    RightClickAndChoose(0, static_cast<UINT>(ui::ToInt(ControlId::itemDeleteDemo)));
    CloseHandle(held);
    EXPECT_TRUE(fs::exists(dir / "a.dem"));
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_NE(prompter.messages[1].text.find(L"could not be deleted"), std::wstring::npos);
    EXPECT_EQ(prompter.messages[1].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(ListItems(ControlId::Files), std::vector<std::wstring>{L"a.dem"});
}

// An HDROP as the shell hands it over: DROPFILES followed by the wide names, double-NUL ended.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
    std::size_t characters = 1;
    for (const auto& file : files) characters += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const auto& file : files) {
        std::copy(file.begin(), file.end(), names);
        names += file.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(DemoFilesTest, DroppingThreeFilesCopiesOnlyTheFirstIntoTheShownFolder) {
    ShowFolderWith({L"old.dem"});
    TempDir source;
    MakeFiles(source.Path(), {L"first \u0434.dem", L"second.dem", L"third.dem"});
    SendMessageW(Control(ControlId::Files), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({(source.Path() / L"first \u0434.dem").wstring(),
                                                    (source.Path() / L"second.dem").wstring(),
                                                    (source.Path() / L"third.dem").wstring()})),
                 0);
    EXPECT_EQ(ListItems(ControlId::Files), (std::vector<std::wstring>{L"first \u0434.dem", L"old.dem"}));
    EXPECT_TRUE(fs::exists(source.Path() / L"first \u0434.dem")) << "copied, not moved";
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DemoFilesTest, DroppingAFileOfTheShownFolderKeepsItAndSaysWhy) {
    ShowFolderWith({L"a.dem"});
    WriteFileBytes(dir / "a.dem", "precious");
    prompter.QueueAnswer(ui::Answer::Ok);
    SendMessageW(Control(ControlId::Files), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({(dir.Path() / L"a.dem").wstring()})), 0);
    EXPECT_EQ(ReadFileBytes(dir / "a.dem"), "precious");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find(L"could not be copied"), std::wstring::npos);
    EXPECT_EQ(ListItems(ControlId::Files), std::vector<std::wstring>{L"a.dem"});
}

TEST_F(DemoFilesTest, DroppingAVanishedFileIsSaidAndTheListStaysUsable) {
    ShowFolderWith({L"a.dem"});
    TempDir source;
    prompter.QueueAnswer(ui::Answer::Ok);
    SendMessageW(Control(ControlId::Files), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({(source.Path() / L"gone.dem").wstring()})), 0);
    EXPECT_EQ(prompter.messages.size(), 1u);
    ClickDemo(0);
    EXPECT_TRUE(DemoButtonsEnabled());
}

}  // namespace
}  // namespace vorelix::test
