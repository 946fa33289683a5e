// Tests of the byte/UTF-16 conversions and the system's error texts.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/SystemError.h"
#include "platform/Text.h"

namespace vorelix::platform {
namespace {

const std::wstring kPrivet = L"\u041F\u0440\u0438\u0432\u0435\u0442";  // "Привет"
const std::string kPrivetUtf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";

TEST(Utf8, RoundTripsCyrillicAndCharactersBeyondTheBasicPlane) {
    EXPECT_EQ(Utf8ToWide(kPrivetUtf8), kPrivet);
    EXPECT_EQ(WideToUtf8(kPrivet), kPrivetUtf8);
    const std::wstring emoji = L"a\U0001F600b";  // a surrogate pair in UTF-16
    EXPECT_EQ(WideToUtf8(emoji),
              "a\xF0\x9F\x98\x80"
              "b");
    EXPECT_EQ(Utf8ToWide(WideToUtf8(emoji)), emoji);
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(WideToUtf8(L""), "");
}

TEST(Utf8, KeepsEmbeddedZeroBytes) {
    const std::string bytes("a\0b", 3);
    EXPECT_EQ(Utf8ToWide(bytes), std::wstring(L"a\0b", 3));
}

TEST(CodePageBytes, DecodeInTheCodePageNamed) {
    EXPECT_EQ(BytesToWide(kPrivet1251, 1251), kPrivet);
    EXPECT_EQ(BytesToWide("caf\xE9", 1252), L"caf\u00E9");
    // The same bytes mean other letters in another code page.
    EXPECT_EQ(BytesToWide("\xC0", 1251), L"\u0410");
    EXPECT_EQ(BytesToWide("\xC0", 1252), L"\u00C0");
}

TEST(CodePageBytes, EncodeOneBytePerCharacterWhenThePageHoldsEveryCharacter) {
    EXPECT_EQ(WideToSingleByte(kPrivet, 1251), kPrivet1251);
    EXPECT_EQ(WideToSingleByte(L"caf\u00E9", 1252), std::string("caf\xE9"));
    EXPECT_EQ(WideToSingleByte(L"\u20AC", 1252), std::string("\x80"));
    EXPECT_EQ(WideToSingleByte(L"who?", 1252), std::string("who?"));
    EXPECT_EQ(WideToSingleByte(L"", 1251), std::string());
}

TEST(CodePageBytes, RefuseACharacterThePageCannotHoldInsteadOfWritingAQuestionMark) {
    EXPECT_FALSE(WideToSingleByte(kPrivet, 1252).has_value());
    EXPECT_FALSE(WideToSingleByte(L"caf\u00E9", 1251).has_value());
    // Best fit would turn these into look-alikes ('a', 'A'); they must be refused.
    EXPECT_FALSE(WideToSingleByte(L"\u0101", 1252).has_value());
    EXPECT_FALSE(WideToSingleByte(L"x\uFF21", 1252).has_value());
    EXPECT_FALSE(WideToSingleByte(L"a\U0001F600", 1252).has_value());
}

TEST(CodePageBytes, RefuseAPageThatNeedsTwoBytesForACharacter) {
    // Shift-JIS holds this character, but in two bytes: a same-length edit could not count on it.
    EXPECT_FALSE(WideToSingleByte(L"\u65E5", 932).has_value());
}

TEST(DemoCodePage, IsTheSystemsPageWhenSingleByte) {
    const unsigned page = DemoCodePage();
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(page, &info));
    EXPECT_EQ(info.MaxCharSize, 1u);
    CPINFO ansi{};
    if (GetCPInfo(GetACP(), &ansi) && ansi.MaxCharSize == 1) {
        EXPECT_EQ(page, GetACP());
    } else {
        EXPECT_EQ(page, 1252u);
    }
}

TEST(DemoTextForDisplay, ValidUtf8WithNonAsciiIsShownAsUtf8) {
    EXPECT_EQ(DemoTextForDisplay(kPrivetUtf8), kPrivet);
}

TEST(DemoTextForDisplay, OtherBytesAreShownInTheDemoCodePage) {
    EXPECT_EQ(DemoTextForDisplay("player"), L"player");
    EXPECT_EQ(DemoTextForDisplay(kPrivet1251), BytesToWide(kPrivet1251, DemoCodePage()));
    // A lone lead byte is no UTF-8.
    EXPECT_EQ(DemoTextForDisplay("ab\xD0"), BytesToWide("ab\xD0", DemoCodePage()));
    EXPECT_EQ(DemoTextForDisplay(""), L"");
}

TEST(SystemErrorText, IsTheSystemsTextWithoutTheLineBreak) {
    const std::wstring text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
    EXPECT_NE(text.back(), L' ');
    EXPECT_EQ(text.find(L"System error"), std::wstring::npos) << "the system knows this code";
}

TEST(SystemErrorText, NamesTheNumberWhenTheSystemHasNoText) {
    EXPECT_EQ(SystemErrorText(0x2FFFFFFFul), L"System error 805306367.");
}

TEST(SystemErrorText, FailureCarriesTheCodeAndItsTextInUtf8) {
    SetLastError(ERROR_ACCESS_DENIED);
    const Failure failure = LastErrorFailure();
    EXPECT_EQ(failure.code, static_cast<int>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(failure.systemText, WideToUtf8(SystemErrorText(ERROR_ACCESS_DENIED)));
    EXPECT_EQ(FailureFromCode(ERROR_PATH_NOT_FOUND).code, static_cast<int>(ERROR_PATH_NOT_FOUND));
}

}  // namespace
}  // namespace vorelix::platform
