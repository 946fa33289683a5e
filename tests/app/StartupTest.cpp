// Start-up and shutdown on a real main window: first run, second instance, a demo on the command
// line, the remembered folder, restored settings, and the command line saved at close.
#include <gtest/gtest.h>

#include <filesystem>

#include "MainWindowFixture.h"
#include "TempDir.h"
#include "app/Startup.h"
#include "platform/Registry.h"

namespace vorelix::test {
namespace {

class StartupTest : public MainWindowTest {
  protected:
    app::StartupContext Context(const std::wstring& argument = L"") {
        launch::AssociationRoots roots;
        roots.primaryRoot = roots.fallbackRoot = TestRegistryKey::Root();
        roots.primaryPrefix = key / L"Classes\\";
        roots.fallbackPrefix = key / L"UserClasses\\";
        roots.notifyShell = false;
        return {settings, prompter, {L"C:\\Program Files\\Vorelix", L"vorelix"}, argument, roots};
    }
    void Start(const std::wstring& argument = L"") { app::RunStartup(*window, Context(argument)); }
    void NotFirstRun() { settings.SetString(L"main", L"firstrun", L"0"); }
    std::wstring Setting(const wchar_t* section, const wchar_t* name) {
        return settings.GetString(section, name, L"<absent>");
    }
    // A new main window, as the next start of the program makes it.
    void Restart() {
        window = std::make_unique<ui::MainWindow>(Services());
        ASSERT_TRUE(window->IsCreated());
    }

    TempDir demos;
};

TEST_F(StartupTest, FirstRunYesRegistersDemFilesAndIsNeverAskedAgain) {
    prompter.QueueAnswer(ui::Answer::Yes);
    Start();

    ASSERT_EQ(prompter.messages.size(), 1u);
    const auto& question = prompter.messages[0];
    EXPECT_EQ(question.title, L"Your first run!");
    EXPECT_EQ(question.text,
              L"Welcome to Vorelix! \r\nWith this program you may easily view CS demos!\r\n\r\n"
              L"Do you want to register .dem files with Vorelix?");
    EXPECT_EQ(question.icon, ui::MessageIcon::Question);
    EXPECT_EQ(question.buttons, ui::MessageButtons::YesNo);

    for (const auto& [subkey, value] :
         {std::pair{L".dem", L"vorelix_file"},
          std::pair{L"vorelix_file\\DefaultIcon", L"C:\\Program Files\\Vorelix\\vorelix.exe,0"},
          std::pair{L"vorelix_file\\shell\\open\\command",
                    L"\"C:\\Program Files\\Vorelix\\vorelix.exe\" %1"}})
        EXPECT_EQ(platform::GetRegString(TestRegistryKey::Root(), key / L"Classes\\" + subkey, L""), value);
    EXPECT_EQ(Setting(L"main", L"firstrun"), L"0");

    Restart();
    Start();  // an unscripted box would fail the test
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(StartupTest, FirstRunNoRegistersNothing) {
    prompter.QueueAnswer(ui::Answer::No);
    Start();
    EXPECT_FALSE(platform::GetRegString(TestRegistryKey::Root(), key / L"Classes\\.dem", L""));
    EXPECT_EQ(Setting(L"main", L"firstrun"), L"0");
}

TEST_F(StartupTest, RefusedAssociationGoesToTheUsersOwnClassesAndIsReportedOnlyWhenThatIsRefusedToo) {
    // A lasting key cannot be made below a volatile one: a refusing root refuses every write.
    const std::wstring refusing = key.CreateVolatile(L"Refusing") + L"\\";
    for (const bool fallbackRefuses : {false, true}) {
        auto context = Context();
        context.associationRoots.primaryPrefix = refusing;
        if (fallbackRefuses) context.associationRoots.fallbackPrefix = refusing;
        settings.SetString(L"main", L"firstrun", L"1");
        prompter.QueueAnswer(ui::Answer::Yes);
        if (fallbackRefuses) prompter.QueueAnswer(ui::Answer::Ok);
        app::RunStartup(*window, context);
        EXPECT_EQ(Setting(L"main", L"firstrun"), L"0") << "the question is not asked again";
    }
    EXPECT_EQ(platform::GetRegString(TestRegistryKey::Root(), key / L"UserClasses\\.dem", L""),
              L"vorelix_file");
    ASSERT_EQ(prompter.messages.size(), 3u) << "a successful fallback is not an error";
    EXPECT_NE(prompter.messages[2].text.find(L"could not be registered"), std::wstring::npos);
}

TEST_F(StartupTest, SecondInstanceSaysHmmAndStops) {
    app::SingleInstanceGuard first(L"Local\\Vorelix.StartupTest.Instance");
    app::SingleInstanceGuard second(L"Local\\Vorelix.StartupTest.Instance");
    ASSERT_TRUE(first.IsFirstInstance());
    prompter.QueueAnswer(ui::Answer::Ok);

    EXPECT_FALSE(app::PassSingleInstanceTest(second.IsFirstInstance(), prompter));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, L"One instance of the program is currently runnig! Using it!");
    EXPECT_EQ(prompter.messages[0].title, L"Hmm");
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::Ok);
    EXPECT_TRUE(app::PassSingleInstanceTest(first.IsFirstInstance(), prompter));
}

TEST_F(StartupTest, DemoOnTheCommandLineIsShownSelectedAndRemembered) {
    MakeFiles(demos.Path(), {L"a.dem", L"Матч 2.dem", L"c.dem"});
    NotFirstRun();
    Start(FolderText(demos / "Матч 2.dem"));

    EXPECT_EQ(window->DemoFolder(), FolderText(demos.Path()));
    ASSERT_GE(window->SelectedDemoIndex(), 0);
    EXPECT_EQ(window->DemoEntry(window->SelectedDemoIndex()), L"Матч 2.dem");
    EXPECT_EQ(DemoPathSetting(), FolderText(demos.Path()));
    EXPECT_TRUE(DemoButtonsEnabled());
    EXPECT_NE(ControlText(ui::ControlId::InfoBox).find(L"Demo name: Матч 2.dem\r\nMap: de_dust2"),
              std::wstring::npos);
    EXPECT_EQ(FolderShown(), FolderText(demos.Path()));
}

TEST_F(StartupTest, DemoNamedByAnotherSpellingIsFoundToo) {
    MakeFiles(demos.Path(), {L"a.dem", L"long demo name.dem"});
    NotFirstRun();
    std::wstring spelled = FolderText(demos / "long demo name.dem");
    wchar_t shortName[MAX_PATH];
    // Wine gives 8.3 aliases on some drives only; the upper-case spelling always differs.
    if (GetShortPathNameW(spelled.c_str(), shortName, MAX_PATH) > 0 && spelled != shortName) {
        spelled = shortName;
    } else {
        CharUpperBuffW(spelled.data(), static_cast<DWORD>(spelled.size()));
    }
    Start(spelled);
    ASSERT_GE(window->SelectedDemoIndex(), 0);
    EXPECT_EQ(window->DemoEntry(window->SelectedDemoIndex()), L"long demo name.dem");
}

TEST_F(StartupTest, ArgumentThatIsNoFileGivesAnOrdinaryStart) {
    MakeFiles(demos.Path(), {L"a.dem"});
    TempDir remembered;
    MakeFiles(remembered.Path(), {L"r.dem"});
    NotFirstRun();
    settings.SetString(L"CooMMon", L"HLEXEPath", L"C:\\Games\\Half-Life\\hl.exe");
    settings.SetString(L"CooMMon", L"DemoPath", FolderText(remembered.Path()));

    // Quotes are not removed from the argument, so a quoted path names no file.
    Start(L"\"" + FolderText(demos / "a.dem") + L"\"");
    EXPECT_EQ(window->DemoFolder(), FolderText(remembered.Path()));
    EXPECT_EQ(window->SelectedDemoIndex(), -1);
    EXPECT_FALSE(DemoButtonsEnabled());
}

TEST_F(StartupTest, FirstStartWithoutGameStaysInTheCurrentFolder) {
    MakeFiles(demos.Path(), {L"here.dem"});
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(FolderText(demos.Path()).c_str()));
    Restart();
    prompter.QueueAnswer(ui::Answer::No);
    Start();
    SetCurrentDirectoryW(previous);

    EXPECT_EQ(window->DemoFolder(), FolderText(demos.Path()));
    EXPECT_EQ(ListItems(ui::ControlId::DemoList), std::vector<std::wstring>{L"here.dem"});
    EXPECT_EQ(window->SelectedDemoIndex(), -1);
    EXPECT_FALSE(DemoButtonsEnabled());
}

TEST_F(StartupTest, RememberedFolderThatVanishedLeavesTheStartingFolderQuietly) {
    NotFirstRun();
    const std::wstring before = window->DemoFolder();
    settings.SetString(L"CooMMon", L"HLEXEPath", L"C:\\Games\\Half-Life\\hl.exe");
    settings.SetString(L"CooMMon", L"DemoPath", FolderText(demos / "gone"));
    Start();
    EXPECT_EQ(window->DemoFolder(), before);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StartupTest, StoredSettingsAreRestoredIntoTheWindow) {
    NotFirstRun();
    settings.SetString(L"CooMMon", L"HLEXEPath", L"C:\\Игры\\hl.exe");
    settings.SetString(L"CooMMon", L"CommandLine", L"-game cstrike  -dev ");
    settings.SetString(L"main", L"graphmode", L"2");
    settings.SetString(L"main", L"graphres", L"9");
    Start();

    EXPECT_EQ(window->HLPathText(), L"C:\\Игры\\hl.exe");
    EXPECT_EQ(window->CommandLineText(), L"-game cstrike  -dev ");
    EXPECT_EQ(ListSelection(ui::ControlId::RendererBox), 2);
    EXPECT_EQ(ListSelection(ui::ControlId::ResolutionBox), -1) << "a stored index outside the list";
    EXPECT_EQ(Setting(L"main", L"graphres"), L"9") << "nothing selected, nothing written back";
}

TEST_F(StartupTest, DefaultsWhenNothingIsStored) {
    NotFirstRun();
    settings.SetString(L"main", L"graphmode", L"abc");
    Start();
    EXPECT_EQ(window->HLPathText(), L"");
    EXPECT_EQ(window->CommandLineText(), L"-game cstrike -console");
    EXPECT_EQ(ListSelection(ui::ControlId::RendererBox), -1) << "an unreadable number skips the step";
    EXPECT_EQ(ListSelection(ui::ControlId::ResolutionBox), 4);
    EXPECT_EQ(Setting(L"main", L"graphres"), L"4");
}

TEST_F(StartupTest, ShutdownSavesTheCommandLineAsTyped) {
    NotFirstRun();
    Start();
    window->SetCommandLineText(L"  -game cstrike -console +имя ");
    app::RunShutdown(*window, settings);
    EXPECT_EQ(Setting(L"CooMMon", L"CommandLine"), L"  -game cstrike -console +имя ");

    Restart();
    Start();
    EXPECT_EQ(window->CommandLineText(), L"  -game cstrike -console +имя ");
}

}  // namespace
}  // namespace vorelix::test
