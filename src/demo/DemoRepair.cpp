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
    return "at offset " + std::to_string(stop.offset) + ": " + stop.reason;
}

// A directory of the two entries GameDirectory gives, and the closing frame.
constexpr std::uint64_t kGameDirectorySize = 4 + 2 * kDirectoryEntrySize;
constexpr std::uint64_t kClosingFrameSize = kFrameHeaderSize;

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
                           "; there is no playback to keep",
                       0};
    SegmentWalk playback = *run.playback;
    if (playback.messages == 0) {
        if (!playback.stop)
            return Failure{"no net message of playback is whole: there is nothing to keep", 0};
        return Failure{"the demo breaks at offset " + std::to_string(playback.stop->offset) +
                           " before a net message of playback is whole: " + playback.stop->reason +
                           "; there is nothing to keep",
                       0};
    }
    // A demo the game can read stays under 2 GiB, the reach of the directory's offsets: past that,
    // the copy keeps the whole frames that fit with its closing frame and directory.
    std::optional<std::uint64_t> sizeStop;
    if (playback.end + kClosingFrameSize + kGameDirectorySize > kLargestDirectoryOffset) {
        const std::uint64_t fits = kLargestDirectoryOffset - kClosingFrameSize - kGameDirectorySize;
        if (playback.begin >= fits)
            return Failure{
                "the demo's playback starts past the 2 GiB a demo can hold: there is nothing to keep", 0};
        auto kept = WalkSegment(demo, playback.begin, fits, true);
        if (!kept) return kept.failure();
        if (kept->messages == 0)
            return Failure{
                "no net message of playback is whole within the 2 GiB a demo can hold: there is nothing to "
                "keep",
                0};
        playback = std::move(*kept);
        sizeStop = playback.end;
    }
    std::string closing;
    if (!playback.closed) closing = EncodeClosingFrame(playback.lastTime, playback.lastNumber);
    const std::uint64_t directoryOffset = playback.end + closing.size();
    const std::string directory =
        EncodeDirectory(GameDirectory(playback.begin, directoryOffset, playback.lastTime, playback.messages));

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
    plan.sizeStop = sizeStop;
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

std::string DescribeSizeStop(const RepairPlan& plan) {
    if (!plan.sizeStop) return "";
    return "It stops at offset " + std::to_string(*plan.sizeStop) +
           ": the whole frames after it would take the copy past the 2 GiB a demo can hold.";
}

std::string AsSentence(std::string_view clause) {
    std::string text(clause);
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

}  // namespace vorelix::demo
