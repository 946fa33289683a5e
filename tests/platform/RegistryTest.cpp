// Tests of the registry writers and readers against the Wine prefix's real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestRegistryKey.h"
#include "platform/Registry.h"

namespace vorelix::platform {
namespace {

class RegistryTest : public ::testing::Test {
  protected:
    // The value's type and raw bytes as the registry holds them.
    std::pair<DWORD, std::string> Raw(const std::wstring& key, const wchar_t* name) const {
        DWORD type = 0;
        char bytes[16] = {};
        DWORD size = sizeof bytes;
        RegGetValueW(base.Root(), key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, bytes, &size);
        return {type, std::string(bytes, size)};
    }

    test::TestRegistryKey base;
    const HKEY root = test::TestRegistryKey::Root();
};

TEST_F(RegistryTest, WritersCreateTheKeyAndOverwriteOnlyTheirOwnValue) {
    const std::wstring key = base / L"a\\b";
    ASSERT_FALSE(SetRegString(root, key, L"", L"old").has_value());
    ASSERT_FALSE(SetRegString(root, key, L"other", L"stays").has_value());
    ASSERT_FALSE(SetRegString(root, key, L"", L"новое new").has_value());
    ASSERT_FALSE(SetRegString(root, key, L"empty", L"").has_value());
    ASSERT_FALSE(SetRegDWord(root, key, L"EngineModeW", 1024).has_value());
    ASSERT_FALSE(SetRegDWord(root, key, L"Negative", -2).has_value());
    EXPECT_EQ(GetRegString(root, key, L""), L"новое new");
    EXPECT_EQ(GetRegString(root, key, L"other"), L"stays");
    EXPECT_EQ(GetRegString(root, key, L"empty"), L"");
    EXPECT_EQ(Raw(key, L"empty"), (std::pair<DWORD, std::string>{REG_SZ, std::string(2, '\0')}));
    EXPECT_EQ(GetRegDWord(root, key, L"Negative"), 0xFFFFFFFEu);
    EXPECT_EQ(Raw(key, L"EngineModeW"),
              (std::pair<DWORD, std::string>{REG_DWORD, std::string("\0\4\0\0", 4)}));
    const std::wstring longText(5000, L'Ж');
    ASSERT_FALSE(SetRegString(root, key, L"long", longText).has_value());
    EXPECT_EQ(GetRegString(root, key, L"long"), longText);
}

TEST_F(RegistryTest, ARefusedKeyOrValueRaisesItsErrorAndLeavesTheKeyClosed) {
    // Below a volatile key no lasting key can be made; value names are limited to 16383 characters.
    const std::wstring refusing = base.CreateVolatile(L"volatile") + L"\\new";
    const std::wstring tooLong(20000, L'n');
    struct Case {
        std::wstring key, name;
        long number;
        const wchar_t* description;
    };
    for (const Case& c : {Case{refusing, L"v", -2147215501, L"RegCreateKeyEx failed!"},
                          Case{base / L"k", tooLong, -2147215502, L"RegSetValueEx failed!"}}) {
        const auto stringError = SetRegString(root, c.key, c.name, L"x");
        const auto dwordError = SetRegDWord(root, c.key, c.name, 1);
        ASSERT_TRUE(stringError.has_value() && dwordError.has_value()) << c.number;
        EXPECT_EQ(stringError->number, c.number);
        EXPECT_EQ(stringError->source, L"SetRegString");
        EXPECT_EQ(stringError->description, c.description);
        EXPECT_NE(stringError->systemCode, 0ul);
        EXPECT_EQ(dwordError->number, c.number);
        EXPECT_EQ(dwordError->source, L"SetRegDWord");
        EXPECT_EQ(dwordError->description, c.description);
    }
    EXPECT_FALSE(GetRegString(root, refusing, L"v").has_value());

    // The next handle a process gets is the lowest free one: a key left open by a writer moves it up.
    const auto nextFreeHandle = [] {
        HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(event);
        return event;
    };
    const HANDLE before = nextFreeHandle();
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(SetRegString(root, base / L"k", L"v", L"x").has_value());
        EXPECT_TRUE(SetRegString(root, base / L"k", tooLong, L"x").has_value());
        EXPECT_FALSE(SetRegDWord(root, base / L"k", L"d", i).has_value());
        EXPECT_TRUE(SetRegDWord(root, base / L"k", tooLong, i).has_value());
    }
    EXPECT_EQ(nextFreeHandle(), before) << "a write left its key open";
}

TEST_F(RegistryTest, ReadersGiveNothingForAbsentKeysValuesAndOtherTypes) {
    ASSERT_FALSE(SetRegDWord(root, base.Path(), L"number", 7).has_value());
    ASSERT_FALSE(SetRegString(root, base.Path(), L"text", L"7").has_value());
    EXPECT_FALSE(GetRegString(root, base / L"absent", L"v").has_value());
    EXPECT_FALSE(GetRegString(root, base.Path(), L"absent").has_value());
    EXPECT_FALSE(GetRegString(root, base.Path(), L"number").has_value());
    EXPECT_FALSE(GetRegDWord(root, base.Path(), L"text").has_value());
}

TEST_F(RegistryTest, DeleteRegTreeRemovesTheKeyWithEverythingBelowIt) {
    ASSERT_FALSE(SetRegString(root, base / L"tree\\a\\b", L"v", L"x").has_value());
    ASSERT_FALSE(SetRegString(root, base / L"sibling", L"v", L"stays").has_value());
    EXPECT_TRUE(DeleteRegTree(root, base / L"tree"));
    EXPECT_FALSE(GetRegString(root, base / L"tree\\a\\b", L"v").has_value());
    EXPECT_EQ(GetRegString(root, base / L"sibling", L"v"), L"stays");
    EXPECT_TRUE(DeleteRegTree(root, base / L"tree")) << "an absent key is already gone";
    EXPECT_FALSE(DeleteRegTree(root, L""));
}

}  // namespace
}  // namespace vorelix::platform
