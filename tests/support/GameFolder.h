// A temporary Half-Life installation for launch tests, with the stand-in game as its hl.exe, and the
// watch that waits for the stand-in's record.
#pragma once

#include <windows.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "TempDir.h"

namespace vorelix::test {

// What the stand-in saw when it started.
struct StandInRecord {
    DWORD processId = 0;
    std::wstring commandLine;  // as the system gave it, the program's path included
    std::wstring workingFolder;
    // "EngineModeW", "EngineModeH", "EngineType" under HKCU\SOFTWARE\Valve\Half-Life\Settings: type and
    // raw bytes; a value that was absent is not in the map.
    std::map<std::wstring, std::pair<DWORD, std::string>> videoSettings;
    std::optional<std::string> config;      // the bytes of cstrike\vorelix.cfg
    std::optional<std::string> stagedDemo;  // DigestOf(cstrike\vorelix.dem)
    bool autoexec = false;                  // cstrike\autoexec.cfg existed
    bool autoexecOld = false;               // cstrike\autoexec.cfg_old existed
};

// Waits for one run of the stand-in: while it lives, stand-ins started by this process record into
// its file, and with `holdDemo` keep cstrike\vorelix.dem open until the watch ends.
class StandInWatch {
  public:
    StandInWatch(std::filesystem::path recordFile, bool holdDemo);
    ~StandInWatch();  // lets a holding stand-in go and waits for it to end
    StandInWatch(const StandInWatch&) = delete;
    StandInWatch& operator=(const StandInWatch&) = delete;

    // The record, once the stand-in has written it (within a minute); no value otherwise.
    std::optional<StandInRecord> Wait();

  private:
    std::filesystem::path recordFile_;
    HANDLE recorded_ = nullptr;
    HANDLE release_ = nullptr;
    DWORD processId_ = 0;
};

// <temp>\Half Life Игра\{hl.exe (the stand-in), hw.dll, cstrike\{cached.wad, autoexec.cfg, a.cfg,
// b.cfg, my config.cfg}} and an empty <temp>\Demos. Half-Life's three video settings are removed
// from the registry, so that a record shows only what the launch wrote.
class GameFolder {
  public:
    GameFolder();

    const std::filesystem::path& Root() const { return temp_.Path(); }
    std::filesystem::path Game() const { return temp_.Path() / L"Half Life Игра"; }
    std::filesystem::path HlExe() const { return Game() / L"hl.exe"; }
    std::filesystem::path Mod() const { return Game() / L"cstrike"; }
    std::filesystem::path Demos() const { return temp_.Path() / L"Demos"; }

    // Writes a file below Root(), making its folders, and gives its full path.
    std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const;

    // Starts a watch for the next stand-in run with its own record file.
    StandInWatch ExpectGame(bool holdDemo = false);

  private:
    TempDir temp_;
    int runs_ = 0;
};

// The size and hash of a file, as the record gives them for vorelix.dem.
std::string DigestOf(const std::filesystem::path& file);

}  // namespace vorelix::test
