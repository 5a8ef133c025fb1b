#include "gui/shell/internal/TemplateInfoDialog.h"

#include "gui/common/SettingsRules.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowGeometry.h"
#include "model/Messages.h"
#include "ui_TemplateInfoDialog.h"

#include <QFontDatabase>
#include <QStringList>

namespace qloom::gui {

TemplateInfoDialog::TemplateInfoDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      ui(new Ui::TemplateInfoDialog) {
    ui->setupUi(this);
    setWindowTitle(uiText(msg::kTemplateInfoCaption));
    WindowGeometry::keepDialog(*this, QStringLiteral("TemplateInfo"));
    QStringList lines;
    for (const std::string& line : TemplateInfoLines())
        lines << toQ(line);
    ui->infoText->setPlainText(lines.join(QLatin1Char('\n')));
    ui->infoText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    resize(680, 480);
    setFixedSize(size());
}

TemplateInfoDialog::~TemplateInfoDialog() = default;

QString TemplateInfoDialog::infoText() const {
    return ui->infoText->toPlainText();
}

} // namespace qloom::gui
