// Which of the utilities window's controls may be used in which state of its tools (what their
// commands write is decided in src/demo).
#pragma once

namespace vorelix::ui {

// The nick editor: the Load button, the nick list with the new-nick box (enabled ones are white), the
// two options and the Save button as each state leaves them.
enum class NickEditorState { Initial, Loaded, LoadFailed, SaveFailed };
struct NickEditorControls {
    bool loadButton;
    bool listAndBox;
    bool options;
    bool saveButton;  // in the loaded state: a selection disables it, a change of the new nick enables it
};
NickEditorControls NickControlsIn(NickEditorState state);

// The chat editor: its Load button, the chat list (white when enabled), the Edit and Delete buttons.
enum class ChatEditorState { Initial, NothingFound, Loaded };
struct ChatEditorControls {
    bool loadButton;
    bool list;
    bool editAndDelete;
};
ChatEditorControls ChatControlsIn(ChatEditorState state);

}  // namespace vorelix::ui
