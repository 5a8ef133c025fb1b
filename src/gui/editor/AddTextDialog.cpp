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
    FillFontList(ui->cBoxFontName);
    for (std::string_view size : kHtmlFontSizes)
        ui->cBoxFontSize->addItem(toQ(size));
    ui->cBoxFontName->setEditText(QStringLiteral("Arial"));
    ui->cBoxFontSize->setEditText(QStringLiteral("2"));
    ui->panColor->setColor(Qt::white);

    connect(ui->btnAdd, &QPushButton::clicked, this, &AddTextDialog::onAddClicked);
    connect(ui->cancelButton, &QPushButton::clicked, this, &AddTextDialog::onCancelClicked);
    connect(ui->panColor, &ColorSwatch::clicked, this, &AddTextDialog::onColorClicked);
    connect(ui->chkDefaultFace, &QCheckBox::toggled, this, &AddTextDialog::onDefaultFaceClicked);
    connect(ui->chkDefaultSize, &QCheckBox::toggled, this, &AddTextDialog::onDefaultSizeClicked);
    connect(ui->chkDefaultColor, &QCheckBox::toggled, this, &AddTextDialog::onDefaultColorClicked);
    colorPicker_ = &PickPlatformColor;
    ui->txtTEXT->setFocus();
    finishSetup(session, ui->btnAdd, ui->cancelButton, QSize(469, 196));
}

AddTextDialog::~AddTextDialog() = default;

void AddTextDialog::clearEntries() {
    ui->txtTEXT->clear();
    ui->txtTEXT->setFocus();
}

std::string AddTextDialog::fragment() const {
    TextFragmentOptions o;
    o.fontFace = fromQ(ui->cBoxFontName->currentText());
    o.fontSize = fromQ(ui->cBoxFontSize->currentText());
    o.color = FromQColor(ui->panColor->color());
    o.defaultFace = ui->chkDefaultFace->isChecked();
    o.defaultSize = ui->chkDefaultSize->isChecked();
    o.defaultColor = ui->chkDefaultColor->isChecked();
    o.center = ui->chkCenter->isChecked();
    return TextFragment(EditorTextToHtml(fromQ(ui->txtTEXT->toPlainText())), o);
}

void AddTextDialog::onAddClicked() {
    insertAndClose(ui->txtTEXT, fragment());
}

void AddTextDialog::onCancelClicked() {
    cancelAndClose(ui->txtTEXT);
}

void AddTextDialog::onColorClicked() {
    if (!colorPicker_)
        return;
    if (const auto chosen = colorPicker_(ui->panColor->color(), this))
        ui->panColor->setColor(*chosen);
}

void AddTextDialog::onDefaultFaceClicked() {
    ui->cBoxFontName->setEnabled(!ui->chkDefaultFace->isChecked());
}

void AddTextDialog::onDefaultSizeClicked() {
    ui->cBoxFontSize->setEnabled(!ui->chkDefaultSize->isChecked());
}

void AddTextDialog::onDefaultColorClicked() {
    ui->panColor->setVisible(!ui->chkDefaultColor->isChecked());
}

} // namespace qloom::gui
