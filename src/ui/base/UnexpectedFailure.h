// What the user is told when an exception reaches code the system called (a window procedure, a
// subclass procedure): the program says what failed and goes on running.
#pragma once

#include <string>

#include "ui/base/Prompter.h"

namespace vorelix::ui {

// The boxes that report such failures; none (nothing is shown) until the program sets one.
void SetUnexpectedFailurePrompter(Prompter* prompter);

// Tells the user that `what` could not be finished, with the exception being handled. Call it only
// inside a catch block. A failure while one is being reported is not reported again.
void ReportUnexpectedFailure(const std::wstring& what) noexcept;

// Runs a handler from a procedure the system calls: an exception must not unwind through the
// system's code, so it ends here and is reported as a failure of `what`.
template <typename Handler>
void RunGuarded(const wchar_t* what, Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ReportUnexpectedFailure(what);
    }
}

}  // namespace vorelix::ui
