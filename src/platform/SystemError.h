// The system's own words for a failed call (FormatMessageW), as the user is shown them.
#pragma once

#include <string>

#include "demo/Result.h"

namespace vorelix::platform {

// The system's text for an error code, without the trailing line break; a generic text with the
// number when the system has none.
std::wstring SystemErrorText(unsigned long code);

// A Failure for the calling thread's GetLastError(), its text in UTF-8.
Failure LastErrorFailure();
Failure FailureFromCode(unsigned long code);

}  // namespace vorelix::platform
