// What the window benchmarks share (Windows): a prompter that answers every box with OK and prints
// it, and a clock of the performance counter.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/base/Prompter.h"

namespace vorelix::bench {

class AnswerOk : public ui::Prompter {
  public:
    ui::Answer ShowMessage(const ui::MessageRequest& request) override {
        std::fwprintf(stderr, L"  box: %ls\n", request.text.c_str());
        return ui::Answer::Ok;
    }
    std::wstring AskText(const ui::InputRequest&) override { return {}; }
};

inline LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

// Seconds since `from`.
inline double Seconds(LARGE_INTEGER from) {
    LARGE_INTEGER now = Now(), frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace vorelix::bench
