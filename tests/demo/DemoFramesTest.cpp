// The frame walk and the repair plan on demos broken every way we know.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <limits>

#include "SyntheticDemo.h"
#include "demo/DemoFrames.h"
#include "demo/DemoRepair.h"

namespace vorelix::demo {
namespace {

using test::Int32;
using test::PutAt;

// The repaired demo, or the planner's refusal as text.
std::string Repaired(const std::string& demo) {
    auto answer = PlanRepair(AsBytes(demo));
    if (!answer) return "refused: " + answer.failure().systemText;
    if (answer->Whole()) return "whole";
    return AssembleDemo(AsBytes(demo), answer->plan->pieces);
}

struct BrokenCase {
    const char* name;
    std::function<void(std::string&, const test::FramedDemo&)> breakIt;
    const char* reason;        // in the check's failure, or in where the demo breaks
    bool checked;              // the check answers (else it fails: not a demo)
    std::size_t keptMessages;  // playback net messages the repair keeps; 0: it refuses
};

TEST(DemoFrames, BrokenDemosAreToldPreciselyAndRepairedUpToTheBreak) {
    const test::FramedDemo good = test::MakeFramedDemo(4);
    const auto at = [](std::size_t offset, std::string bytes) {
        return [=](std::string& demo, const test::FramedDemo&) { PutAt(demo, offset, bytes); };
    };
    const auto message = [](int index, std::size_t field, std::string bytes) {
        return [=](std::string& demo, const test::FramedDemo& framed) {
            PutAt(demo, framed.messageOffsets[static_cast<std::size_t>(index)] + field, bytes);
        };
    };
    const auto cutTo = [](std::size_t length) {
        return [=](std::string& demo, auto&) { demo.resize(length); };
    };
    const std::size_t directory = good.directoryOffset;
    const BrokenCase cases[] = {
        {"empty file", cutTo(0), "the file is empty", false, 0},
        {"not a demo", at(0, "HLDEMX"), "not a demo", false, 0},
        {"cut in the header", cutTo(300), "ends inside the demo's 544-byte header", false, 0},
        {"directory offset 0", at(540, Int32(0)), "directory is missing: the header gives no", true, 4},
        {"directory past the end", at(540, Int32(1 << 30)), "missing: the file ends before its directory",
         true, 4},
        {"directory into the frames", at(540, Int32(600)), "holds 286331153 entries, not 1 to 1024", true, 4},
        {"negative directory", at(540, Int32(-5)), "damaged: the directory would lie inside the header", true,
         4},
        {"huge entry count", at(directory, Int32(1000)), "directory's 1000 entries would reach past the end",
         true, 4},
        {"negative entry length", at(directory + 4 + 92 + 88, Int32(-1)), "gives a segment of -1 bytes", true,
         4},
        {"negative message length", message(2, 9 + 464, Int32(-7)),
         "net message frame gives a negative length (-7)", true, 2},
        {"huge message length", message(1, 9 + 464, Int32(0x7FFFFFFF)),
         "the file ends inside a net message frame", true, 1},
        {"frame kind out of range", message(3, 0, "\x63"),
         "a frame, 1.5 s into playback: frame kind 99 is not one the game writes (0 to 9)", true, 3},
        {"cut inside the loading segment", cutTo(700), "the file ends inside a net message", true, 0},
        {"cut before a message is whole", cutTo(good.messageOffsets[0] + 3),
         "net message frame (it needs 477 bytes, 3 are", true, 0},
        {"cut right after a message", cutTo(good.messageOffsets[2]),
         "the file ends after the last whole frame", true, 2},
        {"cut inside a message", cutTo(good.messageOffsets[2] + 100), "the file ends inside a net message",
         true, 2},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        std::string demo = good.bytes;
        row.breakIt(demo, good);
        auto check = CheckDemo(AsBytes(demo));
        ASSERT_EQ(check.ok(), row.checked);
        const std::string told = !check           ? check.failure().systemText
                                 : check->problem ? DescribeBreak(*check->problem)
                                                  : "";
        EXPECT_NE(told.find(row.reason), std::string::npos) << told;
        const std::string repaired = Repaired(demo);
        if (row.keptMessages == 0) {
            EXPECT_EQ(repaired.rfind("refused: ", 0), 0u) << repaired.substr(0, 60);
            continue;
        }
        auto after = CheckDemo(AsBytes(repaired));
        ASSERT_TRUE(after.ok());
        EXPECT_TRUE(after->Whole()) << after->directoryProblem;
        EXPECT_EQ(after->frames, row.keptMessages);
        if (row.keptMessages == 4) {
            EXPECT_TRUE(repaired == good.bytes);
        } else {
            // The frames before the broken message are kept as they stand, then a closing frame.
            const std::size_t kept = good.messageOffsets[row.keptMessages] - 544;
            EXPECT_EQ(repaired.compare(544, kept, good.bytes, 544, kept), 0);
            EXPECT_EQ(after->header.directoryOffset, static_cast<std::int32_t>(544 + kept + 9));
        }
    }

    // Cut anywhere, the walk tells, and a repair either refuses or gives a whole demo.
    for (std::size_t length = 0; length < good.bytes.size(); ++length) {
        const std::string cut = good.bytes.substr(0, length);
        if (auto check = CheckDemo(AsBytes(cut)); check) {
            ASSERT_FALSE(check->Whole()) << length;
        }
        const std::string repaired = Repaired(cut);
        if (repaired.rfind("refused: ", 0) == 0) continue;
        auto after = CheckDemo(AsBytes(repaired));
        ASSERT_TRUE(after.ok() && after->Whole()) << length;
    }
}

std::string Float(float value) {
    return Int32(std::bit_cast<std::int32_t>(value));
}

// A crashed recording: no directory offset, and the frames up to `cut` followed by `zeros` zero bytes.
std::string ZeroFilledAfter(const std::string& demo, std::size_t cut, std::size_t zeros) {
    std::string out = demo.substr(0, cut) + std::string(zeros, '\0');
    PutAt(out, 540, Int32(0));
    return out;
}

TEST(DemoFrames, ZeroBytesWhereAFrameShouldStartEndTheWalkThere) {
    const test::FramedDemo good = test::MakeFramedDemo(4);
    const std::size_t afterTwo = good.messageOffsets[2];
    const struct {
        std::size_t cut, zeros;
        bool inPlayback;
        const char* repaired;  // how the repair's refusal starts, or "" when it keeps two messages
    } cases[] = {
        {544, 50u << 20, false, "the demo breaks inside its loading segment at offset 544: zero bytes"},
        {good.playbackBegin, 3u << 20, true, "the demo breaks at offset "},
        {afterTwo, 1u << 20, true, ""},
        {afterTwo, 100, true, ""},  // shorter than any frame: still no frame
        {afterTwo, 1, true, ""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::to_string(row.cut) + " + " + std::to_string(row.zeros));
        const std::string demo = ZeroFilledAfter(good.bytes, row.cut, row.zeros);
        auto check = CheckDemo(AsBytes(demo));
        ASSERT_TRUE(check.ok());
        ASSERT_TRUE(check->problem);
        EXPECT_EQ(check->problem->offset, row.cut);
        EXPECT_EQ(check->problem->kind, -1);
        EXPECT_EQ(check->problem->inPlayback, row.inPlayback);
        EXPECT_EQ(check->problem->reason, kUnwrittenSpaceReason);
        const std::string repaired = Repaired(demo);
        if (*row.repaired != '\0') {
            EXPECT_EQ(repaired.rfind(std::string("refused: ") + row.repaired, 0), 0u)
                << repaired.substr(0, 200);
            continue;
        }
        // Two messages and a closing frame, then the directory: none of the zeros.
        EXPECT_EQ(repaired.size(), afterTwo + 9 + 4 + 2 * 92);
        auto after = CheckDemo(AsBytes(repaired));
        ASSERT_TRUE(after.ok() && after->Whole());
        EXPECT_EQ(after->frames, 2u);
    }

    // One frame of zeros (an empty net message, as a hand-made demo may hold) followed by frames is
    // walked as a frame: a run of zeros must reach the start of the frame after it.
    const std::string emptyMessage = test::Frame(0, 0.0f, 0, std::string(464, '\0') + Int32(0));
    const auto loadingFrame = [](float time, int number) {
        return test::Frame(0, time, number, std::string(464, '\x11') + test::Counted("loading"));
    };
    const std::string message = test::Frame(1, 0.5f, 1, std::string(464, '\x11') + test::Counted("m"));
    const auto handMade =
        test::AssembleDemo({emptyMessage, loadingFrame(1.0f, 2), test::Frame(5, 1.0f, 2, "")},
                           {message, test::Frame(5, 0.5f, 1, "")}, 0.5f, 1);
    auto check = CheckDemo(AsBytes(handMade.bytes));
    ASSERT_TRUE(check.ok());
    EXPECT_TRUE(check->Whole()) << check->directoryProblem;
}

TEST(DemoFrames, ATimeOutOfOrderAmongSoundFramesIsAFindingAndBreaksOnlyADemoThatBreaks) {
    const test::FramedDemo good = test::MakeFramedDemo(4);
    const std::size_t sound = good.frameOffsets[6];  // the sound frame, at 0.2 s
    ASSERT_EQ(good.bytes[sound], 8);
    const struct {
        const char* name;
        std::size_t at;
        float time;
        const char* reason;
    } times[] = {
        {"back", sound, -1.0f, "the frame's time goes back from 0.1 s to -1 s"},
        {"not a number", good.messageOffsets[1], std::numeric_limits<float>::quiet_NaN(),
         "the frame's time is not a number"},
    };
    for (const auto& row : times) {
        SCOPED_TRACE(row.name);
        std::string demo = good.bytes;
        PutAt(demo, row.at + 1, Float(row.time));
        auto check = CheckDemo(AsBytes(demo));
        ASSERT_TRUE(check.ok());
        EXPECT_TRUE(check->Whole()) << check->directoryProblem;
        EXPECT_EQ(check->duration, 2.5);
        EXPECT_EQ(check->frames, 4u);
        ASSERT_TRUE(check->timeFinding);
        EXPECT_EQ(check->timeFinding->offset, row.at);
        EXPECT_EQ(check->timeFinding->reason, row.reason);
        EXPECT_EQ(Repaired(demo), "whole");

        // Without its directory, every frame is still whole and kept.
        std::string crashed = demo;
        PutAt(crashed, 540, Int32(0));
        check = CheckDemo(AsBytes(crashed));
        ASSERT_TRUE(check.ok() && check->timeFinding);
        EXPECT_NE(check->problem->reason.find("every frame is whole"), std::string::npos);
        EXPECT_EQ(Repaired(crashed), demo);

        // A demo that also breaks later is not trusted past the time out of order.
        const std::string cut = crashed.substr(0, good.messageOffsets[3] + 50);
        check = CheckDemo(AsBytes(cut));
        ASSERT_TRUE(check.ok());
        EXPECT_FALSE(check->timeFinding);
        EXPECT_EQ(check->problem->offset, row.at);
        EXPECT_EQ(check->problem->reason, row.reason);
    }
}

TEST(DemoFrames, ADirectoryThatDisagreesWithTheWalkIsDamagedAndRepaired) {
    const test::FramedDemo good = test::MakeFramedDemo(4);
    const std::size_t entries = good.directoryOffset + 4;
    const std::size_t playback = entries + 92;
    const std::size_t fields = 4 + 64 + 8;  // type, description, flags and CD track
    const struct {
        const char* name;
        std::size_t at;
        std::string bytes;
        const char* problem;
    } cases[] = {
        {"one entry", good.directoryOffset, Int32(1), "its segments end at offset "},
        {"frames", playback + fields + 4, Int32(-5),
         "holds 4 net-message frames, but the directory gives -5"},
        {"time", playback + fields, Float(9.0f), "ends at 2.5 s of playback, but the directory gives 9 s"},
        {"playback starts late", playback + fields + 8,
         Int32(static_cast<std::int32_t>(good.playbackBegin + 9)) +
             Int32(static_cast<std::int32_t>(good.directoryOffset - good.playbackBegin - 9)),
         "does not start where segment 1 ends"},
        {"loading starts late", entries + fields + 8, Int32(553), "does not start where the header ends"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        std::string demo = good.bytes;
        PutAt(demo, row.at, row.bytes);
        auto check = CheckDemo(AsBytes(demo));
        ASSERT_TRUE(check.ok());
        EXPECT_EQ(check->directory, DirectoryState::Damaged);
        EXPECT_NE(check->directoryProblem.find(row.problem), std::string::npos) << check->directoryProblem;
        EXPECT_EQ(Repaired(demo), good.bytes);
    }
}

}  // namespace
}  // namespace vorelix::demo
