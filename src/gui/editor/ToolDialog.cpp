#include "gui/editor/internal/ToolDialog.h"

#include "gui/common/HelpKeyFilter.h"
#include "gui/common/ProjectSessionApi.h"
#include "gui/common/WindowGeometry.h"

#include <QAbstractButton>
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
    // Each tool keeps its own place: the class name without its namespace.
    WindowGeometry::keepDialog(
        *this, QString::fromLatin1(metaObject()->className()).section(QStringLiteral("::"), -1));
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

} // namespace qloom::gui
