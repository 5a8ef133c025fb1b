#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace qloom::gui {

// Lets a dialog see F1 before any of its controls: installed on the dialog and every widget in
// it, so the help page opens wherever the focus stands.
class HelpKeyFilter : public QObject {
    Q_OBJECT
public:
    HelpKeyFilter(QWidget* dialog, std::function<void()> onHelp);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onHelp_;
};

} // namespace qloom::gui
