// Locates the real recordings that tests read (never write) in place.
#include "RealDemos.h"

#include <algorithm>
#include <system_error>

namespace vorelix::test {

std::filesystem::path RealDemosDir() {
    const std::filesystem::path dir = std::filesystem::u8path(VORELIX_TEST_DEMOS_DIR);
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

std::vector<std::filesystem::path> RealDemoFiles(const std::filesystem::path& subfolder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;  // no folder: no files
    if (RealDemosDir().empty()) return files;
    for (const auto& entry : std::filesystem::directory_iterator(RealDemosDir() / subfolder, ec)) {
        if (entry.path().extension() == ".dem") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace vorelix::test
