#pragma once

// A bare preview window: shows the template page after each save. The live preview with its
// title channel replaces it.

#include <QWidget>

class QWebEngineView;

namespace qloom::gui {

class PreviewPlaceholder : public QWidget {
    Q_OBJECT

public:
    PreviewPlaceholder();
    void showPage(const QString& file);

private:
    QWebEngineView* view_;
};

} // namespace qloom::gui
