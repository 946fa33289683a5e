// All-or-nothing edits and new files on real files: a cut-off edit put back from its journal, a
// journal that does not fit left alone, a demo replaced at the same length and time refused, and new
// files that appear whole or not at all.
#include <gtest/gtest.h>

#include <chrono>

#include "SyntheticDemo.h"
#include "TempDir.h"
#include "demo/edit/ChatEdit.h"
#include "demo/edit/ChatScan.h"
#include "demo/edit/EditJournal.h"
#include "demo/edit/NickEdit.h"
#include "demo/edit/StatsMe.h"
#include "platform/files/DemoFile.h"
#include "platform/files/EditJournalFile.h"
#include "platform/files/NewFile.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#endif

namespace vorelix::platform {
namespace {

namespace fs = std::filesystem;
using test::MakeDemo;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

std::int64_t WriteTimeOf(const fs::path& path) {
    return File::OpenForReading(path)->LastWriteTime().value();
}

std::size_t FilesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()));
}

TEST(EditJournal, ACutOffEditIsUndoneByteForByteAndOnlyWhenItsJournalFits) {
    TempDir dir;
    const fs::path demo = dir / "d.dem";
    const std::string before = MakeDemo(5000);
    WriteFileBytes(demo, before);
    fs::last_write_time(demo, fs::last_write_time(demo) - std::chrono::hours(1));
    const std::int64_t time = WriteTimeOf(demo);
    const demo::EditJournal journal{5000, time, {{1000, before.substr(1000, 4), "abcd"}, {3000, before.substr(3000, 3), "xyz"}}};
    const std::string record = demo::EncodeJournal(journal);
    // As a kill leaves it: the first run written, the second cut after two bytes.
    const std::string cut = test::WithPieces(before, {{1000, "abcd"}, {3000, "xy"}});

    WriteFileBytes(demo, cut);
    WriteFileBytes(JournalPathFor(demo), record);
    auto outcome = RecoverInterruptedEdit(demo);
    EXPECT_EQ(outcome.kind, Recovery::Undone);
    EXPECT_EQ(outcome.text, "an interrupted edit was undone");
    EXPECT_EQ(ReadFileBytes(demo), before);
    EXPECT_EQ(WriteTimeOf(demo), time);
    EXPECT_FALSE(fs::exists(JournalPathFor(demo)));
    EXPECT_EQ(RecoverInterruptedEdit(demo).kind, Recovery::None);

    // A journal cut short was never followed by a write: it goes, the demo stays as it is.
    WriteFileBytes(JournalPathFor(demo), record.substr(0, record.size() - 1));
    EXPECT_EQ(RecoverInterruptedEdit(demo).kind, Recovery::Discarded);
    EXPECT_EQ(ReadFileBytes(demo), before);
    EXPECT_FALSE(fs::exists(JournalPathFor(demo)));

    // Bytes that are neither the before nor the after, or another length: another file now, never
    // "restored"; a write waits until the user has dealt with it.
    for (const std::string& other : {test::WithPieces(before, {{1001, "Q"}}), before + "x"}) {
        WriteFileBytes(demo, other);
        WriteFileBytes(JournalPathFor(demo), record);
        outcome = RecoverInterruptedEdit(demo);
        EXPECT_EQ(outcome.kind, Recovery::LeftAlone);
        EXPECT_NE(outcome.text.find("d.dem.vorelix-journal"), std::string::npos) << outcome.text;
        const auto write = ApplyWritePlan(demo, {other.size(), {{10, "z"}}});
        EXPECT_EQ(write.status.failure().systemText, outcome.text);
        EXPECT_EQ(ReadFileBytes(demo), other);
        EXPECT_EQ(ReadFileBytes(JournalPathFor(demo)), record);
    }

    // The journal of an edit being written now (held by its writer) is not touched.
    WriteFileBytes(demo, cut);
    {
        auto writer = File::OpenHeld(JournalPathFor(demo));
        ASSERT_TRUE(writer.ok());
        EXPECT_EQ(RecoverInterruptedEdit(demo).kind, Recovery::None);
        EXPECT_EQ(ReadFileBytes(demo), cut);
    }
    EXPECT_EQ(RecoverInterruptedEdit(demo).kind, Recovery::Undone);
    EXPECT_EQ(ReadFileBytes(demo), before);
}

TEST(EditJournal, AWriteComparesTheBytesThePlanReadAndLeavesNoJournal) {
    TempDir dir;
    const fs::path demo = dir / "d.dem";
    const std::string inscription = std::string("\x17\x1D\x01\x99") + std::string(20, '\x07') + "top 15";
    const std::string bytes = MakeDemo(
        8000, {{1000, "\\name\\Bob\\model\\gign\\"}, {3000, "\x02" "Bob :   gg\n"}, {5000, inscription}});
    WriteFileBytes(demo, bytes);
    const auto view = demo::AsBytes(bytes);
    const demo::TextRule rule;

    // Every planner says what it read under each run: the demo's own bytes there.
    std::vector<demo::WritePlan> plans;
    plans.push_back(demo::PlanNickRename(demo::HeldNicks(demo::ScanNicks(view).value()), 0, true, "Ann", 8000, rule)->plan);
    const auto chat = demo::ScanChat(view);
    plans.push_back(demo::PlanChatEdit(chat, 0, "ok", 8000, rule)->plan);
    plans.push_back(demo::PlanChatDelete(chat, {0}, 8000).plan);
    plans.push_back(demo::PlanStatsMeRemoval(view).plan);
    for (const auto& plan : plans) {
        ASSERT_FALSE(plan.runs.empty());
        for (const auto& run : plan.runs) EXPECT_EQ(run.expected, bytes.substr(run.offset, run.bytes.size()));
    }
    // A nick renamed shorter holds blanks behind it: the next rename of it has read those too.
    auto nicks = demo::HeldNicks(demo::ScanNicks(view).value());
    const auto shorter = demo::PlanNickRename(nicks, 0, false, "Al", 8000, rule);
    for (const auto& [index, shown] : shorter->shown) nicks[index].bytes = shown;
    const auto& first = shorter->plan.runs.at(0);
    const std::string renamed = test::WithPieces(bytes, {{first.offset, first.bytes}});
    const auto again = demo::PlanNickRename(nicks, 0, false, "Zed", 8000, rule);
    for (const auto& run : again->plan.runs) EXPECT_EQ(run.expected, renamed.substr(run.offset, run.bytes.size()));

    const auto written = ApplyWritePlan(demo, plans[0]);
    ASSERT_TRUE(written.status.ok()) << written.status.failure().systemText;
    EXPECT_FALSE(fs::exists(JournalPathFor(demo)));
    EXPECT_EQ(ReadFileBytes(demo).size(), bytes.size());

    // Another file put in its place at the same length and time (cp -p, rsync -t): refused.
    const std::string other = test::WithPieces(bytes, {{3004, "XY"}});
    WriteFileBytes(demo, other);
    const std::int64_t time = WriteTimeOf(demo);
    demo::WritePlan edit = plans[1];
    edit.lastWriteTime = time;
    const auto refused = ApplyWritePlan(demo, edit);
    EXPECT_EQ(refused.status.failure().systemText,
              "the demo has changed since it was read (the bytes at position 3002 are not the ones read)");
    EXPECT_EQ(ReadFileBytes(demo), other);
    EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(NewFile, AppearsWholeOrNotAtAllAndLeftoversOfEndedWritersGo) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", std::string(3 << 20, 'a'));
    WriteFileBytes(dir / "b.dem", "taken");
    // A name that is taken stays as it is.
    const auto taken = CopyToNewFile(dir / "a.dem", dir / "b.dem", false);
    EXPECT_TRUE(IsNameTaken(taken.failure()));
    EXPECT_EQ(ReadFileBytes(dir / "b.dem"), "taken");
    // A copy stopped midway leaves nothing.
    std::uint64_t seen = 0;
    const auto stopped = CopyToNewFile(dir / "a.dem", dir / "c.dem", true, [&](auto copied, auto) {
        seen = copied;
        return copied < (2u << 20);
    });
    EXPECT_EQ(stopped.failure().code, kCopyStopped);
    EXPECT_EQ(seen, 2u << 20);
    EXPECT_EQ(FilesIn(dir), 2u);

    // What a killed writer left goes with the next new file in the folder; a held one stays.
    WriteFileBytes(dir / "x.dem.4242.vorelix-part", "half");
    auto live = File::CreateHeld(dir / "y.dem.4343.vorelix-part");
    ASSERT_TRUE(live.ok());
    ASSERT_TRUE(WriteNewFile(dir / "c.cfg", "exec x.cfg\n", true).ok());
    EXPECT_EQ(ReadFileBytes(dir / "c.cfg"), "exec x.cfg\n");
    EXPECT_FALSE(fs::exists(dir / "x.dem.4242.vorelix-part"));
    EXPECT_TRUE(fs::exists(dir / "y.dem.4343.vorelix-part"));
}

// A folder whose path is over 300 characters: the demo is edited with its backup and journal, and a
// copy cut off by a crash is repaired beside it.
TEST(LongPaths, ADemoItsBackupAndItsRepairInAFolderOver300Characters) {
    TempDir dir;
    fs::path folder = dir.Path();
    while (folder.native().size() < 320) folder /= std::string(60, 'd');
    fs::create_directories(folder);
    const fs::path demo = folder / "match.dem";
    const auto framed = test::MakeFramedDemo();
    WriteFileBytes(demo, framed.bytes);
    const auto edited = ApplyWritePlan(demo, {framed.bytes.size(), {{100, "x"}}}, Backup::Yes);
    ASSERT_TRUE(edited.status.ok()) << edited.status.failure().systemText;
    ASSERT_TRUE(edited.backup);
    EXPECT_EQ(ReadFileBytes(*edited.backup), framed.bytes);
    EXPECT_FALSE(fs::exists(JournalPathFor(demo)));

    const fs::path cut = folder / "cut.dem";
    WriteFileBytes(cut, framed.bytes.substr(0, framed.directoryOffset));
    const auto repaired = RepairDemoFile(cut);
    ASSERT_TRUE(repaired.ok()) << repaired.failure().systemText;
    EXPECT_TRUE(CheckDemoFile(repaired->output)->Whole());
}

#ifndef _WIN32
// A file size limit fails writes as a full disk does (EFBIG rather than ENOSPC), past a given size.
TEST(NewFile, ABackupOnAFullDiskIsToldAndLeavesNothing) {
    TempDir dir;
    WriteFileBytes(dir / "d.dem", MakeDemo(3 << 20));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 1 << 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto outcome = ApplyWritePlan(dir / "d.dem", {3u << 20, {{1000, "x"}}}, Backup::Yes);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(outcome.status.failure().systemText, std::strerror(EFBIG));
    EXPECT_FALSE(outcome.backup);
    EXPECT_EQ(FilesIn(dir), 1u);
    EXPECT_EQ(ReadFileBytes(dir / "d.dem"), MakeDemo(3 << 20));
}
#endif

}  // namespace
}  // namespace vorelix::platform
