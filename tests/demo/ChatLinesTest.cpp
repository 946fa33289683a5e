// Chat lines the message reader finds beside the byte rule's: listed once each, after them, shown
// with their sender, and edited or blanked within their text's bytes alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "MessageDemo.h"
#include "RealDemos.h"
#include "TempDir.h"
#include "demo/edit/ChatEdit.h"
#include "demo/edit/ChatLines.h"
#include "demo/edit/WritePlan.h"

namespace vorelix::demo {
namespace {

using namespace vorelix::test;
using Listed = std::vector<std::pair<std::int64_t, std::string>>;

std::string Say(std::uint8_t sender, std::string_view token, std::string_view name, std::string_view text) {
    return UserMessage(kSayText,
                       std::string(1, static_cast<char>(sender)) + Text(token) + Text(name) + Text(text));
}

Listed ListOf(const std::vector<ChatEntry>& lines) {
    Listed listed;
    for (const ChatEntry& line : lines) listed.emplace_back(line.position, ListedText(line));
    return listed;
}

// The demo with the plan's runs written over it, as ApplyWritePlan writes them.
std::string Written(std::string demo, const WritePlan& plan) {
    EXPECT_TRUE(CheckPlanFits(plan).ok());
    for (const Overwrite& run : plan.runs) {
        EXPECT_EQ(demo.substr(run.offset, run.expected.size()), run.expected);
        EXPECT_EQ(run.expected.size(), run.bytes.size());
        demo.replace(run.offset, run.bytes.size(), run.bytes);
    }
    return demo;
}

// The chat texts the reader finds in a demo, and whether it still decodes every frame.
std::vector<std::string> ReadTexts(const std::string& demo) {
    const EventsRead read(demo);
    EXPECT_TRUE(read.ok && read.outcome.Whole()) << net::DescribeOutcome(read.outcome);
    std::vector<std::string> texts;
    for (const net::Event& event : read.events)
        if (const auto* chat = std::get_if<net::ChatEvent>(&event.what)) texts.push_back(chat->text);
    return texts;
}

class MessageChat : public ::testing::Test {
  protected:
    std::size_t At(std::string_view text) const { return demo.bytes.find(text); }
    std::int64_t PositionOf(std::string_view text) const { return static_cast<std::int64_t>(At(text)) + 1; }

    // Alice's 1.6 line, an older line that both the byte rule and the reader find, an empty text,
    // a server line and Alice's line after her rename.
    const FramedDemo demo = MakeMessageDemo(
        {StandardSetUp(), UserInfo(0, 1, "\\name\\Alice") + UserInfo(1, 2, "\\name\\Bob")},
        {{1.0f, Say(1, "#Cstrike_Chat_All", "", "hello all\n") + Say(2,
                                                                     "\x02"
                                                                     "Bob :   old line\n",
                                                                     "", "")},
         {2.0f, Say(2, "#Cstrike_Chat_T", "", "\n") +
                    UserMessage(kSayText, "\x01" + Text("%s") + Text("server says\n"))},
         {3.0f, UserInfo(0, 1, "\\name\\Ally") + Say(1, "#Cstrike_Chat_All", "", "renamed\n")}});
};

TEST_F(MessageChat, ListedAfterTheByteRulesLinesEachOnceWithTheSendersNameThen) {
    ASSERT_GT(demo.bytes.size(), 1000u);
    const auto lines = ScanAllChat(AsBytes(demo.bytes));
    EXPECT_EQ(ListOf(lines), (Listed{
                                 {PositionOf("Bob :   old line"), "Bob :   old line"},
                                 {PositionOf("hello all"), "Alice: hello all"},
                                 {PositionOf("server says"), "server says"},
                                 {PositionOf("renamed"), "Ally: renamed"},
                             }));
    // The texts alone are the entries' bytes: what an edit compares and writes over.
    EXPECT_EQ(lines[1].text, "hello all");
    EXPECT_EQ(lines[1].sender, "Alice");
    // Below 1,000 bytes nothing is listed, as the byte rule lists nothing.
    const std::string small = demo.bytes.substr(0, 999);
    EXPECT_TRUE(ScanAllChat(AsBytes(small)).empty());
}

TEST_F(MessageChat, MergingKeepsTheByteRulesPositionsAndDropsLinesSharingTheirBytes) {
    const std::vector<ChatEntry> byteRule{
        {100, "Ann :   hi"}, {100, "Ann :   hi\nB :   x"}, {300, "C :   y"}};
    const std::vector<ChatEntry> messages{
        {108, "hi", "Ann"},                            // inside the first line
        {110, "xx", "Ann"},                            // just past it, but inside the spanning entry
        {290, "0123456789A", ""},                      // its last byte is the third line's first
        {200, "free", "Dan"},     {202, "ee", "Dan"},  // overlaps the message line kept before it
        {310, "after", "Eve"},
    };
    EXPECT_EQ(ListOf(MergedChatLines(byteRule, messages)), (Listed{{100, "Ann :   hi"},
                                                                   {100, "Ann :   hi\nB :   x"},
                                                                   {300, "C :   y"},
                                                                   {200, "Dan: free"},
                                                                   {310, "Eve: after"}}));
}

TEST_F(MessageChat, EditsAndDeletesWriteTheTextsBytesAloneAndTheDemoStillDecodes) {
    const auto lines = ScanAllChat(AsBytes(demo.bytes));
    const std::size_t hello = 1, renamed = 3;
    const std::uint64_t length = demo.bytes.size();
    const std::size_t helloAt = At("hello all");

    // Shorter: padded with blanks to the text's room; the line feed and the message's length stay.
    auto shorter = PlanChatEdit(lines, hello, "hi", length, TextRule());
    ASSERT_TRUE(shorter.ok());
    std::string expected = demo.bytes;
    expected.replace(helloAt, 9, "hi       ");
    EXPECT_EQ(Written(demo.bytes, shorter->plan), expected);
    EXPECT_EQ(ReadTexts(Written(demo.bytes, shorter->plan))[0], "hi       ");
    ASSERT_EQ(shorter->shown.size(), 1u);
    EXPECT_EQ(shorter->shown[0], (std::pair<std::size_t, std::string>{hello, "hi       "}));

    // Longer: cut to the room.
    auto longer = PlanChatEdit(lines, renamed, "changed again", length, TextRule());
    ASSERT_TRUE(longer.ok());
    expected = demo.bytes;
    expected.replace(At("renamed"), 7, "changed");
    EXPECT_EQ(Written(demo.bytes, longer->plan), expected);

    // A character the code page cannot hold is refused, never written as '?'.
    EXPECT_FALSE(PlanChatEdit(lines, hello, "\xE4\xBD\xA0", length, TextRule()).ok());

    // A delete blanks the texts, the older line as the byte rule always did.
    const EntryEdit deleted = PlanChatDelete(lines, {0, hello}, length);
    expected = demo.bytes;
    expected.replace(helloAt, 9, std::string(9, ' '));
    expected.replace(At("Bob :   old line"), 16, std::string(16, ' '));
    const std::string blanked = Written(demo.bytes, deleted.plan);
    EXPECT_EQ(blanked, expected);
    EXPECT_EQ(ReadTexts(blanked)[0], std::string(9, ' '));
}

TEST(MessageChatReal, SevenLinesOfAntifakListedAndEditedInPlace) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    const std::string bytes = ReadFileBytes(RealDemosDir() / "uds_antifak.dem");
    EXPECT_TRUE(ScanChat(AsBytes(bytes)).empty());  // the byte rule finds none of them
    const auto lines = ScanAllChat(AsBytes(bytes));
    ASSERT_EQ(lines.size(), 7u);
    for (const ChatEntry& line : lines) {
        EXPECT_EQ(ListedText(line), "222ahahahaha555: Test spam");
        EXPECT_EQ(bytes.substr(static_cast<std::size_t>(line.position - 1), 9), "Test spam");
    }
    auto edit = PlanChatEdit(lines, 6, "gg", bytes.size(), TextRule());
    ASSERT_TRUE(edit.ok());
    const std::string written = Written(bytes, edit->plan);
    std::string expected = bytes;
    expected.replace(static_cast<std::size_t>(lines[6].position - 1), 9, "gg       ");
    EXPECT_EQ(written, expected);
    const auto texts = ReadTexts(written);
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[6], "gg       ");
    EXPECT_EQ(texts[5], "Test spam");
}

}  // namespace
}  // namespace vorelix::demo
