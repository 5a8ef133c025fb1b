// The text rules run block-wise on the hot paths (escaping, line ends, reading); here they are
// held against plain one-byte-at-a-time forms of the same rules, at every length around the
// block sizes, so a fault at a block edge cannot hide.

#include "IoTestSupport.h"

#include "model/Conversions.h"
#include "model/Messages.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"
#include "script/ScriptWriter.h"
#include "script/internal/LineEnds.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

namespace qloom {
namespace {

using testing::loadFile;
using testing::loadText;

std::string referenceEscape(std::string_view html) {
    std::string out;
    for (size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '\r' || c == '\n') {
            out += "\\\r\n";
            if (c == '\r' && i + 1 < html.size() && html[i + 1] == '\n')
                ++i;
        } else {
            if (c == '\\' || c == '"')
                out += '\\';
            out += c;
        }
    }
    return out;
}

std::string referenceUnescape(std::string_view content) {
    std::string out;
    for (size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\\' && i + 1 < content.size()) {
            const char next = content[i + 1];
            if (next == '\\' || next == '"') {
                out += next;
                ++i;
                continue;
            }
            if (next == '\r')
                continue;
        }
        if (c == '"')
            break;
        out += c;
    }
    return out;
}

bool referenceCrLfOnly(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            return false;
        if (text[i] == '\r') {
            if (i + 1 == text.size() || text[i + 1] != '\n')
                return false;
            ++i;
        }
    }
    return true;
}

// Every break as CR LF, the text otherwise unchanged: what escaping and unescaping give back.
std::string crLfBreaks(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string referenceLines(std::string_view text) {
    std::string out;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out.append(text.substr(start, i - start)).append("\r\n");
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        out.append(text.substr(start)).append("\r\n");
    return out;
}

// Mostly bytes the scans stop at, so runs are short and stops fall on every block offset.
std::string randomText(std::mt19937& rng, size_t size, std::string_view alphabet) {
    std::string text;
    for (size_t i = 0; i < size; ++i)
        text += alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
    return text;
}

const std::string kAlphabet = std::string("ab\\\"\r\n,)vq\xE9", 12) + std::string(1, '\0');

TEST(BlockScan, EscapingAgreesWithTheByteWiseRulesAtEveryLength) {
    std::mt19937 rng(11);
    for (size_t size = 0; size <= 100; ++size) {
        for (int round = 0; round < 60; ++round) {
            // Sparse texts too, so that long runs without a stop cross block edges.
            const std::string text = round % 3 == 0
                                         ? randomText(rng, size, "xxxxxxxxxxxxxxx\"\r\n\\")
                                         : randomText(rng, size, kAlphabet);
            const std::string escaped = referenceEscape(text);
            ASSERT_EQ(EscapeJsString(text), escaped) << ::testing::PrintToString(text);
            std::string appended = "kept \"prefix\"";
            AppendJsEscaped(appended, text);
            ASSERT_EQ(appended, "kept \"prefix\"" + escaped);
            ASSERT_EQ(UnescapeJsString(text), referenceUnescape(text))
                << ::testing::PrintToString(text);
            ASSERT_EQ(UnescapeJsString(escaped), crLfBreaks(text));
        }
    }
    for (const size_t size : {1000u, 4099u, 70000u}) {
        const std::string text = randomText(rng, size, kAlphabet);
        EXPECT_EQ(EscapeJsString(text), referenceEscape(text));
        EXPECT_EQ(UnescapeJsString(EscapeJsString(text) + "\"tail"), crLfBreaks(text));
    }
}

TEST(BlockScan, LineEndRulesAgreeWithTheByteWiseRulesAtEveryLength) {
    std::mt19937 rng(12);
    for (size_t size = 0; size <= 80; ++size) {
        for (int round = 0; round < 60; ++round) {
            std::string text = randomText(rng, size, "xy\r\n");
            // Mostly well-formed texts, with one lone break or none, at any position.
            if (round % 2 == 0)
                text = referenceLines(text);
            ASSERT_EQ(HasOnlyCrLfBreaks(text), referenceCrLfOnly(text))
                << ::testing::PrintToString(text);
            std::string appended = "head\r\n";
            AppendLinesCrLf(appended, text);
            ASSERT_EQ(appended, "head\r\n" + referenceLines(text))
                << ::testing::PrintToString(text);
        }
    }
    // Long texts are checked and copied piece by piece; a pair or a lone break on a piece edge.
    for (size_t at = 8180; at < 8200; ++at) {
        for (const char* inserted : {"\r\n", "\r", "\n", "\n\r"}) {
            std::string text(20000, 'x');
            text.insert(at, inserted);
            std::string appended = "head";
            AppendLinesCrLf(appended, text);
            ASSERT_EQ(appended, "head" + referenceLines(text)) << at << inserted;
        }
    }
}

// The reader checks line ends and looks for statement lines in the same pass; a file with
// other line ends must read as the same file with CR LF ends, wherever its lines fall.
TEST(BlockScan, StatementLinesAreFoundAtEveryOffsetWithAnyLineEnds) {
    for (size_t pad = 0; pad < 40; ++pad) {
        const std::string crLf = "qLoomIDE_Ver = \"1.00\";\r\n" + std::string(pad, 'x') +
                                 "\r\n\r\nvar numOfMenus=0,scrIN=5,scrOUT=6;\r\n";
        std::string lf;
        for (const char c : crLf) {
            if (c != '\r')
                lf += c;
        }
        Project viaCrLf;
        Project viaLf;
        testing::MessageLog logCrLf;
        testing::MessageLog logLf;
        ASSERT_EQ(loadText(crLf, viaCrLf, logCrLf).outcome, LoadOutcome::Loaded);
        ASSERT_EQ(loadText(lf, viaLf, logLf).outcome, LoadOutcome::Loaded);
        EXPECT_EQ(viaCrLf.settings.closeStep, 5) << pad;
        EXPECT_EQ(viaCrLf.settings.openStep, 6) << pad;
        EXPECT_TRUE(viaCrLf.settings == viaLf.settings) << pad;
        EXPECT_EQ(logCrLf.shown, logLf.shown) << pad;
    }
}

Project savedProject(int32_t menus) {
    Project p;
    std::mt19937 rng(13);
    for (int32_t i = 0; i < menus; ++i) {
        (void)AddMenu(p);
        p.menus[i].captionHtml = referenceLines(randomText(rng, 20, "ab \"\\\n"));
        p.menus[i].bodyHtml = referenceLines(randomText(rng, 30 + 10 * i, kAlphabet.substr(0, 11)));
        p.menus[i].orientation = 0;
    }
    p.selected = 0; // where a load puts it
    return p;
}

// One lone line end anywhere (before, inside or after the statements) sends the file the
// normalising way, which must not change what is read.
TEST(BlockScan, ALoneLineEndAnywhereReadsAsTheCrLfFile) {
    Project written = savedProject(6);
    const std::string text = AssembleScript(written, false);
    Project expected;
    testing::MessageLog expectedLog;
    ASSERT_EQ(loadText(text, expected, expectedLog).outcome, LoadOutcome::Loaded);
    ASSERT_TRUE(expectedLog.shown.empty());
    ASSERT_TRUE(expected.sameMenus(written));

    size_t tried = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 1)) {
        // Every line end of the header, and a sample of the rest.
        if (at > text.find("var OO") + 200 && at % 7 != 0)
            continue;
        std::string edited = text;
        edited.erase(at, 1);
        Project loaded;
        testing::MessageLog log;
        ASSERT_EQ(loadText(edited, loaded, log).outcome, LoadOutcome::Loaded);
        ASSERT_TRUE(log.shown.empty()) << at;
        ASSERT_TRUE(loaded.sameMenus(expected)) << at;
        ASSERT_TRUE(loaded.settings == expected.settings) << at;
        ++tried;
    }
    EXPECT_GT(tried, 20u);
}

// Plain decimals take a short way; everything else the full integer rules.
TEST(BlockScan, NumberElementsFollowTheIntegerRulesWhateverTheirForm) {
    Project written = savedProject(9);
    std::string text = AssembleScript(written, false);
    const size_t line = text.find("var MX = new Array (");
    const size_t lineEnd = text.find("\r\n", line);
    auto withMx = [&](const std::string& elements) {
        std::string edited = text;
        edited.replace(line, lineEnd - line, "var MX = new Array (" + elements + ");");
        return edited;
    };

    Project loaded;
    testing::MessageLog log;
    const std::string valid = "007,-0,123456789,1234567890,-2147483648, 12 ,$1F,0x10,+4";
    ASSERT_EQ(loadText(withMx(valid), loaded, log).outcome, LoadOutcome::Loaded);
    const int32_t expected[] = {7, 0, 123456789, 1234567890, INT32_MIN, 12, 31, 16, 4};
    for (int32_t i = 0; i < 9; ++i)
        EXPECT_EQ(loaded.menus[i].left, expected[i]) << i;

    for (const char* bad : {"2147483648", "12a", "-", "99999999999"}) {
        Project untouched = testing::sentinelProject();
        const LoadResult result =
            loadText(withMx(std::string("1,2,3,") + bad + ",5,6,7,8,9"), untouched, log);
        EXPECT_EQ(result.outcome, LoadOutcome::Error) << bad;
        EXPECT_EQ(result.status.message, msg::Format(msg::kNotValidInteger, bad));
        EXPECT_TRUE(testing::sameProject(untouched, testing::sentinelProject())) << bad;
    }
}

// A save writes the header lines where they are and rewrites only those with other line ends;
// the file must still be exactly the assembled text.
TEST(BlockScan, SavedFileIsTheAssembledTextWhateverTheLineEnds) {
    testing::TempDir dir;
    Project p = savedProject(3);
    p.settings.projectFolder = dir.path();
    p.settings.captionFont = "Two\nLines";
    p.menus[1].bottomColor = "#12\n456";
    p.menus[2].captionColor = "#12\r456\r";
    p.menus[0].captionHtml = "lone\rbreak\n";
    for (const bool preview : {true, false}) {
        ASSERT_TRUE(SaveScript(p, preview).ok);
        const std::string written = testing::readBytes(dir.file("Qloomscript.js"));
        const std::string assembled = AssembleScript(p, preview);
        EXPECT_EQ(written, assembled) << preview;
        EXPECT_TRUE(referenceCrLfOnly(written));
        EXPECT_NE(written.find("fDefCap=\"Two\r\nLines\""), std::string::npos);
        EXPECT_NE(written.find("\"#12\r\n456\","), std::string::npos);
    }
}

} // namespace
} // namespace qloom
