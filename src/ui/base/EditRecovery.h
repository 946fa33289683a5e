// Putting back a demo whose edit was cut off, when a window is about to read it, and telling the user.
#pragma once

#include <filesystem>

#include "ui/base/Prompter.h"

namespace vorelix::ui {

void RecoverDemoBeforeReading(Prompter& prompter, const std::filesystem::path& demo);

}  // namespace vorelix::ui
