// Tests of the shared path helpers: existence, parent folder, file name, joining, canonical form.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "TempDir.h"
#include "platform/Common.h"
#include "platform/SysHelpers.h"

namespace vorelix::platform {
namespace {

using test::TempDir;
using test::WriteFileBytes;

std::wstring ShortPathOf(const std::wstring& path) {
    std::vector<wchar_t> buffer(1024);
    const DWORD length = GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    return length == 0 || length >= buffer.size() ? std::wstring() : std::wstring(buffer.data(), length);
}

TEST(FileExists, FindsFilesAndFoldersOnly) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "x");
    EXPECT_TRUE(FileExists((dir / "a.dem").wstring()));
    EXPECT_TRUE(FileExists(dir.Path().wstring()));
    EXPECT_FALSE(FileExists((dir / "b.dem").wstring()));
    EXPECT_FALSE(FileExists(L""));
    // What an unquoting-free argument string may look like.
    EXPECT_FALSE(FileExists(L"\"" + (dir / "a.dem").wstring() + L"\""));
}

TEST(GetParentFolder, TakesTheTextBeforeTheLastBackslash) {
    EXPECT_EQ(GetParentFolder(L"C:\\Demos\\a.dem"), L"C:\\Demos");
    EXPECT_EQ(GetParentFolder(L"C:\\a.dem"), L"C:");
    EXPECT_EQ(GetParentFolder(L"C:\\Demos\\"), L"C:\\Demos");
    EXPECT_EQ(GetParentFolder(L"\\\\server\\share\\a.dem"), L"\\\\server\\share");
}

TEST(GetParentFolder, ShortTextsGiveEmptyAndNoBackslashGivesNothing) {
    EXPECT_EQ(GetParentFolder(L"ab"), L"");
    EXPECT_EQ(GetParentFolder(L""), L"");
    EXPECT_EQ(GetParentFolder(L"\\a"), L"");
    EXPECT_FALSE(GetParentFolder(L"abc").has_value());
    EXPECT_FALSE(GetParentFolder(L"a.dem").has_value());
    // Forward slashes are not the separator this routine looks for.
    EXPECT_FALSE(GetParentFolder(L"C:/Demos/a.dem").has_value());
}

TEST(GetFileName, StripsTheFolderPart) {
    EXPECT_EQ(GetFileName(L"C:\\Demos\\a.dem"), L"a.dem");
    EXPECT_EQ(GetFileName(L"C:\\a.dem"), L"a.dem");
    EXPECT_EQ(GetFileName(L"a.dem"), L"a.dem");
    EXPECT_EQ(
        GetFileName(
            L"C:\\\u0414\u0435\u043C\u043A\u0438\\\u043C\u043E\u044F \u0434\u0435\u043C\u043A\u0430.dem"),
        L"\u043C\u043E\u044F \u0434\u0435\u043C\u043A\u0430.dem");
    EXPECT_EQ(GetFileName(L""), L"");
}

TEST(GetSelectedDemoPath, JoinsTheFolderAndTheEntryLikeTheDemoList) {
    EXPECT_EQ(GetSelectedDemoPath(L"C:\\", L"a.dem"), L"C:\\a.dem");
    EXPECT_EQ(GetSelectedDemoPath(L"C:\\X", L"a.dem"), L"C:\\X\\a.dem");
    EXPECT_EQ(GetSelectedDemoPath(L"D:\\Demos", L"a.dem"), L"D:\\Demos\\a.dem");
    // Nothing selected: the folder and a separator, naming no file.
    EXPECT_EQ(GetSelectedDemoPath(L"D:\\Demos", L""), L"D:\\Demos\\");
    EXPECT_EQ(GetSelectedDemoPath(L"C:\\", L""), L"C:\\");
    EXPECT_EQ(JoinFolderAndName(L"C:\\X", L"my demo.dem"), L"C:\\X\\my demo.dem");
}

TEST(CanonicalPath, ShortAliasAndLongNameGiveTheSameKey) {
    TempDir dir;
    const auto file = dir / "a rather long demo name.dem";
    WriteFileBytes(file, "x");
    const std::wstring longName = file.wstring();
    const std::wstring shortName = ShortPathOf(longName);
    ASSERT_FALSE(shortName.empty());
    if (shortName == longName) GTEST_SKIP() << "this file system gives no 8.3 alias";
    EXPECT_EQ(CanonicalPath(shortName), CanonicalPath(longName));
}

TEST(CanonicalPath, SpellingsOfOneFileAgreeAndDifferentFilesDiffer) {
    TempDir dir;
    const std::wstring cyrillicA = L"\u0434\u0435\u043C\u043A\u0430 \u0430.dem";  // "демка а.dem"
    const std::wstring cyrillicB = L"\u0434\u0435\u043C\u043A\u0430 \u0431.dem";  // "демка б.dem"
    WriteFileBytes(dir.Path() / cyrillicA, "a");
    WriteFileBytes(dir.Path() / cyrillicB, "b");
    const std::wstring folder = dir.Path().wstring();
    const std::wstring a = folder + L"\\" + cyrillicA;
    const std::wstring b = folder + L"\\" + cyrillicB;

    EXPECT_NE(CanonicalPath(a), CanonicalPath(b));
    // Upper-case spelling of the same name, and a detour through ".." name the same file.
    const std::wstring upperA = folder + L"\\\u0414\u0415\u041C\u041A\u0410 \u0410.DEM";
    EXPECT_EQ(CanonicalPath(upperA), CanonicalPath(a));
    const std::wstring detour = folder + L"\\..\\" + dir.Path().filename().wstring() + L"\\" + cyrillicA;
    EXPECT_EQ(CanonicalPath(detour), CanonicalPath(a));
    const auto shortA = ShortPathOf(a);
    if (!shortA.empty()) {
        EXPECT_EQ(CanonicalPath(shortA), CanonicalPath(a));
    }
}

TEST(CanonicalPath, AMissingFileStillGetsAComparableForm) {
    TempDir dir;
    const std::wstring missing = dir.Path().wstring() + L"\\Missing Demo.dem";
    EXPECT_EQ(CanonicalPath(missing), CanonicalPath(dir.Path().wstring() + L"\\missing demo.DEM"));
    EXPECT_NE(CanonicalPath(missing), CanonicalPath(dir.Path().wstring() + L"\\other.dem"));
}

TEST(CanonicalPath, AMissingFileInAFolderSpelledByItsShortAliasMeetsItsLongSpelling) {
    TempDir dir;
    const auto folder = dir / "a rather long folder name";
    std::filesystem::create_directory(folder);
    const std::wstring shortFolder = ShortPathOf(folder.wstring());
    if (shortFolder.empty() || shortFolder == folder.wstring()) GTEST_SKIP() << "no 8.3 alias here";
    EXPECT_EQ(CanonicalPath(shortFolder + L"\\new.dem"), CanonicalPath(folder.wstring() + L"\\new.dem"));
}

}  // namespace
}  // namespace vorelix::platform
