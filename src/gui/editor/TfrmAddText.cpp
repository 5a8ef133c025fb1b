#include "gui/editor/TfrmAddText.h"

#include "gui/common/ColorSwatch.h"
#include "gui/common/EditorRules.h"
#include "gui/common/QtColor.h"
#include "gui/common/SettingsRules.h"
#include "gui/common/TextConv.h"
#include "model/Messages.h"
#include "ui_TfrmAddText.h"

namespace qloom::gui {

namespace {
constexpr std::string_view kHtmlFontSizes[] = {"1", "2", "3", "4", "5", "6", "7"};
}

TfrmAddText::TfrmAddText(MainWindowOps& ops, QWidget* parent)
    : ToolDialog(parent), ui(new Ui::TfrmAddText) {
    ui->setupUi(this);
    setWindowTitle(toQ(msg::kAddTextCaption));
    for (std::string_view name : kFontNameChoices)
        ui->cBoxFontName->addItem(toQ(name));
    for (std::string_view size : kHtmlFontSizes)
        ui->cBoxFontSize->addItem(toQ(size));
    ui->cBoxFontName->setEditText(QStringLiteral("Arial"));
    ui->cBoxFontSize->setEditText(QStringLiteral("2"));
    ui->panColor->setColor(Qt::white);

    connect(ui->btnAdd, &QPushButton::clicked, this, &TfrmAddText::btnAddClick);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TfrmAddText::BitBtn2Click);
    connect(ui->panColor, &ColorSwatch::clicked, this, &TfrmAddText::panColorClick);
    connect(ui->chkDefaultFace, &QCheckBox::toggled, this, &TfrmAddText::chkDefaultFaceClick);
    connect(ui->chkDefaultSize, &QCheckBox::toggled, this, &TfrmAddText::chkDefaultSizeClick);
    connect(ui->chkDefaultColor, &QCheckBox::toggled, this, &TfrmAddText::chkDefaultColorClick);
    colorPicker_ = &PickPlatformColor;
    ui->txtTEXT->setFocus();
    finishSetup(ops, ui->btnAdd, ui->BitBtn2, QSize(469, 196));
}

TfrmAddText::~TfrmAddText() = default;

void TfrmAddText::clearEntries() {
    ui->txtTEXT->clear();
    ui->txtTEXT->setFocus();
}

std::string TfrmAddText::fragment() const {
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

void TfrmAddText::btnAddClick() {
    insertAndClose(ui->txtTEXT, fragment());
}

void TfrmAddText::BitBtn2Click() {
    cancelAndClose(ui->txtTEXT);
}

void TfrmAddText::panColorClick() {
    if (!colorPicker_)
        return;
    if (const auto chosen = colorPicker_(ui->panColor->color(), this))
        ui->panColor->setColor(*chosen);
}

void TfrmAddText::chkDefaultFaceClick() {
    ui->cBoxFontName->setEnabled(!ui->chkDefaultFace->isChecked());
}

void TfrmAddText::chkDefaultSizeClick() {
    ui->cBoxFontSize->setEnabled(!ui->chkDefaultSize->isChecked());
}

void TfrmAddText::chkDefaultColorClick() {
    ui->panColor->setVisible(!ui->chkDefaultColor->isChecked());
}

} // namespace qloom::gui
