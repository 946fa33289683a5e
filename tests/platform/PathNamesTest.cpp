// Tests of the shared path helpers: existence, parent folder, file name, canonical form.
#include <gtest/gtest.h>
#include <windows.h>

#include "TempDir.h"
#include "platform/PathNames.h"

namespace vorelix::platform {
namespace {

using test::TempDir;

std::wstring ShortPathOf(const std::wstring& path) {
    wchar_t buffer[1024];
    const DWORD length = GetShortPathNameW(path.c_str(), buffer, 1024);
    return length == 0 || length >= 1024 ? std::wstring() : std::wstring(buffer, length);
}

TEST(PathHelpers, FileExistsParentFolderAndFileName) {
    TempDir dir;
    test::WriteFileBytes(dir / "a.dem", "x");
    EXPECT_TRUE(FileExists((dir / "a.dem").wstring()));
    EXPECT_TRUE(FileExists(dir.Path().wstring()));
    // What an argument string left quoted looks like names no file.
    for (const auto& missing :
         {(dir / "b.dem").wstring(), std::wstring(), L"\"" + (dir / "a.dem").wstring() + L"\""})
        EXPECT_FALSE(FileExists(missing));

    std::wstring parents, names;
    for (const wchar_t* path : {L"C:\\Demos\\a.dem", L"C:\\a.dem", L"C:\\Demos\\",
                                L"\\\\server\\share\\a.dem", L"ab", L"", L"\\a", L"abc", L"C:/Demos/a.dem"})
        parents += GetParentFolder(path).value_or(L"<none>") + L"|";
    EXPECT_EQ(parents, L"C:\\Demos|C:|C:\\Demos|\\\\server\\share||||<none>|<none>|");
    for (const wchar_t* path : {L"C:\\Demos\\a.dem", L"a.dem", L"C:\\Демки\\моя демка.dem", L""})
        names += GetFileName(path) + L"|";
    EXPECT_EQ(names, L"a.dem|a.dem|моя демка.dem||");
}

TEST(CanonicalPath, SpellingsOfOneFileAgreeShortAliasesIncludedAndDifferentFilesDiffer) {
    TempDir dir;
    const std::wstring folder = dir.Path().wstring();
    test::WriteFileBytes(dir.Path() / L"демка а.dem", "a");
    test::WriteFileBytes(dir.Path() / L"демка б.dem", "b");
    const std::wstring a = CanonicalPath(folder + L"\\демка а.dem");
    EXPECT_NE(CanonicalPath(folder + L"\\демка б.dem"), a);
    EXPECT_EQ(CanonicalPath(folder + L"\\ДЕМКА А.DEM"), a);
    EXPECT_EQ(CanonicalPath(folder + L"\\..\\" + dir.Path().filename().wstring() + L"\\демка а.dem"), a);
    // Missing files still get a comparable form.
    EXPECT_EQ(CanonicalPath(folder + L"\\Missing.dem"), CanonicalPath(folder + L"\\missing.DEM"));
    EXPECT_NE(CanonicalPath(folder + L"\\Missing.dem"), CanonicalPath(folder + L"\\other.dem"));

    // A short alias meets the long spelling, for files and for missing files inside.
    const auto longFolder = dir / "a rather long folder name";
    std::filesystem::create_directory(longFolder);
    test::WriteFileBytes(longFolder / "a rather long demo name.dem", "x");
    const std::wstring shortFolder = ShortPathOf(longFolder.wstring());
    if (shortFolder.empty() || shortFolder == longFolder.wstring())
        GTEST_SKIP() << "this file system gives no 8.3 alias";
    EXPECT_EQ(CanonicalPath(ShortPathOf((longFolder / "a rather long demo name.dem").wstring())),
              CanonicalPath((longFolder / "a rather long demo name.dem").wstring()));
    EXPECT_EQ(CanonicalPath(shortFolder + L"\\new.dem"), CanonicalPath(longFolder.wstring() + L"\\new.dem"));
}

}  // namespace
}  // namespace vorelix::platform
