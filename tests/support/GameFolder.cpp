// The temporary game folder of the launch tests and the reading of the stand-in's record.
#include "GameFolder.h"

#include <atomic>
#include <sstream>

#include "StandInRecord.h"

namespace vorelix::test {

namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

HANDLE NewEvent(const std::wstring& name) {
    return CreateEventW(nullptr, TRUE, FALSE, name.c_str());
}

std::optional<StandInRecord> ParseRecord(const std::string& text) {
    std::map<std::string, std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) lines[line.substr(0, equals)] = line.substr(equals + 1);
    }
    for (const char* key : kRecordKeys) {
        if (!lines.count(key)) return std::nullopt;
    }
    StandInRecord record;
    record.processId = static_cast<DWORD>(std::stoul(lines["process id"]));
    record.commandLine = Wide(lines["command line"]);
    record.workingFolder = Wide(lines["working folder"]);
    for (const char* name : {"EngineModeW", "EngineModeH", "EngineType"}) {
        const std::string& value = lines[name];
        if (value == "absent") continue;
        const auto blank = value.find(' ');
        record.videoSettings[Wide(name)] = {static_cast<DWORD>(std::stoul(value.substr(0, blank))),
                                            Unhex(value.substr(blank + 1))};
    }
    if (lines["vorelix.cfg"] != "absent") record.config = Unhex(lines["vorelix.cfg"]);
    if (lines["vorelix.dem"] != "absent") record.stagedDemo = lines["vorelix.dem"];
    record.autoexec = lines["autoexec.cfg"] == "yes";
    record.autoexecOld = lines["autoexec.cfg_old"] == "yes";
    return record;
}

}  // namespace

StandInWatch::StandInWatch(std::filesystem::path recordFile, bool holdDemo)
    : recordFile_(std::move(recordFile)) {
    static std::atomic<unsigned> counter{0};
    const std::wstring name = L"Local\\VorelixStandIn-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter++);
    recorded_ = NewEvent(name + L"-recorded");
    SetEnvironmentVariableW(kRecordPathVariable, recordFile_.c_str());
    SetEnvironmentVariableW(kRecordedEventVariable, (name + L"-recorded").c_str());
    if (holdDemo) release_ = NewEvent(name + L"-release");
    SetEnvironmentVariableW(kHoldEventVariable, holdDemo ? (name + L"-release").c_str() : nullptr);
}

StandInWatch::~StandInWatch() {
    SetEnvironmentVariableW(kRecordPathVariable, nullptr);
    SetEnvironmentVariableW(kRecordedEventVariable, nullptr);
    SetEnvironmentVariableW(kHoldEventVariable, nullptr);
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
    auto record = ParseRecord(ReadFileBytes(recordFile_));
    if (record) processId_ = record->processId;
    return record;
}

GameFolder::GameFolder() {
    Write(HlExe().lexically_relative(Root()), ReadFileBytes(std::filesystem::path(VORELIX_STANDIN_PATH)));
    Write(Game().lexically_relative(Root()) / L"hw.dll", "engine");
    for (const wchar_t* name : {L"cached.wad", L"autoexec.cfg", L"a.cfg", L"b.cfg", L"my config.cfg"}) {
        Write(Mod().lexically_relative(Root()) / name, "// stand-in file\r\n");
    }
    std::filesystem::create_directories(Demos());
    const wchar_t* key = L"SOFTWARE\\Valve\\Half-Life\\Settings";
    for (const wchar_t* value : {L"EngineModeW", L"EngineModeH", L"EngineType"}) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key, value);
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

std::string DigestOf(const std::filesystem::path& file) {
    Digest digest;
    digest.Add(ReadFileBytes(file));
    return digest.Text();
}

}  // namespace vorelix::test
