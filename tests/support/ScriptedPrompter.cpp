// Scripted answers for message and input boxes; an unscripted box fails the test that caused it.
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <string>

namespace vorelix::test {

namespace {
std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += (c < 128) ? static_cast<char>(c) : '?';
    return out;
}
}  // namespace

ui::Answer ScriptedPrompter::ShowMessage(const ui::MessageRequest& request) {
    messages.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << Narrow(request.text) << "\"";
        return request.buttons == ui::MessageButtons::YesNo ? ui::Answer::No : ui::Answer::Ok;
    }
    const ui::Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::wstring ScriptedPrompter::AskText(const ui::InputRequest& request) {
    inputs.push_back(request);
    if (texts_.empty()) {
        ADD_FAILURE() << "unexpected input box: \"" << Narrow(request.prompt) << "\"";
        return L"";
    }
    std::wstring text = texts_.front();
    texts_.pop_front();
    return text;
}

}  // namespace vorelix::test
