// The frame walk and the repair plan on demos broken every way we know.
#include <gtest/gtest.h>

#include <functional>

#include "SyntheticDemo.h"
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
        {"time goes back", message(2, 1, Int32(0)), "time goes back from 1 s to 0 s", true, 2},
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

}  // namespace
}  // namespace vorelix::demo
