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
#include <QStyle>
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
// Room around the HTML boxes inside their tabs.
constexpr int kHtmlPageMargin = 4;

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
    ui->htmlToolsPanel->hide();
    // The desktop's font at its size: the tab row gets narrow padding, and elides rather than
    // showing scroll arrows while the window is too narrow for all four captions.
    ui->propertyTabs->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
    ui->propertyTabs->setUsesScrollButtons(false);
    ui->propertyTabs->setElideMode(Qt::ElideRight);
    ui->horizontalPicture->setPixmap(OrientationPicture(false));
    ui->verticalPicture->setPixmap(OrientationPicture(true));

    numbers_ = {
        {ui->leftLabel, ui->leftEdit, ui->leftUpDown, kLeftRule, kLeftSpin, &Menu::left},
        {ui->topLabel, ui->topEdit, ui->topUpDown, kTopRule, kTopSpin, &Menu::top},
        {ui->widthLabel, ui->widthEdit, ui->widthUpDown, kWidthRule, kWidthSpin, &Menu::width},
        {ui->captionHeightLabel, ui->captionHeightEdit, ui->captionHeightUpDown, kCapHeightRule,
         kCapHeightSpin, &Menu::captionHeight},
    };
    colors_ = {
        {ui->captionColorSwatch, ui->captionTransparentCheck, ui->captionColorLabel,
         &Menu::captionColor},
        {ui->bodyColorSwatch, ui->bodyTransparentCheck, ui->bodyColorLabel, &Menu::bodyColor},
        {ui->bottomColorSwatch, ui->bottomTransparentCheck, ui->bottomColorLabel,
         &Menu::bottomColor},
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
                [this, boxPtr] { onNumberBoxEdited(*boxPtr); });
        connect(box.spin, &UpDownControl::stepRequested, this,
                [this, boxPtr](int delta) { spinStep(*boxPtr, delta); });
    }
    // The selection stays visible while a fragment dialog has the focus, so the user sees what
    // the inserted fragment will replace.
    for (QPlainTextEdit* edit : {ui->captionHtmlEdit, ui->bodyHtmlEdit}) {
        QPalette palette = edit->palette();
        for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            palette.setBrush(QPalette::Inactive, role, palette.brush(QPalette::Active, role));
        edit->setPalette(palette);
        // Ctrl+Z undoes the project history, which holds the typing of these boxes too; a
        // second history inside the box would undo behind its back.
        edit->setUndoRedoEnabled(false);
        edit->installEventFilter(this);
    }
    connect(ui->captionHtmlEdit, &QPlainTextEdit::textChanged, this,
            &PropertyEditor::onCaptionHtmlChanged);
    connect(ui->bodyHtmlEdit, &QPlainTextEdit::textChanged, this,
            &PropertyEditor::onBodyHtmlChanged);
    for (QRadioButton* item : {ui->mouseOverRadio, ui->mouseClickRadio})
        connect(item, &QRadioButton::clicked, this, &PropertyEditor::onActivationClicked);
    connect(ui->floatingCheck, &QCheckBox::clicked, this, &PropertyEditor::onFloatingClicked);
    connect(ui->horizontalRadio, &QRadioButton::clicked, this,
            &PropertyEditor::onOrientationClicked);
    connect(ui->verticalRadio, &QRadioButton::clicked, this, &PropertyEditor::onOrientationClicked);
    for (ColorRow& row : colors_) {
        row.label->setBuddy(row.swatch); // a screen reader names the swatch after its label
        ColorSwatch* swatch = row.swatch;
        QCheckBox* box = row.box;
        connect(swatch, &ColorSwatch::clicked, this, [this, swatch] { chooseColor(swatch); });
        // toggled, not clicked: a load that changes the box must also hide or show the swatch.
        connect(box, &QCheckBox::toggled, this, [this, box] { onTransparentToggled(box); });
    }
    connect(ui->propertyTabs, &QTabWidget::currentChanged, this, &PropertyEditor::onTabChanged);
    ui->menuList->viewport()->installEventFilter(this);
    ui->menuList->installEventFilter(this);

    onTabChanged(ui->propertyTabs->currentIndex());

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
    const QSignalBlocker blocker(ui->captionHtmlEdit);
    setHtmlText(ui->captionHtmlEdit, table.menus[size_t(row)].captionHtml);
}

std::vector<QSignalBlocker> PropertyEditor::blockFieldSignals() {
    std::vector<QSignalBlocker> blockers;
    blockers.reserve(numbers_.size() + colors_.size() + 2);
    for (NumberBox& box : numbers_)
        blockers.emplace_back(box.edit);
    blockers.emplace_back(ui->captionHtmlEdit);
    blockers.emplace_back(ui->bodyHtmlEdit);
    for (ColorRow& row : colors_)
        blockers.emplace_back(row.box);
    return blockers;
}

PropertyEditor::~PropertyEditor() = default;

bool PropertyEditor::canStore() const {
    const Project& table = session_.project();
    return table.isRow(table.selected);
}

void PropertyEditor::onNumberBoxEdited(NumberBox& box) {
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
    store(&Menu::captionHtml, EditorTextToHtml(fromQ(PlainTextOf(ui->captionHtmlEdit))), true);
}

void PropertyEditor::onBodyHtmlChanged() {
    if (!canStore())
        return;
    store(&Menu::bodyHtml, EditorTextToHtml(fromQ(PlainTextOf(ui->bodyHtmlEdit))), true);
}

void PropertyEditor::onActivationClicked() {
    if (!canStore())
        return;
    store(&Menu::activation, ui->mouseOverRadio->isChecked() ? 0 : 1, false);
}

void PropertyEditor::onFloatingClicked() {
    if (!canStore())
        return;
    store(&Menu::floating, ui->floatingCheck->isChecked() ? 1 : 0, false);
}

void PropertyEditor::onOrientationClicked() {
    if (!canStore())
        return;
    store(&Menu::orientation, ui->horizontalRadio->isChecked() ? 0 : 1, false);
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
        QWidget* page = ui->propertyTabs->widget(index);
        if (auto* column = qobject_cast<QVBoxLayout*>(page->layout()))
            column->addWidget(ui->htmlToolsPanel);
    }
    ui->htmlToolsPanel->setVisible(html);
}

void PropertyEditor::layOut() {
    // The list and the tabs share the width; the list keeps room for "Menu 10000".
    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    ui->menuList->setMinimumWidth(
        ui->menuList->fontMetrics().horizontalAdvance(QStringLiteral("Menu 10000")) + 24);
    ui->menuList->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    main->addWidget(ui->menuList, 1);
    main->addWidget(ui->propertyTabs, 3);

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
    auto* position = new QGridLayout(ui->positionPage);
    const struct {
        QLabel* label;
        QLineEdit* text;
        QWidget* arrows;
    } numbers[] = {{ui->leftLabel, ui->leftEdit, ui->leftUpDown},
                   {ui->topLabel, ui->topEdit, ui->topUpDown},
                   {ui->widthLabel, ui->widthEdit, ui->widthUpDown},
                   {ui->captionHeightLabel, ui->captionHeightEdit, ui->captionHeightUpDown}};
    int row = 0;
    for (const auto& number : numbers) {
        position->addWidget(number.label, row, 0);
        position->addLayout(spinRow(number.text, number.arrows), row, 1);
        ++row;
    }
    auto* activation = new QVBoxLayout(ui->activationGroup);
    activation->addWidget(ui->mouseOverRadio);
    activation->addWidget(ui->mouseClickRadio);
    position->addWidget(ui->activationGroup, 0, 2, 3, 1);
    position->addWidget(ui->floatingCheck, 3, 2);
    auto* orientation = new QHBoxLayout(ui->orientationGroup);
    orientation->addWidget(ui->horizontalRadio);
    orientation->addWidget(ui->horizontalPicture);
    orientation->addStretch(1);
    orientation->addWidget(ui->verticalRadio);
    orientation->addWidget(ui->verticalPicture);
    position->addWidget(ui->orientationGroup, 4, 0, 1, 3);
    position->setRowStretch(5, 1);
    position->setColumnStretch(1, 1);

    // The HTML boxes take all the room the tab has; the tool buttons go below the shown one.
    for (auto [page, box] : {std::pair{ui->captionHtmlPage, ui->captionHtmlEdit},
                             std::pair{ui->bodyHtmlPage, ui->bodyHtmlEdit}}) {
        auto* column = new QVBoxLayout(page);
        column->setContentsMargins(kHtmlPageMargin, kHtmlPageMargin, kHtmlPageMargin,
                                   kHtmlPageMargin);
        column->addWidget(box, 1);
    }
    auto* tools = new QHBoxLayout(ui->htmlToolsPanel);
    tools->setContentsMargins(0, 0, 0, 0);
    for (QWidget* button :
         {ui->addLineBreakButton, ui->addTextButton, ui->addLinkButton, ui->addImageButton})
        tools->addWidget(button);
    ui->htmlToolsPanel->setFrameShape(QFrame::NoFrame);
    // The tool row shows on the HTML tabs only. The tabs keep room for it from the start, so
    // the window does not widen the first time an HTML tab is chosen.
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    ui->propertyTabs->setMinimumWidth(ui->htmlToolsPanel->minimumSizeHint().width() +
                                      2 * kHtmlPageMargin + frame);

    auto* colors = new QGridLayout(ui->colorPage);
    const struct {
        QLabel* label;
        QWidget* swatch;
        QWidget* transparent;
    } swatches[] = {{ui->captionColorLabel, ui->captionColorSwatch, ui->captionTransparentCheck},
                    {ui->bodyColorLabel, ui->bodyColorSwatch, ui->bodyTransparentCheck},
                    {ui->bottomColorLabel, ui->bottomColorSwatch, ui->bottomTransparentCheck}};
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

int PropertyEditor::selectedMenuRow() const {
    const auto selected = ui->menuList->selectedItems();
    return selected.isEmpty() ? -1 : ui->menuList->row(selected.first());
}

void PropertyEditor::keepShownRowSelected() {
    // A press below the last row, or Ctrl with a click or the space bar, would leave no row
    // selected while the editor still shows one, and the edits that follow would reach no row.
    const Project& table = session_.project();
    if (selectedMenuRow() < 0 && table.isRow(table.selected))
        ui->menuList->setCurrentRow(table.selected);
}

void PropertyEditor::onMenuListPressed() {
    session_.select(selectedMenuRow(), SelectionSource::Editor);
}

void PropertyEditor::onMenuListReleased() {
    // A release below the last row names no menu; the press has already said so.
    const int row = selectedMenuRow();
    if (row >= 0 && row != session_.project().selected)
        session_.select(row, SelectionSource::Editor);
}

void PropertyEditor::onMenuListKeyReleased() {
    session_.select(selectedMenuRow(), SelectionSource::Editor);
}

bool PropertyEditor::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == ui->menuList->viewport() &&
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
    if (type == QEvent::FocusOut && watched != ui->menuList) {
        // Typing in a field is one step until the field loses the focus.
        session_.history().closeStep();
        return false;
    }
    if (watched == ui->menuList && type == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        Q_EMIT deleteRequested();
        return true;
    }
    if (watched == ui->menuList && type == QEvent::KeyRelease) {
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
    if (ui->menuList->count() == wanted)
        return;
    while (ui->menuList->count() > wanted)
        delete ui->menuList->takeItem(ui->menuList->count() - 1);
    for (int row = ui->menuList->count(); row < wanted; ++row)
        ui->menuList->addItem(toQ(MenuLabel(row)));
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
    ui->menuList->setCurrentRow(index);
    for (NumberBox& box : numbers_) {
        const int32_t value = menu.*box.field;
        box.edit->setText(QString::number(value));
        box.spin->setPosition(value);
    }
    setHtmlText(ui->captionHtmlEdit, menu.captionHtml);
    setHtmlText(ui->bodyHtmlEdit, menu.bodyHtml);
    (menu.activation == 0 ? ui->mouseOverRadio : ui->mouseClickRadio)->setChecked(true);
    ui->floatingCheck->setChecked(menu.floating == 1);
    // An exclusive pair cannot be unchecked directly: check the one that should be on.
    (menu.orientation == 0 ? ui->horizontalRadio : ui->verticalRadio)->setChecked(true);
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
    ui->activationGroup->setEnabled(enabled);
    ui->floatingCheck->setEnabled(enabled);
    ui->horizontalRadio->setEnabled(enabled);
    ui->verticalRadio->setEnabled(enabled);
    for (QAbstractButton* button :
         {ui->addLineBreakButton, ui->addTextButton, ui->addLinkButton, ui->addImageButton})
        button->setEnabled(enabled);
    for (QPlainTextEdit* edit : {ui->captionHtmlEdit, ui->bodyHtmlEdit}) {
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
    ui->menuList->clear();
    syncMenuList();
}

void PropertyEditor::placeInTabOrderAfter(QWidget* before) {
    QWidget* previous = before;
    for (QWidget* next : std::initializer_list<QWidget*>{ui->menuList, ui->propertyTabs,
                                                         ui->addLineBreakButton, ui->addTextButton,
                                                         ui->addLinkButton, ui->addImageButton}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

PropertyEditor::HtmlToolButtons PropertyEditor::htmlToolButtons() const {
    return {ui->addLineBreakButton, ui->addTextButton, ui->addLinkButton, ui->addImageButton};
}

QPlainTextEdit* PropertyEditor::activeHtmlEdit() const {
    switch (ui->propertyTabs->currentIndex()) {
    case kCaptionTab:
        return ui->captionHtmlEdit;
    case kMenuTab:
        return ui->bodyHtmlEdit;
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
        field = ui->leftEdit;
        break;
    case FixPlace::CaptionHeightField:
        field = ui->captionHeightEdit;
        break;
    case FixPlace::WidthField:
        field = ui->widthEdit;
        break;
    case FixPlace::CaptionHtml:
        tab = kCaptionTab;
        field = ui->captionHtmlEdit;
        break;
    case FixPlace::MenuHtml:
        tab = kMenuTab;
        field = ui->bodyHtmlEdit;
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
    ui->propertyTabs->setCurrentIndex(tab);
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
