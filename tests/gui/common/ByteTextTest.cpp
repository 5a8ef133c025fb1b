#include "gui/common/ByteText.h"

#include <gtest/gtest.h>
#include <random>

using qloom::BytesToUtf16;
using qloom::Utf16ToBytes;

TEST(ByteText, Utf8BecomesItsCharacters) {
    EXPECT_EQ(BytesToUtf16("Men\xc3\xbc \xe2\x82\xac \xf0\x9f\x98\x80"),
              u"Men\u00fc \u20ac \U0001F600");
    EXPECT_EQ(Utf16ToBytes(u"Men\u00fc \u20ac \U0001F600"),
              "Men\xc3\xbc \xe2\x82\xac \xf0\x9f\x98\x80");
    EXPECT_EQ(BytesToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(ByteText, BytesThatAreNotUtf8SurviveTheRoundTrip) {
    const std::string legacy[] = {
        "caf\xe9",          // cp1252 e-acute
        "\xc3",             // truncated sequence at the end
        "\xc3(",            // bad continuation
        "\xc0\xaf",         // overlong "/"
        "\xed\xa0\x80",     // encoded surrogate
        "\xf4\x90\x80\x80", // beyond U+10FFFF
        "\xef\x9e\x80",     // U+F780 itself, the first escape character
        "\x80\xff\xfe",
    };
    for (const auto& bytes : legacy) {
        const std::u16string text = BytesToUtf16(bytes);
        EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos);
        EXPECT_EQ(Utf16ToBytes(text), bytes);
    }
}

TEST(ByteText, RandomBytesRoundTrip) {
    std::mt19937 rng(7);
    for (int n = 0; n < 2000; ++n) {
        std::string bytes(rng() % 24, '\0');
        for (auto& b : bytes)
            b = char(rng() % 4 == 0 ? 0xC0 + rng() % 0x40 : rng() % 256);
        ASSERT_EQ(Utf16ToBytes(BytesToUtf16(bytes)), bytes);
    }
}
