#include "gui/common/SettingsRules.h"

#include "model/Messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qloom {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "qloom-settings-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, ec);
        fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ + "/" + name, std::ios::binary) << text;
    }

private:
    std::string path_;
};

TEST(SettingsFields, NumbersFallBackToTheirDefaultAndStayInRange) {
    EXPECT_EQ(WholeNumberField("0", 12, 2, 999), 2);
    EXPECT_EQ(WholeNumberField("abc", 12, 2, 999), 12);
    EXPECT_EQ(WholeNumberField("", 20, 1, 999), 20);
    EXPECT_EQ(WholeNumberField("0", 10, 1, 999), 1);
    EXPECT_EQ(WholeNumberField("5000", 10, 1, 999), 999);
    EXPECT_EQ(WholeNumberField("-3", 10, 1, 999), 1);
    // Surrounding blanks and control characters are trimmed before the number is read.
    EXPECT_EQ(WholeNumberField("  42\t ", 10, 1, 999), 42);
}

TEST(SettingsFields, TextsLoseCharactersThatWouldBreakTheScript) {
    EXPECT_EQ(CleanedTextField("  Times New Roman ", "Arial"), "Times New Roman");
    EXPECT_EQ(CleanedTextField("\"Comic\": 'Sans'", "Arial"), "Comic Sans");
    EXPECT_EQ(CleanedTextField("   ", "Arial"), "Arial");
}

TEST(SettingsForm, TemplateNamesNeverLeadOutOfTheProjectFolder) {
    SettingsForm form = DefaultForm();
    form.templateName = "sub/page.html";
    EXPECT_EQ(TemplateNameOf(form), "subpage.html");
    form.templateName = "C:\\x.htm";
    EXPECT_EQ(TemplateNameOf(form), "Cx.htm");
    form.templateName = "../../etc/passwd";
    EXPECT_EQ(TemplateNameOf(form), "....etcpasswd");
    form.templateName = "    ";
    EXPECT_EQ(TemplateNameOf(form), "Temp.html");
}

TEST(FontChoices, InstalledFontsFirstThenTheMissingUsualOnesMarked) {
    const std::vector<FontChoice> choices =
        FontChoices({"Liberation Sans", "dejavu sans", ".Hidden UI", "DejaVu Sans", "verdana", ""});
    std::vector<std::string> names;
    for (const FontChoice& choice : choices)
        names.push_back(choice.name + (choice.installed ? "" : " -"));
    // Sorted without regard to case, one entry per family; a usual font installed under
    // another case is not offered twice.
    EXPECT_EQ(names, (std::vector<std::string>{"dejavu sans", "Liberation Sans", "verdana",
                                               "Arial -", "Helvetica -", "Courier -",
                                               "Courier New -", "Comic Sans MS -", "Tahoma -",
                                               "Times -", "Times New Roman -"}));
    // Nothing installed: the usual list, all marked.
    const std::vector<FontChoice> none = FontChoices({});
    ASSERT_EQ(none.size(), kFontNameChoices.size());
    EXPECT_FALSE(none.front().installed);
}

TEST(SettingsForm, ApplyTakesEveryFieldAndKeepsTheFolder) {
    ProjectSettings settings;
    settings.projectFolder = "/home/u/menus";
    SettingsForm form;
    form.scrollOut = "0";
    form.scrollIn = "1000";
    form.captionColor = 0x0000FF;
    form.menuColor = 0x123456;
    form.fontCaption = "Verdana";
    form.fontMenu = "";
    form.sizeCaption = "abc";
    form.sizeMenu = "0";
    form.templateName = "index.html";
    ApplyForm(form, settings);
    EXPECT_EQ(settings.openStep, 1);
    EXPECT_EQ(settings.closeStep, 999);
    EXPECT_EQ(settings.captionTextColor, 0x0000FFu);
    EXPECT_EQ(settings.bodyTextColor, 0x123456u);
    EXPECT_EQ(settings.captionFont, "Verdana");
    EXPECT_EQ(settings.bodyFont, "Arial");
    EXPECT_EQ(settings.captionFontSize, 12);
    EXPECT_EQ(settings.bodyFontSize, 2);
    EXPECT_EQ(settings.templateFileName, "index.html");
    EXPECT_EQ(settings.projectFolder, "/home/u/menus");
}

TEST(SettingsForm, ShowingThenApplyingUnchangedSettingsChangesNothing) {
    ProjectSettings settings;
    settings.projectFolder = "/p";
    settings.closeStep = 7;
    settings.bodyFont = "Tahoma";
    settings.captionTextColor = 0x00FF00;
    const ProjectSettings before = settings;
    ApplyForm(FormFromSettings(settings), settings);
    EXPECT_EQ(settings, before);

    ProjectSettings fresh;
    fresh.projectFolder = "/p";
    ApplyForm(DefaultForm(), settings);
    EXPECT_EQ(settings, fresh);
}

// The verdict on a readable (or missing) file; a failure of the check fails the test.
TemplateVerdict VerdictOn(const TempFolder& folder, std::string_view name) {
    const Expected<TemplateVerdict> check = CheckTemplate(folder.path(), name);
    EXPECT_TRUE(check.ok()) << check.status().message;
    return check ? *check : TemplateVerdict::Passes;
}

TEST(TemplateCheck, MissingFilePassesAndFilesMustNameTheScriptExactly) {
    TempFolder folder;
    EXPECT_EQ(VerdictOn(folder, "Temp.html"), TemplateVerdict::Passes);

    folder.write("comment.html", "<HTML><!-- Qloomscript.js --></HTML>");
    EXPECT_EQ(VerdictOn(folder, "comment.html"), TemplateVerdict::Passes);

    folder.write("lower.html", "<SCRIPT SRC=\"qloomscript.js\"></SCRIPT>");
    EXPECT_EQ(VerdictOn(folder, "lower.html"), TemplateVerdict::LacksScript);

    folder.write("empty.html", "");
    EXPECT_EQ(VerdictOn(folder, "empty.html"), TemplateVerdict::LacksScript);
}

TEST(TemplateCheck, UnreadableTemplateReportsTheFileError) {
    TempFolder folder;
    fs::create_directory(folder.path() + "/dir.html");
    const Expected<TemplateVerdict> dir = CheckTemplate(folder.path(), "dir.html");
    ASSERT_FALSE(dir.ok());
    EXPECT_EQ(dir.status().message,
              msg::Format(msg::kCannotOpenFile, folder.path() + "/dir.html") + ": Is a directory");
    EXPECT_EQ(dir.status().file, folder.path() + "/dir.html");
    EXPECT_EQ(dir.status().reason, "Is a directory");
    // A FIFO would hold the dialog in its open for good; a device would never end.
    ASSERT_EQ(::mkfifo((folder.path() + "/fifo.html").c_str(), 0600), 0);
    EXPECT_EQ(CheckTemplate(folder.path(), "fifo.html").status().message,
              msg::Format(msg::kCannotOpenFile, folder.path() + "/fifo.html") +
                  ": not a regular file");
    fs::create_symlink("/dev/zero", folder.path() + "/zero.html");
    EXPECT_FALSE(CheckTemplate(folder.path(), "zero.html").ok());

    if (geteuid() != 0) { // root reads files regardless of their mode
        folder.write("locked.html", "Qloomscript.js");
        chmod((folder.path() + "/locked.html").c_str(), 0);
        EXPECT_FALSE(CheckTemplate(folder.path(), "locked.html").ok());
    }
}

TEST(TemplateCheck, TheProgramsOwnFilesAreNeverATemplate) {
    // Every save rewrites the script and every finalize the read-me: a page kept under either
    // name would be lost, even one that names the script as a template must.
    TempFolder folder;
    folder.write("ReadMe.txt", "<SCRIPT SRC=\"Qloomscript.js\"></SCRIPT>");
    for (const char* name : {"Qloomscript.js", "qloomscript.JS", "ReadMe.txt", "README.TXT"})
        EXPECT_EQ(VerdictOn(folder, name), TemplateVerdict::Reserved) << name;
    EXPECT_EQ(TemplateReservedText("ReadMe.txt"),
              msg::Format(msg::kTemplateNameReserved, "ReadMe.txt"));
    EXPECT_EQ(VerdictOn(folder, "Qloomscript.js.html"), TemplateVerdict::Passes);
}

TEST(TemplateCheck, MessageNamesTheFile) {
    EXPECT_EQ(TemplateLacksScriptText("/p/a.html"),
              "The template file: \r\n/p/a.html\r\ndoes not contain the right code for your menu "
              "to operate correctly.\r\n\r\nPut the required code into this file, or type a "
              "file name that does not exist (default HTML code will be written there).");
}

TEST(TemplateInfo, ThirtyLinesAndTheBodyTagCarriesScrollNo) {
    const auto lines = TemplateInfoLines();
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[21], "<BODY leftmargin=0 topmargin=0 scroll=no>");
    EXPECT_EQ(lines[9], "  ");
    EXPECT_EQ(lines[29], " ");
    EXPECT_TRUE(lines[28].empty());
}

} // namespace
} // namespace qloom
