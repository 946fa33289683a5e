// The text rule: how demo bytes are shown and the bytes typed
// text becomes (encoded as the entry is shown, refused with the reason, cut on a character).
#include <gtest/gtest.h>

#include "demo/edit/TextRule.h"

namespace vorelix::demo {
namespace {

const TextRule k1251(Windows1251(), false, "; hint");
const TextRule k1252(Windows1252(), false, "; hint");
const TextRule kUtf8(Windows1252(), true, "; hint");
const std::string kVasya1251 = "\xc2\xe0\xf1\xff";
const std::string kLongUtf8 = "ПФЫВПФЫВПФЫПВ";  // 26 bytes, as newer game builds record names

TEST(TextRule, ShowsValidUtf8AsItIsAndAnythingElseInTheCodePage) {
    EXPECT_EQ(ShownText(kVasya1251, k1251), "Вася");
    EXPECT_EQ(ShownText(kVasya1251, k1252), "Âàñÿ");
    EXPECT_EQ(ShownText("caf\xe9 \x80", k1252), "café €");
    EXPECT_EQ(ShownText(kLongUtf8, k1252), kLongUtf8);
    EXPECT_EQ(ShownText("ab\xd0", k1251), "abР") << "a lone lead byte is no UTF-8";
    // Every byte shown in a code page is written back as itself.
    for (const CodePage* page : {&Windows1251(), &Windows1252()}) {
        for (unsigned byte = 0; byte <= 0xFF; ++byte)
            EXPECT_EQ(page->Encode(page->Decode(static_cast<unsigned char>(byte))), byte) << byte;
    }
}

TEST(TextRule, TypedTextIsWrittenAsTheEntryIsShownOrRefusedSayingWhy) {
    const struct {
        const char* name;
        std::string typed, replaced;
        TextField field;
        const TextRule& rule;
        std::string result;  // the bytes, or a part of the refusal
        bool ok;
    } cases[] = {
        {"UTF-8 entry", "Игрок", kLongUtf8, TextField::Nick, k1252, "Игрок" + std::string(16, ' '), true},
        {"code page entry", "Петя", kVasya1251, TextField::Nick, k1251, "\xcf\xe5\xf2\xff", true},
        {"ASCII entry, code page", "Игрок", "Player", TextField::Nick, k1251, "\xc8\xe3\xf0\xee\xea ", true},
        {"ASCII entry, utf8 chosen", "Игрок", "Player and more", TextField::Nick, kUtf8, "Игрок     ", true},
        {"not in the code page", "Игрок", "Player", TextField::Nick, k1252,
         "\"И\" (U+0418) cannot be written in code page 1252, in which this nick is shown; hint", false},
        {"longer than the room", "Игрок", "Ann", TextField::Nick, kUtf8,
         "takes 10 bytes in UTF-8, but the demo has room for 3", false},
        {"chat cut on a character", "Привет всем", "Ann :   hello", TextField::Chat, kUtf8, "Привет ", true},
        {"chat cut in a code page", "Привет всем", "Ann :   hi", TextField::Chat, k1251,
         "\xcf\xf0\xe8\xe2\xe5\xf2 \xe2\xf1\xe5", true},
        {"backslash in a nick", "a\\b", "Player", TextField::Nick, k1252,
         "a nick cannot hold a backslash (U+005C)", false},
        {"backslash in chat", "a\\b", "xyz", TextField::Chat, k1252, "a\\b", true},
        {"line feed in a nick", "a\nb", "Player", TextField::Nick, k1252,
         "the control character U+000A (line feed)", false},
        {"NUL in chat", std::string("a\0b", 3), "xyz", TextField::Chat, k1252, "U+0000 (NUL)", false},
        {"chat start in chat", "a\2b :   c", "Ann :   hello", TextField::Chat, k1252,
         "a chat text cannot hold the control character U+0002", false},
        {"C1 control", "a\u0085", "Player", TextField::Nick, k1252, "U+0085", false},
        {"not UTF-8", "\xff", "Player", TextField::Nick, k1252, "not valid UTF-8", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fitted = FitTypedText(c.typed, c.replaced, c.field, c.rule);
        ASSERT_EQ(fitted.ok(), c.ok);
        if (c.ok) {
            EXPECT_EQ(*fitted, c.result);
        } else {
            EXPECT_NE(fitted.failure().systemText.find(c.result), std::string::npos)
                << fitted.failure().systemText;
        }
    }
}

}  // namespace
}  // namespace vorelix::demo
