// The scans on real recordings, checked against the counts MANIFEST.tsv gives for each file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
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

// MANIFEST.tsv rows by file name: its cells, with the bytes it writes as \xNN unescaped.
std::map<std::string, std::vector<std::string>> ReadManifest() {
    std::map<std::string, std::vector<std::string>> rows;
    std::ifstream in(test::RealDemosDir() / "MANIFEST.tsv");
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::stringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, '\t'); cells.push_back(cell)) {
            for (std::size_t at; (at = cell.find("\\x")) != std::string::npos;)
                cell.replace(at, 4, 1, static_cast<char>(std::stoi(cell.substr(at + 2, 2), nullptr, 16)));
        }
        rows[cells.at(0)] = cells;
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
    for (const auto& file : test::RealDemoFiles()) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        // Cells: map@16, gamedir@276, HLTV marker, \name\ count and StatsMe marker count.
        const auto& row = manifest.at(name);
        const std::string bytes = test::ReadFileBytes(file);
        const ByteView all = AsBytes(bytes);
        const ByteView body = all.subspan(kBodyOffset, *BodyWindowLength(bytes.size()));
        auto summary = Summarize(all.first(kBodyOffset), body, bytes.size());
        ASSERT_TRUE(summary.ok());
        EXPECT_EQ(summary->map, row.at(5));
        EXPECT_EQ(summary->mod, row.at(6));
        EXPECT_EQ(summary->hltv, row.at(7) == "yes");

        // Every nick whose marker and terminator lie in the body window is one of the players.
        const auto& players = summary->players;
        EXPECT_EQ(players.empty(), FindPattern(body, 0, "\\name\\") == kNotFound);
        const auto nicks = ScanNicks(all).value();
        EXPECT_EQ(nicks.size(), std::stoul(row.at(8)));
        for (const auto& entry : nicks) {
            const auto marker = static_cast<std::size_t>(entry.position) - 7;
            const auto end = marker + 6 + entry.nick.size();
            EXPECT_EQ(bytes.substr(marker, 6), "\\name\\");
            EXPECT_TRUE(bytes[end] == '\\' || bytes[end] == '\0');
            if (marker < kBodyOffset || end >= kBodyOffset + body.size() || entry.nick.empty()) continue;
            EXPECT_NE(std::find(players.begin(), players.end(), entry.nick), players.end()) << entry.nick;
        }

        const auto statsMe = PlanStatsMeRemoval(all);
        const auto expected = kStatsMeExpected.find(name);
        const bool holdsStatsMe = expected != kStatsMeExpected.end();
        EXPECT_EQ(statsMe.found, holdsStatsMe);
        EXPECT_EQ(statsMe.inscriptions, holdsStatsMe ? expected->second.first : 0u);
        EXPECT_EQ(statsMe.plan.BytesWritten(), holdsStatsMe ? expected->second.second : 0u);
    }
}

}  // namespace
}  // namespace vorelix::demo
