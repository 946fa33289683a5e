// Demo text decoding for display and typed text encoding in Windows-1251 and Windows-1252.
#include <gtest/gtest.h>

#include "demo/CodePage.h"

namespace vorelix::demo {
namespace {

TEST(CodePage, DecodesInTheChosenCodePageUnlessValidUtf8) {
    EXPECT_EQ(DecodeForDisplay("\xcf\xf0\xe8\xe2\xe5\xf2", CodePage::Windows1251), "Привет");
    EXPECT_EQ(DecodeForDisplay("caf\xe9 \x80", CodePage::Windows1252), "café €");
    EXPECT_EQ(DecodeForDisplay("Привет", CodePage::Windows1252), "Привет");
    EXPECT_FALSE(IsValidUtf8("\xc0\x80"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));  // surrogate
    EXPECT_FALSE(IsValidUtf8("\xd0"));          // cut short
}

TEST(CodePage, RefusesWhatTheCodePageCannotHoldInsteadOfWritingAQuestionMark) {
    auto cyrillicIn1252 = EncodeTyped("Привет", CodePage::Windows1252);
    ASSERT_FALSE(cyrillicIn1252.ok());
    EXPECT_NE(cyrillicIn1252.failure().systemText.find("U+041F"), std::string::npos);
    EXPECT_FALSE(EncodeTyped("\xff", CodePage::Windows1252).ok());
    EXPECT_FALSE(CodePageFromNumber(866).has_value());
    // Every high byte decodes and encodes back to itself (a lone one is never valid UTF-8).
    for (CodePage page : {CodePage::Windows1251, CodePage::Windows1252}) {
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            auto back = EncodeTyped(DecodeForDisplay(one, page), page);
            ASSERT_TRUE(back.ok()) << byte;
            EXPECT_EQ(back.value(), one) << byte;
        }
    }
}

}  // namespace
}  // namespace vorelix::demo
