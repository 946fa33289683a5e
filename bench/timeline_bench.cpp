// Benchmark (run under Wine, not a test): the timeline window on a large demo of many message frames:
// how long until its first rows show and until the last, whether the window answered messages
// meanwhile (round trips of SendMessageTimeout from another thread), and how long a typed filter takes
// over every row.
// Usage: ui_timeline_bench [SIZE_MB]   (default 256 MB)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "MessageDemo.h"
#include "WindowBench.h"
#include "ui/base/Prompter.h"
#include "ui/timeline/TimelineWindow.h"

namespace {

using namespace vorelix::test;

using vorelix::bench::AnswerOk;
using vorelix::bench::Now;
using vorelix::bench::Seconds;

std::string Say(std::uint8_t sender, std::string_view text) {
    return UserMessage(kSayText, std::string(1, static_cast<char>(sender)) + Text("#Cstrike_Chat_All") +
                                     Text("") + Text(text));
}

// A demo of at least `bytes`: a block of 20,000 playback frames (chat, kills, round ends, a player
// coming and going) built message by message, its frames repeated to the size.
std::string MakeLargeDemo(std::size_t bytes, std::size_t& frames) {
    std::string players;
    for (int slot = 0; slot < 10; ++slot)
        players +=
            UserInfo(static_cast<std::uint8_t>(slot), slot + 1, "\\name\\Player" + std::to_string(slot));
    std::vector<MessageFrame> block;
    for (int i = 0; i < 20000; ++i) {
        const auto a = static_cast<std::uint8_t>(1 + i % 10);
        const auto b = static_cast<std::uint8_t>(1 + (i + 3) % 10);
        std::string messages;
        switch (i % 8) {
            case 0:
            case 3:
                messages = Say(a, "gg wp, round " + std::to_string(i) + "\n");
                break;
            case 1:
            case 5:
                messages = UserMessage(kDeathMsg, std::string{static_cast<char>(a), static_cast<char>(b),
                                                              static_cast<char>(i % 2)} +
                                                      Text("ak47"));
                break;
            case 7:
                messages = UserMessage(kTextMsg, "\x04" + Text(i % 16 == 7 ? "#Terrorists_Win" : "#CTs_Win"));
                break;
            case 6:
                messages = UserInfo(11, 12, "\\name\\Guest" + std::to_string(i % 100));
                break;
            default:
                // A frame of no event: the server's text to one player.
                messages = UserMessage(kTextMsg, "\x02" + Text("#Game_radio"));
                break;
        }
        block.push_back({static_cast<float>(i) * 0.05f, messages});
    }
    const FramedDemo small = MakeMessageDemo({StandardSetUp(), players}, block);
    const std::size_t lastFrame = small.frameOffsets.back();
    const std::string loading = small.bytes.substr(544, small.playbackBegin - 544);
    const std::string body = small.bytes.substr(small.playbackBegin, lastFrame - small.playbackBegin);
    const std::string closing = small.bytes.substr(lastFrame, small.directoryOffset - lastFrame);
    std::string playback;
    playback.reserve(bytes + body.size());
    frames = 0;
    while (playback.size() < bytes) {
        playback += body;
        frames += block.size();
    }
    return AssembleDemo({loading}, {playback, closing}, 1000.0f, static_cast<int>(frames)).bytes;
}

// Asks the window a question every few milliseconds from another thread, as the system and other
// programs do, and keeps how long each answer took.
class Prober {
  public:
    explicit Prober(HWND window) : window_(window), thread_([this] { Run(); }) {}
    ~Prober() { Stop(); }
    // Stops probing; the window's thread keeps answering until the last probe is back, so that no
    // probe waits on a thread that waits for it.
    void Stop() {
        stop_ = true;
        MSG message;
        while (!finished_) {
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        }
        if (thread_.joinable()) thread_.join();
    }
    std::vector<double> times;  // milliseconds
    int unanswered = 0;

  private:
    void Run() {
        while (!stop_) {
            const LARGE_INTEGER start = Now();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) ++unanswered;
            times.push_back(Seconds(start) * 1000);
            Sleep(10);
        }
        finished_ = true;
    }
    HWND window_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

void Pump() {
    MSG message;
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::size_t megabytes = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 256;
    const auto path = std::filesystem::temp_directory_path() / L"vorelix-timeline-bench.dem";
    std::size_t frames = 0;
    {
        const std::string demo = MakeLargeDemo(megabytes * 1024 * 1024, frames);
        std::ofstream(path, std::ios::binary).write(demo.data(), static_cast<std::streamsize>(demo.size()));
        std::printf("demo: %.1f MB, %zu playback frames\n", static_cast<double>(demo.size()) / (1024 * 1024),
                    frames);
    }

    AnswerOk prompter;
    const LARGE_INTEGER start = Now();
    vorelix::ui::TimelineServices services{
        prompter, path.wstring(), vorelix::ui::ChooseCsvFileWithDialog, {}};
    vorelix::ui::TimelineWindow window(services);
    if (!window.IsCreated()) {
        std::printf("the window could not be created\n");
        return 1;
    }
    ShowWindow(window.Hwnd(), SW_SHOW);
    Prober prober(window.Hwnd());
    double firstRows = -1;
    while (!window.HowReadingEnded()) {
        Pump();
        if (firstRows < 0 && window.RowCount() > 0) firstRows = Seconds(start);
    }
    const double allRows = Seconds(start);
    prober.Stop();
    const HWND list = window.ControlHwnd(vorelix::ui::TimelineControlId::EventList);
    std::printf("first rows: %.3f s\n", firstRows);
    std::printf("all %zu rows: %.2f s (%.0f MB/s); the list shows %d\n", window.RowCount(), allRows,
                static_cast<double>(megabytes) / allRows,
                static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    std::printf(
        "window answered %zu probes while loading (%d not within 5 s): median %.2f ms, 99th "
        "percentile %.2f ms, longest %.2f ms\n",
        prober.times.size(), prober.unanswered, Percentile(prober.times, 0.5), Percentile(prober.times, 0.99),
        Percentile(prober.times, 1.0));

    const HWND find = window.ControlHwnd(vorelix::ui::TimelineControlId::FindBox);
    for (const wchar_t* typed : {L"player7", L"guest42", L""}) {
        const LARGE_INTEGER filterStart = Now();
        SetWindowTextW(find, typed);
        std::printf("filter \"%ls\": %.1f ms, %d rows shown\n", typed, Seconds(filterStart) * 1000,
                    static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    }
    std::printf(
        "end: %ls\n",
        vorelix::ui::Label(window.ControlHwnd(vorelix::ui::TimelineControlId::StatusLine)).Text().c_str());
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return 0;
}
