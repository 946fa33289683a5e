// The timeline's rows: their texts and chat places, the filter, the copied text and CSV, and the chat
// entry a chat row leads to.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "MessageDemo.h"
#include "demo/edit/ChatScan.h"
#include "demo/net/EventRows.h"

namespace vorelix::demo::net {
namespace {

using namespace vorelix::test;

std::string Plain(std::string_view bytes) {
    return std::string(bytes);
}

std::string Say(std::uint8_t sender, std::string_view token, std::string_view text) {
    return UserMessage(kSayText,
                       std::string(1, static_cast<char>(sender)) + Text(token) + Text("") + Text(text));
}

std::vector<EventRow> RowsOf(const std::string& demo) {
    EventsRead read(demo);
    EXPECT_TRUE(read.ok && read.outcome.Whole()) << DescribeOutcome(read.outcome);
    std::vector<EventRow> rows;
    for (const Event& event : read.events) rows.push_back(MakeEventRow(event, Plain));
    return rows;
}

std::vector<const EventRow*> Pointers(const std::vector<EventRow>& rows) {
    std::vector<const EventRow*> pointers;
    for (const EventRow& row : rows) pointers.push_back(&row);
    return pointers;
}

EventRow Row(EventKind kind, std::string what, std::string clock = "00:01.00") {
    EventRow row;
    row.kind = kind;
    row.clock = std::move(clock);
    row.what = std::move(what);
    row.folded = FoldedForSearch(row.what);
    return row;
}

TEST(EventRows, EachKindHasItsClockLineAndOnlyChatAPlaceInTheDemo) {
    const FramedDemo demo =
        MakeMessageDemo({StandardSetUp(), UserInfo(0, 1, "\\name\\Alice") + UserInfo(1, 2, "\\name\\Bob")},
                        {{1.0f, Say(1, "#Cstrike_Chat_All", "hello, \"all\"\n")},
                         {75.25f, UserMessage(kDeathMsg, std::string("\x01\x02\x01", 3) + Text("ak47"))},
                         {76.0f, UserMessage(kTextMsg, "\x04" + Text("#Terrorists_Win"))},
                         {90.0f, UserInfo(2, 3, "\\name\\Carol")}});
    const std::vector<EventRow> rows = RowsOf(demo.bytes);
    ASSERT_EQ(rows.size(), 4u);
    std::vector<std::string> lines;
    for (const EventRow& row : rows)
        lines.push_back(row.clock + " " + std::string(EventKindName(row.kind)) + " " + row.what);
    EXPECT_EQ(lines, (std::vector<std::string>{"00:01.00 chat Alice: hello, \"all\"",
                                               "01:15.25 kill Alice killed Bob with ak47 (headshot)",
                                               "01:16.00 round Terrorists win",
                                               "01:30.00 player Carol (slot 3) joined"}));
    // The chat row's place is 1-based, as the utilities window's chat list counts.
    EXPECT_EQ(demo.bytes.substr(rows[0].chatPosition - 1, rows[0].chatRoom), "hello, \"all\"");
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i].chatPosition, 0u) << lines[i];
    EXPECT_EQ(rows[1].folded, "alice killed bob with ak47 (headshot)");
}

TEST(EventRows, ClockTextShowsMinutesHundredthsAndNoTimeForADamagedOne) {
    EXPECT_EQ(ClockText(0), "00:00.00");
    EXPECT_EQ(ClockText(59.999), "01:00.00");
    EXPECT_EQ(ClockText(6000.5), "100:00.50");
    EXPECT_EQ(ClockText(-1.5), "-00:01.50");
    EXPECT_EQ(ClockText(std::nan("")), "--:--.--");
    EXPECT_EQ(ClockText(std::numeric_limits<double>::infinity()), "--:--.--");
}

TEST(EventRows, FoldingLowersLatinAndCyrillicLettersOnly) {
    EXPECT_EQ(FoldedForSearch("ВАСЯ Ёжик ЇЄЎ"), "вася ёжик їєў");
    EXPECT_EQ(FoldedForSearch("ÉCOLE Ä×Þ"), "école ä×þ");
    EXPECT_EQ(FoldedForSearch("MiXeD 123 [AMX]"), "mixed 123 [amx]");
    // Bytes that are not UTF-8, and characters outside the two alphabets, stay as they came.
    EXPECT_EQ(FoldedForSearch("\xC0\x41\xFF\xC3"), "\xC0\x61\xFF\xC3");
    EXPECT_EQ(FoldedForSearch("ΣΩ 日本"), "ΣΩ 日本");
}

TEST(EventRows, AFilterShowsTheTickedKindsWhoseLineHoldsTheTextInAnyCase) {
    const std::vector<EventRow> rows{
        Row(EventKind::Chat, "Вася: Привет всем"), Row(EventKind::Kill, "Вася killed Bob with awp"),
        Row(EventKind::Round, "Terrorists win"), Row(EventKind::Player, "bob (slot 2) joined")};
    const auto shown = [&rows](const RowFilter& filter) {
        const RowMatcher matcher(filter);
        std::string kinds;
        for (const EventRow& row : rows) kinds += matcher.Shows(row) ? EventKindName(row.kind)[0] : '-';
        return kinds;
    };
    EXPECT_EQ(shown({}), "ckrp");
    EXPECT_EQ(shown({false, true, false, true, ""}), "-k-p");
    EXPECT_EQ(shown({true, true, true, true, "ВАСЯ"}), "ck--");
    EXPECT_EQ(shown({true, false, true, true, "вася"}), "c---");
    EXPECT_EQ(shown({true, true, true, true, "BOB"}), "-k-p");
    EXPECT_EQ(shown({true, true, true, true, "привет ВСЕМ"}), "c---");
    EXPECT_EQ(shown({true, true, true, true, "nobody"}), "----");
    EXPECT_EQ(shown({false, false, false, false, ""}), "----");
}

TEST(EventRows, CopiedTextIsTabSeparatedAndCsvQuotesWhatItMust) {
    const std::vector<EventRow> rows{Row(EventKind::Chat, "Ann: a, b", "00:01.00"),
                                     Row(EventKind::Chat, "Ann: say \"hi\"", "00:02.00"),
                                     Row(EventKind::Chat, "Ann: two\nlines\r", "00:03.00"),
                                     Row(EventKind::Kill, "Ann killed Bob with m4a1", "-00:00.50")};
    const auto pointers = Pointers(rows);
    EXPECT_EQ(RowsAsText(std::span(pointers).first(2)),
              "00:01.00\tchat\tAnn: a, b\r\n00:02.00\tchat\tAnn: say \"hi\"\r\n");
    EXPECT_EQ(RowsAsCsv(pointers),
              "time,kind,event\r\n"
              "00:01.00,chat,\"Ann: a, b\"\r\n"
              "00:02.00,chat,\"Ann: say \"\"hi\"\"\"\r\n"
              "00:03.00,chat,\"Ann: two\nlines\r\"\r\n"
              "-00:00.50,kill,Ann killed Bob with m4a1\r\n");
    EXPECT_EQ(RowsAsCsv({}), "time,kind,event\r\n");
    EXPECT_EQ(CsvFileBytes({}), "\xEF\xBB\xBFtime,kind,event\r\n");
}

TEST(EventRows, AChatPositionLeadsToTheEntryWhoseTextHoldsIt) {
    const std::vector<ChatEntry> entries{{0, "no place"}, {100, "Ann :   hi"}, {200, "Bob :   yo"}};
    EXPECT_EQ(ChatEntryHolding(entries, 100), 1u);
    EXPECT_EQ(ChatEntryHolding(entries, 108), 1u);
    EXPECT_EQ(ChatEntryHolding(entries, 109), 1u);
    EXPECT_EQ(ChatEntryHolding(entries, 110), std::nullopt);
    EXPECT_EQ(ChatEntryHolding(entries, 99), std::nullopt);
    EXPECT_EQ(ChatEntryHolding(entries, 205), 2u);
    EXPECT_EQ(ChatEntryHolding(entries, 1), std::nullopt);
}

TEST(EventRows, AnOldFormChatRowLeadsToItsLineInTheChatScan) {
    // Enough lines that the demo is long enough for the chat scan.
    std::vector<MessageFrame> frames;
    for (int i = 0; i < 30; ++i) {
        frames.push_back({static_cast<float>(i + 1), Say(1,
                                                         "\x02"
                                                         "Alice :   line " +
                                                             std::to_string(i) + "\n",
                                                         "")});
    }
    const FramedDemo demo = MakeMessageDemo({StandardSetUp(), UserInfo(0, 1, "\\name\\Alice")}, frames);
    ASSERT_GE(demo.bytes.size(), 1000u);
    const std::vector<EventRow> rows = RowsOf(demo.bytes);
    const std::vector<ChatEntry> entries = ScanChat(AsBytes(demo.bytes));
    ASSERT_EQ(rows.size(), 30u);
    ASSERT_EQ(entries.size(), 30u);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(ChatEntryHolding(entries, rows[i].chatPosition), i) << rows[i].what;
}

}  // namespace
}  // namespace vorelix::demo::net
