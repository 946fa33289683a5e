// The repair plan: whole frames kept as ranges of the source, a closing frame and a new directory.
#include "demo/DemoRepair.h"

#include "demo/DemoFrames.h"
#include "demo/LittleEndian.h"

namespace vorelix::demo {

namespace {

// The game's directory: the loading segment (its time and frame count left 0), then playback, both
// with no flags and CD track -1.
std::vector<DirectoryEntry> GameDirectory(std::uint64_t playbackBegin, std::uint64_t directoryOffset,
                                          float time, std::uint64_t frames) {
    const auto at = static_cast<std::int32_t>(playbackBegin);
    return {
        DirectoryEntry{0, "LOADING", 0, -1, 0.0f, 0, static_cast<std::int32_t>(kContainerHeaderSize),
                       at - static_cast<std::int32_t>(kContainerHeaderSize)},
        DirectoryEntry{1, "Playback", 0, -1, time, static_cast<std::int32_t>(frames), at,
                       static_cast<std::int32_t>(directoryOffset) - at},
    };
}

std::string At(const DemoBreak& stop) {
    return "at offset " + std::to_string(stop.offset) + " (" + stop.reason + ")";
}

}  // namespace

Result<RepairAnswer> PlanRepair(DemoBytes& demo) {
    auto check = CheckDemo(demo);
    if (!check) return check.failure();
    if (!check->framesRead) return Failure{check->problem->reason + ", so it cannot be repaired", 0};
    RepairAnswer answer{std::move(*check), std::nullopt};
    if (answer.check.Whole()) return answer;

    const FrameRun& run = *answer.check.run;
    if (!run.playback)
        return Failure{"the demo breaks inside its loading segment " + At(*run.loading.stop) +
                           ": there is no playback to keep",
                       0};
    const SegmentWalk& playback = *run.playback;
    if (playback.messages == 0) {
        const std::string where = playback.stop ? At(*playback.stop) : "";
        return Failure{"the demo breaks " + where +
                           " before a net message of playback is whole: there is nothing to keep",
                       0};
    }
    std::string closing;
    if (!playback.closed) closing = EncodeClosingFrame(playback.lastTime, playback.lastNumber);
    const std::uint64_t directoryOffset = playback.end + closing.size();
    const std::string directory =
        EncodeDirectory(GameDirectory(playback.begin, directoryOffset, playback.lastTime, playback.messages));
    if (directoryOffset + directory.size() > kLargestDirectoryOffset)
        return Failure{"the repaired demo would be over 2 GB, which the directory's offsets cannot reach", 0};

    RepairPlan plan;
    std::string offsetField;
    AppendInt32(offsetField, static_cast<std::int32_t>(directoryOffset));
    plan.pieces.push_back(DemoPiece{0, kDirectoryOffsetField, {}});
    plan.pieces.push_back(DemoPiece{0, 0, offsetField});
    plan.pieces.push_back(DemoPiece{kContainerHeaderSize, playback.end, {}});
    if (!closing.empty()) plan.pieces.push_back(DemoPiece{0, 0, closing});
    plan.pieces.push_back(DemoPiece{0, 0, directory});
    plan.length = directoryOffset + directory.size();
    plan.duration = playback.lastTime;
    plan.frames = playback.messages;
    plan.droppedBytes = demo.Size() - playback.end;
    plan.closingFrameAdded = !closing.empty();
    answer.plan = std::move(plan);
    return answer;
}

Result<RepairAnswer> PlanRepair(ByteView demo) {
    SpanBytes bytes(demo);
    return PlanRepair(bytes);
}

Status CheckPiecesFit(std::span<const DemoPiece> pieces, std::uint64_t sourceLength) {
    for (const auto& piece : pieces) {
        if (!piece.bytes.empty()) continue;
        if (piece.copyFrom > piece.copyTo || piece.copyTo > sourceLength)
            return Failure{"a piece of the new demo lies outside the source demo", 0};
    }
    return Ok();
}

std::string AssembleDemo(ByteView source, std::span<const DemoPiece> pieces) {
    std::string out;
    for (const auto& piece : pieces) {
        if (piece.bytes.empty()) {
            out += AsText(source.subspan(piece.copyFrom, piece.copyTo - piece.copyFrom));
        } else {
            out += piece.bytes;
        }
    }
    return out;
}

std::filesystem::path RepairedDemoPath(const std::filesystem::path& demo) {
    std::filesystem::path repaired = demo;
    repaired.replace_extension(".repaired.dem");
    return repaired;
}

}  // namespace vorelix::demo
