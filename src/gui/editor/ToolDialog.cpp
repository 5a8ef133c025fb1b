#include "gui/editor/ToolDialog.h"

#include "gui/common/DialogPlacement.h"
#include "gui/common/HelpKeyFilter.h"
#include "gui/common/ProjectSessionApi.h"

#include <QAbstractButton>
#include <QShowEvent>
#include <QStyle>

namespace qloom::gui {

ToolDialog::ToolDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {}

void ToolDialog::finishSetup(ProjectSessionApi& session, QAbstractButton* add,
                             QAbstractButton* cancel, QSize clientArea) {
    add->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    new HelpKeyFilter(this, [&session] { session.showHelp(); });
    resize(clientArea.expandedTo(sizeHint()));
    setFixedSize(size());
}

void ToolDialog::insertAndClose(QWidget* firstField, const std::string& fragment) {
    firstField->setFocus();
    if (inserter_)
        inserter_(fragment);
    accept();
}

void ToolDialog::cancelAndClose(QWidget* firstField) {
    firstField->setFocus();
    reject();
}

void ToolDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        CenterOnDesktop(this);
    QDialog::showEvent(event);
}

} // namespace qloom::gui
