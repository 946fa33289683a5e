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

    // Whether the window holds the bytes at `offset` that tell the size of a frame there.
    bool Holds(std::uint64_t offset) const { return offset >= start_ && offset < safeEnd_; }
    Status MoveTo(std::uint64_t offset) {
        auto got = demo_.At(offset, std::min(kLongestFramePrefix, limit_ - offset));
        if (!got) return got.failure();
        view_ = *got;
        start_ = offset;
        const std::uint64_t end = start_ + view_.size();
        safeEnd_ = end >= limit_ ? limit_ : end - kLongestFramePrefix + 1;
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
    std::uint64_t safeEnd_ = 0;  // frames starting before this have their size inside the window
};

// Where a segment's walk has got to.
struct Cursor {
    std::uint64_t end = 0;
    std::uint64_t frames = 0;
    std::uint64_t messages = 0;
    float lastTime = 0;
    std::int32_t lastNumber = 0;
};

enum class Halt { Closed, BadFrame, BadTime, WindowEnd };

// Walks whole frames inside the window until one closes the segment or does not make sense. The
// state stays in locals: this loop is the whole cost of walking a large demo.
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
        const std::uint64_t size = FrameSize(from, limit - end);
        if (size == 0) {
            halt = Halt::BadFrame;
            break;
        }
        const std::uint8_t kind = from[0];
        const float time = ReadFloat(from, 1);
        if constexpr (Playback) {
            if (!std::isfinite(time) || (frames > 0 && time < lastTime)) {
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

Result<SegmentWalk> WalkSegment(DemoBytes& demo, std::uint64_t begin, std::uint64_t limit, bool playback) {
    FrameWindow window(demo, limit);
    Cursor cursor{begin};
    const auto walked = [&](bool closed, std::optional<DemoBreak> stop) {
        return SegmentWalk{begin,           cursor.end,        closed,         cursor.frames, cursor.messages,
                           cursor.lastTime, cursor.lastNumber, std::move(stop)};
    };
    const auto stop = [&](int kind, std::string reason) {
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
        const float time = ReadFloat(from, 1);
        return stop(from[0], std::isfinite(time) ? "the frame's time goes back from " +
                                                       TimeText(cursor.lastTime) + " to " + TimeText(time)
                                                 : "the frame's time is not a number");
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
    return walked(true, std::nullopt);
}

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

// Walks the segments the directory gives; the first that does not hold whole frames up to its end
// makes the directory damaged.
Status WalkDirectory(DemoBytes& demo, DemoCheck& check, DirectoryRead& directory) {
    for (std::size_t i = 0; i < check.entries.size(); ++i) {
        const DirectoryEntry& entry = check.entries[i];
        auto walk = WalkSegment(demo, static_cast<std::uint64_t>(entry.offset), entry.End(), i > 0);
        if (!walk) return walk.failure();
        const std::string segment = "its segment " + std::to_string(i + 1) + " (" +
                                    std::to_string(entry.length) + " bytes at offset " +
                                    std::to_string(entry.offset) + ") ";
        if (walk->stop || walk->end != entry.End()) {
            directory.state = DirectoryState::Damaged;
            directory.problem = walk->stop
                                    ? segment + "breaks at offset " + std::to_string(walk->stop->offset) +
                                          ": " + walk->stop->reason
                                    : segment + "is closed at offset " + std::to_string(walk->end) +
                                          ", before its end; what follows is not frames of it";
            return Ok();
        }
        if (i == 0) continue;
        check.frames += walk->messages;
        check.duration = walk->lastTime;
    }
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
        if (auto walked = WalkDirectory(demo, check, *directory); !walked) return walked.failure();
    }
    check.directory = directory->state;
    if (directory->state == DirectoryState::Ok) return check;

    check.directoryProblem = std::move(directory->problem);
    auto run = WalkFromHeader(demo);
    if (!run) return run.failure();
    check.frames = run->playback ? run->playback->messages : 0;
    check.duration = run->playback ? run->playback->lastTime : 0;
    const SegmentWalk& last = run->playback ? *run->playback : run->loading;
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
