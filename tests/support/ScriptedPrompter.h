// A Prompter whose answers a test scripts in advance; it records every box the program asked for.
#pragma once

#include <deque>
#include <string>
#include <tuple>
#include <vector>

#include "ui/base/Prompter.h"

namespace vorelix::test {

// A message box as tests compare it: its text, title and icon.
using Box = std::tuple<std::wstring, std::wstring, ui::MessageIcon>;
inline Box BoxOf(const ui::MessageRequest& shown) {
    return {shown.text, shown.title, shown.icon};
}

class ScriptedPrompter : public ui::Prompter {
  public:
    // Answers for the next message boxes, in order.
    void QueueAnswer(ui::Answer answer) { answers_.push_back(answer); }
    // Texts for the next input boxes, in order ("" plays a cancel).
    void QueueText(std::wstring text) { texts_.push_back(std::move(text)); }

    ui::Answer ShowMessage(const ui::MessageRequest& request) override;
    std::wstring AskText(const ui::InputRequest& request) override;

    // Every box shown so far, oldest first.
    std::vector<ui::MessageRequest> messages;
    std::vector<ui::InputRequest> inputs;

    // True when every scripted answer and text was used.
    bool AllUsed() const { return answers_.empty() && texts_.empty(); }

  private:
    std::deque<ui::Answer> answers_;
    std::deque<std::wstring> texts_;
};

}  // namespace vorelix::test
