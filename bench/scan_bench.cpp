// Benchmark of the demo scans against a plain memchr pass, and of StatsMe removal against one read
// pass, on synthetic demos of 16 MB and 256 MB. Prints its figures; not a test.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "BenchTiming.h"
#include "demo/edit/ByteSearch.h"
#include "demo/edit/ChatScan.h"
#include "demo/DemoHeader.h"
#include "demo/edit/NickScan.h"
#include "demo/PlayerScan.h"
#include "demo/edit/StatsMe.h"
#include "platform/files/DemoFile.h"

namespace {

namespace fs = std::filesystem;
using namespace vorelix;
using bench::Best;
using bench::Clock;
using bench::ReadPassSeconds;
using bench::sink;

// The filler never holds 0xFF, so memchr for it runs over every byte: the baseline pass.
constexpr unsigned char kAbsent = 0xFF;

// Recorded demo data is mostly NULs and small numbers; the markers come at realistic distances: a
// name every few KB, a chat line every 16 KB, a StatsMe inscription every 32 KB.
void WriteSyntheticDemo(const fs::path& path, std::size_t length) {
    std::mt19937_64 random(length);
    std::string chunk(1 << 20, '\0');
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::size_t written = 0;
    std::size_t sinceChat = 0;
    std::size_t sinceStatsMe = 0;
    while (written < length) {
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            const std::uint64_t roll = random();
            const auto percent = roll % 100;
            chunk[i] = static_cast<char>(percent < 47   ? 0
                                         : percent < 72 ? 1 + (roll >> 8) % 15
                                                        : 16 + (roll >> 8) % 239);
        }
        for (std::size_t at = 0; at + 200 < chunk.size(); at += 1024 + random() % 2048) {
            std::string piece;
            sinceChat += 1, sinceStatsMe += 1;
            if (sinceStatsMe >= 16) {
                piece = std::string("\x17\x1D\x01", 3) + '\0' + std::string(18, '\x05') + "Player" +
                        std::to_string(random() % 32) + " made headshot on someone\n(42 hp left)" + '\0';
                sinceStatsMe = 0;
            } else if (sinceChat >= 8) {
                piece = "\x02Player" + std::to_string(random() % 32) + " :   gg wp, next round\n";
                sinceChat = 0;
            } else {
                piece = "\\name\\Player" + std::to_string(random() % 32) + "\\model\\gign\\";
            }
            std::memcpy(chunk.data() + at, piece.data(), piece.size());
        }
        if (written == 0) {
            std::memset(chunk.data(), 0, demo::kBodyOffset);
            std::memcpy(chunk.data(), "HLDEMO", 6);
            std::memcpy(chunk.data() + demo::kMapOffset, "de_dust2", 8);
            std::memcpy(chunk.data() + demo::kGameOffset, "cstrike", 7);
        }
        const std::size_t part = std::min(chunk.size(), length - written);
        std::fwrite(chunk.data(), 1, part, out);
        written += part;
    }
    std::fclose(out);
}

double MemchrSeconds(demo::ByteView bytes) {
    return Best([&] { sink = std::memchr(bytes.data(), kAbsent, bytes.size()) == nullptr ? 0 : 1; });
}

void Report(const char* scan, std::size_t bytes, double seconds, double memchrSeconds) {
    const double speed = static_cast<double>(bytes) / seconds / 1e9;
    const double memchrSpeed = static_cast<double>(bytes) / memchrSeconds / 1e9;
    std::printf("%s: %.2f GB/s, memchr %.2f GB/s, ratio %.2f\n", scan, speed, memchrSpeed,
                speed / memchrSpeed);
}

void BenchOne(const fs::path& folder, std::size_t megabytes) {
    const fs::path path = folder / ("synthetic-" + std::to_string(megabytes) + "MB.dem");
    WriteSyntheticDemo(path, megabytes << 20);
    std::printf("== %zu MB demo\n", megabytes);
    auto opened = platform::MappedDemo::Open(path);
    const demo::ByteView all = opened.value().Bytes();
    const double memchrAll = MemchrSeconds(all);  // also brings the file into memory

    const demo::ByteView body = all.subspan(demo::kBodyOffset, *demo::BodyWindowLength(all.size()));
    std::size_t players = 0;
    const double playerSeconds = Best([&] { players = demo::ScanPlayers(body).size(); }, 50);
    Report("players (body window)", body.size(), playerSeconds,
           Best([&] { sink = std::memchr(body.data(), kAbsent, body.size()) == nullptr ? 0 : 1; }, 50));

    std::size_t nicks = 0;
    Report("nicks", all.size(), Best([&] { nicks = demo::ScanNicks(all).value().size(); }), memchrAll);
    std::size_t lines = 0;
    Report("chat", all.size(), Best([&] { lines = demo::ScanChat(all).size(); }), memchrAll);
    std::size_t inscriptions = 0;
    Report("statsme", all.size(), Best([&] { inscriptions = demo::PlanStatsMeRemoval(all).inscriptions; }),
           memchrAll);
    std::printf("   found: %zu players, %zu nicks, %zu chat lines, %zu StatsMe inscriptions\n", players,
                nicks, lines, inscriptions);

    if (megabytes >= 256) {
        // StatsMe removal on a copy, the way the command does it: map, plan, let go, write.
        const fs::path copy = folder / "copy.dem";
        const double readPass = ReadPassSeconds(path);
        double removal = 1e9;
        double planSeconds = 0;
        std::size_t runs = 0;
        for (int run = 0; run < 3; ++run) {
            fs::remove(copy);
            fs::copy_file(path, copy);
            sink = ReadPassSeconds(copy) > 0;  // the copy in memory, as the original is
            const auto start = Clock::now();
            demo::WritePlan plan;
            {
                auto view = platform::MappedDemo::Open(copy);
                plan = demo::PlanStatsMeRemoval(view.value().Bytes(), &view.value()).plan;
            }
            const auto planned = Clock::now();
            if (!platform::ApplyWritePlan(copy, plan).status.ok()) std::printf("   removal failed\n");
            const double total = std::chrono::duration<double>(Clock::now() - start).count();
            if (total < removal) {
                removal = total;
                planSeconds = std::chrono::duration<double>(planned - start).count();
                runs = demo::Coalesced(plan).runs.size();
            }
        }
        std::printf("statsme removal (plan + apply): %.3f s, one read pass %.3f s, ratio %.2f\n", removal,
                    readPass, removal / readPass);
        std::printf("   of which plan %.3f s, apply %.3f s (%zu positioned writes)\n", planSeconds,
                    removal - planSeconds, runs);
        // The plan reads the demo through a fresh mapping; mapping a file's pages in has its own cost
        // (large under some hypervisors), so the same pass over a fresh mapping is shown too.
        const double mappedPass = Best(
            [&] {
                auto view = platform::MappedDemo::Open(copy);
                sink =
                    std::memchr(view.value().Bytes().data(), kAbsent, view.value().Bytes().size()) == nullptr;
            },
            3);
        std::printf("statsme removal vs one pass over a fresh mapping %.3f s: ratio %.2f\n", mappedPass,
                    removal / mappedPass);
        fs::remove(copy);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // --keep leaves the synthetic demos (and says where) for measuring the command-line tool.
    const bool keep = argc > 1 && std::strcmp(argv[1], "--keep") == 0;
    const fs::path folder = fs::temp_directory_path() / ("vorelix-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    BenchOne(folder, 16);
    BenchOne(folder, 256);
    if (keep) {
        std::printf("demos kept in %s\n", folder.c_str());
    } else {
        fs::remove_all(folder);
    }
    return 0;
}
