#include "cli/Base64.h"

#include <gtest/gtest.h>

#include <string>

using namespace qloom::cli;

TEST(Base64, KnownTextsAndEveryLengthRoundTrip) {
    EXPECT_EQ(EncodeBase64(""), "");
    EXPECT_EQ(EncodeBase64("f"), "Zg==");
    EXPECT_EQ(EncodeBase64("fo"), "Zm8=");
    EXPECT_EQ(EncodeBase64("foo"), "Zm9v");
    EXPECT_EQ(EncodeBase64(std::string_view("\xff\xfe\x00"
                                            "a",
                                            4)),
              "//4AYQ==");
    std::string bytes;
    for (int n = 0; n < 70; ++n) {
        std::string decoded = "x";
        ASSERT_TRUE(DecodeBase64(EncodeBase64(bytes), decoded)) << n;
        ASSERT_EQ(decoded, bytes) << n;
        bytes += static_cast<char>((n * 37 + 11) & 0xFF);
    }
}

TEST(Base64, DecodingIsStrict) {
    std::string out = "untouched";
    for (const char* bad :
         {"Zg=", "Zg", "Z===", "Zm9v=", "Zg==Zg==", "Zm 9v", "Zm9\n", "Zh==", "Zm9=v", "Zm-v"}) {
        EXPECT_FALSE(DecodeBase64(bad, out)) << bad;
        EXPECT_EQ(out, "untouched");
    }
}

TEST(Utf8, AcceptsWellFormedTextOnly) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain <B>html</B>\r\n"));
    EXPECT_TRUE(IsValidUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")); // é € 😀
    EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
    EXPECT_FALSE(IsValidUtf8("\xE9t\xE9"));            // Latin-1
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));             // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));         // overlong, three bytes
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));         // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));     // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));             // cut short
    EXPECT_FALSE(IsValidUtf8("\x80"));                 // lone continuation byte
    EXPECT_FALSE(IsValidUtf8("\xF8\x88\x80\x80\x80")); // five-byte form
}
