// The scans on real recordings, checked against the counts MANIFEST.tsv gives for each file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "RealDemos.h"
#include "TempDir.h"
#include "demo/DemoHeader.h"
#include "demo/DemoLayout.h"
#include "demo/DemoSummary.h"
#include "demo/NickScan.h"
#include "demo/StatsMe.h"

namespace vorelix::demo {
namespace {

struct ManifestRow {
    std::string map;
    std::string gameDir;
    bool hltv = false;
    std::size_t nameMarkers = 0;
    std::size_t statsMeMarkers = 0;
};

// MANIFEST.tsv writes bytes that are not printable as \xNN.
std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::map<std::string, ManifestRow> ReadManifest() {
    std::map<std::string, ManifestRow> rows;
    std::ifstream in(test::RealDemosDir() / "MANIFEST.tsv");
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::stringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, '\t');) cells.push_back(cell);
        if (cells.size() < 11) continue;
        rows[cells[0]] = ManifestRow{Unescape(cells[5]), Unescape(cells[6]), cells[7] == "yes",
                                     std::stoul(cells[8]), std::stoul(cells[10])};
    }
    return rows;
}

// Inscriptions (and blanked bytes) a separate reading of the recordings found.
const std::map<std::string, std::pair<std::size_t, std::size_t>> kStatsMeExpected = {
    {"uds_cs-rulit-aim_deagle.dem", {12, 384}},
    {"uds_cs-rulit-de_alexandra.dem", {108, 3310}},
    {"uds_cs-rulit-de_dust2_2x2_wide.dem", {13, 250}},
    {"uds_no_fps_hack2.dem", {23, 828}},
};

TEST(RealDemos, HeaderNicksPlayersAndStatsMeMatchTheManifest) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    const auto manifest = ReadManifest();
    ASSERT_FALSE(manifest.empty());
    for (const auto& file : test::RealDemoFiles()) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        ASSERT_TRUE(manifest.contains(name));
        const ManifestRow& row = manifest.at(name);
        const std::string bytes = test::ReadFileBytes(file);
        const ByteView all = AsBytes(bytes);

        auto header = ParseHeader(all);
        ASSERT_TRUE(header.ok());
        EXPECT_EQ(header->map, row.map);
        EXPECT_EQ(header->mod, row.gameDir);

        const ByteView body = all.subspan(kBodyOffset, *BodyWindowLength(bytes.size()));
        EXPECT_EQ(HasHltvMarker(body), row.hltv);

        auto nicks = ScanNicks(all);
        ASSERT_TRUE(nicks.ok());
        EXPECT_EQ(nicks->size(), row.nameMarkers);
        for (const auto& entry : *nicks) {
            EXPECT_EQ(bytes.substr(static_cast<std::size_t>(entry.position) - 7, 6), "\\name\\");
            const char terminator = bytes[static_cast<std::size_t>(entry.position - 1) + entry.nick.size()];
            EXPECT_TRUE(terminator == '\\' || terminator == '\0');
        }

        // Every nick whose marker and terminator lie in the body window is one of the players.
        auto summary = Summarize(all.first(kBodyOffset), body, bytes.size());
        ASSERT_TRUE(summary.ok());
        EXPECT_TRUE(std::is_sorted(summary->players.rbegin(), summary->players.rend()));
        for (const auto& entry : *nicks) {
            const auto markerOffset = static_cast<std::uint64_t>(entry.position) - 7;
            const auto end = static_cast<std::uint64_t>(entry.position - 1) + entry.nick.size();
            if (markerOffset < kBodyOffset || end >= kBodyOffset + body.size()) continue;
            if (entry.nick.empty()) continue;
            EXPECT_NE(std::find(summary->players.begin(), summary->players.end(), entry.nick),
                      summary->players.end())
                << entry.nick;
        }
        EXPECT_EQ(summary->players.empty(), FindPattern(body, 0, "\\name\\") == kNotFound);

        const auto statsMe = PlanStatsMeRemoval(all);
        const auto expected = kStatsMeExpected.find(name);
        if (expected == kStatsMeExpected.end()) {
            EXPECT_FALSE(statsMe.found);
        } else {
            EXPECT_TRUE(statsMe.found);
            EXPECT_EQ(statsMe.inscriptions, expected->second.first);
            EXPECT_EQ(statsMe.plan.BytesWritten(), expected->second.second);
        }
        EXPECT_LE(statsMe.inscriptions, row.statsMeMarkers);
    }
}

TEST(RealDemos, NamesWithNonAsciiBytesAndNameChangesAreListed) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    const std::string patriots = test::ReadFileBytes(test::RealDemosDir() / "uds_New_Patriots_1.dem");
    const ByteView all = AsBytes(patriots);
    auto summary = Summarize(all.first(kBodyOffset),
                             all.subspan(kBodyOffset, *BodyWindowLength(patriots.size())), patriots.size());
    ASSERT_TRUE(summary.ok());
    EXPECT_TRUE(std::any_of(summary->players.begin(), summary->players.end(), [](const std::string& name) {
        return std::any_of(name.begin(), name.end(),
                           [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    }));

    const std::string change = test::ReadFileBytes(test::RealDemosDir() / "uds_test_name_change.dem");
    auto nicks = ScanNicks(AsBytes(change));
    ASSERT_TRUE(nicks.ok());
    std::set<std::string> distinct;
    for (const auto& entry : *nicks) distinct.insert(entry.nick);
    EXPECT_GT(distinct.size(), 1u);
}

}  // namespace
}  // namespace vorelix::demo
