// The frame walk: segment by segment along the directory, or from the header when it is not ok.
#include "demo/DemoCheck.h"

#include <algorithm>
#include <cmath>

#include "demo/DemoFrames.h"

namespace vorelix::demo {

namespace {

// The window of the demo's bytes the walk reads frames from, moved on only when a frame's size is
// not inside it.
class FrameWindow {
  public:
    FrameWindow(DemoBytes& demo, std::uint64_t limit) : demo_(demo), limit_(limit) {}

    // Whether the window holds the bytes at `offset` that tell the size of a frame there, and
    // whether unwritten space starts there.
    bool Holds(std::uint64_t offset) const { return offset >= start_ && offset < safeEnd_; }
    Status MoveTo(std::uint64_t offset) {
        auto got = demo_.At(offset, std::min(kUnwrittenRun, limit_ - offset));
        if (!got) return got.failure();
        view_ = *got;
        start_ = offset;
        const std::uint64_t end = start_ + view_.size();
        safeEnd_ = end >= limit_ ? limit_ : end - kUnwrittenRun + 1;
        return Ok();
    }
    // The bytes from `offset` on; the window holds `offset`.
    ByteView From(std::uint64_t offset) const { return view_.subspan(offset - start_); }
    std::uint64_t SafeEnd() const { return safeEnd_; }

  private:
    DemoBytes& demo_;
    std::uint64_t limit_;
    ByteView view_;
    std::uint64_t start_ = 0;
    std::uint64_t safeEnd_ = 0;  // frames starting before this have kUnwrittenRun bytes inside the window
};

// Where a segment's walk has got to.
struct Cursor {
    std::uint64_t end = 0;
    std::uint64_t frames = 0;
    std::uint64_t messages = 0;
    float lastTime = 0;
    std::int32_t lastNumber = 0;
};

enum class Halt { Closed, BadFrame, BadTime, Unwritten, WindowEnd };

bool TimeGoesWrong(float time, float lastTime, std::uint64_t framesBefore) {
    return !std::isfinite(time) || (framesBefore > 0 && time < lastTime);
}

// Takes the whole frame at the cursor into the walk. A time that is not a number is not taken.
void TakeFrame(Cursor& cursor, ByteView from, std::uint64_t size) {
    ++cursor.frames;
    cursor.messages += from[0] <= static_cast<std::uint8_t>(FrameKind::Message) ? 1 : 0;
    if (const float time = ReadFloat(from, 1); std::isfinite(time)) cursor.lastTime = time;
    cursor.lastNumber = ReadInt32(from, 5);
    cursor.end += size;
}

// Walks whole frames inside the window until one closes the segment, does not make sense, starts
// unwritten space or (in playback) has a time that goes wrong. The state stays in locals: this loop
// is the whole cost of walking a large demo.
template <bool Playback>
Halt Advance(Cursor& cursor, const FrameWindow& window, std::uint64_t limit) {
    std::uint64_t end = cursor.end;
    std::uint64_t frames = cursor.frames;
    std::uint64_t messages = cursor.messages;
    float lastTime = cursor.lastTime;
    std::int32_t lastNumber = cursor.lastNumber;
    const std::uint64_t safeEnd = window.SafeEnd();
    Halt halt = Halt::WindowEnd;
    while (end < safeEnd) {
        const ByteView from = window.From(end);
        if (IsUnwrittenSpace(from, limit - end)) {
            halt = Halt::Unwritten;
            break;
        }
        const std::uint64_t size = FrameSize(from, limit - end);
        if (size == 0) {
            halt = Halt::BadFrame;
            break;
        }
        const std::uint8_t kind = from[0];
        const float time = ReadFloat(from, 1);
        if constexpr (Playback) {
            if (TimeGoesWrong(time, lastTime, frames)) {
                halt = Halt::BadTime;
                break;
            }
        }
        ++frames;
        messages += kind <= static_cast<std::uint8_t>(FrameKind::Message) ? 1 : 0;
        lastTime = time;
        lastNumber = ReadInt32(from, 5);
        end += size;
        if (kind == static_cast<std::uint8_t>(FrameKind::NextSection)) {
            halt = Halt::Closed;
            break;
        }
    }
    cursor = Cursor{end, frames, messages, lastTime, lastNumber};
    return halt;
}

}  // namespace

Result<SegmentWalk> WalkSegment(DemoBytes& demo, std::uint64_t begin, std::uint64_t limit, bool playback) {
    FrameWindow window(demo, limit);
    Cursor cursor{begin};
    const auto walked = [&](bool closed, std::optional<DemoBreak> stop) {
        return SegmentWalk{
            begin,           cursor.end,        closed,          cursor.frames, cursor.messages,
            cursor.lastTime, cursor.lastNumber, std::move(stop), std::nullopt};
    };
    // The first frame whose time went wrong, and the walk as it stood before it.
    std::optional<DemoBreak> timeFinding;
    Cursor beforeFinding;
    const auto stop = [&](int kind, std::string reason) {
        if (timeFinding) {
            cursor = beforeFinding;
            return walked(false, std::move(timeFinding));
        }
        return walked(false, DemoBreak{cursor.end, kind, playback ? cursor.lastTime : 0.0, playback,
                                       std::move(reason)});
    };
    const auto hold = [&](std::uint64_t offset) {
        return window.Holds(offset) ? Ok() : window.MoveTo(offset);
    };
    for (;;) {
        if (cursor.end >= limit)
            return stop(
                -1, limit == demo.Size()
                        ? "the file ends after the last whole frame, before the segment's next-section frame"
                        : "the segment ends without its next-section frame");
        if (auto held = hold(cursor.end); !held) return held.failure();
        const Halt halt =
            playback ? Advance<true>(cursor, window, limit) : Advance<false>(cursor, window, limit);
        if (halt == Halt::WindowEnd) continue;
        if (halt == Halt::Closed) break;
        const ByteView from = window.From(cursor.end);
        if (halt == Halt::BadFrame) return stop(from[0], FrameProblem(from, limit - cursor.end));
        if (halt == Halt::Unwritten) return stop(-1, std::string(kUnwrittenSpaceReason));
        // The frame's size and kind are sound: note its time and walk on.
        const float time = ReadFloat(from, 1);
        if (!timeFinding) {
            timeFinding = DemoBreak{
                cursor.end, from[0], cursor.lastTime, true,
                std::isfinite(time)
                    ? "the frame's time goes back from " + TimeText(cursor.lastTime) + " to " + TimeText(time)
                    : "the frame's time is not a number"};
            beforeFinding = cursor;
        }
        TakeFrame(cursor, from, FrameSize(from, limit - cursor.end));
        if (from[0] == static_cast<std::uint8_t>(FrameKind::NextSection)) break;
    }
    // Next-section frames right behind the closing one belong to the segment too.
    while (cursor.end < limit) {
        if (auto held = hold(cursor.end); !held) return held.failure();
        const ByteView next = window.From(cursor.end);
        const std::uint64_t size = next[0] == static_cast<std::uint8_t>(FrameKind::NextSection)
                                       ? FrameSize(next, limit - cursor.end)
                                       : 0;
        if (size == 0) break;
        ++cursor.frames;
        cursor.end += size;
    }
    SegmentWalk walk = walked(true, std::nullopt);
    walk.timeFinding = std::move(timeFinding);
    return walk;
}

namespace {

Result<FrameRun> WalkFromHeader(DemoBytes& demo) {
    auto loading = WalkSegment(demo, kContainerHeaderSize, demo.Size(), false);
    if (!loading) return loading.failure();
    FrameRun run{std::move(*loading), std::nullopt};
    if (!run.loading.closed) return run;
    auto playback = WalkSegment(demo, run.loading.end, demo.Size(), true);
    if (!playback) return playback.failure();
    run.playback = std::move(*playback);
    return run;
}

// Walks the segments the directory gives; the first that does not follow the one before it, hold
// whole frames up to its end, or give the time and net messages walked makes the directory damaged,
// and so do bytes between the last segment and the directory.
Status WalkDirectory(DemoBytes& demo, DemoCheck& check, DirectoryRead& directory,
                     std::uint64_t directoryOffset) {
    const auto damaged = [&](std::string problem) {
        directory.state = DirectoryState::Damaged;
        directory.problem = std::move(problem);
        return Ok();
    };
    std::uint64_t expectedBegin = kContainerHeaderSize;
    for (std::size_t i = 0; i < check.entries.size(); ++i) {
        const DirectoryEntry& entry = check.entries[i];
        const std::string segment = "its segment " + std::to_string(i + 1) + " (" +
                                    std::to_string(entry.length) + " bytes at offset " +
                                    std::to_string(entry.offset) + ") ";
        if (static_cast<std::uint64_t>(entry.offset) != expectedBegin)
            return damaged(
                segment + "does not start where " +
                (i == 0 ? std::string("the header ends") : "segment " + std::to_string(i) + " ends") +
                ", at offset " + std::to_string(expectedBegin));
        expectedBegin = entry.End();
        auto walk = WalkSegment(demo, static_cast<std::uint64_t>(entry.offset), entry.End(), i > 0);
        if (!walk) return walk.failure();
        if (walk->stop)
            return damaged(segment + "breaks at offset " + std::to_string(walk->stop->offset) + ": " +
                           walk->stop->reason);
        if (walk->end != entry.End())
            return damaged(segment + "is closed at offset " + std::to_string(walk->end) +
                           ", before its end; what follows is not frames of it");
        if (i == 0) continue;
        // The game leaves the loading segment's time and frame count 0; playback's are the walk's.
        if (static_cast<std::int64_t>(entry.frames) != static_cast<std::int64_t>(walk->messages))
            return damaged(segment + "holds " + std::to_string(walk->messages) +
                           " net-message frames, but the directory gives " + std::to_string(entry.frames));
        if (!(entry.time == walk->lastTime))
            return damaged(segment + "ends at " + TimeText(walk->lastTime) +
                           " of playback, but the directory gives " + TimeText(entry.time));
        check.frames += walk->messages;
        check.duration = walk->lastTime;
        if (!check.timeFinding) check.timeFinding = std::move(walk->timeFinding);
    }
    if (expectedBegin != directoryOffset)
        return damaged("its segments end at offset " + std::to_string(expectedBegin) +
                       ", before the directory at offset " + std::to_string(directoryOffset) +
                       ": the bytes between are in none of them");
    return Ok();
}

}  // namespace

Result<DemoCheck> CheckDemo(DemoBytes& demo) {
    const std::uint64_t headerBytes = std::min(demo.Size(), kContainerHeaderSize);
    auto first = demo.At(0, headerBytes);
    if (!first) return first.failure();
    auto header = ReadContainerHeader(first->first(headerBytes));
    if (!header) return header.failure();
    DemoCheck check;
    check.header = std::move(*header);
    if (!check.header.FramesReadable()) {
        check.problem = DemoBreak{kDemoProtocolOffset, -1, 0, false,
                                  "demo protocol " + std::to_string(check.header.demoProtocol) +
                                      " is not read past its header: its frame layout is not known"};
        return check;
    }
    check.framesRead = true;
    auto directory = ReadDirectory(demo, check.header.directoryOffset);
    if (!directory) return directory.failure();
    check.entries = std::move(directory->entries);
    if (directory->state == DirectoryState::Ok) {
        const auto directoryOffset = static_cast<std::uint64_t>(check.header.directoryOffset);
        if (auto walked = WalkDirectory(demo, check, *directory, directoryOffset); !walked)
            return walked.failure();
    }
    check.directory = directory->state;
    if (directory->state == DirectoryState::Ok) return check;
    check.timeFinding.reset();

    check.directoryProblem = std::move(directory->problem);
    auto run = WalkFromHeader(demo);
    if (!run) return run.failure();
    check.frames = run->playback ? run->playback->messages : 0;
    check.duration = run->playback ? run->playback->lastTime : 0;
    const SegmentWalk& last = run->playback ? *run->playback : run->loading;
    if (run->playback) check.timeFinding = run->playback->timeFinding;
    check.problem = last.stop ? *last.stop
                              : DemoBreak{last.end, -1, check.duration, true,
                                          "every frame is whole, but the directory is " +
                                              std::string(DirectoryStateText(directory->state)) + ": " +
                                              check.directoryProblem};
    check.run = std::move(*run);
    return check;
}

std::string TimeText(double seconds) {
    std::string text = std::to_string(seconds);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text + " s";
}

std::string DescribeBreak(const DemoBreak& stop) {
    std::string text = "offset " + std::to_string(stop.offset);
    if (stop.kind >= 0) {
        const std::string_view kind = FrameKindName(static_cast<std::uint8_t>(stop.kind));
        text += kind == "unknown"
                    ? ", a frame"
                    : std::string(kind.starts_with("e") ? ", an " : ", a ") + std::string(kind) + " frame";
    }
    text += stop.inPlayback ? ", " + TimeText(stop.timeReached) + " into playback" : ", before playback";
    return text + ": " + stop.reason;
}

Result<DemoCheck> CheckDemo(ByteView demo) {
    SpanBytes bytes(demo);
    return CheckDemo(bytes);
}

}  // namespace vorelix::demo
