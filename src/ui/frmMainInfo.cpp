// frmMain's information panel: what selecting a demo shows.
#include "ui/frmMain.h"

namespace vorelix::ui {

void frmMain::Files_Click() {
    UpdateEnables();
}

}  // namespace vorelix::ui
