// Tests of the three entries of the .dem association.
#include <gtest/gtest.h>

#include "launch/AssociationEntries.h"

namespace vorelix::launch {
namespace {

TEST(AssociationEntries, AreExtensionIconAndQuotedCommandInThatOrder) {
    // Unquoted, a path with blanks would make Windows try C:\Program.exe first.
    for (const std::wstring folder : {L"C:\\Vorelix", L"C:\\Program Files\\Демки CS"}) {
        const auto entries = AssociationEntries(L"dem", L"vorelix_file", folder + L"\\vorelix.exe,0",
                                                folder + L"\\vorelix.exe");
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(entries[0].key, L".dem");
        EXPECT_EQ(entries[0].value, L"vorelix_file");
        EXPECT_EQ(entries[1].key, L"vorelix_file\\DefaultIcon");
        EXPECT_EQ(entries[1].value, folder + L"\\vorelix.exe,0");
        EXPECT_EQ(entries[2].key, L"vorelix_file\\shell\\open\\command");
        EXPECT_EQ(entries[2].value, L"\"" + folder + L"\\vorelix.exe\" %1");
    }
}

}  // namespace
}  // namespace vorelix::launch
