// The control ids of the main window and the commands of its popup menu.
#pragma once

namespace vorelix::ui {

enum class ControlId : int {
    GameFrame = 100,
    HlPathBox,
    BrowseHlExeButton,
    GraphicModeLabel,
    RendererBox,
    ResolutionBox,
    SelectConfigButton,
    DemosFrame,
    DriveBox,
    FolderBox,
    DemoList,
    InfoLabel,
    InfoBox,
    PlayersLabel,
    PlayerList,
    SpeedLabel,
    SpeedBox,
    CommandLineLabel,
    CommandLineBox,
    UtilsButton,
    ViewDemoButton,
    PlayDemoButton,
    AboutLine,
    // Items of the demo list's popup menu.
    RenameDemoItem = 200,
    DeleteDemoItem,
    RepairDemoItem,
    TimelineItem,
};

constexpr int ToInt(ControlId id) {
    return static_cast<int>(id);
}

}  // namespace vorelix::ui
