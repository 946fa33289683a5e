// Tests of the byte/UTF-16 conversions and the system's error texts.
#include <gtest/gtest.h>
#include <windows.h>

#include "demo/edit/CodePage.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

namespace vorelix::platform {
namespace {

const std::wstring kPrivet = L"Привет";
const std::string kPrivetUtf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
const std::string kPrivet1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";

TEST(Utf8, RoundTripsCyrillicSurrogatePairsAndEmbeddedZeros) {
    for (const auto& text :
         {kPrivet, std::wstring(L"a\U0001F600b"), std::wstring(L"a\0b", 3), std::wstring()})
        EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(WideToUtf8(kPrivet), kPrivetUtf8);
    EXPECT_EQ(WideToUtf8(L"a\U0001F600"), "a\xF0\x9F\x98\x80");
}

TEST(CodePageBytes, DecodeAndEncodeInTheCodePageNamedAndRefuseWhatItCannotHold) {
    EXPECT_EQ(BytesToWide(kPrivet1251, 1251), kPrivet);
    // The same bytes mean other letters in another code page.
    EXPECT_EQ(BytesToWide("\xC0", 1252), L"\u00C0");
    EXPECT_EQ(WideToSingleByte(kPrivet, 1251), kPrivet1251);
    EXPECT_EQ(WideToSingleByte(L"caf\u00E9 \u20AC who?", 1252), std::string("caf\xE9 \x80 who?"));
    EXPECT_EQ(WideToSingleByte(L"", 1251), std::string());

    // A character the page cannot hold in one byte is refused, never written as '?'. Best fit would turn
    // U+0101 into a look-alike 'a'; Shift-JIS needs two bytes for U+65E5.
    const std::pair<const wchar_t*, unsigned> refused[] = {
        {L"Привет", 1252}, {L"\u0101", 1252}, {L"\u65E5", 932}};
    for (const auto& [text, page] : refused) EXPECT_FALSE(WideToSingleByte(text, page).has_value()) << page;

    // WideToCodePage may take several bytes per character, yet still refuses what the page lacks.
    EXPECT_EQ(WideToCodePage(L"\u65E5.cfg", 932), std::string("\x93\xFA.cfg"));
    EXPECT_EQ(WideToCodePage(L"\u0416\U0001F600", CP_UTF8), WideToUtf8(L"\u0416\U0001F600"));
    EXPECT_FALSE(WideToCodePage(L"\u65E5", 1252).has_value());
    EXPECT_FALSE(WideToCodePage(std::wstring(1, wchar_t(0xD800)), CP_UTF8).has_value()) << "a lone surrogate";
}

TEST(DemoText, IsShownAsUtf8WhenValidAndInTheSystemsSingleBytePageOtherwiseThroughTheTextRule) {
    const unsigned page = DemoCodePage();
    CPINFO ansi{};
    const bool ansiSingleByte = GetCPInfo(GetACP(), &ansi) && ansi.MaxCharSize == 1;
    EXPECT_EQ(page, ansiSingleByte ? GetACP() : 1252u);
    EXPECT_EQ(DemoTextForDisplay(kPrivetUtf8), kPrivet);
    EXPECT_EQ(DemoTextForDisplay(kPrivet1251), BytesToWide(kPrivet1251, page));

    // The system's code page serves the text rule like the portable tables.
    const demo::CodePage& system = SystemCodePage();
    EXPECT_EQ(system.Number(), page);
    const demo::CodePage* table = page == 1251   ? &demo::Windows1251()
                                  : page == 1252 ? &demo::Windows1252()
                                                 : nullptr;
    for (unsigned value = 0; value <= 0xFF; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        EXPECT_EQ(system.Encode(system.Decode(byte)), byte) << value;
        if (table != nullptr) {
            EXPECT_EQ(system.Decode(byte), table->Decode(byte)) << value;
        }
    }
    // No best fit: U+0101 would become 'a'.
    EXPECT_FALSE(system.Encode(0x0101) || system.Encode(0x1F600));
}

TEST(SystemErrorText, IsTheSystemsTextWithoutTheLineBreakOrNamesTheNumber) {
    const std::wstring text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(std::wstring(L"\r\n ").find(text.back()), std::wstring::npos) << "nothing trails the text";
    EXPECT_EQ(text.find(L"System error"), std::wstring::npos) << "the system knows this code";
    EXPECT_EQ(SystemErrorText(0x2FFFFFFFul), L"System error 805306367.");
    SetLastError(ERROR_ACCESS_DENIED);
    const Failure failure = LastErrorFailure();
    EXPECT_EQ(failure.code, static_cast<int>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(failure.systemText, WideToUtf8(SystemErrorText(ERROR_ACCESS_DENIED)));
}

}  // namespace
}  // namespace vorelix::platform
