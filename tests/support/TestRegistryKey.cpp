// Unique per-test registry keys in the Wine prefix's real registry, deleted when the test ends.
#include "TestRegistryKey.h"

#include <atomic>

namespace vorelix::test {

namespace {

std::atomic<unsigned> counter{0};

std::wstring CreateKey(const std::wstring& path, DWORD options) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(TestRegistryKey::Root(), path.c_str(), 0, nullptr, options, KEY_READ, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
    return path;
}

}  // namespace

TestRegistryKey::TestRegistryKey() {
    path_ = CreateKey(L"Software\\VorelixTest\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++),
                      0);
}

TestRegistryKey::~TestRegistryKey() {
    RegDeleteTreeW(Root(), path_.c_str());
    // The parent goes too once the last test key below it is gone; it fails harmlessly otherwise.
    RegDeleteKeyW(Root(), L"Software\\VorelixTest");
}

std::wstring TestRegistryKey::CreateVolatile(const std::wstring& child) const {
    return CreateKey(*this / child, REG_OPTION_VOLATILE);
}

}  // namespace vorelix::test
