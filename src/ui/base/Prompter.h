// The one way the program asks the user something modally: message boxes and input boxes.
// The real one shows MessageBoxW and our input dialog; tests script the answers.
#pragma once

#include <string>
#include <string_view>

namespace vorelix::ui {

enum class MessageIcon { None, Information, Question, Exclamation, Critical };
enum class MessageButtons { Ok, YesNo };
enum class Answer { Ok, Yes, No, Cancel };

// The title a box shows when it has none of its own.
inline constexpr const wchar_t* kProgramTitle = L"Vorelix";

struct MessageRequest {
    std::wstring text;
    std::wstring title = kProgramTitle;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

struct InputRequest {
    std::wstring prompt;
    std::wstring title = kProgramTitle;
    std::wstring initialText;
};

class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual Answer ShowMessage(const MessageRequest& request) = 0;
    // The confirmed text; "" when the user cancels.
    virtual std::wstring AskText(const InputRequest& request) = 0;
};

// The boxes the program shows, by kind; a box with an empty title shows the program's.
inline Answer ShowBox(Prompter& prompter, std::wstring_view text, std::wstring_view title, MessageIcon icon,
                      MessageButtons buttons = MessageButtons::Ok) {
    return prompter.ShowMessage(
        {std::wstring(text), title.empty() ? kProgramTitle : std::wstring(title), icon, buttons});
}
inline void Inform(Prompter& prompter, std::wstring_view text, std::wstring_view title = {}) {
    ShowBox(prompter, text, title, MessageIcon::Information);
}
inline void Warn(Prompter& prompter, std::wstring_view text, std::wstring_view title = {}) {
    ShowBox(prompter, text, title, MessageIcon::Exclamation);
}
inline void ShowError(Prompter& prompter, std::wstring_view text, std::wstring_view title = {}) {
    ShowBox(prompter, text, title, MessageIcon::Critical);
}
// True when the user answers Yes.
inline bool AskYesNo(Prompter& prompter, std::wstring_view text, std::wstring_view title = {}) {
    return ShowBox(prompter, text, title, MessageIcon::Question, MessageButtons::YesNo) == Answer::Yes;
}

}  // namespace vorelix::ui
