// The name of a demo's backup copy: "<demo>.HH-MM-SS.bak", never one that already exists.
#pragma once

#include <filesystem>
#include <functional>

namespace vorelix::demo {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "<demo>.09-05-03.bak"; when that is taken, "<demo>.09-05-03-2.bak", "-3" and so on: an older copy
// may be the only copy of the original demo, so it is never replaced.
std::filesystem::path BackupPathFor(const std::filesystem::path& demo, TimeOfDay time,
                                    const std::function<bool(const std::filesystem::path&)>& exists);

}  // namespace vorelix::demo
