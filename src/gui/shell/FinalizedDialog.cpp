#include "gui/shell/FinalizedDialog.h"

#include "gui/common/DesktopShell.h"
#include "gui/common/DialogPlacement.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/ProjectSessionApi.h"
#include "gui/common/TextConv.h"
#include "gui/common/UiText.h"
#include "model/Messages.h"
#include "script/FixedTexts.h"
#include "ui_FinalizedDialog.h"

#include <QStyle>

namespace qloom::gui {

FinalizedDialog::FinalizedDialog(ProjectSessionApi& session, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FinalizedDialog>()), session_(session) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    ui->lblMessage->setText(uiText(msg::kFinalizedMessage));
    QString info = toQ(ReadMeText());
    info.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (info.endsWith(QLatin1Char('\n')))
        info.chop(1);
    ui->txtINFO->setPlainText(info);
    ui->btnBrowse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    ui->btnOK->setFocus();
    CenterOnDesktop(this);

    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnBrowse, &QPushButton::clicked, this, &FinalizedDialog::onBrowseClicked);
    new HelpKeyFilter(this, [this] { session_.showHelp(); });
}

FinalizedDialog::~FinalizedDialog() = default;

QString FinalizedDialog::infoText() const {
    return ui->txtINFO->toPlainText();
}

void FinalizedDialog::onBrowseClicked() {
    DesktopShell::open(toQ(session_.project().settings.projectFolder));
}

} // namespace qloom::gui
