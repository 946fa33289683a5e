// The utilities window's control states.
#include "ui/utilities/ToolStates.h"

namespace vorelix::ui {

NickEditorControls NickControlsIn(NickEditorState state) {
    switch (state) {
        case NickEditorState::Loaded:
            return {false, true, true, true};
        case NickEditorState::SaveFailed:
            // The editor stays unusable until the window is opened again; only the options stay enabled.
            return {false, false, true, false};
        case NickEditorState::Initial:
        case NickEditorState::LoadFailed:
            break;
    }
    return {true, false, false, false};
}

ChatEditorControls ChatControlsIn(ChatEditorState state) {
    if (state == ChatEditorState::Loaded) return {false, true, true};
    return {true, false, false};
}

}  // namespace vorelix::ui
