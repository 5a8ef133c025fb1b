#pragma once

// `qloom FOLDER` for a project this user already has open brings the window that holds it to the
// front instead of opening the project twice. The window listens on a local socket in the user's
// runtime folder named after the project folder; a second program asks there first.

#include <QObject>
#include <QString>

class QLocalServer;

namespace qloom::gui {

class InstanceChannel : public QObject {
    Q_OBJECT

public:
    explicit InstanceChannel(QObject* parent);
    ~InstanceChannel() override;

    // Listens for `folder` (the project now open); an empty folder stops listening.
    void listenFor(const QString& folder);

    // Asks the program holding `folder` open to come to the front; true when one answered.
    static bool askHolderToRaise(const QString& folder);

Q_SIGNALS:
    void raiseRequested();

private:
    static QString socketPath(const QString& folder);

    QLocalServer* server_ = nullptr;
};

} // namespace qloom::gui
