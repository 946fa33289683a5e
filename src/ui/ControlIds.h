// The control ids of the main window and the commands of its popup menu.
#pragma once

namespace vorelix::ui {

enum class ControlId : int {
    Frame1 = 100,
    txtHLPath,
    cmdBrowseHLEXE,
    Label7,
    cboMode,
    cboResolution,
    cmdSelectConfig,
    Frame2,
    Drive1,
    Dir1,
    Files,
    Label4,
    txtInfo,
    Label6,
    lstPlayers,
    Label1,
    txtSpeed,
    Label2,
    txtCommandLine,
    cmdUtils,
    cmdViewDemo,
    cmdPlayDemo,
    Label5,
    // Items of the popup menu mnuFile.
    itemRenameDemo = 200,
    itemDeleteDemo,
};

constexpr int ToInt(ControlId id) {
    return static_cast<int>(id);
}

}  // namespace vorelix::ui
