#include "gui/common/WindowGeometry.h"

#include "gui/common/DialogPlacement.h"
#include "gui/common/UserSettings.h"
#include "gui/common/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>

namespace qloom::gui {

namespace {
// Moving a window sends a stream of events; the store is written once the hand rests.
constexpr int kSaveDelayMs = 400;

PlaceRect ToPlace(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}
} // namespace

WindowGeometry::WindowGeometry(QWidget& window, const QString& name, FirstPlacement first)
    : QObject(&window), window_(window), name_(name), first_(std::move(first)),
      pending_(new QTimer(this)) {
    pending_->setSingleShot(true);
    pending_->setInterval(kSaveDelayMs);
    connect(pending_, &QTimer::timeout, this, &WindowGeometry::save);
    window.installEventFilter(this);
}

WindowGeometry::~WindowGeometry() {
    // A move that has not been written yet when the program ends still counts.
    if (pending_->isActive())
        save();
}

WindowGeometry* WindowGeometry::keepDialog(QWidget& dialog, const QString& name) {
    return new WindowGeometry(dialog, name, [](QWidget& window) { CenterOnDesktop(&window); });
}

QString WindowGeometry::key(const QString& name) {
    return QStringLiteral("Windows/") + name;
}

std::vector<PlaceRect> WindowGeometry::screenAreas() {
    std::vector<PlaceRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.push_back(ToPlace(screen->availableGeometry()));
    return areas;
}

PlaceRect WindowGeometry::besideWindow(const QWidget& main, const QSize& preferred) {
    // Room for a usable page beside the main window; with less it goes below or above it.
    constexpr int kMinWidth = 320;
    constexpr int kGap = 8;
    const QScreen* screen = main.screen() ? main.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(main.frameGeometry());
    return PlaceBeside(ToPlace(main.frameGeometry()), ToPlace(area),
                       {0, 0, preferred.width(), preferred.height()}, kMinWidth, kGap);
}

void WindowGeometry::keepOnScreen(QWidget& window) {
    const QRect frame = window.frameGeometry();
    const PlaceRect placed = KeepOnScreen(ToPlace(frame), screenAreas());
    const QSize decorations = frame.size() - window.size();
    if (placed.width != frame.width() || placed.height != frame.height())
        window.resize(QSize(placed.width, placed.height) - decorations);
    if (placed.x != frame.x() || placed.y != frame.y())
        window.move(placed.x, placed.y);
}

void WindowGeometry::save() {
    pending_->stop();
    // Only what the user has seen: a window never shown has no place of its own yet.
    if (!shownOnce_)
        return;
    // A window's place is a convenience: a store that cannot be written is told to the user
    // by the settings that matter (the last project, the site folder), not by every move.
    (void)UserSettings::setValue(key(name_), window_.saveGeometry());
}

void WindowGeometry::restore() {
    const QByteArray saved = UserSettings::value(key(name_)).toByteArray();
    restored_ = !saved.isEmpty() && window_.restoreGeometry(saved);
    if (restored_)
        keepOnScreen(window_);
    else if (first_)
        first_(window_);
}

bool WindowGeometry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        switch (event->type()) {
        case QEvent::Show:
            // Before the window is mapped, so it appears in its place rather than jumping there.
            if (!shownOnce_ && !event->spontaneous()) {
                restore();
                shownOnce_ = true;
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (shownOnce_ && window_.isVisible())
                pending_->start();
            break;
        case QEvent::Hide:
            if (shownOnce_ && !event->spontaneous())
                save();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qloom::gui
