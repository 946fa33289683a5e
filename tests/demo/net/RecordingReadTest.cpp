// The recording's facts read only as far as playback's start, and what they add to the information
// panel's summary: a proxy's recording is an HLTV demo without the marker too.
#include <gtest/gtest.h>

#include "MessageDemo.h"
#include "RealDemos.h"
#include "TempDir.h"
#include "demo/DemoHeader.h"
#include "demo/DemoSummary.h"
#include "demo/net/RecordingRead.h"

namespace vorelix::demo::net {
namespace {

using namespace vorelix::test;

RecordingRead ReadOf(const std::string& bytes) {
    SpanBytes span(AsBytes(bytes));
    auto read = ReadRecording(span);
    EXPECT_TRUE(read.ok());
    return read ? std::move(*read) : RecordingRead{};
}

DemoSummary SummaryOf(const std::string& bytes) {
    DemoSummary summary =
        Summarize(AsBytes(bytes).first(kBodyOffset),
                  AsBytes(bytes).subspan(kBodyOffset, *BodyWindowLength(bytes.size())), bytes.size())
            .value();
    NoteRecording(summary, ReadOf(bytes));
    return summary;
}

TEST(RecordingRead, StopsOnceThePlaybackBeginsAndTellsAProxysRecording) {
    const std::string proxy = "\x32" + std::string(1, '\0');  // svc_hltv, mode 0
    const std::vector<MessageFrame> playback{{1.0f, UserInfo(1, 2, "\\name\\Bob")},
                                             {2.0f, UserInfo(2, 3, "\\name\\Carol")},
                                             {3.0f, UserInfo(3, 4, "\\name\\Dave")}};
    const FramedDemo byProxy =
        MakeMessageDemo({StandardSetUp() + proxy, UserInfo(0, 1, "\\name\\Alice")}, playback);
    const FramedDemo byPlayer = MakeMessageDemo({StandardSetUp(), UserInfo(0, 1, "\\name\\Alice")}, playback);

    const RecordingRead proxyRead = ReadOf(byProxy.bytes);
    ASSERT_TRUE(proxyRead.recording.has_value());
    EXPECT_TRUE(proxyRead.recording->hltv);
    EXPECT_EQ(proxyRead.recording->server, "Test server");
    EXPECT_EQ(proxyRead.recording->recorderName, "Alice");
    // The two loading frames and the first of playback, not the two after it.
    EXPECT_EQ(proxyRead.outcome.framesDecoded, 3u);
    EXPECT_EQ(DecodedText(proxyRead.outcome), "yes");
    EXPECT_FALSE(ReadOf(byPlayer.bytes).recording->hltv);

    // Neither holds the marker: the messages alone make the panel's type.
    EXPECT_EQ(SummaryOf(byProxy.bytes).TypeText(), kHltvTypeText);
    EXPECT_EQ(SummaryOf(byPlayer.bytes).TypeText(), kEyesTypeText);
    DemoSummary marked;
    marked.hltv = true;
    NoteRecording(marked, ReadOf(byPlayer.bytes));
    EXPECT_TRUE(marked.hltv);  // the marker still counts
}

TEST(RecordingRead, RealDemosTheProxysRecordingAndTheShortHeader) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    for (const auto& path : RealDemoFiles()) {
        SCOPED_TRACE(path.filename().string());
        const std::string bytes = ReadFileBytes(path);
        const RecordingRead read = ReadOf(bytes);
        const DemoSummary summary = SummaryOf(bytes);
        if (path.filename() == "sless-gs_HL1005.dem") {
            EXPECT_EQ(DecodedText(read.outcome), "not decoded (demo protocol 4)");
            EXPECT_FALSE(read.recording.has_value());
            EXPECT_EQ(summary.mod, "valve");
            EXPECT_EQ(summary.map, "boot_camp");
            continue;
        }
        ASSERT_TRUE(read.recording.has_value());
        const bool proxy = path.filename().string().starts_with("uds_demotesttestste");
        EXPECT_EQ(read.recording->hltv, proxy);
        EXPECT_FALSE(read.recording->map.empty());
        if (proxy) {
            EXPECT_FALSE(HasHltvMarker(AsBytes(bytes).subspan(kBodyOffset, *BodyWindowLength(bytes.size()))));
            EXPECT_EQ(summary.TypeText(), kHltvTypeText);
        }
    }
}

}  // namespace
}  // namespace vorelix::demo::net
