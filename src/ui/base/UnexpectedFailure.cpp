// Reporting exceptions that reached a window or subclass procedure, through the program's prompter.
#include "ui/base/UnexpectedFailure.h"

#include <exception>
#include <new>

#include "platform/Text.h"

namespace vorelix::ui {

namespace {

Prompter* failurePrompter = nullptr;
bool reporting = false;

std::wstring DescribeCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return L"There is not enough memory.";
    } catch (const std::exception& error) {
        return platform::Utf8ToWide(error.what());
    } catch (...) {
        return L"An unknown error occurred.";
    }
}

}  // namespace

void SetUnexpectedFailurePrompter(Prompter* prompter) {
    failurePrompter = prompter;
}

void ReportUnexpectedFailure(const std::wstring& what) noexcept {
    // The box runs a modal loop: a failure inside it must not stack boxes on boxes.
    if (reporting || failurePrompter == nullptr) return;
    reporting = true;
    try {
        ShowError(*failurePrompter, L"Vorelix could not finish " + what + L".\r\n\r\n" +
                                        DescribeCurrentException() + L"\r\n\r\nThe program goes on running.");
    } catch (...) {
    }
    reporting = false;
}

}  // namespace vorelix::ui
