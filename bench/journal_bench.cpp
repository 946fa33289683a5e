// The journal's cost: a 256 MB demo edited in place with 100,000 runs of 16 bytes (a large nick or
// StatsMe edit), through ApplyWritePlan (bytes before read, journal written and flushed, runs written
// and flushed, journal removed) beside the same runs written and flushed alone. Alternates the two
// so the page cache treats them alike. Run build/release/bench/journal_bench [FOLDER].
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchTiming.h"
#include "platform/files/DemoFile.h"

namespace fs = std::filesystem;
using namespace vorelix;

namespace {

void Must(const Status& status) {
    if (status) return;
    std::fprintf(stderr, "journal_bench: %s\n", status.failure().systemText.c_str());
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path demo = folder / "journal-bench.dem";
    constexpr std::uint64_t kLength = std::uint64_t{256} << 20;
    constexpr int kRuns = 100'000;
    {
        auto file = platform::File::CreateReplacing(demo);
        const std::string chunk(1 << 20, 'd');
        for (std::uint64_t at = 0; at < kLength; at += chunk.size()) Must(file->WriteAt(at, chunk.data(), chunk.size()));
        Must(file->Close());
    }
    demo::WritePlan plan;
    plan.fileLength = kLength;
    for (int i = 0; i < kRuns; ++i) {
        const std::uint64_t offset = kLength / kRuns * static_cast<std::uint64_t>(i);
        plan.runs.push_back({offset, std::string(16, static_cast<char>('a' + i % 2)), {}});
    }

    const auto alone = [&] {
        auto file = platform::File::OpenForWriting(demo);
        for (const auto& run : plan.runs) Must(file->WriteAt(run.offset, run.bytes.data(), run.bytes.size()));
        Must(file->Flush());
        Must(file->Close());
    };
    const auto journaled = [&] {
        Must(platform::ApplyWritePlan(demo, plan).status);
    };
    double aloneBest = 1e9, journaledBest = 1e9;
    for (int round = 0; round < 5; ++round) {
        aloneBest = std::min(aloneBest, bench::Best(alone, 1));
        journaledBest = std::min(journaledBest, bench::Best(journaled, 1));
    }
    std::printf("256 MB demo, %d runs of 16 bytes, in %s\n", kRuns, folder.string().c_str());
    std::printf("  runs written and flushed alone:   %8.1f ms\n", aloneBest * 1000);
    std::printf("  through the journal (all or none): %8.1f ms (+%.1f ms; journal %.1f MB)\n", journaledBest * 1000,
                (journaledBest - aloneBest) * 1000, (kRuns * (16.0 * 2 + 16) + 40) / (1 << 20));
    fs::remove(demo);
}
