// Backup copy names.
#include "demo/edit/BackupName.h"

#include <cstdio>

namespace vorelix::demo {

std::filesystem::path BackupPathFor(const std::filesystem::path& demo, TimeOfDay time,
                                    const std::function<bool(const std::filesystem::path&)>& exists) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, ".%02d-%02d-%02d", time.hour, time.minute, time.second);
    for (unsigned counter = 1;; ++counter) {
        std::filesystem::path candidate = demo;
        candidate += stamp;
        if (counter > 1) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "-%u", counter);
            candidate += suffix;
        }
        candidate += ".bak";
        if (!exists(candidate)) return candidate;
    }
}

}  // namespace vorelix::demo
