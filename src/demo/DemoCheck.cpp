// The frame walk: segment by segment along the directory, or from the header when it is not ok.
#include "demo/DemoCheck.h"

#include <cmath>

#include "demo/DemoFrames.h"

namespace vorelix::demo {

namespace {

constexpr std::uint64_t kProgressStep = std::uint64_t{8} << 20;

std::string TimeText(double seconds) {
    std::string text = std::to_string(seconds);
    while (text.size() > 1 && text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text + " s";
}

}  // namespace

SegmentWalk WalkSegment(ByteView demo, std::uint64_t begin, std::uint64_t limit, bool playback,
                        ScanProgress* progress) {
    const ByteView bytes = demo.first(limit);
    SegmentWalk walk;
    walk.begin = walk.end = begin;
    std::uint64_t nextReport = begin + kProgressStep;
    const auto stop = [&](std::uint64_t offset, std::string reason) {
        const int kind = offset < bytes.size() ? bytes[offset] : -1;
        walk.stop = DemoBreak{offset, kind, playback ? walk.lastTime : 0.0, playback, std::move(reason)};
        return walk;
    };
    while (walk.end < bytes.size()) {
        auto frame = ReadFrame(bytes, walk.end);
        if (!frame) return stop(walk.end, frame.failure().systemText);
        if (playback) {
            if (!std::isfinite(frame->time)) return stop(walk.end, "the frame's time is not a number");
            if (walk.frames > 0 && frame->time < walk.lastTime)
                return stop(walk.end, "the frame's time goes back from " + TimeText(walk.lastTime) + " to " +
                                          TimeText(frame->time));
        }
        ++walk.frames;
        walk.messages += frame->IsMessage() ? 1 : 0;
        walk.lastTime = frame->time;
        walk.lastNumber = frame->number;
        walk.end = frame->End();
        if (progress != nullptr && walk.end >= nextReport) {
            progress->Passed(walk.end);
            nextReport = walk.end + kProgressStep;
        }
        if (!frame->Closes()) continue;
        walk.closed = true;
        while (walk.end < bytes.size() &&
               bytes[walk.end] == static_cast<unsigned char>(FrameKind::NextSection)) {
            auto stray = ReadFrame(bytes, walk.end);
            if (!stray) break;
            ++walk.frames;
            walk.end = stray->End();
        }
        return walk;
    }
    return stop(walk.end,
                limit == demo.size()
                    ? "the file ends after the last whole frame, before the segment's next-section frame"
                    : "the segment ends without its next-section frame");
}

FrameRun WalkFromHeader(ByteView demo, ScanProgress* progress) {
    FrameRun run{WalkSegment(demo, kContainerHeaderSize, demo.size(), false, progress), std::nullopt};
    if (run.loading.closed) run.playback = WalkSegment(demo, run.loading.end, demo.size(), true, progress);
    return run;
}

Result<DemoCheck> CheckDemo(ByteView demo, ScanProgress* progress) {
    auto header = ReadContainerHeader(demo);
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
    DirectoryRead directory = ReadDirectory(demo, check.header.directoryOffset);
    check.entries = std::move(directory.entries);
    if (directory.state == DirectoryState::Ok) {
        for (std::size_t i = 0; i < check.entries.size(); ++i) {
            const DirectoryEntry& entry = check.entries[i];
            const auto begin = static_cast<std::uint64_t>(entry.offset);
            const SegmentWalk walk = WalkSegment(demo, begin, entry.End(), i > 0, progress);
            const std::string segment = "its segment " + std::to_string(i + 1) + " (" +
                                        std::to_string(entry.length) + " bytes at offset " +
                                        std::to_string(entry.offset) + ") ";
            if (walk.stop) {
                directory.state = DirectoryState::Damaged;
                directory.problem = segment + "breaks at offset " + std::to_string(walk.stop->offset) + ": " +
                                    walk.stop->reason;
                break;
            }
            if (walk.end != entry.End()) {
                directory.state = DirectoryState::Damaged;
                directory.problem = segment + "is closed at offset " + std::to_string(walk.end) +
                                    ", before its end; what follows is not frames of it";
                break;
            }
            if (i == 0) continue;
            check.frames += walk.messages;
            check.duration = walk.lastTime;
        }
    }
    check.directory = directory.state;
    if (directory.state == DirectoryState::Ok) return check;

    check.directoryProblem = std::move(directory.problem);
    check.frames = 0;
    check.duration = 0;
    FrameRun run = WalkFromHeader(demo, progress);
    if (run.playback) {
        check.frames = run.playback->messages;
        check.duration = run.playback->lastTime;
    }
    const SegmentWalk& last = run.playback ? *run.playback : run.loading;
    if (last.stop) {
        check.problem = *last.stop;
    } else {
        const std::uint64_t end = last.end;
        check.problem =
            DemoBreak{end, end < demo.size() ? demo[end] : -1, check.duration, true,
                      "every frame is whole, but the directory is " +
                          std::string(DirectoryStateText(directory.state)) + ": " + check.directoryProblem};
    }
    check.run = std::move(run);
    return check;
}

}  // namespace vorelix::demo
