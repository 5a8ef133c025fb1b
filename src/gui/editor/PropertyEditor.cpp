#include "gui/editor/PropertyEditor.h"

#include "gui/common/ColorSwatch.h"
#include "gui/common/EditorRules.h"
#include "gui/common/MainWindowOps.h"
#include "gui/common/PlainText.h"
#include "gui/common/TextConv.h"
#include "gui/common/UpDownControl.h"
#include "gui/editor/SuppressChange.h"
#include "model/Conversions.h"
#include "model/Messages.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QValidator>

namespace qloom::gui {
namespace {

constexpr std::string_view kTransparent = "transparent";

// Refuses typing beyond the box's length while still letting the program (the spin arrows)
// put a longer number such as "-100" into it: setText() is not validated.
class TypedLengthValidator : public QValidator {
public:
    TypedLengthValidator(int maxLength, QObject* parent)
        : QValidator(parent), maxLength_(maxLength) {}
    State validate(QString& input, int&) const override {
        return input.size() <= maxLength_ ? Acceptable : Invalid;
    }

private:
    int maxLength_;
};

QColor ToQColor(ColorValue value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

ColorValue FromQColor(const QColor& color) {
    return ColorValue(color.red()) | (ColorValue(color.green()) << 8) |
           (ColorValue(color.blue()) << 16);
}

QString ViewName(std::string_view text) {
    return toQ(text);
}

// The name a screen reader gives a number box: its buddy label's text without the colon.
QString BoxName(QWidget* root, QLineEdit* edit) {
    if (!edit->accessibleName().isEmpty())
        return edit->accessibleName();
    const auto labels = root->findChildren<QLabel*>();
    for (QLabel* label : labels) {
        if (label->buddy() == edit) {
            QString text = label->text();
            text.remove(QLatin1Char('&'));
            if (text.endsWith(QLatin1Char(':')))
                text.chop(1);
            return text;
        }
    }
    return edit->objectName();
}

std::optional<QColor> PlatformColorDialog(const QColor& initial, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace

struct PropertyEditor::NumberBox {
    QLineEdit* edit;
    UpDownControl* spin;
    NumberBoxRule rule;
    SpinRange range;
    std::vector<int32_t> MenuTable::*column;
};

struct PropertyEditor::ColorRow {
    ColorSwatch* swatch;
    QCheckBox* box;
    QLabel* label;
    std::vector<std::string> MenuTable::*column;
};

template <class T> T* PropertyEditor::need(const char* name) const {
    T* widget = main_->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("The main window lacks the control %s of the expected kind", name);
    return widget;
}

PropertyEditor::PropertyEditor(QWidget* mainWindow, MainWindowOps& ops)
    : QObject(mainWindow), main_(mainWindow), ops_(ops), colorPicker_(PlatformColorDialog) {
    numbers_ = {
        {need<QLineEdit>("txtLeft"), need<UpDownControl>("UpDown_Left"), kLeftRule, kLeftSpin,
         &MenuTable::MX},
        {need<QLineEdit>("txtTop"), need<UpDownControl>("UpDown_Top"), kTopRule, kTopSpin,
         &MenuTable::MY},
        {need<QLineEdit>("txtWidth"), need<UpDownControl>("UpDown_Width"), kWidthRule, kWidthSpin,
         &MenuTable::MW},
        {need<QLineEdit>("txtCapHeight"), need<UpDownControl>("UpDown_CapHeight"), kCapHeightRule,
         kCapHeightSpin, &MenuTable::MTCH},
    };
    colors_ = {
        {need<ColorSwatch>("panCaptionColor"), need<QCheckBox>("chkTranspCC"),
         need<QLabel>("lblCaptionColor"), &MenuTable::CC},
        {need<ColorSwatch>("panMenuColor"), need<QCheckBox>("chkTranspCM"),
         need<QLabel>("lblMenuColor"), &MenuTable::CM},
        {need<ColorSwatch>("panOwnerColor"), need<QCheckBox>("chkTranspCO"),
         need<QLabel>("lblOwnerColor"), &MenuTable::CO},
    };
    txtCapHTML_ = need<QPlainTextEdit>("txtCapHTML");
    txtMenuHTML_ = need<QPlainTextEdit>("txtMenuHTML");
    radActivateOn_ = need<QGroupBox>("radActivateOn");
    chkFloat_ = need<QCheckBox>("chkFloat");
    radHorizontal_ = need<QRadioButton>("radHorizontal");
    radVertical_ = need<QRadioButton>("radVertical");
    tabProp_ = need<QTabWidget>("tabProp");
    panHTMLTools_ = need<QWidget>("panHTMLTools");
    listMenus_ = need<QListWidget>("listMenus");
    for (const char* name : {"btnAddNEWLINE", "btnAddText", "btnAddURL", "btnAddimage"})
        htmlButtons_.push_back(need<QAbstractButton>(name));

    // "Mouse Over" is item 0, "Mouse Click" item 1: by name when the window names them, else in
    // the order the group holds them.
    auto* over = radActivateOn_->findChild<QRadioButton*>(QStringLiteral("radMouseOver"));
    auto* click = radActivateOn_->findChild<QRadioButton*>(QStringLiteral("radMouseClick"));
    if (!over || !click) {
        const auto items = radActivateOn_->findChildren<QRadioButton*>();
        if (items.size() < 2)
            qFatal("radActivateOn needs two radio buttons");
        over = items[0];
        click = items[1];
    }
    activateItems_ = {over, click};

    for (NumberBox& box : numbers_) {
        // The typed length is limited by the validator; a length limit on the box itself would
        // cut the "-100" the spin arrows can write.
        box.edit->setMaxLength(32767);
        box.edit->setValidator(new TypedLengthValidator(kNumberBoxMaxTyped, box.edit));
        box.spin->setRange(box.range.minimum, box.range.maximum);
        box.spin->setBoxName(BoxName(main_, box.edit));
        box.edit->installEventFilter(this);
        NumberBox* boxPtr = &box;
        connect(box.edit, &QLineEdit::textChanged, this,
                [this, boxPtr] { numberBoxChange(*boxPtr); });
        connect(box.spin, &UpDownControl::stepRequested, this,
                [this, boxPtr](int delta) { spinStep(*boxPtr, delta); });
    }
    // The selection stays visible while a fragment dialog has the focus, so the user sees what
    // the inserted fragment will replace.
    for (QPlainTextEdit* edit : {txtCapHTML_, txtMenuHTML_}) {
        QPalette palette = edit->palette();
        for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            palette.setBrush(QPalette::Inactive, role, palette.brush(QPalette::Active, role));
        edit->setPalette(palette);
    }
    connect(txtCapHTML_, &QPlainTextEdit::textChanged, this, &PropertyEditor::txtCapHTMLChange);
    connect(txtMenuHTML_, &QPlainTextEdit::textChanged, this, &PropertyEditor::txtMenuHTMLChange);
    for (QRadioButton* item : activateItems_)
        connect(item, &QRadioButton::clicked, this, &PropertyEditor::radActivateOnClick);
    connect(chkFloat_, &QCheckBox::clicked, this, &PropertyEditor::chkFloatClick);
    connect(radHorizontal_, &QRadioButton::clicked, this, &PropertyEditor::radOrientationClick);
    connect(radVertical_, &QRadioButton::clicked, this, &PropertyEditor::radOrientationClick);
    for (ColorRow& row : colors_) {
        row.label->setBuddy(row.swatch); // a screen reader names the swatch after its label
        ColorSwatch* swatch = row.swatch;
        QCheckBox* box = row.box;
        connect(swatch, &ColorSwatch::clicked, this, [this, swatch] { getColor(swatch); });
        // toggled, not clicked: a load that changes the box must also hide or show the swatch.
        connect(box, &QCheckBox::toggled, this, [this, box] { setTransparentColor(box); });
    }
    connect(tabProp_, &QTabWidget::currentChanged, this, &PropertyEditor::tabPropChange);
    listMenus_->viewport()->installEventFilter(this);
    listMenus_->installEventFilter(this);

    tabPropChange(tabProp_->currentIndex());
}

PropertyEditor::~PropertyEditor() = default;

bool PropertyEditor::canStore() const {
    const MenuTable& table = ops_.project().table;
    return !SuppressChange && table.isRow(table.SelectedMenu);
}

void PropertyEditor::numberBoxChange(NumberBox& box) {
    if (!canStore())
        return;
    MenuTable& table = ops_.project().table;
    int32_t& cell = (table.*box.column)[size_t(table.SelectedMenu)];
    cell = NumberFromBox(fromQ(box.edit->text()), cell, box.rule);
    ops_.markPreviewStale();
}

void PropertyEditor::spinStep(NumberBox& box, int delta) {
    if (!box.edit->isEnabled())
        return;
    const int32_t next = SpinStep(fromQ(box.edit->text()), box.spin->position(), delta, box.range);
    box.spin->setPosition(next);
    box.edit->setText(QString::number(next));
}

void PropertyEditor::txtCapHTMLChange() {
    if (!canStore())
        return;
    MenuTable& table = ops_.project().table;
    table.MTC[size_t(table.SelectedMenu)] = EditorTextToHtml(fromQ(PlainTextOf(txtCapHTML_)));
    ops_.markPreviewStale();
}

void PropertyEditor::txtMenuHTMLChange() {
    if (!canStore())
        return;
    MenuTable& table = ops_.project().table;
    table.MTM[size_t(table.SelectedMenu)] = EditorTextToHtml(fromQ(PlainTextOf(txtMenuHTML_)));
    ops_.markPreviewStale();
}

void PropertyEditor::radActivateOnClick() {
    if (!canStore())
        return;
    MenuTable& table = ops_.project().table;
    table.MA[size_t(table.SelectedMenu)] = activateItems_[0]->isChecked() ? 0 : 1;
    ops_.markPreviewStale();
}

void PropertyEditor::chkFloatClick() {
    if (!canStore())
        return;
    MenuTable& table = ops_.project().table;
    table.FL[size_t(table.SelectedMenu)] = chkFloat_->isChecked() ? 1 : 0;
}

void PropertyEditor::radOrientationClick() {
    if (!canStore())
        return;
    MenuTable& table = ops_.project().table;
    table.OO[size_t(table.SelectedMenu)] = radHorizontal_->isChecked() ? 0 : 1;
    ops_.markPreviewStale();
}

void PropertyEditor::getColor(ColorSwatch* swatch) {
    auto row = std::find_if(colors_.begin(), colors_.end(),
                            [swatch](const ColorRow& r) { return r.swatch == swatch; });
    if (row == colors_.end())
        return;
    ops_.setHelpButtonEnabled(false);
    const std::optional<QColor> chosen = colorPicker_(swatch->color(), main_);
    ops_.setHelpButtonEnabled(true);
    if (!chosen)
        return;
    swatch->setColor(*chosen);
    MenuTable& table = ops_.project().table;
    if (!table.isRow(table.SelectedMenu))
        return;
    (table.*row->column)[size_t(table.SelectedMenu)] = ColorToHtml(FromQColor(*chosen));
    ops_.markPreviewStale();
}

void PropertyEditor::setTransparentColor(QCheckBox* box) {
    auto row = std::find_if(colors_.begin(), colors_.end(),
                            [box](const ColorRow& r) { return r.box == box; });
    if (row == colors_.end())
        return;
    row->swatch->setVisible(!box->isChecked());
    if (!canStore())
        return;
    MenuTable& table = ops_.project().table;
    (table.*row->column)[size_t(table.SelectedMenu)] =
        box->isChecked() ? std::string(kTransparent)
                         : ColorToHtml(FromQColor(row->swatch->color()));
    ops_.markPreviewStale();
}

void PropertyEditor::tabPropChange(int index) {
    panHTMLTools_->setVisible(index == 1 || index == 2);
}

int PropertyEditor::listSelectedRow() const {
    const auto selected = listMenus_->selectedItems();
    return selected.isEmpty() ? -1 : listMenus_->row(selected.first());
}

void PropertyEditor::keepShownRowSelected() {
    // A press below the last row, or Ctrl with a click or the space bar, would leave no row
    // selected while the editor still shows one, and the edits that follow would reach no row.
    const MenuTable& table = ops_.project().table;
    if (listSelectedRow() < 0 && table.isRow(table.SelectedMenu))
        listMenus_->setCurrentRow(table.SelectedMenu);
}

void PropertyEditor::listMenusMouseDown() {
    ops_.selectInPreview(listSelectedRow());
}

void PropertyEditor::listMenusMouseUp() {
    if (listSelectedRow() != ops_.project().table.SelectedMenu)
        ops_.selectInPreview(listSelectedRow());
}

void PropertyEditor::listMenusKeyUp() {
    ops_.selectInPreview(listSelectedRow());
}

bool PropertyEditor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == listMenus_->viewport() &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
         type == QEvent::MouseButtonRelease)) {
        if (forwardingListEvent_)
            return false;
        // The list moves its selection first; the handlers then read the new selected row.
        forwardingListEvent_ = true;
        QCoreApplication::sendEvent(watched, event);
        forwardingListEvent_ = false;
        keepShownRowSelected();
        if (type == QEvent::MouseButtonRelease)
            listMenusMouseUp();
        else
            listMenusMouseDown();
        return true;
    }
    if (watched == listMenus_ && type == QEvent::KeyRelease) {
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            keepShownRowSelected();
            listMenusKeyUp();
        }
        return false;
    }
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            for (NumberBox& box : numbers_) {
                if (box.edit == watched) {
                    spinStep(box, key == Qt::Key_Up ? 1 : -1);
                    return true;
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void PropertyEditor::syncMenuList() {
    const MenuTable& table = ops_.project().table;
    const int wanted = std::max(0, int(table.MenuCount));
    if (listMenus_->count() == wanted)
        return;
    SuppressChangeScope suppress;
    while (listMenus_->count() > wanted)
        delete listMenus_->takeItem(listMenus_->count() - 1);
    for (int row = listMenus_->count(); row < wanted; ++row)
        listMenus_->addItem(toQ(MenuLabel(row)));
}

void PropertyEditor::setHtmlText(QPlainTextEdit* edit, const std::string& html) {
    edit->setPlainText(toQ(HtmlToEditorText(html)));
    QTextCursor cursor = edit->textCursor();
    cursor.movePosition(QTextCursor::End);
    edit->setTextCursor(cursor);
}

void PropertyEditor::showMenuProperties(int32_t index) {
    const MenuTable& table = ops_.project().table;
    if (table.MenuCount <= 0 || !table.isRow(index))
        return;
    SuppressChangeScope suppress;
    syncMenuList();
    listMenus_->setCurrentRow(index);
    for (NumberBox& box : numbers_) {
        const int32_t value = (table.*box.column)[size_t(index)];
        box.edit->setText(QString::number(value));
        box.spin->setPosition(value);
    }
    setHtmlText(txtCapHTML_, table.MTC[size_t(index)]);
    setHtmlText(txtMenuHTML_, table.MTM[size_t(index)]);
    activateItems_[table.MA[size_t(index)] == 0 ? 0 : 1]->setChecked(true);
    chkFloat_->setChecked(table.FL[size_t(index)] == 1);
    // An exclusive pair cannot be unchecked directly: check the one that should be on.
    (table.OO[size_t(index)] == 0 ? radHorizontal_ : radVertical_)->setChecked(true);
    for (ColorRow& row : colors_) {
        const std::string& text = (table.*row.column)[size_t(index)];
        if (text != kTransparent) {
            row.swatch->setColor(ToQColor(HtmlToColor(text)));
            row.box->setChecked(false);
        } else {
            row.box->setChecked(true);
        }
        row.swatch->setVisible(!row.box->isChecked());
    }
}

void PropertyEditor::setEditingEnabled(bool enabled) {
    // The spin arrows go with their boxes, so nothing can reach a row while there is none.
    for (NumberBox& box : numbers_) {
        box.edit->setEnabled(enabled);
        box.spin->setEnabled(enabled);
    }
    radActivateOn_->setEnabled(enabled);
    chkFloat_->setEnabled(enabled);
    radHorizontal_->setEnabled(enabled);
    radVertical_->setEnabled(enabled);
    txtCapHTML_->setEnabled(enabled);
    if (!enabled) {
        SuppressChangeScope suppress;
        txtCapHTML_->setPlainText(ViewName(msg::kNoMenusInProject));
    }
    for (QAbstractButton* button : htmlButtons_)
        button->setEnabled(enabled);
    txtMenuHTML_->setEnabled(enabled);
    if (!enabled) {
        SuppressChangeScope suppress;
        txtMenuHTML_->setPlainText(ViewName(msg::kNoMenusInProject));
    }
    for (ColorRow& row : colors_) {
        row.label->setEnabled(enabled);
        row.swatch->setEnabled(enabled);
        row.box->setEnabled(enabled);
    }
}

CaptionSwapHook PropertyEditor::captionSwapHook() {
    return [this](int32_t row, const std::string& caption) {
        if (row != ops_.project().table.SelectedMenu)
            return;
        SuppressChangeScope suppress;
        setHtmlText(txtCapHTML_, caption);
    };
}

} // namespace qloom::gui
