// The launch decisions' questions answered by this machine: its files and its ANSI code page.
#pragma once

#include "launch/SystemQueries.h"

namespace vorelix::launch {

SystemQueries RealSystemQueries();

}  // namespace vorelix::launch
