// The utilities window's three tools driven through their controls over synthetic demos, one case for
// each: every written demo is compared byte for byte with the original and the runs the command was
// meant to write. What each command writes, leaves out or refuses is decided in src/demo and tested in
// tests/demo, the write's refusals on real files in tests/platform; here what the window adds: its
// lists, states, messages and backup copies.
#include <gtest/gtest.h>

#include <chrono>

#include "RealDemos.h"
#include "SyntheticDemo.h"
#include "UtilitiesWindowFixture.h"
#include "platform/Text.h"

namespace vorelix::test {
namespace {

using ui::MessageIcon;
using Id = ui::UtilitiesControlId;
using Names = std::vector<std::wstring>;

const Box kNickSaved{L"The new nick are successfully saved!", L"All OK!", MessageIcon::Information};
const Box kEdited{L"The message are successfully edited and saved!", L"All OK!", MessageIcon::Information};
const Box kRemoved{L"The selected messages are successfully removed!", L"All OK!", MessageIcon::Information};
const std::vector<ui::Answer> kOk{ui::Answer::Ok}, kYesOk{ui::Answer::Yes, ui::Answer::Ok};
const std::string kStx = "\x02";
const std::string kDima = "\xD0\x94\xD0\xB8\xD0\xBC\xD0\xB0";  // Дима in UTF-8
// A StatsMe marker, format byte 0x00 and 18 bytes before its text "abc".
const std::string kInscription = std::string("\x17\x1D\x01\x00", 4) + std::string(18, '\x05') + "abc";

// Nick starts (0-based): 1006 abcdefgh, 1106 abc, 1206 abc, 1306 Дима, 1406 empty, 1506 Abc.
std::string NickDemo() {
    return MakeDemo(4000, {{1000, "\\name\\abcdefgh\\"},
                           {1100, "\\name\\abc\\"},
                           {1200, "\\name\\abc\\"},
                           {1300, "\\name\\" + kDima + "\\"},
                           {1400, "\\name\\\\"},
                           {1500, "\\name\\Abc\\"}});
}

// Entry starts (0-based): 1001 Ann; 1101 Bob, twice (the second spans Eve's line, which has no 0x02);
// 1201 Tom, with bytes Windows-1252 leaves undefined; 1301 Дима, all in UTF-8.
const std::string kTom = "Tom :   \x81\x8D ok";
std::string ChatDemo() {
    return MakeDemo(4000, {{1000, kStx + "Ann :   hello all\n"},
                           {1100, kStx + "Bob :   first\nxyEve :   second\n"},
                           {1200, kStx + kTom + "\n"},
                           {1300, kStx + kDima + " :   \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n"}});
}

TEST_F(UtilitiesWindowTest, NickEditorListsTheNicksAndSavesOverOneOrEverySimilarNick) {
    Open(NickDemo());
    Click(Id::LoadNicksButton);
    HWND nicks = Control(Id::NickList);
    EXPECT_EQ(Items(nicks), (Names{L"abcdefgh", L"abc", L"abc", L"Дима", L"", L"Abc"}));
    EXPECT_FALSE(IsWindowEnabled(Control(Id::LoadNicksButton)));
    EXPECT_TRUE(Editable(Id::NickList) && Editable(Id::NewNickBox));  // the options: Click checks them
    EXPECT_EQ(Press(Id::SaveNickButton),
              (Box{L"Select the nick to change in the list first. Nothing is written.", L"Vorelix",
                   MessageIcon::Exclamation}));

    // A selection shows the nick and disables Save until it is changed. "All similar" first, then
    // only the one selected.
    Pick(nicks, 1);
    EXPECT_EQ(Text(Control(Id::NewNickBox)), L"abc");
    EXPECT_FALSE(IsWindowEnabled(Control(Id::SaveNickButton)));
    Click(Id::AllSimilarOption);
    PasteNick(L"xy");
    EXPECT_EQ(Press(Id::SaveNickButton), kNickSaved);
    Click(Id::OnlySelectedOption);
    Pick(nicks, 0);
    PasteNick(L"Q");
    EXPECT_EQ(Press(Id::SaveNickButton), kNickSaved);
    std::string expected = WithPieces(original, {{1006, "Q       "}, {1106, "xy "}, {1206, "xy "}});
    EXPECT_TRUE(DemoIs(expected));
    EXPECT_EQ(Items(nicks), (Names{L"Q", L"xy", L"xy", L"Дима", L"", L"Abc"}));

    // Refused with the character named, nothing written.
    Pick(nicks, 5);
    PasteNick(L"\u03A9");
    const std::wstring refusal = std::get<0>(Press(Id::SaveNickButton));
    EXPECT_EQ(
        refusal.rfind(L"The new nick cannot be written into the demo: the character \"\u03A9\" (U+03A9)", 0),
        0u)
        << platform::WideToUtf8(refusal);
    EXPECT_TRUE(DemoIs(expected));

    // A UTF-8 nick keeps to its 8 bytes in the box; an empty one takes nothing.
    Pick(nicks, 3);
    PasteNick(L"Ж", false);
    EXPECT_EQ(Text(Control(Id::NewNickBox)), L"Дима");
    Pick(nicks, 4);
    PasteNick(L"x");
    EXPECT_EQ(Text(Control(Id::NewNickBox)), L"");
    EXPECT_TRUE(Backups().empty()) << "the backup box was not ticked";
}

TEST_F(UtilitiesWindowTest, ChatEditorListsTheLinesEditsTheCurrentOneAndDeletesTheSelected) {
    Open(ChatDemo());
    Click(Id::LoadChatButton);
    HWND chat = Control(Id::ChatList);
    const std::wstring tom = platform::BytesToWide(kTom, platform::DemoCodePage());
    EXPECT_EQ(Items(chat), (Names{L"Ann :   hello all", L"Bob :   first", L"Bob :   first\nxyEve :   second",
                                  tom, L"Дима :   привет"}));
    EXPECT_EQ(SendMessageW(chat, LB_GETSELCOUNT, 0, 0) + SendMessageW(chat, LB_GETSEL, 0, 0), 2)
        << "the first is selected";
    EXPECT_EQ(SendMessageW(chat, LB_GETCARETINDEX, 0, 0), 0) << "and current";
    EXPECT_FALSE(IsWindowEnabled(Control(Id::LoadChatButton)));
    EXPECT_TRUE(Editable(Id::ChatList));  // its buttons: Click checks them

    // A double click edits as the button does: from the entry's first line, and both entries starting
    // there show the new text.
    SelectChat({2});
    prompter.QueueText(L"Bob :   1234567890");
    EXPECT_EQ(Told([&] { Notify(chat, LBN_DBLCLK); }), kEdited);
    EXPECT_EQ((Names{prompter.inputs[0].prompt, prompter.inputs[0].title, prompter.inputs[0].initialText}),
              (Names{L"Enter the new message:", L"Editing", L"Bob :   first"}));
    std::string expected = WithPieces(original, {{1101, "Bob :   12345"}});
    EXPECT_TRUE(DemoIs(expected));
    EXPECT_EQ(Items(chat)[1], L"Bob :   12345");
    EXPECT_EQ(Items(chat)[2], L"Bob :   12345\nxyEve :   second");

    // Cancelled: nothing at all. A character the code page of the entry lacks: refused, named.
    SelectChat({3});
    prompter.QueueText(L"");
    EXPECT_EQ(Told([&] { Click(Id::EditMessageButton); }, {}), Box{});
    prompter.QueueText(L"\u03A9");
    const std::wstring refusal = std::get<0>(Press(Id::EditMessageButton));
    EXPECT_EQ(refusal.rfind(L"The new message cannot be written into the demo: the character \"\u03A9\"", 0),
              0u)
        << platform::WideToUtf8(refusal);
    EXPECT_TRUE(DemoIs(expected));

    SelectChat({});
    EXPECT_EQ(Press(Id::DeleteMessageButton),
              (Box{L"And why messages for removal are not selected? What to delete?", L"Hmm",
                   MessageIcon::Critical}));
    // The entry left that starts where a deleted one did shows the blanks.
    SelectChat({0, 1});
    EXPECT_EQ(Press(Id::DeleteMessageButton), kRemoved);
    EXPECT_EQ(Items(chat), (Names{std::wstring(13, L' ') + L"\nxyEve :   second", tom, L"Дима :   привет"}));
    SelectChat({0, 1, 2});
    EXPECT_EQ(Press(Id::DeleteMessageButton), kRemoved);
    // Blanks over what each entry could be written over; the line feed and Eve's line stay.
    EXPECT_TRUE(DemoIs(WithPieces(expected, {{1001, std::string(17, ' ')},
                                             {1201, std::string(kTom.size(), ' ')},
                                             {1101, std::string(13, ' ')},
                                             {1301, std::string(25, ' ')}})));
    EXPECT_EQ(Press(Id::EditMessageButton), (Box{L"There is no message to edit. Nothing is written.",
                                                 L"Vorelix", MessageIcon::Exclamation}));
    EXPECT_TRUE(IsWindowEnabled(Control(Id::DeleteMessageButton))) << "the loaded state stays";
}

// Counter-Strike 1.6 chat, which only the message reader finds: listed with its sender, edited and
// blanked within its text's bytes.
TEST_F(UtilitiesWindowTest, ChatEditorListsEditsAndDeletesTheLinesOfTheMessages) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    Open(ReadFileBytes(RealDemosDir() / "uds_antifak.dem"));
    Click(Id::LoadChatButton);
    HWND chat = Control(Id::ChatList);
    EXPECT_EQ(Items(chat), Names(7, L"222ahahahaha555: Test spam"));

    SelectChat({6});
    prompter.QueueText(L"gg");
    EXPECT_EQ(Press(Id::EditMessageButton), kEdited);
    EXPECT_EQ(prompter.inputs[0].initialText, L"Test spam");
    std::string expected = WithPieces(original, {{737996, "gg       "}});
    EXPECT_TRUE(DemoIs(expected));
    EXPECT_EQ(Items(chat)[6], L"222ahahahaha555: gg       ");

    SelectChat({0});
    EXPECT_EQ(Press(Id::DeleteMessageButton), kRemoved);
    EXPECT_TRUE(DemoIs(WithPieces(expected, {{51556, std::string(9, ' ')}})));
    EXPECT_EQ(Items(chat).size(), 6u);
}

// The StatsMe removal asks first; with the backup box ticked, a copy of the demo precedes each change.
TEST_F(UtilitiesWindowTest, StatsMeIsRemovedAfterAWarningAndEachChangeFollowsABackupCopy) {
    Open(WithPieces(NickDemo(), {{2100, kInscription}}));
    Click(Id::BackupBox);
    EXPECT_EQ(
        Press(Id::DeleteStatsMeButton, {ui::Answer::No}),
        (Box{L"Warning! This option may be work incorrectly with newest versions of StatsMe mod. Do you want "
             L"to continue?",
             L"Are you sure?", MessageIcon::Question}));
    EXPECT_EQ(prompter.messages.back().buttons, ui::MessageButtons::YesNo);
    EXPECT_TRUE(DemoIs(original));
    EXPECT_TRUE(Backups().empty()) << "no copy for a removal not made";
    EXPECT_EQ(Press(Id::DeleteStatsMeButton, kYesOk),
              (Box{L"All inscriptions of StatsMe mod are successfully removed!", L"All OK!",
                   MessageIcon::Information}));
    const std::string removed = WithPieces(original, {{2122, "   "}});
    EXPECT_TRUE(DemoIs(removed));
    EXPECT_FALSE(IsWindowEnabled(Control(Id::DeleteStatsMeButton)));

    Click(Id::LoadNicksButton);
    Pick(Control(Id::NickList), 1);
    PasteNick(L"x");
    EXPECT_EQ(Press(Id::SaveNickButton), kNickSaved);
    EXPECT_TRUE(Backups() == (std::multiset{original, removed})) << "a copy before each change";
}

// A command that cannot do its work says what went wrong and leaves its button usable.
TEST_F(UtilitiesWindowTest, ShortEmptyOrMissingDemosAreRefusedWithTheReason) {
    const std::string tiny = MakeDemo(999, {{500, "\\name\\Ann\\"}, {600, kStx + "Ann :   hi\n"}});
    const Box tooShort{L"An error occur during open file...The demo is shorter than 1,000 bytes.", L"Vorelix",
                       MessageIcon::Critical};
    const Box notFound{L"Inscriptions of StatsMe mod are not found!", L"Vorelix", MessageIcon::Critical};
    const Box openFailed{L"An error occur during open file...", L"Vorelix", MessageIcon::Critical};
    const Box writeFailed{L"An error occur ;( : ", L"Vorelix", MessageIcon::Critical};
    const struct {
        std::string demo;  // empty: no file at all
        Id button;
        Box box;
    } rows[] = {
        {tiny, Id::LoadNicksButton, tooShort},
        {tiny, Id::LoadChatButton, tooShort},
        {MakeDemo(1000), Id::DeleteStatsMeButton, notFound},
        {MakeDemo(1000),
         Id::LoadChatButton,
         {L"The demo don't have any chat messages!", L"Nothing...", MessageIcon::Exclamation}},
        {"", Id::LoadNicksButton, openFailed},
        {"", Id::LoadChatButton, openFailed},
        {"", Id::DeleteStatsMeButton, writeFailed},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ui::ToInt(row.button));
        Open(row.demo);
        if (row.demo.empty()) std::filesystem::remove(demoPath);
        auto [text, title, icon] = Press(row.button, row.button == Id::DeleteStatsMeButton ? kYesOk : kOk);
        if (row.demo.empty()) {
            EXPECT_GT(text.size(), std::get<0>(row.box).size()) << "the system's text follows";
            text.resize(std::get<0>(row.box).size());
        }
        EXPECT_EQ((Box{text, title, icon}), row.box);
        EXPECT_TRUE(IsWindowEnabled(Control(row.button)));
        EXPECT_FALSE(Editable(Id::NickList) || Editable(Id::ChatList));
        EXPECT_TRUE(row.demo.empty() || DemoIs(row.demo));
    }
}

// A demo spoiled while the window is open: every writing command says so and changes nothing. The
// write's other refusals (a demo deleted or held open meanwhile) are the plan's, tested in tests/platform.
TEST_F(UtilitiesWindowTest, ADemoMadeReadOnlyOrRewrittenMeanwhileIsNeverPartlyWritten) {
    const std::string demo = WithPieces(NickDemo(), {{2000, kStx + "Ann :   hi\n"}, {2100, kInscription}});
    for (const bool rewritten : {false, true}) {
        SCOPED_TRACE(rewritten ? "rewritten" : "read-only");
        Open(demo);
        Click(Id::BackupBox);
        Click(Id::LoadNicksButton);
        Click(Id::LoadChatButton);
        if (!rewritten) SetFileAttributesW(demoPath.c_str(), FILE_ATTRIBUTE_READONLY);
        // Another program writes the demo anew, as long as before: what was loaded no longer holds.
        if (rewritten) {
            original = WithPieces(demo, {{1500, "rewritten"}});
            WriteFileBytes(demoPath, original);
            std::filesystem::last_write_time(
                demoPath, std::filesystem::last_write_time(demoPath) + std::chrono::hours(1));
        }
        Pick(Control(Id::NickList), 0);
        PasteNick(L"Zed");
        prompter.QueueText(L"Ann :   yo");
        // The StatsMe removal reads the demo when it is pressed, so it works on a rewritten demo.
        std::vector<Id> commands{Id::SaveNickButton, Id::EditMessageButton, Id::DeleteMessageButton};
        if (!rewritten) commands.push_back(Id::DeleteStatsMeButton);
        for (Id command : commands) {
            const auto [text, title, icon] =
                Press(command, command == Id::DeleteStatsMeButton ? kYesOk : kOk);
            EXPECT_EQ(text.rfind(L"An error occur ;( : ", 0), 0u) << platform::WideToUtf8(text);
            EXPECT_GT(text.size(), 20u) << "the system's text follows";
            EXPECT_EQ((Box{L"", title, icon}), (Box{L"", L"Vorelix", MessageIcon::Critical}));
        }
        // A failed Save leaves the nick editor unusable until the window is opened again.
        EXPECT_FALSE(Editable(Id::NickList) || Editable(Id::NewNickBox) ||
                     IsWindowEnabled(Control(Id::SaveNickButton)) ||
                     IsWindowEnabled(Control(Id::LoadNicksButton)));
        EXPECT_TRUE(IsWindowEnabled(Control(Id::OnlySelectedOption)) && Editable(Id::ChatList) &&
                    IsWindowEnabled(Control(Id::DeleteStatsMeButton)));
        EXPECT_TRUE(rewritten || Backups().empty()) << "no copy of a demo that cannot be written";
        SetFileAttributesW(demoPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(DemoIs(original));
    }
}

}  // namespace
}  // namespace vorelix::test
