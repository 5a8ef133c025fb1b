#include "FakeSession.h"

#include "gui/common/ColorSwatch.h"
#include "gui/common/EditorRules.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/TextConv.h"
#include "gui/common/UndoKeyFilter.h"
#include "gui/common/UpDownControl.h"
#include "gui/editor/PropertyEditor.h"
#include "model/Conversions.h"
#include "model/Messages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

using namespace qloom;
using namespace qloom::gui;

namespace {

// The real property editor in a window of its own, bound to a stand-in of the project session
// that records what the editor asks of it.
class EditorHost : public FakeSession {
public:
    EditorHost()
        : editor(new PropertyEditor(*this, &mainWindow)), undoKeys(&mainWindow, historyData),
          window(mainWindow) {
        editor->setEditingEnabled(false);
        // What the session does after an undo or redo.
        historyData.setRestoredHandler([this](const ProjectEdit& edit) { Q_EMIT restored(edit); });
    }

    void select(int32_t row, SelectionSource source) override {
        selectCalls.push_back(row);
        FakeSession::select(row, source);
    }
    void setPreviewStale(bool value) override {
        if (value)
            ++staleCalls;
        FakeSession::setPreviewStale(value);
    }
    void setHelpAvailable(bool enabled) override { helpStates.push_back(enabled); }
    void showMenuProperties(int32_t row) { editor->showMenuProperties(row); }
    void setEditingEnabled(bool enabled) { editor->setEditingEnabled(enabled); }

    // Appends `count` menus, selects `selected` and shows it, as opening a project would.
    void addMenus(int count, int selected = 0) {
        for (int i = 0; i < count; ++i)
            (void)AddMenu(projectData);
        projectData.selected = selected;
        replaceProject();
    }

    PropertyEditor* editor;
    UndoKeyFilter undoKeys;
    int staleCalls = 0;
    std::vector<int32_t> selectCalls;
    std::vector<bool> helpStates;
    QWidget& window;
};

} // namespace

class PropertyEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<EditorHost> main;
    template <class T> T* find(const char* name) {
        T* w = main->window.findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("missing %s", name);
        return w;
    }
    Project& table() { return main->projectData; }
    void retype(const char* box, const char* text) {
        auto* edit = find<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }

private Q_SLOTS:
    void init() {
        main = std::make_unique<EditorHost>();
        main->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main->window));
    }
    void cleanup() { main.reset(); }

    void typingMinusThenFiveIntoLeftStoresMinusFive() {
        main->addMenus(2, 1);
        table().menus[1].left = 37;
        const int32_t otherLeft = table().menus[0].left;
        main->showMenuProperties(1);
        auto* left = find<QLineEdit>("leftEdit");
        left->setFocus();
        left->selectAll();
        QTest::keyClick(left, Qt::Key_Delete);
        QCOMPARE(table().menus[1].left, 0); // emptied box
        QTest::keyClick(left, Qt::Key_Minus);
        QCOMPARE(table().menus[1].left, 0); // a lone "-" does not parse
        QTest::keyClick(left, Qt::Key_5);
        QCOMPARE(table().menus[1].left, -5);
        QCOMPARE(left->text(), QStringLiteral("-5"));
        QCOMPARE(table().menus[0].left, otherLeft); // only the selected row is written
        // A fourth typed character is refused.
        QTest::keyClicks(left, QStringLiteral("12"));
        QCOMPARE(left->text(), QStringLiteral("-51"));
        QCOMPARE(table().menus[1].left, -51);
    }

    void numberBoxesApplyFallbacksAndClamps() {
        main->addMenus(1);
        retype("widthEdit", "");
        QCOMPARE(table().menus[0].width, 100);
        retype("captionHeightEdit", "");
        QCOMPARE(table().menus[0].captionHeight, 22);
        retype("topEdit", "");
        QCOMPARE(table().menus[0].top, 0);
        retype("widthEdit", "950");
        QCOMPARE(table().menus[0].width, 900);
        retype("widthEdit", "0");
        QCOMPARE(table().menus[0].width, 1);
        QCOMPARE(find<QLineEdit>("widthEdit")->text(), QStringLiteral("0")); // shows what was typed
        retype("captionHeightEdit", "999");
        QCOMPARE(table().menus[0].captionHeight, 600);
        retype("topEdit", "999");
        QCOMPARE(table().menus[0].top, 999); // unclamped
    }

    void spinArrowsStepWithinTheRangeAndCanShowFourCharacters() {
        main->addMenus(1);
        table().menus[0].left = -99;
        main->showMenuProperties(0);
        auto* spin = find<UpDownControl>("leftUpDown");
        auto* left = find<QLineEdit>("leftEdit");
        spin->downButton()->click();
        QCOMPARE(left->text(), QStringLiteral("-100"));
        QCOMPARE(table().menus[0].left, -100);
        spin->downButton()->click(); // no wrap-around
        QCOMPARE(table().menus[0].left, -100);
        // Keyboard arrows in the box step too, starting from what the box shows.
        retype("leftEdit", "10");
        QTest::keyClick(left, Qt::Key_Up);
        QCOMPARE(table().menus[0].left, 11);
        QVERIFY(main->staleCalls > 0);
        QCOMPARE(spin->upButton()->accessibleName(), QStringLiteral("Increase Left"));
    }

    void everyEditButFloatMarksThePreviewStale() {
        main->addMenus(1);
        QCOMPARE(main->staleCalls, 0); // loading a row is not an edit

        const int32_t floating = table().menus[0].floating;
        find<QCheckBox>("floatingCheck")->click();
        QCOMPARE(table().menus[0].floating, floating == 1 ? 0 : 1);
        find<QCheckBox>("floatingCheck")->click();
        QCOMPARE(table().menus[0].floating, floating == 1 ? 1 : 0);
        QCOMPARE(main->staleCalls, 0);

        find<QRadioButton>("mouseClickRadio")->click();
        QCOMPARE(table().menus[0].activation, 1);
        QCOMPARE(main->staleCalls, 1);
        find<QRadioButton>("verticalRadio")->click();
        QCOMPARE(table().menus[0].orientation, 1);
        QCOMPARE(main->staleCalls, 2);
        find<QRadioButton>("horizontalRadio")->click();
        QCOMPARE(table().menus[0].orientation, 0);

        auto* caption = find<QPlainTextEdit>("captionHtmlEdit");
        caption->setFocus();
        caption->selectAll();
        QTest::keyClicks(caption, QStringLiteral("A"));
        QTest::keyClick(caption, Qt::Key_Return);
        QTest::keyClicks(caption, QStringLiteral("B"));
        QCOMPARE(table().menus[0].captionHtml, std::string("A\r\nB"));
        find<QPlainTextEdit>("bodyHtmlEdit")->insertPlainText(QStringLiteral("<b>x</b>"));
        QVERIFY(table().menus[0].bodyHtml.find("<b>x</b>") != std::string::npos);
        QVERIFY(main->staleCalls >= 5);
    }

    void loadingARowShowsEveryColumnAndChangesNothing() {
        main->addMenus(3, 0);
        Project& t = table();
        t.menus[2].left = 850; // beyond the spin's range: the box shows the stored number
        t.menus[2].top = -7;
        t.menus[2].width = 321;
        t.menus[2].captionHeight = 45;
        t.menus[2].captionHtml = "line1\r\nline2";
        t.menus[2].bodyHtml = "body";
        t.menus[2].activation = 1;
        t.menus[2].floating = 1;
        t.menus[2].orientation = 1;
        t.menus[2].captionColor = "transparent";
        t.menus[2].bodyColor = "#FF8000";
        t.menus[2].bottomColor = "#000010";
        const Project before = t;
        main->showMenuProperties(2);
        QVERIFY(t.sameMenus(before));
        QCOMPARE(main->staleCalls, 0);
        QCOMPARE(find<QListWidget>("menuList")->currentRow(), 2);
        QCOMPARE(find<QLineEdit>("leftEdit")->text(), QStringLiteral("850"));
        QCOMPARE(find<UpDownControl>("leftUpDown")->position(), 800);
        QCOMPARE(find<QLineEdit>("topEdit")->text(), QStringLiteral("-7"));
        QCOMPARE(find<QPlainTextEdit>("captionHtmlEdit")->toPlainText(),
                 QStringLiteral("line1\nline2"));
        QVERIFY(!find<QPlainTextEdit>("captionHtmlEdit")->textCursor().hasSelection());
        QVERIFY(find<QPlainTextEdit>("captionHtmlEdit")->textCursor().atEnd());
        QVERIFY(find<QRadioButton>("mouseClickRadio")->isChecked());
        QVERIFY(find<QCheckBox>("floatingCheck")->isChecked());
        QVERIFY(find<QRadioButton>("verticalRadio")->isChecked());
        QVERIFY(find<QCheckBox>("captionTransparentCheck")->isChecked());
        QVERIFY(find<ColorSwatch>("captionColorSwatch")->isHidden());
        QCOMPARE(find<ColorSwatch>("bodyColorSwatch")->color(), QColor(0xFF, 0x80, 0x00));
        QCOMPARE(find<ColorSwatch>("bottomColorSwatch")->color(), QColor(0x00, 0x00, 0x10));
        QVERIFY(!find<ColorSwatch>("bodyColorSwatch")->isHidden());

        // Back to row 0: the other orientation and activation are checked again.
        main->showMenuProperties(0);
        QVERIFY(find<QRadioButton>("horizontalRadio")->isChecked());
        QVERIFY(find<QRadioButton>("mouseOverRadio")->isChecked());
        QVERIFY(!find<ColorSwatch>("captionColorSwatch")->isHidden());
        main->showMenuProperties(3); // not a row
        QCOMPARE(find<QListWidget>("menuList")->currentRow(), 0);
    }

    void transparentBoxesAndTheColourDialogWriteTheColourColumns() {
        main->addMenus(2);
        table().menus[0].captionColor = "#00FF00";
        table().menus[1].captionColor = "transparent";
        main->showMenuProperties(0);
        main->showMenuProperties(1);
        auto* box = find<QCheckBox>("captionTransparentCheck");
        auto* swatch = find<ColorSwatch>("captionColorSwatch");
        QVERIFY(swatch->isHidden());
        main->select(0, SelectionSource::Editor);
        main->select(1, SelectionSource::Editor);
        box->click();
        QVERIFY(!swatch->isHidden());
        // The swatch kept the last colour it showed; clearing the box stores that colour.
        QCOMPARE(table().menus[1].captionColor, std::string("#00FF00"));
        QCOMPARE(main->staleCalls, 1);
        table().menus[1].captionColor = "#FFFFFF";
        main->showMenuProperties(1);

        std::optional<QColor> answer;
        QColor offered;
        main->editor->setColorPicker([&](const QColor& initial, QWidget*) {
            offered = initial;
            return answer;
        });
        swatch->click(); // cancelled
        QCOMPARE(offered, QColor(Qt::white));
        QCOMPARE(table().menus[1].captionColor, std::string("#FFFFFF"));
        QCOMPARE(main->staleCalls, 1);
        QCOMPARE(main->helpStates, (std::vector<bool>{false, true}));

        answer = QColor(0x12, 0x34, 0x56);
        swatch->click();
        QCOMPARE(table().menus[1].captionColor, std::string("#123456"));
        QCOMPARE(swatch->color(), QColor(0x12, 0x34, 0x56));
        QCOMPARE(main->staleCalls, 2);

        box->click();
        QVERIFY(swatch->isHidden());
        QCOMPARE(table().menus[1].captionColor, std::string("transparent"));
        box->click(); // the swatch kept its colour while hidden
        QCOMPARE(table().menus[1].captionColor, std::string("#123456"));
        QCOMPARE(table().menus[0].captionColor, std::string("#00FF00"));
    }

    void htmlEditsStoreTheTextByteForByte() {
        main->addMenus(1);
        // A non-breaking space (UTF-8 C2 A0) and CR LF lines must survive an edit elsewhere.
        table().menus[0].captionHtml = "a\xC2\xA0"
                                       "b\r\nc";
        table().menus[0].bodyHtml = "<B>x\xC2\xA0y</B>";
        main->showMenuProperties(0);
        for (const char* name : {"captionHtmlEdit", "bodyHtmlEdit"}) {
            auto* edit = find<QPlainTextEdit>(name);
            edit->setFocus();
            edit->moveCursor(QTextCursor::End);
            QTest::keyClick(edit, Qt::Key_Z);
        }
        QCOMPARE(table().menus[0].captionHtml, std::string("a\xC2\xA0"
                                                           "b\r\ncz"));
        QCOMPARE(table().menus[0].bodyHtml, std::string("<B>x\xC2\xA0y</B>z"));
    }

    void htmlToolsShowOnlyOnTheHtmlTabs() {
        auto* tabs = find<QTabWidget>("propertyTabs");
        auto* tools = find<QWidget>("htmlToolsPanel");
        QVERIFY(tools->isHidden());
        for (int page : {1, 2, 3, 0, 2}) {
            tabs->setCurrentIndex(page);
            QCOMPARE(!tools->isHidden(), page == 1 || page == 2);
        }
    }

    void menuListSelectsOnPressAndOnlyChangedRowsOnRelease() {
        main->addMenus(3, 0);
        auto* list = find<QListWidget>("menuList");
        QWidget* viewport = list->viewport();
        const QPoint first = list->visualItemRect(list->item(0)).center();
        const QPoint third = list->visualItemRect(list->item(2)).center();

        QTest::mouseClick(viewport, Qt::LeftButton, {}, first); // already selected
        QCOMPARE(main->selectCalls, (std::vector<int32_t>{0}));

        main->selectCalls.clear();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, third);
        QCOMPARE(main->selectCalls, (std::vector<int32_t>{2})); // on the press, with the new row
        QCOMPARE(table().selected, 2);
        QCOMPARE(find<QLineEdit>("leftEdit")->text(), QString::number(table().menus[2].left));

        main->selectCalls.clear();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(main->selectCalls, (std::vector<int32_t>{1}));
        QCOMPARE(table().selected, 1);

        // A press below the last row keeps the selection, so edits still reach a row.
        main->selectCalls.clear();
        const QPoint below(5, list->visualItemRect(list->item(2)).bottom() + 20);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, below);
        QCOMPARE(main->selectCalls, (std::vector<int32_t>{1}));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(table().selected, 1);

        // Ctrl with a click or the space bar would deselect the row: it stays selected too.
        main->selectCalls.clear();
        const QPoint second = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, second);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        // The press, then the release of the space bar and of Ctrl.
        QCOMPARE(main->selectCalls, (std::vector<int32_t>{1, 1, 1}));
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(list->item(1)->isSelected());
        retype("topEdit", "77");
        QCOMPARE(table().menus[1].top, 77);
    }

    void pressOnAnEmptyMenuListSendsNoRow() {
        auto* list = find<QListWidget>("menuList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(main->selectCalls, (std::vector<int32_t>{-1}));
        QCOMPARE(table().menuCount(), 0);
    }

    void disablingShowsNoMenusAndStoresNothing() {
        main->addMenus(1);
        const QString none = toQ(msg::kNoMenusInProject);
        main->setEditingEnabled(false);
        QCOMPARE(find<QPlainTextEdit>("captionHtmlEdit")->toPlainText(), none);
        QCOMPARE(find<QPlainTextEdit>("bodyHtmlEdit")->toPlainText(), none);
        QVERIFY(table().menus[0].captionHtml != fromQ(none));
        for (const char* name :
             {"leftEdit", "captionHtmlEdit", "floatingCheck", "bottomColorSwatch", "addImageButton",
              "widthUpDown", "bodyColorLabel"})
            QVERIFY2(!find<QWidget>(name)->isEnabled(), name);

        // With no menus at all, a change that still arrives writes no row.
        DeleteSelectedMenu(table());
        QCOMPARE(table().menuCount(), 0);
        const Project before = table();
        find<QLineEdit>("leftEdit")->setText(QStringLiteral("55"));
        find<QPlainTextEdit>("captionHtmlEdit")->setPlainText(QStringLiteral("x"));
        find<QCheckBox>("bodyTransparentCheck")->setChecked(true);
        QVERIFY(table().sameMenus(before));
        QCOMPARE(main->staleCalls, 0);
    }

    void ctrlZUndoesEachFieldsTypingAsOneStepBackToTheSameTable() {
        main->addMenus(2, 1);
        table().menus[1].bodyColor = "#FFFFFF";
        main->showMenuProperties(1);
        const Project start = table();
        ProjectHistory& history = main->history();

        retype("leftEdit", "123"); // one step, however many keys
        retype("topEdit", "45");   // another field: another step
        retype("leftEdit", "7");   // back in Left after leaving it: a third
        auto* caption = find<QPlainTextEdit>("captionHtmlEdit");
        caption->setFocus();
        QTest::keyClicks(caption, QStringLiteral("<B>x</B>"));
        find<QRadioButton>("verticalRadio")->click();
        find<QCheckBox>("bodyTransparentCheck")->click();
        main->editor->setColorPicker([](const QColor&, QWidget*) { return QColor(1, 2, 3); });
        find<QCheckBox>("bodyTransparentCheck")->click(); // shows the swatch again, with its colour
        find<ColorSwatch>("bodyColorSwatch")->click();
        QCOMPARE(table().menus[1].bodyColor, std::string("#010203"));
        QCOMPARE(history.stack().count(), 8);
        const Project end = table();

        // Ctrl+Z in a text box undoes the project, not the box.
        caption->setFocus();
        while (history.canUndo())
            QTest::keyClick(caption, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(table().sameMenus(start));
        QCOMPARE(find<QLineEdit>("leftEdit")->text(), QString::number(start.menus[1].left));
        QCOMPARE(find<QPlainTextEdit>("captionHtmlEdit")->toPlainText(),
                 toQ(HtmlToEditorText(start.menus[1].captionHtml)));
        QVERIFY(find<QRadioButton>("horizontalRadio")->isChecked());
        while (history.canRedo())
            QTest::keyClick(caption, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(table().sameMenus(end));
        QCOMPARE(find<QLineEdit>("topEdit")->text(), QStringLiteral("45"));
        QCOMPARE(find<ColorSwatch>("bodyColorSwatch")->color(), QColor(1, 2, 3));

        // Typing a field back to what it held leaves no step behind.
        QTest::keyClick(caption, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(caption, Qt::Key_Z, Qt::ControlModifier);
        const int steps = history.stack().index();
        auto* width = find<QLineEdit>("widthEdit");
        width->setFocus();
        width->end(false);
        const QString last = width->text().right(1);
        QTest::keyClick(width, Qt::Key_Backspace);
        QTest::keyClicks(width, last);
        QCOMPARE(history.stack().index(), steps);
        QVERIFY(!history.canRedo()); // a new edit drops what was undone
    }

    void captionSwapShowsTheSelectedRowsNewCaptionWithoutStoringIt() {
        main->addMenus(2, 1);
        const std::string swapped = kVerticalDefaultCaption;
        table().menus[1].orientation = 1;
        // The swap the session makes right before composing, told row by row.
        for (int32_t row : SwapDefaultCaptions(table()))
            Q_EMIT main->captionSwapped(row);
        QCOMPARE(find<QPlainTextEdit>("captionHtmlEdit")->toPlainText(),
                 toQ(HtmlToEditorText(swapped)));
        QCOMPARE(table().menus[1].captionHtml, swapped);
        QCOMPARE(main->staleCalls, 0);
        table().menus[0].captionHtml = "Changed";
        Q_EMIT main->captionSwapped(0); // not the selected row
        QCOMPARE(find<QPlainTextEdit>("captionHtmlEdit")->toPlainText(),
                 toQ(HtmlToEditorText(swapped)));
    }
};

QTEST_MAIN(PropertyEditorTest)
#include "PropertyEditorTest.moc"
