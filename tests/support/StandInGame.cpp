// The temporary game folder of the launch tests and the reading of the stand-in's record.
#include "StandInGame.h"

#include <sstream>

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
    SetEnvironmentVariableW(kRecordPathVariable, recordFile_.c_str());
    SetEnvironmentVariableW(kRecordedEventVariable, recorded_.Name().c_str());
    SetEnvironmentVariableW(kHoldEventVariable, holdDemo ? release_.Name().c_str() : nullptr);
}

StandInWatch::~StandInWatch() {
    for (const wchar_t* variable : {kRecordPathVariable, kRecordedEventVariable, kHoldEventVariable}) {
        SetEnvironmentVariableW(variable, nullptr);
    }
    release_.Set();
    // The stand-in must have let go of its files before the temporary folder goes.
    if (HANDLE process = processId_ ? OpenProcess(SYNCHRONIZE, FALSE, processId_) : nullptr) {
        WaitForSingleObject(process, 60000);
        CloseHandle(process);
    }
}

std::optional<StandInRecord> StandInWatch::Wait() {
    if (!recorded_.Wait()) return std::nullopt;
    StandInRecord record;
    std::istringstream in(ReadFileBytes(recordFile_));
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    processId_ = static_cast<DWORD>(std::stoul(record["process id"]));
    return record;
}

StandInGame::StandInGame() {
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

std::filesystem::path StandInGame::Write(const std::filesystem::path& relative, std::string_view bytes) const {
    const auto path = Root() / relative;
    std::filesystem::create_directories(path.parent_path());
    WriteFileBytes(path, bytes);
    return path;
}

StandInWatch StandInGame::ExpectGame(bool holdDemo) {
    return StandInWatch(Root() / (L"record-" + std::to_wstring(++runs_) + L".txt"), holdDemo);
}

}  // namespace vorelix::test
