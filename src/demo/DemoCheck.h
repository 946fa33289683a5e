// Walking every frame of a protocol-5 demo: how long it plays, its net messages, and where it breaks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/edit/ByteSearch.h"
#include "demo/DemoBytes.h"
#include "demo/DemoContainer.h"
#include "demo/Result.h"

namespace vorelix::demo {

// Where a demo stops making sense, and why.
struct DemoBreak {
    std::uint64_t offset = 0;  // where the frame that does not make sense starts, or where the bytes end
    int kind = -1;             // that frame's kind byte; -1 when no frame starts there
    double timeReached = 0;    // seconds of playback walked before it
    bool inPlayback = false;   // else inside the loading segment (or before the frames)
    std::string reason;
};

// One segment walked from its offset up to and with its next-section frame, or up to the first frame
// that does not make sense or the first unwritten space (IsUnwrittenSpace). Next-section frames
// right behind the closing one are taken into the segment: the game never reads them, but its
// directory counts them in. In playback, a frame whose time goes back or is not a number is walked
// over and noted; when the walk then breaks, the break is placed at that frame instead, since the
// frames after such a time are not to be trusted in a demo that breaks.
struct SegmentWalk {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;  // after the last whole frame walked, closing frames included
    bool closed = false;    // the segment's next-section frame was reached
    std::uint64_t frames = 0;
    std::uint64_t messages = 0;  // net-message frames
    float lastTime = 0;          // of the last whole frame (the closing one when closed)
    std::int32_t lastNumber = 0;
    std::optional<DemoBreak> stop;  // why the walk ended before a closing frame
    // The first frame whose time goes back or is not a number, in a segment walked to its end.
    std::optional<DemoBreak> timeFinding;
};

// The frames from the end of the header on, without a directory: the loading segment, then the
// playback segment from the frame after the loading segment's closing frame(s).
struct FrameRun {
    SegmentWalk loading;
    std::optional<SegmentWalk> playback;  // absent when the loading segment never closes
};

struct DemoCheck {
    ContainerHeader header;
    bool framesRead = false;                  // only demo protocol 5 is read past its header
    std::optional<DirectoryState> directory;  // absent when the frames are not read
    std::string directoryProblem;             // why the directory is not ok
    std::vector<DirectoryEntry> entries;      // the directory's entries, as they stand
    double duration = 0;                      // seconds of playback: the time of its last whole frame
    std::uint64_t frames = 0;                 // net-message frames of playback
    std::optional<DemoBreak> problem;         // where and why the demo is not whole
    std::optional<FrameRun> run;              // the walk from the header, when the directory was not ok
    // In playback whose frames are all sound: the first frame whose time goes back or is not a
    // number. It does not make the demo broken.
    std::optional<DemoBreak> timeFinding;

    bool Whole() const { return directory == DirectoryState::Ok; }
};

// Reads the header and the directory and walks every frame. A directory is ok only when its
// segments follow each other from the header's end up to the directory, each holds whole frames up
// to its end, closed by a next-section frame, and each after the first gives the time of its last
// frame and the count of its net messages as walked; then the duration and frames are those of its
// segments after the first. Otherwise the frames are walked from the
// header, and the duration and frames are those of the whole playback frames found. Fails only when
// the bytes are not a demo, end inside its header, or cannot be read.
Result<DemoCheck> CheckDemo(DemoBytes& demo);
Result<DemoCheck> CheckDemo(ByteView demo);

// Walks one segment from `begin` up to `limit` (the end of the demo, of a directory's segment, or as
// far as a copy may reach), in playback when `playback`.
Result<SegmentWalk> WalkSegment(DemoBytes& demo, std::uint64_t begin, std::uint64_t limit, bool playback);

// "12.5 s": seconds as the descriptions of a demo's places write them.
std::string TimeText(double seconds);

// Where and why a demo breaks, in one line: "offset 81234, a sound frame, 12.5 s into playback: the
// file ends inside a sound frame (it needs 412 bytes, 100 are left)".
std::string DescribeBreak(const DemoBreak& stop);

}  // namespace vorelix::demo
