// Locates the real recordings that tests read (never write) in place.
#include "RealDemos.h"

#include <algorithm>
#include <system_error>

namespace vorelix::test {

std::filesystem::path RealDemosDir() {
#ifdef VORELIX_TEST_DEMOS_DIR
    std::filesystem::path dir = std::filesystem::u8path(VORELIX_TEST_DEMOS_DIR);
#else
    std::filesystem::path dir;
#endif
    std::error_code ec;
    if (dir.empty() || !std::filesystem::is_directory(dir, ec)) return {};
    return dir;
}

std::vector<std::filesystem::path> RealDemoFiles() {
    std::vector<std::filesystem::path> files;
    const auto dir = RealDemosDir();
    if (dir.empty()) return files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (entry.path().extension() == ".dem") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace vorelix::test
