#pragma once

// Keeps a window's place and size across runs: restored from the user's settings when the
// window is first shown, saved whenever the user has moved or resized it and when it is hidden.

#include <QObject>
#include <QString>
#include <functional>

class QSize;
class QTimer;
class QWidget;

namespace qloom::gui {

struct PlaceRect;

class WindowGeometry final : public QObject {
    Q_OBJECT
public:
    // What places the window when no saved geometry exists (first start); by default it keeps
    // the place the window's own code gave it.
    using FirstPlacement = std::function<void(QWidget& window)>;

    // Watches `window` (and is owned by it); `name` is its key in the settings store.
    WindowGeometry(QWidget& window, const QString& name, FirstPlacement first = {});
    ~WindowGeometry() override;

    // For a dialog: kept like any window, centred on the desktop the first time.
    static WindowGeometry* keepDialog(QWidget& dialog, const QString& name);

    // Writes the current geometry now.
    void save();
    // True once a saved geometry was applied at the first showing.
    bool restored() const { return restored_; }

    // The settings key of a window's geometry.
    static QString key(const QString& name);
    // The available areas of every screen.
    static std::vector<PlaceRect> screenAreas();
    // The frame for a window of `preferred` outer size beside `main`, on the side of the screen
    // that is free.
    static PlaceRect besideWindow(const QWidget& main, const QSize& preferred);
    // Moves `window` so that its frame lies on a screen (a saved place may have been on one that
    // is gone).
    static void keepOnScreen(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore();

    QWidget& window_;
    QString name_;
    FirstPlacement first_;
    QTimer* pending_;
    bool shownOnce_ = false;
    bool restored_ = false;
};

} // namespace qloom::gui
