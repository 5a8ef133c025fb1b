#include "gui/shell/internal/StatusIndicators.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QToolButton>

namespace qloom::gui {

StatusIndicators::StatusIndicators(QWidget* parent)
    : QWidget(parent), saved_(new QLabel(this)), errors_(new QToolButton(this)) {
    setObjectName(QStringLiteral("statusIndicators"));
    saved_->setObjectName(QStringLiteral("savedLabel"));
    saved_->setTextFormat(Qt::PlainText);
    errors_->setObjectName(QStringLiteral("scriptErrorsButton"));
    errors_->setAutoRaise(true);
    errors_->setToolTip(tr("Show the script errors of the preview page"));
    errors_->hide();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(errors_);
    row->addWidget(saved_);
    connect(errors_, &QToolButton::clicked, this, &StatusIndicators::errorsRequested);
}

void StatusIndicators::showSaved(const QDateTime& when) {
    lastSaved_ = when;
    failed_ = false;
    saved_->setStyleSheet(QString());
    saved_->setText(tr("Saved %1").arg(when.time().toString(QStringLiteral("HH:mm"))));
    saved_->setToolTip(
        tr("Saved on disk at %1").arg(QLocale().toString(when, QLocale::LongFormat)));
}

void StatusIndicators::showSaveFailed(const QString& reason) {
    failed_ = true;
    // Red on the status line's own background: a failure must be seen without reading.
    saved_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    saved_->setText(tr("Not saved"));
    saved_->setToolTip(reason);
    saved_->setAccessibleDescription(reason);
}

void StatusIndicators::clearSaveFailure() {
    if (!failed_)
        return;
    if (lastSaved_.isValid())
        showSaved(lastSaved_);
    else
        clearSaveState();
}

void StatusIndicators::clearSaveState() {
    lastSaved_ = QDateTime();
    failed_ = false;
    saved_->setStyleSheet(QString());
    saved_->clear();
    saved_->setToolTip(QString());
    saved_->setAccessibleDescription(QString());
}

void StatusIndicators::setErrorCount(int count) {
    errors_->setVisible(count > 0);
    errors_->setText(count == 1 ? tr("1 script error") : tr("%1 script errors").arg(count));
    errors_->setAccessibleName(errors_->text());
}

} // namespace qloom::gui
