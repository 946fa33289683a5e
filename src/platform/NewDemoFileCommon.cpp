// The half of new demo files both platforms share: the pieces in chunks, and checking and repairing a
// demo file through a mapped view.
#include <algorithm>

#include "platform/DemoFile.h"
#include "platform/NewDemoFile.h"

namespace vorelix::platform {

Status WritePieces(demo::ByteView source, std::span<const demo::DemoPiece> pieces,
                   demo::ScanProgress* progress, const ChunkWriter& write) {
    constexpr std::uint64_t kChunk = std::uint64_t{8} << 20;
    if (auto fits = demo::CheckPiecesFit(pieces, source.size()); !fits) return fits;
    for (const auto& piece : pieces) {
        if (!piece.bytes.empty()) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(piece.bytes.data());
            if (auto wrote = write(bytes, piece.bytes.size()); !wrote) return wrote;
            continue;
        }
        for (std::uint64_t at = piece.copyFrom; at < piece.copyTo;) {
            const auto part = static_cast<std::size_t>(std::min(kChunk, piece.copyTo - at));
            if (auto wrote = write(source.data() + at, part); !wrote) return wrote;
            at += part;
            if (progress != nullptr) progress->Passed(static_cast<std::size_t>(at));
        }
    }
    return Ok();
}

Result<demo::DemoCheck> CheckDemoFile(const std::filesystem::path& demo) {
    auto mapped = MappedDemo::Open(demo);
    if (!mapped) return mapped.failure();
    return demo::CheckDemo(mapped->Bytes(), &*mapped);
}

Result<RepairOutcome> RepairDemoFile(const std::filesystem::path& demo, const std::filesystem::path& output) {
    auto mapped = MappedDemo::Open(demo);
    if (!mapped) return mapped.failure();
    auto answer = demo::PlanRepair(mapped->Bytes(), &*mapped);
    if (!answer) return answer.failure();
    RepairOutcome outcome{std::move(*answer), {}};
    if (outcome.answer.Whole()) return outcome;
    outcome.output = output.empty() ? demo::RepairedDemoPath(demo) : output;
    auto written = WriteNewDemo(outcome.output, mapped->Bytes(), outcome.answer.plan->pieces, &*mapped);
    if (!written) return written.failure();
    return outcome;
}

}  // namespace vorelix::platform
