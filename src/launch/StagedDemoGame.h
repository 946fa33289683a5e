// The game last started on the staged demo, kept so that no launch rewrites vorelix.dem while that game
// may still be reading it.
#pragma once

#include <windows.h>

namespace vorelix::launch {

class StagedDemoGame {
  public:
    StagedDemoGame() = default;
    ~StagedDemoGame();
    StagedDemoGame(const StagedDemoGame&) = delete;
    StagedDemoGame& operator=(const StagedDemoGame&) = delete;

    // Takes over the handle of a newly started game (null: none known), letting go of the one before.
    void Keep(HANDLE process);
    // The kept game has not ended yet.
    bool Runs() const;

  private:
    HANDLE process_ = nullptr;
};

}  // namespace vorelix::launch
