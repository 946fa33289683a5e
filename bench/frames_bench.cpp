// Benchmark of the frame walk on a 256 MB demo against one read pass of it, and of repairing the demo
// cut before its directory against a plain copy. The demo repeats the playback frames of the real
// recordings (times moved on at each repetition) or, without them, synthetic frames. Prints figures.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "demo/DemoCheck.h"
#include "demo/DemoFrames.h"
#include "demo/LittleEndian.h"
#include "platform/files/DemoFile.h"

namespace {

namespace fs = std::filesystem;
using namespace vorelix;

constexpr std::uint64_t kTarget = std::uint64_t{256} << 20;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Frame(std::uint8_t kind, float time, std::int32_t number, const std::string& body) {
    std::string frame(1, static_cast<char>(kind));
    demo::AppendFloat(frame, time);
    demo::AppendInt32(frame, number);
    return frame + body;
}

// A loading segment and blocks of playback frames (closing frames left out) to repeat.
struct Source {
    std::string name;
    std::string loading;
    std::vector<std::string> playbacks;
};

// Every whole recording at hand, or only the one whose frames are smallest (the most frames per
// byte: the walk's worst case); synthetic frames of recorded sizes when the recordings are absent.
std::vector<Source> PickSources() {
    std::vector<Source> sources{{"every recording at hand", {}, {}},
                                {"uds_no_fps_hack2.dem (smallest frames)", {}, {}}};
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(VORELIX_BENCH_DEMOS_DIR, ec)) {
        const std::string bytes = ReadAll(entry.path());
        auto check = demo::CheckDemo(demo::AsBytes(bytes));
        if (!check || !check->Whole() || check->entries.size() != 2) continue;
        const auto& loading = check->entries[0];
        const auto& playback = check->entries[1];
        const std::string frames =
            bytes.substr(static_cast<std::size_t>(playback.offset), playback.length - demo::kFrameHeaderSize);
        for (Source& source : sources) {
            if (source.name.starts_with("uds_") && entry.path().filename() != "uds_no_fps_hack2.dem")
                continue;
            if (source.loading.empty())
                source.loading = bytes.substr(static_cast<std::size_t>(loading.offset), loading.length);
            source.playbacks.push_back(frames);
        }
    }
    std::erase_if(sources, [](const Source& source) { return source.playbacks.empty(); });
    if (!sources.empty()) return sources;
    std::mt19937 random(1);
    const std::string info(demo::kMessageInfoSize, '\x11');
    Source synthetic{
        "synthetic frames", Frame(0, 1, 1, info + std::string(4, '\0')) + Frame(5, 1, 1, ""), {""}};
    for (int i = 0; i < 20000; ++i) {
        const float time = static_cast<float>(i) * 0.01f;
        std::string message(40 + random() % 1400, '\x22');
        std::string counted;
        demo::AppendInt32(counted, static_cast<std::int32_t>(message.size()));
        synthetic.playbacks[0] += Frame(4, time, i, std::string(demo::kClientDataSize, '\x33'));
        synthetic.playbacks[0] += Frame(9, time, i, std::string("\x08\0\0\0buffer!!", 12));
        synthetic.playbacks[0] += Frame(1, time, i, info + counted + message);
    }
    return {synthetic};
}

// Writes the header, the loading segment, the playback blocks in turn up to 256 MB with their times
// moved on, a closing frame and the game's directory. Returns the directory's offset.
std::uint64_t WriteBigDemo(const fs::path& path, const Source& source) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string header(demo::kContainerHeaderSize, '\0');
    std::memcpy(header.data(), "HLDEMO", 6);
    header[demo::kDemoProtocolOffset] = 5;
    header[demo::kNetworkProtocolOffset] = 48;
    out << header << source.loading;
    const std::uint64_t playbackBegin = header.size() + source.loading.size();
    std::uint64_t written = playbackBegin;
    float base = 0;
    float last = 0;
    std::uint64_t messages = 0;
    for (std::size_t block = 0;; block = (block + 1) % source.playbacks.size()) {
        std::string copy = source.playbacks[block];
        if (written + copy.size() >= kTarget) break;
        const demo::ByteView frames = demo::AsBytes(source.playbacks[block]);
        for (std::uint64_t at = 0; at < frames.size();) {
            const demo::Frame frame = *demo::ReadFrame(frames.subspan(at), at, frames.size() - at);
            last = base + frame.time;
            std::string time;
            demo::AppendFloat(time, last);
            copy.replace(at + 1, 4, time);
            messages += frame.IsMessage() ? 1 : 0;
            at = frame.End();
        }
        out << copy;
        written += copy.size();
        base = last + 0.01f;
    }
    out << Frame(5, last, 0, "");
    const std::uint64_t directory = written + demo::kFrameHeaderSize;
    out << demo::EncodeDirectory(
        {{0, "LOADING", 0, -1, 0, 0, static_cast<std::int32_t>(header.size()),
          static_cast<std::int32_t>(source.loading.size())},
         {1, "Playback", 0, -1, last, static_cast<std::int32_t>(messages),
          static_cast<std::int32_t>(playbackBegin), static_cast<std::int32_t>(directory - playbackBegin)}});
    out.seekp(static_cast<std::streamoff>(demo::kDirectoryOffsetField));
    std::string offset;
    demo::AppendInt32(offset, static_cast<std::int32_t>(directory));
    out << offset;
    return directory;
}

void BenchOne(const fs::path& folder, const Source& source) {
    const fs::path path = folder / "big.dem";
    const std::uint64_t directory = WriteBigDemo(path, source);
    const double bytesPerFrame = [&] {
        std::uint64_t count = 0;
        for (const auto& block : source.playbacks) {
            const demo::ByteView bytes = demo::AsBytes(block);
            for (std::uint64_t at = 0; at < bytes.size(); ++count)
                at += demo::FrameSize(bytes.subspan(at), bytes.size() - at);
        }
        std::uint64_t length = 0;
        for (const auto& block : source.playbacks) length += block.size();
        return static_cast<double>(length) / static_cast<double>(count);
    }();
    std::printf("== %.0f MB demo repeating the playback of %s (%.0f bytes a frame)\n",
                static_cast<double>(fs::file_size(path)) / (1 << 20), source.name.c_str(), bytesPerFrame);

    const double readPass = bench::ReadPassSeconds(path);
    demo::DemoCheck check;
    const double walk = bench::Best([&] { check = platform::CheckDemoFile(path).value(); }, 5);
    std::printf("walk (every frame, read a chunk at a time): %.3f s, one read pass %.3f s, ratio %.2f\n",
                walk, readPass, walk / readPass);
    std::printf("   %s directory, %.1f s of playback, %llu net-message frames\n",
                std::string(demo::DirectoryStateText(*check.directory)).c_str(), check.duration,
                static_cast<unsigned long long>(check.frames));

    // Repair of the demo cut before its directory (walk, then write the copy) beside a plain copy.
    fs::resize_file(path, directory);
    const fs::path repaired = folder / "big.repaired.dem";
    const double repair = bench::Best(
        [&] {
            fs::remove(repaired);
            if (!platform::RepairDemoFile(path).ok()) std::printf("   repair failed\n");
        },
        3);
    const double copy = bench::Best(
        [&] {
            fs::remove(repaired);
            fs::copy_file(path, repaired);
        },
        3);
    std::printf(
        "repair of the demo cut before its directory: %.3f s, a plain copy of it %.3f s, ratio %.2f\n",
        repair, copy, repair / copy);
    fs::remove(repaired);
    fs::remove(path);
}

}  // namespace

int main() {
    const fs::path folder =
        fs::temp_directory_path() / ("vorelix-frames-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const Source& source : PickSources()) BenchOne(folder, source);
    fs::remove_all(folder);
    return 0;
}
