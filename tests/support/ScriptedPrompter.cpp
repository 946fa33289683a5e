// Scripted answers for message and input boxes; an unscripted box fails the test that caused it.
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include "platform/Text.h"

namespace vorelix::test {

ui::Answer ScriptedPrompter::ShowMessage(const ui::MessageRequest& request) {
    messages.push_back(request);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << platform::WideToUtf8(request.text) << "\"";
        return request.buttons == ui::MessageButtons::YesNo ? ui::Answer::No : ui::Answer::Ok;
    }
    const ui::Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::wstring ScriptedPrompter::AskText(const ui::InputRequest& request) {
    inputs.push_back(request);
    if (texts_.empty()) {
        ADD_FAILURE() << "unexpected input box: \"" << platform::WideToUtf8(request.prompt) << "\"";
        return L"";
    }
    std::wstring text = texts_.front();
    texts_.pop_front();
    return text;
}

}  // namespace vorelix::test
