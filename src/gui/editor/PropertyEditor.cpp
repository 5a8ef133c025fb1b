#include "gui/editor/PropertyEditor.h"

#include "gui/common/ColorSwatch.h"
#include "gui/common/EditorRules.h"
#include "gui/common/PlainText.h"
#include "gui/common/ProjectHistory.h"
#include "gui/common/QtColor.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/UpDownControl.h"
#include "model/Conversions.h"
#include "model/Messages.h"
#include "ui_PropertyEditor.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>
#include <algorithm>
#include <utility>

namespace qloom::gui {
namespace {

constexpr std::string_view kTransparent = "transparent";
constexpr int kCaptionTab = 1;
constexpr int kMenuTab = 2;
constexpr int kColorTab = 3;

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

// The name a screen reader gives a number box: its label's text without the colon.
QString BoxName(const QLabel* label, const QLineEdit* edit) {
    if (!edit->accessibleName().isEmpty())
        return edit->accessibleName();
    QString text = label->text();
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

// Small drawings beside the orientation buttons: a caption with its body below or beside it.
QPixmap OrientationPicture(bool vertical) {
    const QSize size = vertical ? QSize(34, 36) : QSize(34, 28);
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    if (vertical) {
        painter.fillRect(QRect(1, 1, 8, 33), Qt::black);
        painter.fillRect(QRect(10, 1, 22, 33), QColor(0, 128, 128));
    } else {
        painter.fillRect(QRect(1, 1, 31, 7), Qt::black);
        painter.fillRect(QRect(1, 9, 31, 17), QColor(0, 128, 128));
    }
    return picture;
}

} // namespace

struct PropertyEditor::NumberBox {
    QLabel* label;
    QLineEdit* edit;
    UpDownControl* spin;
    NumberBoxRule rule;
    SpinRange range;
    int32_t Menu::*field;
};

struct PropertyEditor::ColorRow {
    ColorSwatch* swatch;
    QCheckBox* box;
    QLabel* label;
    std::string Menu::*field;
};

PropertyEditor::PropertyEditor(ProjectSessionApi& session, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::PropertyEditor>()), session_(session),
      colorPicker_(&PickPlatformColor) {
    ui->setupUi(this);
    layOut();
    ui->panHTMLTools->hide();
    // The desktop's font at its size: the tab row gets narrow padding, and elides rather than
    // showing scroll arrows while the window is too narrow for all four captions.
    ui->tabProp->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
    ui->tabProp->setUsesScrollButtons(false);
    ui->tabProp->setElideMode(Qt::ElideRight);
    ui->picHorizontal->setPixmap(OrientationPicture(false));
    ui->picVertical->setPixmap(OrientationPicture(true));

    numbers_ = {
        {ui->lblLeft, ui->txtLeft, ui->UpDown_Left, kLeftRule, kLeftSpin, &Menu::left},
        {ui->lblTop, ui->txtTop, ui->UpDown_Top, kTopRule, kTopSpin, &Menu::top},
        {ui->lblWidth, ui->txtWidth, ui->UpDown_Width, kWidthRule, kWidthSpin, &Menu::width},
        {ui->lblCapHeight, ui->txtCapHeight, ui->UpDown_CapHeight, kCapHeightRule, kCapHeightSpin,
         &Menu::captionHeight},
    };
    colors_ = {
        {ui->panCaptionColor, ui->chkTranspCC, ui->lblCaptionColor, &Menu::captionColor},
        {ui->panMenuColor, ui->chkTranspCM, ui->lblMenuColor, &Menu::bodyColor},
        {ui->panOwnerColor, ui->chkTranspCO, ui->lblOwnerColor, &Menu::bottomColor},
    };

    for (NumberBox& box : numbers_) {
        // The typed length is limited by the validator; a length limit on the box itself would
        // cut the "-100" the spin arrows can write.
        box.edit->setMaxLength(32767);
        box.edit->setValidator(new TypedLengthValidator(kNumberBoxMaxTyped, box.edit));
        box.spin->setRange(box.range.minimum, box.range.maximum);
        box.spin->setBoxName(BoxName(box.label, box.edit));
        box.edit->installEventFilter(this);
        NumberBox* boxPtr = &box;
        connect(box.edit, &QLineEdit::textChanged, this,
                [this, boxPtr] { numberBoxChange(*boxPtr); });
        connect(box.spin, &UpDownControl::stepRequested, this,
                [this, boxPtr](int delta) { spinStep(*boxPtr, delta); });
    }
    // The selection stays visible while a fragment dialog has the focus, so the user sees what
    // the inserted fragment will replace.
    for (QPlainTextEdit* edit : {ui->txtCapHTML, ui->txtMenuHTML}) {
        QPalette palette = edit->palette();
        for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            palette.setBrush(QPalette::Inactive, role, palette.brush(QPalette::Active, role));
        edit->setPalette(palette);
        // Ctrl+Z undoes the project history, which holds the typing of these boxes too; a
        // second history inside the box would undo behind its back.
        edit->setUndoRedoEnabled(false);
        edit->installEventFilter(this);
    }
    connect(ui->txtCapHTML, &QPlainTextEdit::textChanged, this,
            &PropertyEditor::onCaptionHtmlChanged);
    connect(ui->txtMenuHTML, &QPlainTextEdit::textChanged, this,
            &PropertyEditor::onMenuHtmlChanged);
    for (QRadioButton* item : {ui->radMouseOver, ui->radMouseClick})
        connect(item, &QRadioButton::clicked, this, &PropertyEditor::onActivationClicked);
    connect(ui->chkFloat, &QCheckBox::clicked, this, &PropertyEditor::onFloatClicked);
    connect(ui->radHorizontal, &QRadioButton::clicked, this, &PropertyEditor::onOrientationClicked);
    connect(ui->radVertical, &QRadioButton::clicked, this, &PropertyEditor::onOrientationClicked);
    for (ColorRow& row : colors_) {
        row.label->setBuddy(row.swatch); // a screen reader names the swatch after its label
        ColorSwatch* swatch = row.swatch;
        QCheckBox* box = row.box;
        connect(swatch, &ColorSwatch::clicked, this, [this, swatch] { chooseColor(swatch); });
        // toggled, not clicked: a load that changes the box must also hide or show the swatch.
        connect(box, &QCheckBox::toggled, this, [this, box] { onTransparentToggled(box); });
    }
    connect(ui->tabProp, &QTabWidget::currentChanged, this, &PropertyEditor::onTabChanged);
    ui->listMenus->viewport()->installEventFilter(this);
    ui->listMenus->installEventFilter(this);

    onTabChanged(ui->tabProp->currentIndex());

    connect(&session_, &ProjectSessionApi::projectReplaced, this,
            &PropertyEditor::onProjectReplaced);
    connect(&session_, &ProjectSessionApi::menusChanged, this, &PropertyEditor::onMenusChanged);
    connect(&session_, &ProjectSessionApi::selectionChanged, this,
            [this](int32_t row) { showMenuProperties(row); });
    connect(&session_, &ProjectSessionApi::captionSwapped, this, &PropertyEditor::onCaptionSwapped);
}

void PropertyEditor::onProjectReplaced() {
    const Project& table = session_.project();
    rebuildMenuList();
    setEditingEnabled(table.menuCount() > 0);
    if (table.menuCount() > 0)
        showMenuProperties(table.selected);
}

void PropertyEditor::onMenusChanged(const ProjectEdit& edit) {
    // Showing its own edit again would move the caret of the field being typed in.
    if (storing_ || edit.kind() == ProjectEdit::Kind::ReplaceSettings)
        return;
    const Project& table = session_.project();
    syncMenuList();
    setEditingEnabled(table.menuCount() > 0);
    if (table.isRow(table.selected))
        showMenuProperties(table.selected);
}

void PropertyEditor::onCaptionSwapped(int32_t row) {
    // Saving swapped the default caption for the orientation: the box shows the table's caption
    // without storing it as an edit.
    const Project& table = session_.project();
    if (row != table.selected || !table.isRow(row))
        return;
    const QSignalBlocker blocker(ui->txtCapHTML);
    setHtmlText(ui->txtCapHTML, table.menus[size_t(row)].captionHtml);
}

std::vector<QSignalBlocker> PropertyEditor::blockFieldSignals() {
    std::vector<QSignalBlocker> blockers;
    blockers.reserve(numbers_.size() + colors_.size() + 2);
    for (NumberBox& box : numbers_)
        blockers.emplace_back(box.edit);
    blockers.emplace_back(ui->txtCapHTML);
    blockers.emplace_back(ui->txtMenuHTML);
    for (ColorRow& row : colors_)
        blockers.emplace_back(row.box);
    return blockers;
}

PropertyEditor::~PropertyEditor() = default;

bool PropertyEditor::canStore() const {
    const Project& table = session_.project();
    return table.isRow(table.selected);
}

void PropertyEditor::numberBoxChange(NumberBox& box) {
    if (!canStore())
        return;
    const Project& table = session_.project();
    const int32_t cell = table.menus[size_t(table.selected)].*box.field;
    store(box.field, NumberFromBox(fromQ(box.edit->text()), cell, box.rule), true);
}

void PropertyEditor::store(int32_t Menu::*field, int32_t value, bool typing) {
    const Project& project = session_.project();
    storing_ = true;
    session_.edit(ProjectEdit::setCell(project, project.selected, field, value), typing);
    storing_ = false;
    // Every edit but "Float" makes the Update Preview button bold.
    if (field != &Menu::floating)
        session_.setPreviewStale(true);
}

void PropertyEditor::store(std::string Menu::*field, std::string value, bool typing) {
    const Project& project = session_.project();
    storing_ = true;
    session_.edit(ProjectEdit::setCell(project, project.selected, field, std::move(value)), typing);
    storing_ = false;
    session_.setPreviewStale(true);
}

void PropertyEditor::spinStep(NumberBox& box, int delta) {
    if (!box.edit->isEnabled())
        return;
    const int32_t next = SpinStep(fromQ(box.edit->text()), box.spin->position(), delta, box.range);
    box.spin->setPosition(next);
    box.edit->setText(QString::number(next));
}

void PropertyEditor::onCaptionHtmlChanged() {
    if (!canStore())
        return;
    store(&Menu::captionHtml, EditorTextToHtml(fromQ(PlainTextOf(ui->txtCapHTML))), true);
}

void PropertyEditor::onMenuHtmlChanged() {
    if (!canStore())
        return;
    store(&Menu::bodyHtml, EditorTextToHtml(fromQ(PlainTextOf(ui->txtMenuHTML))), true);
}

void PropertyEditor::onActivationClicked() {
    if (!canStore())
        return;
    store(&Menu::activation, ui->radMouseOver->isChecked() ? 0 : 1, false);
}

void PropertyEditor::onFloatClicked() {
    if (!canStore())
        return;
    store(&Menu::floating, ui->chkFloat->isChecked() ? 1 : 0, false);
}

void PropertyEditor::onOrientationClicked() {
    if (!canStore())
        return;
    store(&Menu::orientation, ui->radHorizontal->isChecked() ? 0 : 1, false);
}

void PropertyEditor::chooseColor(ColorSwatch* swatch) {
    auto row = std::find_if(colors_.begin(), colors_.end(),
                            [swatch](const ColorRow& r) { return r.swatch == swatch; });
    if (row == colors_.end())
        return;
    session_.setHelpAvailable(false);
    const std::optional<QColor> chosen = colorPicker_(swatch->color(), window());
    session_.setHelpAvailable(true);
    if (!chosen)
        return;
    swatch->setColor(*chosen);
    if (!canStore())
        return;
    store(row->field, ColorToHtml(FromQColor(*chosen)), false);
}

void PropertyEditor::onTransparentToggled(QCheckBox* box) {
    auto row = std::find_if(colors_.begin(), colors_.end(),
                            [box](const ColorRow& r) { return r.box == box; });
    if (row == colors_.end())
        return;
    row->swatch->setVisible(!box->isChecked());
    if (!canStore())
        return;
    store(row->field,
          box->isChecked() ? std::string(kTransparent)
                           : ColorToHtml(FromQColor(row->swatch->color())),
          false);
}

void PropertyEditor::onTabChanged(int index) {
    const bool html = index == kCaptionTab || index == kMenuTab;
    // One row of tool buttons serves both HTML tabs: it moves below the box being shown.
    if (html) {
        QWidget* page = ui->tabProp->widget(index);
        if (auto* column = qobject_cast<QVBoxLayout*>(page->layout()))
            column->addWidget(ui->panHTMLTools);
    }
    ui->panHTMLTools->setVisible(html);
}

void PropertyEditor::layOut() {
    // The list and the tabs share the width; the list keeps room for "Menu 10000".
    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    ui->listMenus->setMinimumWidth(
        ui->listMenus->fontMetrics().horizontalAdvance(QStringLiteral("Menu 10000")) + 24);
    ui->listMenus->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    main->addWidget(ui->listMenus, 1);
    main->addWidget(ui->tabProp, 3);

    // A number box with its arrows, joined.
    const auto spinRow = [](QLineEdit* text, QWidget* arrows) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        text->setMinimumWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("-000000")));
        row->addWidget(text);
        row->addWidget(arrows);
        row->addStretch(1);
        return row;
    };
    auto* position = new QGridLayout(ui->tabPosition);
    const struct {
        QLabel* label;
        QLineEdit* text;
        QWidget* arrows;
    } numbers[] = {{ui->lblLeft, ui->txtLeft, ui->UpDown_Left},
                   {ui->lblTop, ui->txtTop, ui->UpDown_Top},
                   {ui->lblWidth, ui->txtWidth, ui->UpDown_Width},
                   {ui->lblCapHeight, ui->txtCapHeight, ui->UpDown_CapHeight}};
    int row = 0;
    for (const auto& number : numbers) {
        position->addWidget(number.label, row, 0);
        position->addLayout(spinRow(number.text, number.arrows), row, 1);
        ++row;
    }
    auto* activation = new QVBoxLayout(ui->radActivateOn);
    activation->addWidget(ui->radMouseOver);
    activation->addWidget(ui->radMouseClick);
    position->addWidget(ui->radActivateOn, 0, 2, 3, 1);
    position->addWidget(ui->chkFloat, 3, 2);
    auto* orientation = new QHBoxLayout(ui->grpOrientation);
    orientation->addWidget(ui->radHorizontal);
    orientation->addWidget(ui->picHorizontal);
    orientation->addStretch(1);
    orientation->addWidget(ui->radVertical);
    orientation->addWidget(ui->picVertical);
    position->addWidget(ui->grpOrientation, 4, 0, 1, 3);
    position->setRowStretch(5, 1);
    position->setColumnStretch(1, 1);

    // The HTML boxes take all the room the tab has; the tool buttons go below the shown one.
    for (auto [page, box] : {std::pair{ui->tabCaptionHTML, ui->txtCapHTML},
                             std::pair{ui->tabMenuHTML, ui->txtMenuHTML}}) {
        auto* column = new QVBoxLayout(page);
        column->setContentsMargins(4, 4, 4, 4);
        column->addWidget(box, 1);
    }
    auto* tools = new QHBoxLayout(ui->panHTMLTools);
    tools->setContentsMargins(0, 0, 0, 0);
    for (QWidget* button : {ui->btnAddNEWLINE, ui->btnAddText, ui->btnAddURL, ui->btnAddimage})
        tools->addWidget(button);
    ui->panHTMLTools->setFrameShape(QFrame::NoFrame);

    auto* colors = new QGridLayout(ui->tabColor);
    const struct {
        QLabel* label;
        QWidget* swatch;
        QWidget* transparent;
    } swatches[] = {{ui->lblCaptionColor, ui->panCaptionColor, ui->chkTranspCC},
                    {ui->lblMenuColor, ui->panMenuColor, ui->chkTranspCM},
                    {ui->lblOwnerColor, ui->panOwnerColor, ui->chkTranspCO}};
    row = 0;
    for (const auto& swatch : swatches) {
        colors->addWidget(swatch.label, row, 0);
        colors->addWidget(swatch.swatch, row, 1);
        colors->addWidget(swatch.transparent, row, 2);
        ++row;
    }
    colors->setRowStretch(row, 1);
    colors->setColumnStretch(3, 1);
}

int PropertyEditor::listSelectedRow() const {
    const auto selected = ui->listMenus->selectedItems();
    return selected.isEmpty() ? -1 : ui->listMenus->row(selected.first());
}

void PropertyEditor::keepShownRowSelected() {
    // A press below the last row, or Ctrl with a click or the space bar, would leave no row
    // selected while the editor still shows one, and the edits that follow would reach no row.
    const Project& table = session_.project();
    if (listSelectedRow() < 0 && table.isRow(table.selected))
        ui->listMenus->setCurrentRow(table.selected);
}

void PropertyEditor::onMenuListPressed() {
    session_.select(listSelectedRow(), SelectionSource::Editor);
}

void PropertyEditor::onMenuListReleased() {
    // A release below the last row names no menu; the press has already said so.
    const int row = listSelectedRow();
    if (row >= 0 && row != session_.project().selected)
        session_.select(row, SelectionSource::Editor);
}

void PropertyEditor::onMenuListKeyReleased() {
    session_.select(listSelectedRow(), SelectionSource::Editor);
}

bool PropertyEditor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == ui->listMenus->viewport() &&
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
            onMenuListReleased();
        else
            onMenuListPressed();
        return true;
    }
    if (type == QEvent::FocusOut && watched != ui->listMenus) {
        // Typing in a field is one step until the field loses the focus.
        session_.history().closeStep();
        return false;
    }
    if (watched == ui->listMenus && type == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        Q_EMIT deleteRequested();
        return true;
    }
    if (watched == ui->listMenus && type == QEvent::KeyRelease) {
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            keepShownRowSelected();
            onMenuListKeyReleased();
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
    return QWidget::eventFilter(watched, event);
}

void PropertyEditor::syncMenuList() {
    const Project& table = session_.project();
    const int wanted = std::max(0, int(table.menuCount()));
    if (ui->listMenus->count() == wanted)
        return;
    while (ui->listMenus->count() > wanted)
        delete ui->listMenus->takeItem(ui->listMenus->count() - 1);
    for (int row = ui->listMenus->count(); row < wanted; ++row)
        ui->listMenus->addItem(toQ(MenuLabel(row)));
}

void PropertyEditor::setHtmlText(QPlainTextEdit* edit, const std::string& html) {
    edit->setPlainText(toQ(HtmlToEditorText(html)));
    QTextCursor cursor = edit->textCursor();
    cursor.movePosition(QTextCursor::End);
    edit->setTextCursor(cursor);
}

void PropertyEditor::showMenuProperties(int32_t index) {
    const Project& project = session_.project();
    if (!project.isRow(index))
        return;
    const Menu& menu = project.menus[size_t(index)];
    const std::vector<QSignalBlocker> blocked = blockFieldSignals();
    syncMenuList();
    ui->listMenus->setCurrentRow(index);
    for (NumberBox& box : numbers_) {
        const int32_t value = menu.*box.field;
        box.edit->setText(QString::number(value));
        box.spin->setPosition(value);
    }
    setHtmlText(ui->txtCapHTML, menu.captionHtml);
    setHtmlText(ui->txtMenuHTML, menu.bodyHtml);
    (menu.activation == 0 ? ui->radMouseOver : ui->radMouseClick)->setChecked(true);
    ui->chkFloat->setChecked(menu.floating == 1);
    // An exclusive pair cannot be unchecked directly: check the one that should be on.
    (menu.orientation == 0 ? ui->radHorizontal : ui->radVertical)->setChecked(true);
    for (ColorRow& row : colors_) {
        const std::string& text = menu.*row.field;
        const bool transparent = text == kTransparent;
        if (!transparent)
            row.swatch->setColor(ToQColor(HtmlToColor(text)));
        row.box->setChecked(transparent);
        row.swatch->setVisible(!transparent);
    }
}

void PropertyEditor::setEditingEnabled(bool enabled) {
    // The spin arrows go with their boxes, so nothing can reach a row while there is none.
    for (NumberBox& box : numbers_) {
        box.edit->setEnabled(enabled);
        box.spin->setEnabled(enabled);
    }
    ui->radActivateOn->setEnabled(enabled);
    ui->chkFloat->setEnabled(enabled);
    ui->radHorizontal->setEnabled(enabled);
    ui->radVertical->setEnabled(enabled);
    for (QAbstractButton* button :
         {ui->btnAddNEWLINE, ui->btnAddText, ui->btnAddURL, ui->btnAddimage})
        button->setEnabled(enabled);
    for (QPlainTextEdit* edit : {ui->txtCapHTML, ui->txtMenuHTML}) {
        edit->setEnabled(enabled);
        if (!enabled) {
            const QSignalBlocker blocker(edit);
            edit->setPlainText(uiText(msg::kNoMenusInProject));
        }
    }
    for (ColorRow& row : colors_) {
        row.label->setEnabled(enabled);
        row.swatch->setEnabled(enabled);
        row.box->setEnabled(enabled);
    }
}

void PropertyEditor::rebuildMenuList() {
    ui->listMenus->clear();
    syncMenuList();
}

void PropertyEditor::placeInTabOrderAfter(QWidget* before) {
    QWidget* previous = before;
    for (QWidget* next :
         std::initializer_list<QWidget*>{ui->listMenus, ui->tabProp, ui->btnAddNEWLINE,
                                         ui->btnAddText, ui->btnAddURL, ui->btnAddimage}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

PropertyEditor::HtmlToolButtons PropertyEditor::htmlToolButtons() const {
    return {ui->btnAddNEWLINE, ui->btnAddText, ui->btnAddURL, ui->btnAddimage};
}

QPlainTextEdit* PropertyEditor::activeHtmlEdit() const {
    switch (ui->tabProp->currentIndex()) {
    case kCaptionTab:
        return ui->txtCapHTML;
    case kMenuTab:
        return ui->txtMenuHTML;
    default:
        return nullptr;
    }
}

void PropertyEditor::showFixPlace(FixPlace place, int32_t offset) {
    QWidget* field = nullptr;
    int tab = 0;
    switch (place) {
    case FixPlace::ProjectSettings: // not on this form: the main window opens the dialog
        return;
    case FixPlace::LeftField:
        field = ui->txtLeft;
        break;
    case FixPlace::CaptionHeightField:
        field = ui->txtCapHeight;
        break;
    case FixPlace::WidthField:
        field = ui->txtWidth;
        break;
    case FixPlace::CaptionHtml:
        tab = kCaptionTab;
        field = ui->txtCapHTML;
        break;
    case FixPlace::MenuHtml:
        tab = kMenuTab;
        field = ui->txtMenuHTML;
        break;
    case FixPlace::CaptionColor:
    case FixPlace::MenuColor: {
        tab = kColorTab;
        const ColorRow& row = colors_[place == FixPlace::CaptionColor ? 0 : 1];
        // A transparent colour has no swatch to click: its box comes first.
        field = row.swatch->isHidden() ? static_cast<QWidget*>(row.box) : row.swatch;
        break;
    }
    }
    ui->tabProp->setCurrentIndex(tab);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    const Project& project = session_.project();
    auto* box = qobject_cast<QPlainTextEdit*>(field);
    if (!box || offset < 0 || !project.isRow(project.selected))
        return;
    // The box shows the HTML with its CR LF pairs as single line breaks, so the cursor position
    // is the length of the shown text before the offset. A finding made before the last few
    // keystrokes may point past the end: the cursor then goes to the end.
    const std::string& html = place == FixPlace::CaptionHtml
                                  ? project.menus[size_t(project.selected)].captionHtml
                                  : project.menus[size_t(project.selected)].bodyHtml;
    const size_t end = std::min(html.size(), size_t(offset));
    const int position = int(toQ(HtmlToEditorText(std::string_view(html).substr(0, end))).size());
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(std::min(position, box->document()->characterCount() - 1));
    box->setTextCursor(cursor);
    box->ensureCursorVisible();
}

} // namespace qloom::gui
