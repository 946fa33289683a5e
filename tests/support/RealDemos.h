// The real recordings beside the checkout (shared/demos); tests that need them skip when absent.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace vorelix::test {

// The folder of real demos, or an empty path when it is not there.
std::filesystem::path RealDemosDir();
// Every *.dem file of that folder (or of a folder inside it), sorted by name; empty when absent.
std::vector<std::filesystem::path> RealDemoFiles(const std::filesystem::path& subfolder = {});

}  // namespace vorelix::test

#define VORELIX_SKIP_WITHOUT_REAL_DEMOS()                                                          \
    do {                                                                                           \
        if (::vorelix::test::RealDemosDir().empty())                                               \
            GTEST_SKIP() << "the folder of real demos (shared/demos) is absent: nothing to check"; \
    } while (0)
