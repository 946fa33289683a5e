// Resource numbers shared by vorelix.rc and the code that loads the pictures.
#pragma once

// Icon 1 comes first in the file, so "vorelix.exe,0" names the application icon.
#define IDI_VORELIX 1
#define IDI_BUTTON_UTILS 101
#define IDI_BUTTON_VIEW 102
#define IDI_BUTTON_PLAY 103
