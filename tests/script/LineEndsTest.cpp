#include "script/internal/LineEnds.h"

#include <gtest/gtest.h>

namespace qloom {
namespace {

TEST(LineEnds, EveryBreakBecomesCrLfAndTheLastLineIsClosed) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a", "a\r\n"},
        {"a\r\n", "a\r\n"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb", "a\r\nb\r\n"},
        {"a\n\rb", "a\r\n\r\nb\r\n"}, // LF CR is two breaks
        {"a\r\r\nb", "a\r\n\r\nb\r\n"},
        {"\n", "\r\n"},
        {"a\n\n", "a\r\n\r\n"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(NormaliseLineEnds(in), out) << in;
}

// The check steps over eight bytes at a time; put the offending byte at every offset.
TEST(LineEnds, CrLfCheckFindsALoneBreakAnywhere) {
    for (size_t at = 0; at < 40; ++at) {
        std::string text(40, 'x');
        text.insert(at, "\r\n");
        EXPECT_TRUE(HasOnlyCrLfBreaks(text)) << at;
        for (const char* lone : {"\r", "\n", "\n\r"}) {
            std::string bad(40, 'x');
            bad.insert(at, lone);
            EXPECT_FALSE(HasOnlyCrLfBreaks(bad)) << at;
        }
    }
    EXPECT_TRUE(HasOnlyCrLfBreaks(""));
    EXPECT_FALSE(HasOnlyCrLfBreaks("abc\r"));
}

} // namespace
} // namespace qloom
