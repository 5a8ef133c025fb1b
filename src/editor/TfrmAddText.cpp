#include "editor/TfrmAddText.h"

#include "editor/ColorSwatch.h"
#include "editor/DialogPlacement.h"
#include "editor/EditorRules.h"
#include "editor/HelpKeyFilter.h"
#include "editor/QtColor.h"
#include "model/Messages.h"
#include "project/MainWindowOps.h"
#include "project/SettingsRules.h"
#include "project/TextConv.h"
#include "ui_TfrmAddText.h"

#include <QShowEvent>
#include <QStyle>

namespace qloom::gui {

namespace {
constexpr std::string_view kHtmlFontSizes[] = {"1", "2", "3", "4", "5", "6", "7"};
}

TfrmAddText::TfrmAddText(MainWindowOps& ops, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), ui(new Ui::TfrmAddText) {
    ui->setupUi(this);
    setWindowTitle(toQ(msg::kAddTextCaption));
    for (std::string_view name : kFontNameChoices)
        ui->cBoxFontName->addItem(toQ(name));
    for (std::string_view size : kHtmlFontSizes)
        ui->cBoxFontSize->addItem(toQ(size));
    ui->cBoxFontName->setEditText(QStringLiteral("Arial"));
    ui->cBoxFontSize->setEditText(QStringLiteral("2"));
    ui->panColor->setColor(Qt::white);
    ui->btnAdd->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    connect(ui->btnAdd, &QPushButton::clicked, this, &TfrmAddText::btnAddClick);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TfrmAddText::BitBtn2Click);
    connect(ui->panColor, &ColorSwatch::clicked, this, &TfrmAddText::panColorClick);
    connect(ui->chkDefaultFace, &QCheckBox::toggled, this, &TfrmAddText::chkDefaultFaceClick);
    connect(ui->chkDefaultSize, &QCheckBox::toggled, this, &TfrmAddText::chkDefaultSizeClick);
    connect(ui->chkDefaultColor, &QCheckBox::toggled, this, &TfrmAddText::chkDefaultColorClick);
    new HelpKeyFilter(this, [&ops] { ops.ShowHelp(); });

    colorPicker_ = &PickPlatformColor;
    ui->txtTEXT->setFocus();
    resize(QSize(469, 196).expandedTo(sizeHint()));
    setFixedSize(size());
}

TfrmAddText::~TfrmAddText() = default;

void TfrmAddText::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        CenterOnDesktop(this);
    QDialog::showEvent(event);
}

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
    ui->txtTEXT->setFocus();
    const std::string html = fragment();
    if (inserter_)
        inserter_(html);
    accept();
}

void TfrmAddText::BitBtn2Click() {
    ui->txtTEXT->setFocus();
    reject();
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
