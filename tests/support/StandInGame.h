// A temporary Half-Life installation for launch tests, with the stand-in game as its hl.exe, and the
// watch that waits for the stand-in's record.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "ProbeProcess.h"
#include "TempDir.h"

namespace vorelix::test {

// What the stand-in saw when it started, by key, values in UTF-8:
//   "command line", "working folder"   as the system gave them (the command line quotes hl.exe's path)
//   "EngineModeW", "EngineModeH", "EngineType" under HKCU\SOFTWARE\Valve\Half-Life\Settings:
//                                      RecordedDword(n) for a REG_DWORD, "absent" when missing
//   "vorelix.cfg"                      Hex() of cstrike\vorelix.cfg's bytes, or "absent"
//   "vorelix.dem"                      DigestOf() cstrike\vorelix.dem, or "absent"
//   "autoexec.cfg", "autoexec.cfg_old" "yes" or "no"
using StandInRecord = std::map<std::string, std::string>;

std::string RecordedDword(std::uint32_t value);
std::string DigestOf(const std::filesystem::path& file);

// Waits for one run of the stand-in: while the watch lives, stand-ins that this process starts
// record into its file, and with `holdDemo` keep cstrike\vorelix.dem open until the watch ends.
class StandInWatch {
  public:
    StandInWatch(std::filesystem::path recordFile, bool holdDemo);
    ~StandInWatch();  // lets a holding stand-in go and waits for it to end
    StandInWatch(const StandInWatch&) = delete;
    StandInWatch& operator=(const StandInWatch&) = delete;

    // The record once the stand-in has written it (within a minute); no value otherwise.
    std::optional<StandInRecord> Wait();

  private:
    std::filesystem::path recordFile_;
    ProbeEvent recorded_, release_;
    DWORD processId_ = 0;
};

// <temp>\Half Life Игра\{hl.exe (the stand-in), hw.dll, cstrike\{cached.wad, autoexec.cfg, a.cfg,
// b.cfg, my config.cfg}} and an empty <temp>\Demos. Half-Life's three video settings are removed from
// the registry, so that a record shows what the launch wrote.
class StandInGame {
  public:
    StandInGame();

    const std::filesystem::path& Root() const { return temp_.Path(); }
    std::filesystem::path Game() const { return temp_.Path() / L"Half Life Игра"; }
    std::filesystem::path HlExe() const { return Game() / L"hl.exe"; }
    std::filesystem::path Mod() const { return Game() / L"cstrike"; }
    std::filesystem::path Demos() const { return temp_.Path() / L"Demos"; }

    // Writes a file at Root() / `relative`, making its folders, and gives its full path.
    std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const;

    // A watch for the next stand-in run, with a record file of its own.
    StandInWatch ExpectGame(bool holdDemo = false);

  private:
    TempDir temp_;
    int runs_ = 0;
};

}  // namespace vorelix::test
