// Start-up and shutdown on a real main window: first run, second instance, a demo on the command
// line, the folder to start in, and the settings restored at start and kept at close.
#include <gtest/gtest.h>

#include <filesystem>

#include "MainWindowFixture.h"
#include "TempDir.h"
#include "app/Startup.h"
#include "platform/Registry.h"

namespace vorelix::test {
namespace {

using ui::ControlId;

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
    std::optional<std::wstring> Registered(const std::wstring& subkey) const {
        return platform::GetRegString(TestRegistryKey::Root(), key / L"Classes\\" + subkey, L"");
    }

    TempDir demos;
};

TEST_F(StartupTest, TheFirstRunAsksOnceAndYesRegistersDemFilesOrSaysWhyItCouldNot) {
    // A lasting key cannot be made below a volatile one: a refusing root refuses every write.
    const std::wstring refusing = key.CreateVolatile(L"Refusing") + L"\\";
    for (const auto& [answer, refused] : {std::pair{ui::Answer::No, false}, std::pair{ui::Answer::Yes, true},
                                          std::pair{ui::Answer::Yes, false}}) {
        settings.SetString(L"main", L"firstrun", L"1");
        auto context = Context();
        if (refused)
            context.associationRoots.primaryPrefix = context.associationRoots.fallbackPrefix = refusing;
        prompter.QueueAnswer(answer);
        if (refused) prompter.QueueAnswer(ui::Answer::Ok);
        app::RunStartup(*window, context);
        EXPECT_EQ(Setting(L"main", L"firstrun"), L"0") << "the question is not asked again";
        EXPECT_EQ(Registered(L".dem").has_value(), answer == ui::Answer::Yes && !refused);
    }
    ASSERT_EQ(prompter.messages.size(), 4u);
    EXPECT_EQ(BoxOf(prompter.messages[0]),
              (Box{L"Welcome to Vorelix! \r\nWith this program you may easily view CS demos!\r\n\r\n"
                   L"Do you want to register .dem files with Vorelix?",
                   L"Your first run!", ui::MessageIcon::Question}));
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_NE(prompter.messages[2].text.find(L".dem files could not be registered"), std::wstring::npos);
    for (const auto& [subkey, value] :
         {std::pair{L".dem", L"vorelix_file"},
          std::pair{L"vorelix_file\\DefaultIcon", L"C:\\Program Files\\Vorelix\\vorelix.exe,0"},
          std::pair{L"vorelix_file\\shell\\open\\command",
                    L"\"C:\\Program Files\\Vorelix\\vorelix.exe\" %1"}})
        EXPECT_EQ(Registered(subkey), value);

    Restart();
    Start();  // an unscripted box would fail the test
    EXPECT_EQ(prompter.messages.size(), 4u);
}

TEST_F(StartupTest, ASecondInstanceSaysHmmAndStops) {
    EXPECT_TRUE(app::PassSingleInstanceTest(true, prompter));
    EXPECT_EQ(Told([&] { EXPECT_FALSE(app::PassSingleInstanceTest(false, prompter)); }),
              (Box{L"One instance of the program is currently runnig! Using it!", L"Hmm",
                   ui::MessageIcon::Exclamation}));
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::Ok);
}

// A demo named on the command line is selected however its path is spelled (the launch tests start with one).
TEST_F(StartupTest, ADemoOnTheCommandLineIsSelectedHoweverItsPathIsSpelled) {
    MakeFiles(demos.Path(), {L"a.dem", L"long demo name.dem"});
    settings.SetString(L"main", L"firstrun", L"0");
    std::wstring spelled = FolderText(demos / "long demo name.dem");
    wchar_t shortName[MAX_PATH];
    // Wine gives 8.3 aliases on some drives only; the upper-case spelling always differs.
    if (GetShortPathNameW(spelled.c_str(), shortName, MAX_PATH) > 0 && spelled != shortName)
        spelled = shortName;
    else
        CharUpperBuffW(spelled.data(), static_cast<DWORD>(spelled.size()));
    Start(spelled);
    ASSERT_GE(window->SelectedDemoIndex(), 0);
    EXPECT_EQ(window->DemoEntry(window->SelectedDemoIndex()), L"long demo name.dem");
    EXPECT_EQ(Text(Control(ControlId::InfoBox)).rfind(L"Demo name: long demo name.dem\r\nMap: de_dust2", 0),
              0u);
}

TEST_F(StartupTest, WithoutADemoTheListStartsInTheRememberedFolderOnlyWhenTheGameIsKnownAndItStillExists) {
    TempDir remembered;
    MakeFiles(demos.Path(), {L"a.dem"});
    settings.SetString(L"main", L"firstrun", L"0");
    const struct {
        std::wstring argument, hlExe, demoPath;
        bool startsThere;  // else in the process's current folder, where the window started
    } starts[] = {
        // Quotes are not removed from the argument, so a quoted path names no file.
        {L"\"" + FolderText(demos / "a.dem") + L"\"", L"C:\\Games\\Half-Life\\hl.exe",
         FolderText(remembered.Path()), true},
        {L"", L"", FolderText(remembered.Path()), false},
        {L"", L"C:\\Games\\Half-Life\\hl.exe", FolderText(demos / "gone"), false},  // quietly
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(testing::PrintToString(start.argument + L"|" + start.hlExe + L"|" + start.demoPath));
        settings.SetString(L"CooMMon", L"HLEXEPath", start.hlExe);
        settings.SetString(L"CooMMon", L"DemoPath", start.demoPath);
        Restart();
        const std::wstring startingFolder = window->DemoFolder();
        Start(start.argument);
        EXPECT_EQ(window->DemoFolder(), start.startsThere ? start.demoPath : startingFolder);
        EXPECT_EQ(window->SelectedDemoIndex(), -1);
    }
}

TEST_F(StartupTest, SettingsMadeInTheWindowAreRestoredAtTheNextStartAndDefaultsStandInForTheRest) {
    settings.SetString(L"main", L"firstrun", L"0");
    settings.SetString(L"main", L"graphmode", L"abc");
    Start();
    EXPECT_EQ(window->HLPathText() + L"|" + window->CommandLineText(), L"|-game cstrike -console");
    EXPECT_EQ(Selection(Control(ControlId::RendererBox)), -1) << "an unreadable number skips the step";
    EXPECT_EQ(Selection(Control(ControlId::ResolutionBox)), 4);
    EXPECT_EQ(Setting(L"main", L"graphres"), L"4");

    // Each pick is saved at once; the command line as typed at shutdown.
    Pick(Control(ControlId::RendererBox), 2);
    Pick(Control(ControlId::ResolutionBox), 7);
    EXPECT_EQ(Setting(L"main", L"graphmode") + Setting(L"main", L"graphres"), L"27");
    window->SetCommandLineText(L"  -game cstrike -console +имя ");
    app::RunShutdown(*window, settings, &prompter);
    EXPECT_EQ(Setting(L"CooMMon", L"CommandLine"), L"  -game cstrike -console +имя ");
    settings.SetString(L"CooMMon", L"HLEXEPath", L"C:\\Игры\\hl.exe");
    Restart();
    Start();
    EXPECT_EQ(window->HLPathText() + L"|" + window->CommandLineText(),
              L"C:\\Игры\\hl.exe|  -game cstrike -console +имя ");
    EXPECT_EQ(
        std::pair(Selection(Control(ControlId::RendererBox)), Selection(Control(ControlId::ResolutionBox))),
        std::pair(2, 7));
}

}  // namespace
}  // namespace vorelix::test
