#include "project/PreviewPlaceholder.h"

#include "model/Messages.h"
#include "project/TextConv.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace qloom::gui {

PreviewPlaceholder::PreviewPlaceholder() : view_(new QWebEngineView(this)) {
    setWindowTitle(toQ(msg::kShellPreviewCaption));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    resize(800, 600);
}

void PreviewPlaceholder::showPage(const QString& file) {
    view_->load(QUrl::fromLocalFile(file));
    show();
}

} // namespace qloom::gui
