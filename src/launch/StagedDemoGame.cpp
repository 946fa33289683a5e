// StagedDemoGame: the handle of the game started on vorelix.dem, asked whether it has ended.
#include "launch/StagedDemoGame.h"

namespace vorelix::launch {

StagedDemoGame::~StagedDemoGame() {
    Keep(nullptr);
}

void StagedDemoGame::Keep(HANDLE process) {
    if (process_) CloseHandle(process_);
    process_ = process;
}

bool StagedDemoGame::Runs() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

}  // namespace vorelix::launch
