#include "AvifMaker.h"
#include "FakeSession.h"
#include "JpegMaker.h"

#include "gui/common/ColorSwatch.h"
#include "gui/common/TextConv.h"
#include "gui/common/UserSettings.h"
#include "gui/editor/HtmlTools.h"
#include "gui/editor/PropertyEditor.h"
#include "gui/editor/internal/AddImageDialog.h"
#include "gui/editor/internal/AddLinkDialog.h"
#include "gui/editor/internal/AddTextDialog.h"
#include "gui/editor/internal/ImageCopy.h"
#include "gui/editor/internal/PicturePreview.h"
#include "model/Messages.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QImage>
#include <QImageWriter>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <functional>

using namespace qloom;
using namespace qloom::gui;

namespace {

// The smallest GIF: one white pixel.
const QByteArray kGif1x1 =
    QByteArray::fromHex("47494638396101000100800000ffffff0000002c00000000010001000002024401003b");

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A picture of the given size in one of the formats the image plugins write.
QByteArray PictureBytes(const char* format, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        qFatal("no writer for %s", format);
    return bytes;
}

QByteArray SvgBytes(int w, int h) {
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
                          "<rect width=\"%1\" height=\"%2\" fill=\"teal\"/></svg>")
        .arg(w)
        .arg(h)
        .toUtf8();
}

QByteArray AvifBytes(int w, int h) {
    return QByteArray::fromStdString(testpics::AvifHead("avif", uint32_t(w), uint32_t(h)));
}

QByteArray JpegBytes(int w, int h, bool progressive) {
    const auto bytes = testpics::MakeJpeg(w, h, progressive);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace

class HtmlToolsDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<FakeSession> ops_;
    QTabWidget* tabs_ = nullptr;
    QPlainTextEdit* cap_ = nullptr;
    QPlainTextEdit* menu_ = nullptr;
    HtmlTools* tools_ = nullptr;

    QString projectPath() const { return QDir(dir_.path()).filePath(QStringLiteral("project")); }
    QString otherPath() const { return QDir(dir_.path()).filePath(QStringLiteral("other")); }

    template <class T> static T* child(QWidget* parent, const char* name) {
        T* w = parent->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

    // Runs `whileOpen` once the dialog opened by `open` is up, then `open` returns.
    void withDialog(QDialog* dialog, const std::function<void()>& open,
                    const std::function<void()>& whileOpen) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            QVERIFY(dialog->isVisible());
            ran = true;
            whileOpen();
            if (dialog->isVisible())
                dialog->reject();
        });
        open();
        QVERIFY(ran);
        QVERIFY(!dialog->isVisible());
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("project")));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("other")));
    }

    void init() {
        QStandardPaths::setTestModeEnabled(true); // window places stay out of the real settings
        UserSettings::open()->remove(QStringLiteral("Windows")); // nor come from an earlier run
        ops_ = std::make_unique<FakeSession>();
        ops_->projectData.settings.projectFolder = fromQ(projectPath());
        // The real editor, with no menu yet: its text boxes take the fragments without storing
        // them into a row.
        QWidget& w = ops_->mainWindow;
        auto* editor = new PropertyEditor(*ops_, &w);
        tabs_ = child<QTabWidget>(editor, "propertyTabs");
        cap_ = child<QPlainTextEdit>(editor, "captionHtmlEdit");
        menu_ = child<QPlainTextEdit>(editor, "bodyHtmlEdit");
        tools_ = new HtmlTools(*ops_, *editor, &w);
        w.show();
    }

    void cleanup() { ops_.reset(); }

    void insertGoesToTheActiveHtmlTabBeforeAnySelection() {
        tabs_->setCurrentIndex(0);
        tools_->insertHtml("<BR>");
        QVERIFY(cap_->toPlainText().isEmpty() && menu_->toPlainText().isEmpty());

        tabs_->setCurrentIndex(1);
        cap_->setPlainText(QStringLiteral("one two"));
        QTextCursor c = cap_->textCursor();
        c.setPosition(4);
        c.setPosition(7, QTextCursor::KeepAnchor);
        cap_->setTextCursor(c);
        tools_->insertHtml("<A HREF=\"x\">\r\nin</A>");
        QCOMPARE(cap_->toPlainText(), QStringLiteral("one <A HREF=\"x\">\nin</A>\ntwo"));
        QCOMPARE(cap_->textCursor().position(), 4 + 20); // right after the fragment and its break
        QVERIFY(!cap_->textCursor().hasSelection());
        QCOMPARE(ops_->mainWindow.focusWidget(), cap_);

        tabs_->setCurrentIndex(2);
        menu_->setPlainText(QStringLiteral("body"));
        menu_->moveCursor(QTextCursor::End);
        child<QPushButton>(&ops_->mainWindow, "addLineBreakButton")->click();
        QCOMPARE(menu_->toPlainText(), QStringLiteral("body<BR>\n"));
        QCOMPARE(cap_->toPlainText(), QStringLiteral("one <A HREF=\"x\">\nin</A>\ntwo"));
    }

    void addTextBuildsTheFragmentAndKeepsItsSettings() {
        tabs_->setCurrentIndex(1);
        AddTextDialog* dlg = tools_->addTextDialog();
        auto* button = child<QPushButton>(&ops_->mainWindow, "addTextButton");
        withDialog(
            dlg, [&] { button->click(); },
            [&] {
                QCOMPARE(ops_->helpButtonStates, QList<bool>{false});
                QTest::keyClicks(child<QPlainTextEdit>(dlg, "textEdit"),
                                 QStringLiteral(" Hi  you"));
                child<QCheckBox>(dlg, "centerCheck")->click();
                dlg->setColorPicker([](const QColor&, QWidget*) { return QColor(255, 0, 0); });
                child<ColorSwatch>(dlg, "colorSwatch")->click();
                child<QPushButton>(dlg, "addButton")->click();
            });
        QCOMPARE(ops_->helpButtonStates, (QList<bool>{false, true}));
        QCOMPARE(cap_->toPlainText(),
                 QStringLiteral("<CENTER><FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#FF0000\">"
                                "&nbsp;Hi&nbsp;&nbsp;you\n</FONT></CENTER>\n"));

        // Opened again: the text is cleared, everything else stays; Cancel inserts nothing.
        cap_->clear();
        withDialog(
            dlg, [&] { button->click(); },
            [&] {
                QVERIFY(child<QPlainTextEdit>(dlg, "textEdit")->toPlainText().isEmpty());
                QVERIFY(child<QCheckBox>(dlg, "centerCheck")->isChecked());
                QCOMPARE(child<ColorSwatch>(dlg, "colorSwatch")->color(), QColor(255, 0, 0));
                QTest::keyClicks(child<QPlainTextEdit>(dlg, "textEdit"), QStringLiteral("x"));
                child<QPushButton>(dlg, "cancelButton")->click();
            });
        QVERIFY(cap_->toPlainText().isEmpty());
    }

    void defaultBoxesSwitchTheirControlsAndAttributes() {
        AddTextDialog* dlg = tools_->addTextDialog();
        dlg->show();
        dlg->clearEntries();
        auto* face = child<QCheckBox>(dlg, "defaultFontCheck");
        auto* size = child<QCheckBox>(dlg, "defaultSizeCheck");
        auto* color = child<QCheckBox>(dlg, "defaultColorCheck");
        color->click();
        QVERIFY(!child<ColorSwatch>(dlg, "colorSwatch")->isVisible());
        QTest::keyClicks(child<QPlainTextEdit>(dlg, "textEdit"), QStringLiteral("a"));
        QCOMPARE(dlg->fragment(), std::string("<FONT FACE=\"Arial\" SIZE=\"2\">a\r\n</FONT>"));
        face->click();
        size->click();
        QVERIFY(!child<QComboBox>(dlg, "fontBox")->isEnabled());
        QVERIFY(!child<QComboBox>(dlg, "fontSizeBox")->isEnabled());
        QCOMPARE(dlg->fragment(), std::string("a\r\n"));
        for (QCheckBox* box : {face, size, color})
            box->click();
        QVERIFY(child<ColorSwatch>(dlg, "colorSwatch")->isVisible());
        QVERIFY(child<QComboBox>(dlg, "fontBox")->isEnabled());
        dlg->hide();
    }

    void addUrlPicksTheFileNameAndRemembersTheFolder() {
        tabs_->setCurrentIndex(2);
        AddLinkDialog* dlg = tools_->addLinkDialog();
        QCOMPARE(dlg->lastFolder(), QString());
        QStringList offered;
        QString answer = QDir(otherPath()).filePath(QStringLiteral("page.htm"));
        dlg->setFilePicker([&](QWidget*, const QString& folder) {
            offered << folder;
            return answer;
        });
        withDialog(
            dlg, [&] { tools_->onAddLinkClicked(); },
            [&] {
                child<QPushButton>(dlg, "chooseFileButton")->click();
                QCOMPARE(child<QLineEdit>(dlg, "urlEdit")->text(), QStringLiteral("page.htm"));
                child<QComboBox>(dlg, "targetBox")->setCurrentIndex(4);
                QTest::keyClicks(child<QPlainTextEdit>(dlg, "innerHtmlEdit"), QStringLiteral("Go"));
                child<QPushButton>(dlg, "addButton")->click();
            });
        QCOMPARE(menu_->toPlainText(),
                 QStringLiteral("<A HREF=\"page.htm\" TARGET=\"_blank\">Go</A>\n"));
        QCOMPARE(dlg->lastFolder(), QFileInfo(otherPath()).absoluteFilePath());

        // A cancelled pick keeps the folder; an empty target gives no attribute.
        answer.clear();
        menu_->clear();
        withDialog(
            dlg, [&] { tools_->onAddLinkClicked(); },
            [&] {
                QVERIFY(child<QLineEdit>(dlg, "urlEdit")->text().isEmpty());
                child<QPushButton>(dlg, "chooseFileButton")->click();
                child<QLineEdit>(dlg, "urlEdit")->setText(QStringLiteral("http://x/"));
                child<QComboBox>(dlg, "targetBox")->setCurrentIndex(0);
                QTest::keyClick(dlg, Qt::Key_Return);
            });
        QCOMPARE(offered.size(), 2);
        QCOMPARE(offered.at(1), QFileInfo(otherPath()).absoluteFilePath());
        QCOMPARE(dlg->lastFolder(), QFileInfo(otherPath()).absoluteFilePath());
        QCOMPARE(menu_->toPlainText(), QStringLiteral("<A HREF=\"http://x/\"></A>\n"));
    }

    void addImageCopiesThePictureAndInsertsEvenWhenTheCopyFails() {
        tabs_->setCurrentIndex(1);
        AddImageDialog* dlg = tools_->addImageDialog();
        const QString source = QDir(otherPath()).filePath(QStringLiteral("logo.gif"));
        WriteFile(source, kGif1x1);
        WriteFile(QDir(projectPath()).filePath(QStringLiteral("logo.gif")), "old");
        QString answer = source;
        QStringList offered;
        dlg->setFilePicker([&](QWidget*, const QString& folder) {
            offered << folder;
            return answer;
        });
        withDialog(
            dlg, [&] { tools_->onAddImageClicked(); },
            [&] {
                child<QPushButton>(dlg, "chooseFileButton")->click();
                QCOMPARE(child<QLineEdit>(dlg, "imageEdit")->text(), source);
                auto* border = child<QLineEdit>(dlg, "borderEdit");
                border->setText(QStringLiteral("2"));
                QTest::keyClick(border, Qt::Key_Up); // the spinner works from the keyboard
                QTest::keyClicks(child<QLineEdit>(dlg, "altEdit"), QStringLiteral("\"Q\" & co"));
                child<QPushButton>(dlg, "addButton")->click();
            });
        QCOMPARE(
            cap_->toPlainText(),
            QStringLiteral("<IMG SRC=\"logo.gif\" BORDER=\"3\" ALT=\"&quot;Q&quot; &amp; co\">\n"));
        QCOMPARE(ReadFile(QDir(projectPath()).filePath(QStringLiteral("logo.gif"))), kGif1x1);
        QVERIFY(ops_->boxes.shown.isEmpty());
        QCOMPARE(dlg->lastFolder(), QFileInfo(otherPath()).absoluteFilePath());

        // A cancelled picture dialog forgets the folder; a missing file still gives its element.
        answer.clear();
        cap_->clear();
        withDialog(
            dlg, [&] { tools_->onAddImageClicked(); },
            [&] {
                // The text of the last picture is not offered for the next one.
                QVERIFY(child<QLineEdit>(dlg, "altEdit")->text().isEmpty());
                child<QPushButton>(dlg, "chooseFileButton")->click();
                child<QLineEdit>(dlg, "imageEdit")->setText(QStringLiteral("/nowhere/pic.jpg"));
                child<QCheckBox>(dlg, "decorativeCheck")->setChecked(true);
                child<QPushButton>(dlg, "addButton")->click();
            });
        QCOMPARE(dlg->lastFolder(), QString());
        QCOMPARE(ops_->boxes.shown, QStringList{toQ(CannotCopyText("/nowhere/pic.jpg"))});
        QCOMPARE(cap_->toPlainText(),
                 QStringLiteral("<IMG SRC=\"pic.jpg\" BORDER=\"3\" ALT=\"\">\n"));
    }

    // An empty ALT makes screen readers pass over the picture: only on the user's word.
    void anEmptyAlternativeTextNeedsTheDecorativeBox() {
        tabs_->setCurrentIndex(2);
        AddImageDialog* dlg = tools_->addImageDialog();
        const QString source = QDir(otherPath()).filePath(QStringLiteral("dot.gif"));
        WriteFile(source, kGif1x1);
        withDialog(
            dlg, [&] { tools_->onAddImageClicked(); },
            [&] {
                auto* add = child<QPushButton>(dlg, "addButton");
                auto* alt = child<QLineEdit>(dlg, "altEdit");
                auto* decorative = child<QCheckBox>(dlg, "decorativeCheck");
                QTest::keyClicks(child<QLineEdit>(dlg, "imageEdit"), source);
                QVERIFY(!add->isEnabled());
                QCOMPARE(add->toolTip(), toQ(msg::kImageNeedsAlt));
                QTest::keyClick(child<QLineEdit>(dlg, "imageEdit"), Qt::Key_Return);
                QVERIFY(dlg->isVisible()); // Enter cannot get round the rule
                QTest::keyClicks(alt, QStringLiteral("  "));
                QVERIFY(!add->isEnabled());
                QTest::keyClicks(alt, QStringLiteral("Dot"));
                QVERIFY(add->isEnabled());
                QVERIFY(add->toolTip().isEmpty());
                // Ticked, the typed text is set aside and ALT stays empty.
                decorative->setChecked(true);
                QVERIFY(!alt->isEnabled());
                QVERIFY(add->isEnabled());
                add->click();
            });
        QCOMPARE(menu_->toPlainText(),
                 QStringLiteral("<IMG SRC=\"dot.gif\" BORDER=\"0\" ALT=\"\">\n"));

        // The decision belongs to one picture: the next one starts without it.
        withDialog(
            dlg, [&] { tools_->onAddImageClicked(); },
            [&] {
                QVERIFY(!child<QCheckBox>(dlg, "decorativeCheck")->isChecked());
                QVERIFY(!child<QPushButton>(dlg, "addButton")->isEnabled());
            });
    }

    void eachPictureKindOfTheWebIsAddedAndCopied() {
        tabs_->setCurrentIndex(1);
        AddImageDialog* dlg = tools_->addImageDialog();
        const QList<std::pair<QString, QByteArray>> pictures{
            {QStringLiteral("a.png"), PictureBytes("png", 4, 3)},
            {QStringLiteral("b.webp"), PictureBytes("webp", 4, 3)},
            {QStringLiteral("c.svg"), SvgBytes(4, 3)},
            {QStringLiteral("d.avif"), AvifBytes(4, 3)},
            {QStringLiteral("e.jpeg"), JpegBytes(4, 3, false)},
        };
        QString expected;
        for (const auto& [name, bytes] : pictures) {
            const QString source = QDir(otherPath()).filePath(name);
            WriteFile(source, bytes);
            dlg->setFilePicker([&](QWidget*, const QString&) { return source; });
            withDialog(
                dlg, [&] { tools_->onAddImageClicked(); },
                [&] {
                    child<QPushButton>(dlg, "chooseFileButton")->click();
                    QTest::keyClicks(child<QLineEdit>(dlg, "altEdit"), QStringLiteral("Logo"));
                    child<QPushButton>(dlg, "addButton")->click();
                });
            QCOMPARE(ReadFile(QDir(projectPath()).filePath(name)), bytes);
            expected.prepend(
                QStringLiteral("<IMG SRC=\"%1\" BORDER=\"0\" ALT=\"Logo\">\n").arg(name));
            cap_->moveCursor(QTextCursor::Start);
        }
        QCOMPARE(cap_->toPlainText(), expected);
        QVERIFY(ops_->boxes.all.isEmpty());
    }

    void enterOnAFocusedButtonPressesThatButtonNotAdd() {
        tabs_->setCurrentIndex(1);
        struct Case {
            QDialog* dialog;
            const char* field;
            const char* cancel;
        };
        const Case cases[] = {{tools_->addTextDialog(), "textEdit", "cancelButton"},
                              {tools_->addLinkDialog(), "urlEdit", "cancelButton"},
                              {tools_->addImageDialog(), "imageEdit", "cancelButton"}};
        for (const Case& c : cases) {
            c.dialog->show();
            QTest::keyClicks(child<QWidget>(c.dialog, c.field), QStringLiteral("x"));
            auto* cancel = child<QPushButton>(c.dialog, c.cancel);
            cancel->setFocus();
            QTest::keyClick(cancel, Qt::Key_Return);
            QVERIFY(!c.dialog->isVisible());
        }
        QVERIFY(cap_->toPlainText().isEmpty());
        QVERIFY(ops_->boxes.shown.isEmpty());

        // Enter on "Choose File..." opens the file dialog and leaves the link dialog up.
        AddLinkDialog* url = tools_->addLinkDialog();
        int asked = 0;
        url->setFilePicker([&](QWidget*, const QString&) {
            ++asked;
            return QString();
        });
        url->show();
        auto* choose = child<QPushButton>(url, "chooseFileButton");
        choose->setFocus();
        QTest::keyClick(choose, Qt::Key_Return);
        QCOMPARE(asked, 1);
        QVERIFY(url->isVisible());
        url->hide();
        QVERIFY(cap_->toPlainText().isEmpty());
    }

    void everyToolDialogOpensCentredOnTheDesktopAndTakesF1() {
        // The main window stands off-centre: the dialogs must not follow it.
        ops_->mainWindow.move(0, 0);
        QDialog* dialogs[] = {tools_->addTextDialog(), tools_->addLinkDialog(),
                              tools_->addImageDialog()};
        for (QDialog* dlg : dialogs) {
            dlg->show();
            const QRect desk = dlg->screen()->availableGeometry();
            QVERIFY((dlg->frameGeometry().center() - desk.center()).manhattanLength() <= 2);
            QWidget* field = dlg->findChildren<QLineEdit*>().value(0);
            QTest::keyClick(field ? field : static_cast<QWidget*>(dlg), Qt::Key_F1);
            dlg->hide();
        }
        QCOMPARE(ops_->helps, 3);
    }

    void previewShowsGifAndJpegSizesAndNoneOtherwise() {
        const QDir other(otherPath());
        WriteFile(other.filePath(QStringLiteral("a.gif")), kGif1x1);
        const QByteArray jpeg = JpegBytes(37, 21, true);
        WriteFile(other.filePath(QStringLiteral("b.jpg")), jpeg);
        WriteFile(other.filePath(QStringLiteral("cut.jpg")), jpeg.left(jpeg.size() / 2));
        WriteFile(other.filePath(QStringLiteral("fake.gif")), "GIF8 but not really");
        WriteFile(other.filePath(QStringLiteral("text.jpg")), "hello");

        PicturePreview preview;
        preview.showFile(other.filePath(QStringLiteral("b.jpg")));
        QCOMPARE(preview.sizeText(), QStringLiteral("37 x 21"));
        QVERIFY(preview.previewButton()->isEnabled());
        preview.previewButton()->click();
        QVERIFY(preview.fullSizeView() && preview.fullSizeView()->isVisible());
        preview.fullSizeView()->close();

        preview.showFile(other.filePath(QStringLiteral("a.gif")));
        QCOMPARE(preview.sizeText(), QStringLiteral("1 x 1"));
        // Today's web formats through the image plugins (a PNG named .gif is still a PNG).
        WriteFile(other.filePath(QStringLiteral("p.gif")), PictureBytes("png", 5, 7));
        WriteFile(other.filePath(QStringLiteral("w.webp")), PictureBytes("webp", 9, 4));
        WriteFile(other.filePath(QStringLiteral("s.svg")), SvgBytes(30, 20));
        for (const auto& [name, size] : {std::pair("p.gif", "5 x 7"), std::pair("w.webp", "9 x 4"),
                                         std::pair("s.svg", "30 x 20")}) {
            preview.showFile(other.filePath(QString::fromLatin1(name)));
            QCOMPARE(preview.sizeText(), QString::fromLatin1(size));
            QVERIFY(preview.previewButton()->isEnabled());
        }
        // AVIF has no reader here: its size from its header, no picture to enlarge.
        WriteFile(other.filePath(QStringLiteral("v.avif")), AvifBytes(640, 427));
        preview.showFile(other.filePath(QStringLiteral("v.avif")));
        QCOMPARE(preview.sizeText(), QStringLiteral("640 x 427"));
        QVERIFY(!preview.previewButton()->isEnabled());
        const QString none = toQ(msg::kNoPicture);
        for (const char* name : {"cut.jpg", "fake.gif", "text.jpg", "missing.gif"}) {
            preview.showFile(other.filePath(QString::fromLatin1(name)));
            QCOMPARE(preview.sizeText(), none);
            QVERIFY(!preview.previewButton()->isEnabled());
        }
    }

    void pictureChooserFollowsTheSelection() {
        const QDir other(otherPath());
        WriteFile(other.filePath(QStringLiteral("c.jpg")), JpegBytes(12, 34, false));
        QString seen;
        QString sizeShown;
        QTimer::singleShot(50, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* preview = dialog->findChild<PicturePreview*>();
            QVERIFY(preview);
            Q_EMIT dialog->currentChanged(other.filePath(QStringLiteral("c.jpg")));
            seen = preview->sizeText();
            // The details list: every column wide enough for what it shows, sizes included.
            auto* list = dialog->findChild<QTreeView*>();
            QVERIFY(list);
            QTRY_VERIFY(list->model()->rowCount(list->rootIndex()) > 0);
            QVERIFY(list->isVisible());
            const auto columnsFit = [list] {
                const QAbstractItemView* view = list; // the hint is public there
                for (int column = 1; column < list->header()->count(); ++column) {
                    if (!list->isColumnHidden(column) &&
                        list->columnWidth(column) < view->sizeHintForColumn(column))
                        return false;
                }
                return true;
            };
            QTRY_VERIFY(columnsFit());
            sizeShown =
                list->model()->index(0, 1, list->rootIndex()).data(Qt::DisplayRole).toString();
            dialog->reject();
        });
        QCOMPARE(ChoosePictureFile(&ops_->mainWindow, otherPath()), QString());
        QCOMPARE(seen, QStringLiteral("12 x 34"));
        QVERIFY2(QRegularExpression(QStringLiteral("^[0-9.,]+ (bytes|[KM]i?B)$"))
                     .match(sizeShown)
                     .hasMatch(),
                 qPrintable(sizeShown));
    }
};

QTEST_MAIN(HtmlToolsDialogTest)
#include "HtmlToolsDialogTest.moc"
