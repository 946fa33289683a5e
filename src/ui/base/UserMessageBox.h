// What a launch or a save has to tell the user, shown as the program shows every such message.
#pragma once

#include "launch/UserMessage.h"
#include "ui/base/Prompter.h"

namespace vorelix::ui {

// An exclamation box with an OK button; a message without a title of its own shows the program's.
inline void ShowUserMessage(Prompter& prompter, const launch::UserMessage& message) {
    MessageRequest request;
    request.text = message.text;
    if (!message.title.empty()) request.title = message.title;
    request.icon = MessageIcon::Exclamation;
    prompter.ShowMessage(request);
}

}  // namespace vorelix::ui
