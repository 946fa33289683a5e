// Benchmark (run under Wine, not a test): how long the utilities window takes to list the nicks of a
// large demo, to show them, to select the last one and to save a nick over a few thousand entries.
// Usage: ui_utilities_bench [SIZE_MB] [NICKS]   (default 256 MB, 60,000 nicks)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>

#include "SyntheticDemo.h"
#include "demo/edit/NickScan.h"
#include "platform/files/DemoFile.h"
#include "WindowBench.h"
#include "ui/utilities/UtilitiesWindow.h"

namespace {

using vorelix::ui::UtilitiesControlId;

using vorelix::bench::AnswerOk;
using vorelix::bench::Now;
using vorelix::bench::Seconds;

// A demo of recorded-looking filler with `nicks` name markers spread evenly: 32 players, each nick
// 8 to 15 bytes long.
std::string MakeLargeDemo(std::size_t bytes, std::size_t nicks) {
    std::string demo = vorelix::test::MakeDemo(bytes);
    unsigned state = 12345;
    for (std::size_t i = 404; i < demo.size(); ++i) {
        state = state * 1103515245u + 12345u;
        const unsigned roll = (state >> 16) & 0xFF;
        demo[i] = static_cast<char>(roll < 110 ? 0 : roll < 180 ? roll % 8 : roll);
    }
    const std::size_t step = (bytes - 2000) / nicks;
    for (std::size_t k = 0; k < nicks; ++k) {
        const int player = static_cast<int>(k % 32);
        const std::string nick =
            "Player" + std::to_string(player) + std::string(static_cast<std::size_t>(player % 8), 'x');
        vorelix::test::PutAt(demo, 1000 + k * step, "\\name\\" + nick + "\\model\\gign\\");
    }
    return demo;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::size_t megabytes = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 256;
    const std::size_t nicks = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 60000;
    const auto path = std::filesystem::temp_directory_path() / L"vorelix-utilities-bench.dem";
    {
        const std::string demo = MakeLargeDemo(megabytes * 1024 * 1024, nicks);
        std::ofstream(path, std::ios::binary).write(demo.data(), static_cast<std::streamsize>(demo.size()));
    }
    std::printf("demo: %zu MB, %zu nick markers\n", megabytes, nicks);

    AnswerOk prompter;
    vorelix::ui::UtilitiesWindow window({prompter, [&path] { return path.wstring(); }});
    const auto control = [&window](UtilitiesControlId id) { return window.ControlHwnd(id); };
    const auto command = [&](UtilitiesControlId id, int code) {
        SendMessageW(window.Hwnd(), WM_COMMAND, MAKEWPARAM(vorelix::ui::ToInt(id), code),
                     reinterpret_cast<LPARAM>(control(id)));
    };
    ShowWindow(window.Hwnd(), SW_SHOW);
    UpdateWindow(window.Hwnd());

    // The scan alone, as Load runs it (the file was just written, so it is in the cache for both).
    LARGE_INTEGER start = Now();
    std::size_t scanned = 0;
    if (auto demo = vorelix::platform::MappedDemo::Open(path)) {
        if (auto found = vorelix::demo::ScanNicks(demo->Bytes(), &demo.value())) scanned = found->size();
    }
    const double scan = Seconds(start);

    start = Now();
    command(UtilitiesControlId::LoadNicksButton, BN_CLICKED);
    const double load = Seconds(start);
    const auto listed = SendMessageW(control(UtilitiesControlId::NickList), LB_GETCOUNT, 0, 0);
    start = Now();
    UpdateWindow(window.Hwnd());
    const double paint = Seconds(start);

    start = Now();
    SendMessageW(control(UtilitiesControlId::NickList), LB_SETCURSEL, static_cast<WPARAM>(listed - 1), 0);
    command(UtilitiesControlId::NickList, LBN_SELCHANGE);
    SendMessageW(control(UtilitiesControlId::NickList), LB_SETTOPINDEX, static_cast<WPARAM>(listed - 1), 0);
    UpdateWindow(window.Hwnd());
    const double select = Seconds(start);

    // "All similar" over every entry of one player: a thousands-entry rewrite of the list.
    SetWindowTextW(control(UtilitiesControlId::NewNickBox), L"Renamed");
    start = Now();
    command(UtilitiesControlId::SaveNickButton, BN_CLICKED);
    UpdateWindow(window.Hwnd());
    const double save = Seconds(start);

    std::printf("nicks listed: %lld\n", static_cast<long long>(listed));
    std::printf("scan alone (%zu nicks): %.3f s\n", scanned, scan);
    std::printf("Load (scan %zu MB + fill the list): %.3f s, so the list fills in about %.3f s\n", megabytes,
                load, load - scan);
    std::printf("first paint of the filled window: %.3f s\n", paint);
    std::printf("select the last nick and scroll to it: %.3f s\n", select);
    std::printf("save \"All similar\" over %zu entries and show them: %.3f s\n", nicks / 32, save);
    std::filesystem::remove(path);
    return listed > 0 ? 0 : 1;
}
