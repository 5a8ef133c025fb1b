#include "gui/shell/InstanceChannel.h"

#include "gui/common/TextConv.h"
#include "script/FileFingerprint.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace qloom::gui {

namespace {
constexpr int kAnswerMs = 3000;
const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "raised\n";
} // namespace

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() {
    listenFor(QString());
}

QString InstanceChannel::socketPath(const QString& folder) {
    // The same folder reached by another path (a link, a trailing separator) is the same project.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QString name = canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    const uint64_t hash = HashBytes(fromQ(name));
    return runtime +
           QStringLiteral("/qloom-%1-%2.sock").arg(::getuid()).arg(QString::number(hash, 16));
}

void InstanceChannel::listenFor(const QString& folder) {
    if (server_) {
        server_->close();
        delete server_;
        server_ = nullptr;
    }
    if (folder.isEmpty())
        return;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = socketPath(folder);
    // A socket file left by a program that ended without closing it answers nobody.
    if (!server_->listen(path)) {
        QLocalServer::removeServer(path);
        server_->listen(path);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (!peer->readAll().contains(kRaise.trimmed()))
                    return;
                Q_EMIT raiseRequested();
                peer->write(kRaised);
                peer->flush();
            });
        }
    });
}

bool InstanceChannel::askHolderToRaise(const QString& folder) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(folder));
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(kAnswerMs))
        return false;
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(kAnswerMs))
        answer += socket.readAll();
    return answer == kRaised;
}

} // namespace qloom::gui
