#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;
class QUrl;

namespace qloom::gui {

// The help pages in a window of the program itself. Handing them to the desktop's browser
// fails as root (the browsers refuse), without a desktop (no xdg-open) and whenever no
// program is associated with .htm files; a text browser shows the plain pages everywhere.
// Links to other help pages stay here; addresses on the web and mail links go to the desktop.
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    // `home` owns the window and takes it back when a dialog it was lent to closes.
    explicit HelpWindow(QWidget* home);

    // Shows `page` (a local .htm file), raising the window above whichever window asked: a
    // window beside a modal dialog would be blocked by it, and one owned by a disabled window
    // would be disabled with it.
    void showPage(const QString& page);

    QTextBrowser* browser() const { return browser_; }
    QToolButton* backButton() const { return back_; }
    QToolButton* forwardButton() const { return forward_; }
    QToolButton* homeButton() const { return home_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followLink(const QUrl& url);
    void goHome();
    // The window that should own the help window now: the modal dialog, else the active
    // window, else `home_`.
    QWidget* currentOwner() const;
    void attachTo(QWidget* owner);
    void placeFirstTime();

    QWidget* homeWindow_;
    QPointer<QWidget> owner_;
    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* home_;
    QString index_;
    bool placed_ = false;
};

} // namespace qloom::gui
