// Tests of the registry writers and readers against the Wine prefix's real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestRegistryKey.h"
#include "platform/Registry.h"

namespace vorelix::platform {
namespace {

using test::TestRegistryKey;

TEST(SetRegString, CreatesTheKeyAndWritesNamedAndDefaultValues) {
    TestRegistryKey base;
    const std::wstring key = base / L"a\\b\\c";
    EXPECT_FALSE(SetRegString(base.Root(), key, L"name", L"value").has_value());
    EXPECT_FALSE(SetRegString(base.Root(), key, L"", L"default").has_value());
    EXPECT_EQ(GetRegString(base.Root(), key, L"name"), L"value");
    EXPECT_EQ(GetRegString(base.Root(), key, L""), L"default");
}

TEST(SetRegString, OverwritesOnlyItsOwnValue) {
    TestRegistryKey base;
    const std::wstring key = base / L"k";
    ASSERT_FALSE(SetRegString(base.Root(), key, L"", L"old").has_value());
    ASSERT_FALSE(SetRegString(base.Root(), key, L"other", L"stays").has_value());
    ASSERT_FALSE(SetRegString(base.Root(), key + L"\\sub", L"", L"child").has_value());
    ASSERT_FALSE(SetRegString(base.Root(), key, L"", L"\u043D\u043E\u0432\u043E\u0435 new").has_value());
    EXPECT_EQ(GetRegString(base.Root(), key, L""), L"\u043D\u043E\u0432\u043E\u0435 new");
    EXPECT_EQ(GetRegString(base.Root(), key, L"other"), L"stays");
    EXPECT_EQ(GetRegString(base.Root(), key + L"\\sub", L""), L"child");
}

TEST(SetRegString, StoresTheEmptyTextAsAnEmptyString) {
    TestRegistryKey base;
    ASSERT_FALSE(SetRegString(base.Root(), base.Path(), L"empty", L"").has_value());
    EXPECT_EQ(GetRegString(base.Root(), base.Path(), L"empty"), L"");
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegGetValueW(base.Root(), base.Path().c_str(), L"empty", RRF_RT_ANY, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof(wchar_t)) << "the terminating zero only";
}

TEST(SetRegDWord, WritesFourLittleEndianBytesOfTypeDword) {
    TestRegistryKey base;
    const std::wstring key = base / L"SOFTWARE\\Valve\\Half-Life\\Settings";
    ASSERT_FALSE(SetRegDWord(base.Root(), key, L"EngineModeW", 1024).has_value());
    ASSERT_FALSE(SetRegDWord(base.Root(), key, L"Negative", -2).has_value());
    EXPECT_EQ(GetRegDWord(base.Root(), key, L"EngineModeW"), 1024u);
    EXPECT_EQ(GetRegDWord(base.Root(), key, L"Negative"), 0xFFFFFFFEu);
    DWORD type = 0;
    unsigned char bytes[8] = {};
    DWORD size = sizeof(bytes);
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(base.Root(), key.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
    ASSERT_EQ(RegQueryValueExW(opened, L"EngineModeW", nullptr, &type, bytes, &size), ERROR_SUCCESS);
    RegCloseKey(opened);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x04);
    EXPECT_EQ(bytes[2], 0x00);
    EXPECT_EQ(bytes[3], 0x00);
}

TEST(RegistryWriters, ARefusedKeyRaisesTheCreateError) {
    TestRegistryKey base;
    const std::wstring refusing = base.CreateVolatile(L"volatile");
    const auto stringError = SetRegString(base.Root(), refusing + L"\\new", L"", L"x");
    ASSERT_TRUE(stringError.has_value());
    EXPECT_EQ(stringError->number, -2147215501);
    EXPECT_EQ(stringError->source, L"SetRegString");
    EXPECT_EQ(stringError->description, L"RegCreateKeyEx failed!");
    EXPECT_EQ(stringError->systemCode, static_cast<unsigned long>(ERROR_CHILD_MUST_BE_VOLATILE));

    const auto dwordError = SetRegDWord(base.Root(), refusing + L"\\new", L"v", 1);
    ASSERT_TRUE(dwordError.has_value());
    EXPECT_EQ(dwordError->number, -2147215501);
    EXPECT_EQ(dwordError->source, L"SetRegDWord");
    EXPECT_EQ(dwordError->description, L"RegCreateKeyEx failed!");
    EXPECT_FALSE(GetRegString(base.Root(), refusing + L"\\new", L"").has_value());
}

TEST(RegistryWriters, ARefusedValueRaisesTheSetErrorAndLeavesTheKeyUsable) {
    TestRegistryKey base;
    // Value names are limited to 16383 characters: the key opens, the write is refused.
    const std::wstring tooLong(20000, L'n');
    const auto stringError = SetRegString(base.Root(), base / L"k", tooLong, L"x");
    ASSERT_TRUE(stringError.has_value());
    EXPECT_EQ(stringError->number, -2147215502);
    EXPECT_EQ(stringError->source, L"SetRegString");
    EXPECT_EQ(stringError->description, L"RegSetValueEx failed!");
    EXPECT_NE(stringError->systemCode, 0ul);

    const auto dwordError = SetRegDWord(base.Root(), base / L"k", tooLong, 1);
    ASSERT_TRUE(dwordError.has_value());
    EXPECT_EQ(dwordError->number, -2147215502);
    EXPECT_EQ(dwordError->source, L"SetRegDWord");
    EXPECT_EQ(dwordError->description, L"RegSetValueEx failed!");

    // The key was closed after the failed write: it can still be written and removed.
    EXPECT_FALSE(SetRegString(base.Root(), base / L"k", L"ok", L"x").has_value());
    EXPECT_TRUE(DeleteRegTree(base.Root(), base / L"k"));
}

// The next handle a process gets is the lowest free one: a key left open by a writer moves it up.
HANDLE NextFreeHandle() {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(event);
    return event;
}

TEST(RegistryWriters, CloseTheKeyAfterEveryWriteFailedOrNot) {
    TestRegistryKey base;
    const std::wstring tooLong(20000, L'n');
    (void)SetRegString(base.Root(), base / L"k", L"v", L"x");  // any first-use caching happens here
    const HANDLE before = NextFreeHandle();
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(SetRegString(base.Root(), base / L"k", L"v", L"x").has_value());
        EXPECT_TRUE(SetRegString(base.Root(), base / L"k", tooLong, L"x").has_value());
        EXPECT_FALSE(SetRegDWord(base.Root(), base / L"k", L"d", i).has_value());
        EXPECT_TRUE(SetRegDWord(base.Root(), base / L"k", tooLong, i).has_value());
    }
    EXPECT_EQ(NextFreeHandle(), before) << "a write left its key open";
}

TEST(RegistryReaders, GiveNothingForAbsentKeysValuesAndOtherTypes) {
    TestRegistryKey base;
    EXPECT_FALSE(GetRegString(base.Root(), base / L"absent", L"v").has_value());
    EXPECT_FALSE(GetRegString(base.Root(), base.Path(), L"absent").has_value());
    ASSERT_FALSE(SetRegDWord(base.Root(), base.Path(), L"number", 7).has_value());
    ASSERT_FALSE(SetRegString(base.Root(), base.Path(), L"text", L"7").has_value());
    EXPECT_FALSE(GetRegString(base.Root(), base.Path(), L"number").has_value());
    EXPECT_FALSE(GetRegDWord(base.Root(), base.Path(), L"text").has_value());
}

TEST(RegistryReaders, ReadLongTexts) {
    TestRegistryKey base;
    const std::wstring longText(5000, L'\u0416');
    ASSERT_FALSE(SetRegString(base.Root(), base.Path(), L"long", longText).has_value());
    EXPECT_EQ(GetRegString(base.Root(), base.Path(), L"long"), longText);
}

TEST(DeleteRegTree, RemovesTheKeyWithEverythingBelowIt) {
    TestRegistryKey base;
    const std::wstring key = base / L"tree";
    ASSERT_FALSE(SetRegString(base.Root(), key + L"\\a\\b", L"v", L"x").has_value());
    ASSERT_FALSE(SetRegString(base.Root(), key, L"v", L"x").has_value());
    ASSERT_FALSE(SetRegString(base.Root(), base / L"sibling", L"v", L"stays").has_value());
    EXPECT_TRUE(DeleteRegTree(base.Root(), key));
    EXPECT_FALSE(GetRegString(base.Root(), key, L"v").has_value());
    EXPECT_FALSE(GetRegString(base.Root(), key + L"\\a\\b", L"v").has_value());
    EXPECT_EQ(GetRegString(base.Root(), base / L"sibling", L"v"), L"stays");
    EXPECT_TRUE(DeleteRegTree(base.Root(), key)) << "an absent key is already gone";
    EXPECT_FALSE(DeleteRegTree(base.Root(), L""));
}

}  // namespace
}  // namespace vorelix::platform
