#include "RecordingPrompter.h"

#include "gui/common/ColorSwatch.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/SettingsRules.h"
#include "gui/common/TextConv.h"
#include "gui/common/UpDownControl.h"
#include "gui/common/UserSettings.h"
#include "gui/shell/ProjectSession.h"
#include "gui/shell/internal/ProjectSettingsDialog.h"
#include "gui/shell/internal/SiteFolderBox.h"
#include "gui/shell/internal/SmallScreenBox.h"
#include "gui/shell/internal/TemplateInfoDialog.h"
#include "model/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace qloom;
using namespace qloom::gui;

namespace {
// The real session of a project, its boxes recorded, its help and preview requests counted.
struct SessionHost {
    QWidget window;
    ProjectSession session{&window};
    RecordingPrompter* boxes = new RecordingPrompter;
    Project& projectData = session.projectForTest();
    ProjectHistory& historyData = session.history();
    QStringList& reports = boxes->errors;
    int refreshes = 0;
    int helps = 0;

    SessionHost() {
        session.setPrompter(std::unique_ptr<Prompter>(boxes));
        session.setHelpHooks([](bool) {}, [this] { ++helps; });
    }
};
} // namespace

class ProjectSettingsDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<SessionHost> ops_;
    std::unique_ptr<TemplateInfoDialog> info_;
    std::unique_ptr<ProjectSettingsDialog> dlg_;
    int infoShown_ = 0;

    template <class T> T* child(const char* name) {
        T* w = dlg_->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    void writeFile(const QString& name, const QByteArray& text) {
        QFile f(QDir(dir_.path()).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // The information window runs modally; close it as soon as it is up and count it.
    void expectInfoWindow() {
        QTimer::singleShot(0, this, [this] {
            if (info_->isVisible()) {
                ++infoShown_;
                info_->accept();
            }
        });
    }

    QTemporaryDir config_;

private Q_SLOTS:
    void initTestCase() {
        // The site folder goes to the user's settings: not the real ones.
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    }

    void init() {
        ops_ = std::make_unique<SessionHost>();
        ops_->projectData.settings.projectFolder = fromQ(dir_.path());
        info_ = std::make_unique<TemplateInfoDialog>();
        dlg_ = std::make_unique<ProjectSettingsDialog>(ops_->session);
        connect(dlg_.get(), &ProjectSettingsDialog::applied, this, [this] { ++ops_->refreshes; });
        dlg_->setTemplateInfo(info_.get());
        infoShown_ = 0;
    }

    void showingLoadsTheSettingsEveryTime() {
        ops_->projectData.settings.closeStep = 33;
        ops_->projectData.settings.bodyFont = "Tahoma";
        ops_->projectData.settings.templateFileName = "page.html";
        dlg_->show();
        QCOMPARE(child<QLineEdit>("scrollInEdit")->text(), QStringLiteral("33"));
        QCOMPARE(child<QComboBox>("bodyFontBox")->currentText(), QStringLiteral("Tahoma"));
        QCOMPARE(child<QLineEdit>("templateNameEdit")->text(), QStringLiteral("page.html"));

        // Edits left by a cancelled showing never come back, and nothing is applied.
        const ProjectSettings before = ops_->projectData.settings;
        child<QLineEdit>("scrollInEdit")->setText(QStringLiteral("5"));
        dlg_->onDefaultsClicked();
        QCOMPARE(child<QLineEdit>("templateNameEdit")->text(), QStringLiteral("Temp.html"));
        QCOMPARE(child<QComboBox>("bodyFontBox")->currentText(), QStringLiteral("Arial"));
        QTest::keyClick(dlg_.get(), Qt::Key_Escape);
        QVERIFY(!dlg_->isVisible());
        QVERIFY(ops_->projectData.settings == before);
        QCOMPARE(ops_->refreshes, 0);
        dlg_->show();
        QCOMPARE(child<QLineEdit>("scrollInEdit")->text(), QStringLiteral("33"));
    }

    void listsOfferTheUsualChoicesAndAcceptTypedText() {
        auto* fonts = child<QComboBox>("captionFontBox");
        // The fonts of this computer first; a usual web font that is missing comes after them,
        // marked, and picking it still gives the bare name.
        const QStringList families = QFontDatabase::families();
        QVERIFY(fonts->findText(QStringLiteral("DejaVu Sans")) >= 0);
        QVERIFY(fonts->itemData(fonts->findText(QStringLiteral("DejaVu Sans")), Qt::ToolTipRole)
                    .isNull());
        for (const char* usual : {"Verdana", "Comic Sans MS", "Arial"}) {
            const QString name = QString::fromLatin1(usual);
            const int row = fonts->findText(name);
            QVERIFY2(row >= 0, usual);
            if (families.contains(name))
                continue;
            QVERIFY(row > fonts->findText(QStringLiteral("DejaVu Sans")));
            QVERIFY(!fonts->itemData(row, Qt::ToolTipRole).toString().isEmpty());
            QVERIFY(fonts->itemData(row, Qt::FontRole).value<QFont>().italic());
            fonts->setCurrentIndex(row);
            QCOMPARE(fonts->currentText(), name);
        }
        auto* sizes = child<QComboBox>("bodyFontSizeBox");
        QCOMPARE(sizes->count(), 8);
        QCOMPARE(sizes->itemText(7), QStringLiteral("40"));
        QVERIFY(fonts->isEditable() && sizes->isEditable());
        // What is typed is what counts: "2" must not grow into the listed "20", nor "Cour"
        // into "Courier".
        dlg_->show();
        sizes->lineEdit()->clear();
        QTest::keyClicks(sizes, QStringLiteral("2"));
        QCOMPARE(sizes->currentText(), QStringLiteral("2"));
        fonts->lineEdit()->clear();
        QTest::keyClicks(fonts, QStringLiteral("Cour"));
        QCOMPARE(fonts->currentText(), QStringLiteral("Cour"));
        dlg_->onOkClicked();
        QCOMPARE(ops_->projectData.settings.bodyFontSize, 2);
        QCOMPARE(ops_->projectData.settings.captionFont, std::string("Cour"));
    }

    void okAppliesCleanedAndClampedValuesTogether() {
        dlg_->show();
        child<QLineEdit>("scrollOutEdit")->setText(QStringLiteral("0"));
        child<QLineEdit>("scrollInEdit")->setText(QString());
        child<QComboBox>("captionFontBox")->setEditText(QStringLiteral("'Verdana':"));
        child<QComboBox>("captionFontSizeBox")->setEditText(QStringLiteral("0"));
        child<QComboBox>("bodyFontSizeBox")->setEditText(QStringLiteral("abc"));
        child<QLineEdit>("templateNameEdit")->setText(QStringLiteral("sub/page.html"));
        dlg_->setColorPicker([](const QColor&, QWidget*) { return QColor(0, 0, 255); });
        child<ColorSwatch>("bodyTextColorSwatch")->click();

        const ProjectSettings before = ops_->projectData.settings;
        child<QPushButton>("okButton")->click();
        const ProjectSettings& s = ops_->projectData.settings;
        QCOMPARE(s.openStep, 1);
        QCOMPARE(s.closeStep, 20);
        QCOMPARE(s.captionFont, std::string("Verdana"));
        QCOMPARE(s.captionFontSize, 2);
        QCOMPARE(s.bodyFontSize, 12);
        QCOMPARE(s.bodyTextColor, ColorValue(0xFF0000)); // blue sits in the high byte
        QCOMPARE(s.captionTextColor, ColorValue(0xFFFFFF));
        QCOMPARE(s.templateFileName, std::string("subpage.html"));
        QCOMPARE(ops_->refreshes, 1);
        QVERIFY(!dlg_->isVisible());

        // The whole OK is one step to undo.
        const ProjectSettings after = s;
        ops_->historyData.undo();
        QVERIFY(ops_->projectData.settings == before);
        QVERIFY(!ops_->historyData.canUndo());
        ops_->historyData.redo();
        QVERIFY(ops_->projectData.settings == after);
    }

    void enterOnAFocusedButtonPressesThatButton() {
        ops_->projectData.settings.closeStep = 55;
        dlg_->show();
        auto* defaults = child<QPushButton>("defaultsButton");
        defaults->setFocus();
        QTest::keyClick(defaults, Qt::Key_Return);
        QCOMPARE(child<QLineEdit>("scrollInEdit")->text(), QStringLiteral("20"));
        QVERIFY(dlg_->isVisible());
        auto* cancel = child<QPushButton>("cancelButton");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        QVERIFY(!dlg_->isVisible());
        QCOMPARE(ops_->projectData.settings.closeStep, 55);
        QCOMPARE(ops_->refreshes, 0);
    }

    void cancelledColourPickKeepsTheSwatch() {
        dlg_->show();
        auto* swatch = child<ColorSwatch>("captionTextColorSwatch");
        QColor offered;
        dlg_->setColorPicker([&](const QColor& initial, QWidget*) -> std::optional<QColor> {
            offered = initial;
            return std::nullopt;
        });
        swatch->click();
        QCOMPARE(offered, QColor(Qt::white));
        QCOMPARE(swatch->color(), QColor(Qt::white));
    }

    void templateWithoutTheScriptStopsEverything() {
        writeFile(QStringLiteral("mine.html"), "<HTML><SCRIPT SRC=\"qloomscript.js\"></HTML>");
        dlg_->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg_.get()));
        child<QLineEdit>("scrollOutEdit")->setText(QStringLiteral("50"));
        child<QLineEdit>("templateNameEdit")->setText(QStringLiteral("mine.html"));
        const ProjectSettings before = ops_->projectData.settings;

        expectInfoWindow();
        dlg_->onOkClicked();
        QCOMPARE(ops_->boxes->shown.size(), 1);
        QCOMPARE(ops_->boxes->shown.first(),
                 toQ(TemplateLacksScriptText(before.projectFolder + "/mine.html")));
        QCOMPARE(infoShown_, 1);
        QVERIFY(ops_->projectData.settings == before);
        QCOMPARE(ops_->refreshes, 0);
        QVERIFY(dlg_->isVisible());
        auto* name = child<QLineEdit>("templateNameEdit");
        QCOMPARE(name->selectedText(), QStringLiteral("mine.html"));
        QCOMPARE(dlg_->focusWidget(), name);

        // The same file passes once it names the script; a missing name passes too.
        writeFile(QStringLiteral("mine.html"), "<!-- Qloomscript.js -->");
        dlg_->onOkClicked();
        QCOMPARE(ops_->projectData.settings.templateFileName, std::string("mine.html"));
        QCOMPARE(ops_->projectData.settings.openStep, 50);
        QCOMPARE(ops_->refreshes, 1);
    }

    void theScriptFileIsRefusedAsTemplate() {
        dlg_->show();
        const ProjectSettings before = ops_->projectData.settings;
        child<QLineEdit>("templateNameEdit")->setText(QStringLiteral("Qloomscript.js"));
        dlg_->onOkClicked();
        QCOMPARE(ops_->boxes->shown,
                 QStringList{toQ(msg::Format(msg::kTemplateNameReserved, "Qloomscript.js"))});
        QVERIFY(ops_->projectData.settings == before);
        QCOMPARE(ops_->refreshes, 0);
        QVERIFY(dlg_->isVisible());
        QCOMPARE(child<QLineEdit>("templateNameEdit")->selectedText(),
                 QStringLiteral("Qloomscript.js"));
    }

    void unreadableTemplateIsReportedAndNothingApplied() {
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder.html")));
        dlg_->show();
        child<QLineEdit>("templateNameEdit")->setText(QStringLiteral("folder.html"));
        child<QLineEdit>("scrollInEdit")->setText(QStringLiteral("99"));
        dlg_->onOkClicked();
        QCOMPARE(ops_->reports.size(), 1);
        QVERIFY(ops_->reports.first().contains(QStringLiteral("folder.html")));
        QCOMPARE(ops_->projectData.settings.closeStep, 20);
        QCOMPARE(ops_->refreshes, 0);
        QVERIFY(dlg_->isVisible());
    }

    void aLongerNumberFromTheScriptIsShownWholeAndClamped() {
        ops_->projectData.settings.openStep = 5000;
        dlg_->show();
        QCOMPARE(child<QLineEdit>("scrollOutEdit")->text(), QStringLiteral("5000"));
        dlg_->onOkClicked();
        QCOMPARE(ops_->projectData.settings.openStep, 999);
    }

    void speedFieldsTakeThreeCharactersAndSpinWithinRange() {
        ops_->projectData.settings.openStep = 998;
        dlg_->show();
        auto* box = child<QLineEdit>("scrollOutEdit");
        auto* arrows = child<UpDownControl>("scrollOutUpDown");
        arrows->upButton()->click();
        arrows->upButton()->click();
        QCOMPARE(box->text(), QStringLiteral("999"));
        box->clear();
        QTest::keyClicks(box, QStringLiteral("12345"));
        QCOMPARE(box->text(), QStringLiteral("123"));
        box->setText(QStringLiteral("1"));
        arrows->downButton()->click();
        QCOMPARE(box->text(), QStringLiteral("1"));
        // The arrows take no focus: the arrow keys in the box are the keyboard's way to spin.
        auto* in = child<QLineEdit>("scrollInEdit");
        in->setText(QStringLiteral("998"));
        QTest::keyClick(in, Qt::Key_Up);
        QTest::keyClick(in, Qt::Key_Up);
        QCOMPARE(in->text(), QStringLiteral("999"));
        in->setText(QStringLiteral("2"));
        QTest::keyClick(in, Qt::Key_Down);
        QTest::keyClick(in, Qt::Key_Down);
        QCOMPARE(in->text(), QStringLiteral("1"));
    }

    void enterInATypedFieldRunsOkAndTheDialogOpensCentred() {
        dlg_->show();
        const QRect desk = dlg_->screen()->availableGeometry();
        QVERIFY((dlg_->frameGeometry().center() - desk.center()).manhattanLength() <= 2);
        auto* size = child<QComboBox>("captionFontSizeBox");
        size->setEditText(QStringLiteral("18"));
        QTest::keyClick(size, Qt::Key_Return);
        QCOMPARE(ops_->projectData.settings.captionFontSize, 18);
        QCOMPARE(ops_->refreshes, 1);
        QVERIFY(!dlg_->isVisible());
    }

    void f1AnywhereOpensHelp() {
        dlg_->show();
        QTest::keyClick(child<QLineEdit>("templateNameEdit"), Qt::Key_F1);
        QTest::keyClick(child<QComboBox>("bodyFontSizeBox"), Qt::Key_F1);
        QCOMPARE(ops_->helps, 2);
    }

    void informationWindowHoldsThirtyLines() {
        const QStringList lines = info_->infoText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 30);
        QCOMPARE(lines.at(21), QStringLiteral("<BODY leftmargin=0 topmargin=0 scroll=no>"));
        QCOMPARE(info_->windowTitle(), toQ(msg::kTemplateInfoCaption));
        QCOMPARE(dlg_->windowTitle(), toQ(msg::kProjectSettingsCaption));
    }

    void smallScreenChoicesLoadOnShowingAndApplyWithTheOthersOnOk() {
        ops_->projectData.settings.smallScreenBreakpoint = 600;
        ops_->projectData.settings.smallScreenCaption = "Navigation";
        ops_->projectData.settings.smallScreenPlace = kPlaceTopRight;
        dlg_->show();
        SmallScreenBox* box = dlg_->smallScreen();
        QCOMPARE(box->modeBox()->currentIndex(), int(SmallScreenBox::Width));
        QCOMPARE(box->widthBox()->value(), 600);
        QCOMPARE(box->captionEdit()->text(), QStringLiteral("Navigation"));
        QCOMPARE(box->placeBox()->currentIndex(), int(kPlaceTopRight));

        // Off never shows the button: its width, caption and place do not apply.
        box->modeBox()->setCurrentIndex(SmallScreenBox::Off);
        QVERIFY(!box->widthBox()->isEnabled());
        QVERIFY(!box->captionEdit()->isEnabled());
        box->modeBox()->setCurrentIndex(SmallScreenBox::Auto);
        QVERIFY(box->captionEdit()->isEnabled());
        // A caption of blanks would make a button nobody can name: it becomes "Menu".
        box->captionEdit()->setText(QStringLiteral("   "));
        box->placeBox()->setCurrentIndex(kPlaceFirstMenu);
        child<QLineEdit>("scrollInEdit")->setText(QStringLiteral("31"));
        const ProjectSettings before = ops_->projectData.settings;
        child<QPushButton>("okButton")->click();
        const ProjectSettings& s = ops_->projectData.settings;
        QCOMPARE(s.smallScreenBreakpoint, kBreakpointAuto);
        QCOMPARE(s.smallScreenCaption, std::string("Menu"));
        QCOMPARE(s.smallScreenPlace, int32_t(kPlaceFirstMenu));
        QCOMPARE(s.closeStep, 31);

        // One step to undo with the other settings; the next showing loads what is in force.
        ops_->historyData.undo();
        QVERIFY(ops_->projectData.settings == before);
        dlg_->show();
        QCOMPARE(box->modeBox()->currentIndex(), int(SmallScreenBox::Width));
        QCOMPARE(box->widthBox()->value(), 600);
    }

    void siteFolderMustHoldTheProjectAndIsKeptPerProjectOnOK() {
        const QDir root(dir_.path());
        QVERIFY(root.mkpath(QStringLiteral("site/project")) &&
                root.mkpath(QStringLiteral("other")));
        const QString project = root.filePath(QStringLiteral("site/project"));
        const QString site = QFileInfo(root.filePath(QStringLiteral("site"))).canonicalFilePath();
        ops_->projectData.settings.projectFolder = fromQ(project);
        const QString key = UserSettings::siteFolderKey(project);
        QString pick;
        SiteFolderBox* box = dlg_->siteFolder();
        box->setFolderPicker([&](QWidget*, const QString&) { return pick; });

        dlg_->show();
        QVERIFY(box->siteFolderEdit()->text().isEmpty()); // the project folder itself
        QVERIFY(!box->projectFolderButton()->isEnabled());
        pick = root.filePath(QStringLiteral("other"));
        box->chooseSiteFolderButton()->click();
        QCOMPARE(ops_->boxes->shown,
                 QStringList{toQ(msg::Format(msg::kSiteFolderOutside,
                                             fromQ(QDir::toNativeSeparators(project))))});
        pick = QDir::homePath();
        box->chooseSiteFolderButton()->click();
        QCOMPARE(ops_->boxes->shown.last(), toQ(msg::kSiteFolderTooWide));
        QVERIFY(box->folder().isEmpty());
        // Reached through "..": stored as the real folder.
        pick = project + QStringLiteral("/..");
        box->chooseSiteFolderButton()->click();
        QCOMPARE(box->folder(), site);
        dlg_->reject(); // Cancel stores nothing
        QVERIFY(UserSettings::value(key).toString().isEmpty());

        dlg_->show();
        QVERIFY(box->folder().isEmpty());
        box->chooseSiteFolderButton()->click();
        dlg_->onOkClicked();
        QCOMPARE(UserSettings::value(key).toString(), site);
        QCOMPARE(ops_->refreshes, 1);
        // Another project keeps its own (none).
        QVERIFY(
            UserSettings::value(UserSettings::siteFolderKey(root.filePath(QStringLiteral("other"))))
                .toString()
                .isEmpty());

        dlg_->show();
        QCOMPARE(box->siteFolderEdit()->text(), QDir::toNativeSeparators(site));
        box->projectFolderButton()->click();
        dlg_->onOkClicked();
        QVERIFY(UserSettings::value(key).toString().isEmpty());
        QVERIFY(ops_->reports.isEmpty());

        // A store that cannot be written: the settings still apply, and the user hears of it.
        const QString blocker = config_.filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker);
        dlg_->show();
        box->chooseSiteFolderButton()->click();
        dlg_->onOkClicked();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_.path());
        QCOMPARE(ops_->reports.size(), 1);
        QVERIFY(ops_->reports.value(0).startsWith(QStringLiteral("Cannot create file ") + blocker));
        QCOMPARE(ops_->refreshes, 3);
        QVERIFY(!dlg_->isVisible());
    }
};

QTEST_MAIN(ProjectSettingsDialogTest)
#include "ProjectSettingsDialogTest.moc"
