// Timing shared by the benchmarks: the best of a few runs, and one plain read pass over a file.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace vorelix::bench {

using Clock = std::chrono::steady_clock;

inline volatile std::size_t sink;

// The best of a few runs, in seconds.
inline double Best(const std::function<void()>& work, int runs = 5) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// One pass of read() over the whole file in 1 MB steps: what any tool pays to look at every byte.
inline double ReadPassSeconds(const std::filesystem::path& path) {
    return Best(
        [&] {
            const int fd = ::open(path.c_str(), O_RDONLY);
            static std::string buffer(1 << 20, '\0');
            std::size_t total = 0;
            for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
                total += static_cast<std::size_t>(got);
            ::close(fd);
            sink = total;
        },
        3);
}

}  // namespace vorelix::bench
