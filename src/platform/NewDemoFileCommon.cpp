// The half of new demo files both platforms share: the pieces in chunks, and checking and repairing a
// demo file read a chunk at a time.
#include <algorithm>

#include "platform/ChunkedDemoFile.h"
#include "platform/NewDemoFile.h"

namespace vorelix::platform {

Status WritePieces(demo::DemoBytes& source, std::span<const demo::DemoPiece> pieces,
                   const ChunkWriter& write) {
    constexpr std::uint64_t kChunk = std::uint64_t{1} << 20;
    if (auto fits = demo::CheckPiecesFit(pieces, source.Size()); !fits) return fits;
    for (const auto& piece : pieces) {
        if (!piece.bytes.empty()) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(piece.bytes.data());
            if (auto wrote = write(bytes, piece.bytes.size()); !wrote) return wrote;
            continue;
        }
        for (std::uint64_t at = piece.copyFrom; at < piece.copyTo;) {
            const std::uint64_t part = std::min(kChunk, piece.copyTo - at);
            auto bytes = source.At(at, part);
            if (!bytes) return bytes.failure();
            if (auto wrote = write(bytes->data(), static_cast<std::size_t>(part)); !wrote) return wrote;
            at += part;
        }
    }
    return Ok();
}

Result<demo::DemoCheck> CheckDemoFile(const std::filesystem::path& demo) {
    auto file = ChunkedDemoFile::Open(demo);
    if (!file) return file.failure();
    return demo::CheckDemo(*file);
}

Result<RepairOutcome> RepairDemoFile(const std::filesystem::path& demo, const std::filesystem::path& output) {
    auto file = ChunkedDemoFile::Open(demo);
    if (!file) return file.failure();
    auto answer = demo::PlanRepair(*file);
    if (!answer) return answer.failure();
    RepairOutcome outcome{std::move(*answer), {}};
    if (outcome.answer.Whole()) return outcome;
    outcome.output = output.empty() ? demo::RepairedDemoPath(demo) : output;
    if (auto written = WriteNewDemo(outcome.output, *file, outcome.answer.plan->pieces); !written)
        return written.failure();
    return outcome;
}

}  // namespace vorelix::platform
