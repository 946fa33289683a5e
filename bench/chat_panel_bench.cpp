// Benchmark (not a test) of what the message reader adds to the windows: the information panel's
// summary with and without the messages up to playback, and the chat editor's Load (the byte rule
// alone, then with the reader's lines). Runs natively and under Wine.
// Usage: chat_panel_bench DEMO...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "demo/DemoHeader.h"
#include "demo/edit/ChatLines.h"
#include "platform/files/DemoFile.h"

namespace {

using namespace vorelix;
using Clock = std::chrono::steady_clock;

// The best of five runs, in milliseconds.
double BestMs(const std::function<void()>& work) {
    double best = 1e12;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

// The panel's summary as it was: the windows alone.
void WindowsOnly(const std::filesystem::path& path) {
    auto demo = platform::MappedDemo::Open(path);
    if (!demo || !demo->Size()) return;
    const demo::ByteView bytes = demo->Bytes();
    const auto body = demo::BodyWindowLength(bytes.size());
    if (body)
        (void)demo::Summarize(bytes.first(demo::kBodyOffset), bytes.subspan(demo::kBodyOffset, *body),
                              bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        std::size_t byteRule = 0, all = 0;
        const double windows = BestMs([&] { WindowsOnly(path); });
        const double panel = BestMs([&] { (void)platform::ReadDemoSummary(path); });
        const double scan = BestMs([&] {
            if (auto demo = platform::MappedDemo::Open(path))
                byteRule = demo::ScanChat(demo->Bytes(), &*demo).size();
        });
        const double load = BestMs([&] {
            if (auto demo = platform::MappedDemo::Open(path))
                all = demo::ScanAllChat(demo->Bytes(), &*demo).size();
        });
        std::printf("%s (%llu bytes)\n", path.filename().string().c_str(),
                    static_cast<unsigned long long>(std::filesystem::file_size(path)));
        std::printf("  panel: windows alone %.2f ms, with the messages up to playback %.2f ms\n", windows,
                    panel);
        std::printf("  chat Load: byte rule alone %.2f ms (%zu lines), with the reader %.2f ms (%zu lines)\n",
                    scan, byteRule, load, all);
    }
    return 0;
}
