// Repairing a demo whose directory is missing or damaged: a plan of the new demo's pieces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "demo/edit/ByteSearch.h"
#include "demo/DemoCheck.h"
#include "demo/Result.h"

namespace vorelix::demo {

// One piece of a new demo: when `bytes` is empty, bytes [copyFrom, copyTo) of the source demo;
// otherwise these new bytes. The pieces of a plan follow each other in the new file.
struct DemoPiece {
    std::uint64_t copyFrom = 0;
    std::uint64_t copyTo = 0;
    std::string bytes;

    std::uint64_t Size() const { return bytes.empty() ? copyTo - copyFrom : bytes.size(); }
};

struct RepairPlan {
    std::vector<DemoPiece> pieces;
    std::uint64_t length = 0;        // of the repaired demo
    double duration = 0;             // seconds of playback it keeps
    std::uint64_t frames = 0;        // net-message frames of playback it keeps
    std::uint64_t droppedBytes = 0;  // bytes of the source after its last whole frame, left out
    bool closingFrameAdded = false;
    // Where the copy stops short of the break because the frames after would not fit in 2 GiB.
    std::optional<std::uint64_t> sizeStop;
};

struct RepairAnswer {
    DemoCheck check;                 // what the source is
    std::optional<RepairPlan> plan;  // absent when the source is whole: it is left alone

    bool Whole() const { return !plan; }
};

// Plans the repaired copy of a demo whose directory is missing or damaged: the header with the new
// directory's offset, every whole frame from the header up to where the demo breaks (or up to the
// playback's closing frame), a closing next-section frame when that is missing (with the time and
// frame number of the last whole frame), and a directory of a "LOADING" and a "Playback" entry
// written the way the game writes it. A copy that would reach 2 GiB (past the directory's offsets,
// and more than the game reads) keeps the whole frames that fit, and says where it stops. Fails,
// saying why, for a file that is not a protocol-5 demo and one that breaks before a net message of
// playback is whole.
Result<RepairAnswer> PlanRepair(DemoBytes& demo);
Result<RepairAnswer> PlanRepair(ByteView demo);

// "It stops at offset N: ..." for a copy cut short to fit 2 GiB; empty otherwise. The window and
// the command line add it to what they say the copy keeps.
std::string DescribeSizeStop(const RepairPlan& plan);

// A clause of the engine's reasons ("the file ends inside ...") written as a sentence of its own.
std::string AsSentence(std::string_view clause);

// The pieces of a plan checked against the source: every copied range lies inside it.
Status CheckPiecesFit(std::span<const DemoPiece> pieces, std::uint64_t sourceLength);

// The new demo in memory (for small demos and tests; files are written piece by piece). The pieces
// have been checked with CheckPiecesFit.
std::string AssembleDemo(ByteView source, std::span<const DemoPiece> pieces);

// "<name>.repaired.dem" beside the demo: where a repaired copy goes unless told otherwise.
std::filesystem::path RepairedDemoPath(const std::filesystem::path& demo);

}  // namespace vorelix::demo
