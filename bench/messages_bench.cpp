// Benchmark of decoding every message of 256 MB of real recordings, each demo streamed from disk a
// chunk at a time as the command line reads it, beside a plain read pass and the frame walk of the
// same files, and the process's peak memory. Prints figures.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "demo/DemoCheck.h"
#include "demo/DemoContainer.h"
#include "demo/net/DemoMessages.h"
#include "demo/net/EngineMessages.h"
#include "platform/files/DemoFile.h"

namespace {

namespace fs = std::filesystem;
using namespace vorelix;

constexpr std::uint64_t kTarget = std::uint64_t{256} << 20;

// Counts what the decoder hands on, so that nothing it does for the sink is optimised away.
class CountingSink final : public demo::net::MessageSink {
  public:
    void OnUserMessage(std::string_view, demo::ByteView payload, std::uint64_t,
                       const demo::net::FrameFacts&) override {
        ++userMessages;
        payloadBytes += payload.size();
    }

    std::uint64_t userMessages = 0;
    std::uint64_t payloadBytes = 0;
};

// The recordings of the demos folder and its more/ folder that the decoder reads: demo protocol 5,
// network protocol 48.
std::vector<fs::path> PickRecordings() {
    std::vector<fs::path> recordings;
    const fs::path root = VORELIX_BENCH_DEMOS_DIR;
    for (const fs::path& folder : {root, root / "more"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            if (!entry.is_regular_file() || entry.path().extension() != ".dem") continue;
            auto file = platform::ChunkedDemoFile::Open(entry.path());
            if (!file || file->Size() < demo::kContainerHeaderSize) continue;
            auto first = file->At(0, demo::kContainerHeaderSize);
            if (!first) continue;
            auto header = demo::ReadContainerHeader(first->first(demo::kContainerHeaderSize));
            if (header && header->FramesReadable() &&
                header->networkProtocol == demo::net::kDecodedNetworkProtocol)
                recordings.push_back(entry.path());
        }
    }
    std::sort(recordings.begin(), recordings.end());
    return recordings;
}

// Copies the recordings in turn into `folder` until the copies hold 256 MB; each stays a demo of its
// own, since the decoder's state belongs to one recording.
std::vector<fs::path> WriteCopies(const fs::path& folder, const std::vector<fs::path>& recordings) {
    std::vector<fs::path> copies;
    std::uint64_t written = 0;
    for (std::size_t i = 0; written < kTarget; ++i) {
        const fs::path& source = recordings[i % recordings.size()];
        const fs::path copy = folder / (std::to_string(i) + "-" + source.filename().string());
        fs::copy_file(source, copy);
        written += fs::file_size(copy);
        copies.push_back(copy);
    }
    return copies;
}

// One read() pass over every copy in 1 MB steps.
void ReadAll(const std::vector<fs::path>& copies) {
    static std::string buffer(1 << 20, '\0');
    std::size_t total = 0;
    for (const fs::path& path : copies) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
            total += static_cast<std::size_t>(got);
        ::close(fd);
    }
    bench::sink = total;
}

double PeakResidentMb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;  // kilobytes on Linux
}

}  // namespace

int main() {
    const std::vector<fs::path> recordings = PickRecordings();
    if (recordings.empty()) {
        std::printf("no protocol-48 recordings in %s: nothing to measure\n", VORELIX_BENCH_DEMOS_DIR);
        return 0;
    }
    const fs::path folder =
        fs::temp_directory_path() / ("vorelix-messages-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::vector<fs::path> copies = WriteCopies(folder, recordings);
    std::uint64_t total = 0;
    for (const fs::path& copy : copies) total += fs::file_size(copy);
    const double megabytes = static_cast<double>(total) / (1 << 20);
    std::printf("== %zu copies of %zu real protocol-48 recordings, %.0f MB, each read 1 MB at a time\n",
                copies.size(), recordings.size(), megabytes);
    std::printf("peak resident memory before decoding: %.1f MB\n", PeakResidentMb());

    const double read = bench::Best([&] { ReadAll(copies); }, 3);

    std::uint64_t walkedFrames = 0;
    const double walk = bench::Best(
        [&] {
            walkedFrames = 0;
            for (const fs::path& copy : copies) {
                auto file = platform::ChunkedDemoFile::Open(copy);
                auto check = demo::CheckDemo(file.value());
                if (check) walkedFrames += check->frames;
            }
        },
        3);

    std::uint64_t decoded = 0;
    std::uint64_t notDecoded = 0;
    std::uint64_t wholeDemos = 0;
    CountingSink counts;
    const double decode = bench::Best(
        [&] {
            decoded = notDecoded = wholeDemos = 0;
            counts = CountingSink();
            for (const fs::path& copy : copies) {
                auto file = platform::ChunkedDemoFile::Open(copy);
                auto outcome = demo::net::DecodeDemoMessages(file.value(), counts);
                if (!outcome) {
                    std::printf("   %s: %s\n", copy.filename().c_str(), outcome.failure().systemText.c_str());
                    continue;
                }
                decoded += outcome->framesDecoded;
                notDecoded += outcome->framesNotDecoded;
                wholeDemos += outcome->Whole() ? 1 : 0;
            }
        },
        3);

    std::printf("read pass (read() in 1 MB steps):   %.3f s, %7.0f MB/s\n", read, megabytes / read);
    std::printf("frame walk (CheckDemo, chunked):    %.3f s, %7.0f MB/s, %llu playback message frames\n",
                walk, megabytes / walk, static_cast<unsigned long long>(walkedFrames));
    std::printf("message decode (chunked):           %.3f s, %7.0f MB/s, ratio to the read pass %.1f\n",
                decode, megabytes / decode, decode / read);
    std::printf("   %llu message frames decoded, %llu not; %llu of %zu demos whole; %llu user messages\n",
                static_cast<unsigned long long>(decoded), static_cast<unsigned long long>(notDecoded),
                static_cast<unsigned long long>(wholeDemos), copies.size(),
                static_cast<unsigned long long>(counts.userMessages));
    std::printf("peak resident memory after decoding: %.1f MB\n", PeakResidentMb());
    fs::remove_all(folder);
    return 0;
}
