// Backup copy names.
#include "demo/BackupName.h"

#include <string>

namespace vorelix::demo {

namespace {

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

}  // namespace

std::filesystem::path BackupPathFor(const std::filesystem::path& demo, TimeOfDay time,
                                    const std::function<bool(const std::filesystem::path&)>& exists) {
    const std::string stamp =
        "." + TwoDigits(time.hour) + "-" + TwoDigits(time.minute) + "-" + TwoDigits(time.second);
    for (unsigned counter = 1;; ++counter) {
        std::filesystem::path candidate = demo;
        candidate += stamp;
        if (counter > 1) candidate += "-" + std::to_string(counter);
        candidate += ".bak";
        if (!exists(candidate)) return candidate;
    }
}

}  // namespace vorelix::demo
