// Random projects written by the writer read back into the same project, apart from the two
// documented losses: line breaks all come back as CR LF, and a vertical body that the user typed
// with its own no-break wrapper loses that wrapper.

#include "IoTestSupport.h"

#include "model/Conversions.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"
#include "script/ScriptWriter.h"
#include "script/TemplateName.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <tuple>

namespace qloom {
namespace {

class RandomProjects {
public:
    explicit RandomProjects(uint32_t seed) : rng_(seed) {}

    void fill(Project& p) {
        p.settings.scrIN = number();
        p.settings.scrOUT = number();
        p.settings.cDefCap = static_cast<ColorValue>(rng_());
        p.settings.cDefMenu = static_cast<ColorValue>(rng_());
        p.settings.fDefCap = settingText("Arial");
        p.settings.fDefMenu = settingText("Arial");
        p.settings.fDefCapS = number();
        p.settings.fDefMenuS = number();
        p.settings.TemplateFileName = templateName();

        const int sizes[] = {0, 1, 1, 2, 2, 3, 7, 25};
        MenuTable& t = p.table;
        t.MenuCount = sizes[pick(8)];
        t.SelectedMenu = t.MenuCount > 0 ? static_cast<int32_t>(pick(t.MenuCount)) : 3;
        for (int32_t i = 0; i < t.MenuCount; ++i) {
            t.MX[i] = number();
            t.MY[i] = number();
            t.MW[i] = number();
            t.MTCH[i] = number();
            t.MA[i] = static_cast<int32_t>(pick(2));
            t.FL[i] = static_cast<int32_t>(pick(2));
            // A hand-edited file may hold other orientations; the page treats them as vertical.
            t.OO[i] = pick(8) == 0 ? number() : static_cast<int32_t>(pick(2));
            t.MTC[i] = html();
            t.MTM[i] = html();
            t.CO[i] = colourText();
            t.CC[i] = colourText();
            t.CM[i] = colourText();
        }
    }

    bool coin() { return pick(2) == 0; }

private:
    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

    int32_t number() {
        switch (pick(6)) {
        case 0:
            return INT32_MIN;
        case 1:
            return INT32_MAX;
        case 2:
            return -static_cast<int32_t>(pick(1000));
        case 3:
            return static_cast<int32_t>(rng_());
        default:
            return static_cast<int32_t>(pick(1000));
        }
    }

    std::string colourText() {
        if (pick(4) == 0)
            return "transparent";
        return ColorToHtml(static_cast<ColorValue>(rng_()));
    }

    // Setting texts come from one-line fields and are cleaned when the user types them; the
    // reader must keep cleaned texts as they are.
    std::string settingText(const char* fallback) {
        static const char alphabet[] = "ab Z.-_\\\"'/:#\t";
        std::string s;
        for (size_t n = pick(12); n > 0; --n)
            s += alphabet[pick(sizeof alphabet - 1)];
        return CleanSettingText(TrimBlanks(s), fallback);
    }

    // As the settings dialog leaves a typed name.
    std::string templateName() {
        const std::string name = CleanTemplateName(settingText(""));
        return IsUsableTemplateName(name) ? name : "Temp.html";
    }

    // Pieces chosen to hit the escaping rules and the reader's statement search.
    std::string html() {
        static const std::vector<std::string> pieces = {"a",
                                                        "Item",
                                                        " ",
                                                        "\"",
                                                        "\\",
                                                        "\\\\",
                                                        "\\\"",
                                                        "\r\n",
                                                        "\r",
                                                        "\n",
                                                        "\n\r",
                                                        "<nObR>",
                                                        "</nObR>",
                                                        "<BR>",
                                                        ",",
                                                        ")",
                                                        "(",
                                                        ";",
                                                        "'",
                                                        "p",
                                                        "\x01",
                                                        "\xE9",
                                                        std::string(1, '\0'),
                                                        "Caption",
                                                        "var MX = new Array (",
                                                        "var numOfMenus=",
                                                        "scrIN=",
                                                        "qLoomIDE_Ver = \"1.00\";",
                                                        "cDefCap=\"",
                                                        "\\\r\n",
                                                        "var MTM = new Array (\"",
                                                        "\r\nvar OO = new Array (9,9);\r\n"};
        if (pick(10) == 0)
            return kVerticalDefaultCaption;
        if (pick(10) == 0)
            return "<nObR>" + html() + "</nObR>";
        std::string s;
        for (size_t n = pick(9); n > 0; --n)
            s += pieces[pick(pieces.size())];
        return s;
    }

    std::mt19937 rng_;
};

std::string crLfBreaks(const std::string& text) {
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

// Projects are large (every column holds the full capacity), so the loop reuses two of them.
TEST(RoundTrip, RandomProjectsReadBackAsWritten) {
    RandomProjects random(20261207);
    Project written;
    Project loaded;
    for (int iteration = 0; iteration < 2000; ++iteration) {
        random.fill(written);
        const bool preview = random.coin();
        ComposeScript(written, preview); // swaps captions in `written` as it writes them
        const std::string text = AssembleScript(written, preview);

        loaded.settings.ProjectFolder = "/kept";
        loaded.table.SelectedMenu = 3;
        testing::MessageLog log;
        const LoadResult result = LoadProjectFromText(text, loaded, log.fn());
        ASSERT_EQ(result.outcome, LoadOutcome::Loaded) << result.errorMessage << "\n" << text;
        ASSERT_TRUE(log.shown.empty()) << log.shown.front() << "\n" << text;

        ProjectSettings expected = written.settings;
        expected.ProjectFolder = "/kept";
        expected.cDefCap &= 0xFFFFFF;
        expected.cDefMenu &= 0xFFFFFF;
        ASSERT_TRUE(loaded.settings == expected) << text;

        const MenuTable& w = written.table;
        const MenuTable& r = loaded.table;
        ASSERT_EQ(r.MenuCount, w.MenuCount);
        ASSERT_EQ(r.SelectedMenu, w.MenuCount > 0 ? 0 : 3);
        for (int32_t i = 0; i < w.MenuCount; ++i) {
            ASSERT_EQ(r.MTC[i], crLfBreaks(w.MTC[i])) << "row " << i << "\n" << text;
            ASSERT_EQ(r.MTM[i], crLfBreaks(w.MTM[i])) << "row " << i << "\n" << text;
            ASSERT_EQ(std::tie(r.MX[i], r.MY[i], r.MW[i], r.MTCH[i], r.MA[i], r.FL[i], r.OO[i],
                               r.CO[i], r.CC[i], r.CM[i]),
                      std::tie(w.MX[i], w.MY[i], w.MW[i], w.MTCH[i], w.MA[i], w.FL[i], w.OO[i],
                               w.CO[i], w.CC[i], w.CM[i]))
                << "row " << i;
        }
    }
}

// Saving what was read gives the same file again: the script is a stable project format.
TEST(RoundTrip, ReadThenSaveReproducesTheFile) {
    RandomProjects random(7);
    Project written;
    Project loaded;
    for (int iteration = 0; iteration < 200; ++iteration) {
        random.fill(written);
        MenuTable& t = written.table;
        for (int32_t i = 0; i < t.MenuCount; ++i) {
            t.MTC[i] = crLfBreaks(t.MTC[i]);
            t.MTM[i] = crLfBreaks(t.MTM[i]);
        }
        t.SelectedMenu = 0;
        ComposeScript(written, false);
        const std::string text = AssembleScript(written, false);

        testing::MessageLog log;
        loaded.table.SelectedMenu = 0;
        ASSERT_EQ(LoadProjectFromText(text, loaded, log.fn()).outcome, LoadOutcome::Loaded);
        ComposeScript(loaded, false);
        ASSERT_EQ(AssembleScript(loaded, false), text);
    }
}

} // namespace
} // namespace qloom
