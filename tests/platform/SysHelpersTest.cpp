// Tests of the shared path helpers: existence, parent folder, file name, joining, canonical form.
#include <gtest/gtest.h>
#include <windows.h>

#include "TempDir.h"
#include "platform/Common.h"
#include "platform/SysHelpers.h"

namespace vorelix::platform {
namespace {

using test::TempDir;

std::wstring ShortPathOf(const std::wstring& path) {
    wchar_t buffer[1024];
    const DWORD length = GetShortPathNameW(path.c_str(), buffer, 1024);
    return length == 0 || length >= 1024 ? std::wstring() : std::wstring(buffer, length);
}

TEST(PathHelpers, FileExistsParentFolderFileNameAndSelectedPath) {
    TempDir dir;
    test::WriteFileBytes(dir / "a.dem", "x");
    EXPECT_TRUE(FileExists((dir / "a.dem").wstring()));
    EXPECT_TRUE(FileExists(dir.Path().wstring()));
    // What an argument string left quoted looks like names no file.
    for (const auto& missing :
         {(dir / "b.dem").wstring(), std::wstring(), L"\"" + (dir / "a.dem").wstring() + L"\""})
        EXPECT_FALSE(FileExists(missing));

    const std::pair<const wchar_t*, std::optional<std::wstring>> parents[] = {
        {L"C:\\Demos\\a.dem", L"C:\\Demos"},
        {L"C:\\a.dem", L"C:"},
        {L"C:\\Demos\\", L"C:\\Demos"},
        {L"\\\\server\\share\\a.dem", L"\\\\server\\share"},
        {L"ab", L""},
        {L"", L""},
        {L"\\a", L""},
        {L"abc", std::nullopt},
        {L"C:/Demos/a.dem", std::nullopt}};
    for (const auto& [path, parent] : parents) EXPECT_EQ(GetParentFolder(path), parent) << path;

    for (const auto& [path, name] :
         {std::pair{L"C:\\Demos\\a.dem", L"a.dem"}, std::pair{L"a.dem", L"a.dem"},
          std::pair{L"C:\\Демки\\моя демка.dem", L"моя демка.dem"}, std::pair{L"", L""}})
        EXPECT_EQ(GetFileName(path), name) << path;

    // Nothing selected: the folder and a separator, naming no file.
    EXPECT_EQ(GetSelectedDemoPath(L"C:\\", L"a.dem"), L"C:\\a.dem");
    EXPECT_EQ(GetSelectedDemoPath(L"D:\\Demos", L"a b.dem"), L"D:\\Demos\\a b.dem");
    EXPECT_EQ(GetSelectedDemoPath(L"D:\\Demos", L""), L"D:\\Demos\\");
    EXPECT_EQ(GetSelectedDemoPath(L"C:\\", L""), L"C:\\");
}

TEST(CanonicalPath, SpellingsOfOneFileAgreeAndDifferentFilesDiffer) {
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
}

TEST(CanonicalPath, AShortAliasMeetsTheLongSpellingForFilesAndMissingFilesInside) {
    TempDir dir;
    const auto folder = dir / "a rather long folder name";
    std::filesystem::create_directory(folder);
    test::WriteFileBytes(folder / "a rather long demo name.dem", "x");
    const std::wstring shortFolder = ShortPathOf(folder.wstring());
    const std::wstring shortFile = ShortPathOf((folder / "a rather long demo name.dem").wstring());
    if (shortFolder.empty() || shortFolder == folder.wstring())
        GTEST_SKIP() << "this file system gives no 8.3 alias";
    EXPECT_EQ(CanonicalPath(shortFile), CanonicalPath((folder / "a rather long demo name.dem").wstring()));
    EXPECT_EQ(CanonicalPath(shortFolder + L"\\new.dem"), CanonicalPath(folder.wstring() + L"\\new.dem"));
}

}  // namespace
}  // namespace vorelix::platform
