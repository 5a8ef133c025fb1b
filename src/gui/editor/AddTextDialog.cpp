#include "gui/editor/internal/AddTextDialog.h"

#include "gui/common/ColorSwatch.h"
#include "gui/common/EditorRules.h"
#include "gui/common/FontList.h"
#include "gui/common/QtColor.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "model/Messages.h"
#include "ui_AddTextDialog.h"

namespace qloom::gui {

namespace {
constexpr std::string_view kHtmlFontSizes[] = {"1", "2", "3", "4", "5", "6", "7"};
}

AddTextDialog::AddTextDialog(ProjectSessionApi& session, QWidget* parent)
    : ToolDialog(parent), ui(new Ui::AddTextDialog) {
    ui->setupUi(this);
    setWindowTitle(uiText(msg::kAddTextCaption));
    FillFontList(ui->fontBox);
    for (std::string_view size : kHtmlFontSizes)
        ui->fontSizeBox->addItem(toQ(size));
    ui->fontBox->setEditText(QStringLiteral("Arial"));
    ui->fontSizeBox->setEditText(QStringLiteral("2"));
    ui->colorSwatch->setColor(Qt::white);

    connect(ui->addButton, &QPushButton::clicked, this, &AddTextDialog::onAddClicked);
    connect(ui->cancelButton, &QPushButton::clicked, this, &AddTextDialog::onCancelClicked);
    connect(ui->colorSwatch, &ColorSwatch::clicked, this, &AddTextDialog::onColorClicked);
    connect(ui->defaultFontCheck, &QCheckBox::toggled, this, &AddTextDialog::onDefaultFontToggled);
    connect(ui->defaultSizeCheck, &QCheckBox::toggled, this, &AddTextDialog::onDefaultSizeToggled);
    connect(ui->defaultColorCheck, &QCheckBox::toggled, this,
            &AddTextDialog::onDefaultColorToggled);
    colorPicker_ = &PickPlatformColor;
    ui->textEdit->setFocus();
    finishSetup(session, ui->addButton, ui->cancelButton, QSize(469, 196));
}

AddTextDialog::~AddTextDialog() = default;

void AddTextDialog::clearEntries() {
    ui->textEdit->clear();
    ui->textEdit->setFocus();
}

std::string AddTextDialog::fragment() const {
    TextFragmentOptions o;
    o.fontFace = fromQ(ui->fontBox->currentText());
    o.fontSize = fromQ(ui->fontSizeBox->currentText());
    o.color = FromQColor(ui->colorSwatch->color());
    o.defaultFace = ui->defaultFontCheck->isChecked();
    o.defaultSize = ui->defaultSizeCheck->isChecked();
    o.defaultColor = ui->defaultColorCheck->isChecked();
    o.center = ui->centerCheck->isChecked();
    return TextFragment(EditorTextToHtml(fromQ(ui->textEdit->toPlainText())), o);
}

void AddTextDialog::onAddClicked() {
    insertAndClose(ui->textEdit, fragment());
}

void AddTextDialog::onCancelClicked() {
    cancelAndClose(ui->textEdit);
}

void AddTextDialog::onColorClicked() {
    if (!colorPicker_)
        return;
    if (const auto chosen = colorPicker_(ui->colorSwatch->color(), this))
        ui->colorSwatch->setColor(*chosen);
}

void AddTextDialog::onDefaultFontToggled() {
    ui->fontBox->setEnabled(!ui->defaultFontCheck->isChecked());
}

void AddTextDialog::onDefaultSizeToggled() {
    ui->fontSizeBox->setEnabled(!ui->defaultSizeCheck->isChecked());
}

void AddTextDialog::onDefaultColorToggled() {
    ui->colorSwatch->setVisible(!ui->defaultColorCheck->isChecked());
}

} // namespace qloom::gui
