// The temporary game folder of the launch tests and the reading of the stand-in's record.
#include "GameFolder.h"

#include <atomic>
#include <sstream>

#include "ProbeProcess.h"
#include "StandInRecord.h"

namespace vorelix::test {

std::string RecordedDword(std::uint32_t value) {
    return std::to_string(REG_DWORD) + " " + Hex(std::string_view(reinterpret_cast<const char*>(&value), 4));
}

std::string DigestOf(const std::filesystem::path& file) {
    return DigestText(ReadFileBytes(file));
}

StandInWatch::StandInWatch(std::filesystem::path recordFile, bool holdDemo)
    : recordFile_(std::move(recordFile)) {
    static std::atomic<unsigned> counter{0};
    const std::wstring name = L"Local\\VorelixStandIn-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter++);
    recorded_ = CreateEventW(nullptr, TRUE, FALSE, (name + L"-recorded").c_str());
    if (holdDemo) release_ = CreateEventW(nullptr, TRUE, FALSE, (name + L"-release").c_str());
    SetEnvironmentVariableW(kRecordPathVariable, recordFile_.c_str());
    SetEnvironmentVariableW(kRecordedEventVariable, (name + L"-recorded").c_str());
    SetEnvironmentVariableW(kHoldEventVariable, holdDemo ? (name + L"-release").c_str() : nullptr);
}

StandInWatch::~StandInWatch() {
    for (const wchar_t* variable : {kRecordPathVariable, kRecordedEventVariable, kHoldEventVariable}) {
        SetEnvironmentVariableW(variable, nullptr);
    }
    if (release_ != nullptr) SetEvent(release_);
    // The stand-in must have let go of its files before the temporary folder goes.
    if (HANDLE process = processId_ ? OpenProcess(SYNCHRONIZE, FALSE, processId_) : nullptr) {
        WaitForSingleObject(process, 60000);
        CloseHandle(process);
    }
    if (release_ != nullptr) CloseHandle(release_);
    CloseHandle(recorded_);
}

std::optional<StandInRecord> StandInWatch::Wait() {
    if (WaitForSingleObject(recorded_, 60000) != WAIT_OBJECT_0) return std::nullopt;
    StandInRecord record;
    std::istringstream in(ReadFileBytes(recordFile_));
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    processId_ = static_cast<DWORD>(std::stoul(record["process id"]));
    return record;
}

GameFolder::GameFolder() {
    const auto game = Game().lexically_relative(Root());
    Write(game / L"hl.exe", ReadFileBytes(ProbePath()));
    Write(game / L"hw.dll", "engine");
    for (const wchar_t* name : {L"cached.wad", L"autoexec.cfg", L"a.cfg", L"b.cfg", L"my config.cfg"}) {
        Write(game / L"cstrike" / name, "// stand-in file\r\n");
    }
    std::filesystem::create_directories(Demos());
    for (const wchar_t* value : {L"EngineModeW", L"EngineModeH", L"EngineType"}) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Valve\\Half-Life\\Settings", value);
    }
}

std::filesystem::path GameFolder::Write(const std::filesystem::path& relative, std::string_view bytes) const {
    const auto path = Root() / relative;
    std::filesystem::create_directories(path.parent_path());
    WriteFileBytes(path, bytes);
    return path;
}

StandInWatch GameFolder::ExpectGame(bool holdDemo) {
    return StandInWatch(Root() / (L"record-" + std::to_wstring(++runs_) + L".txt"), holdDemo);
}

}  // namespace vorelix::test
