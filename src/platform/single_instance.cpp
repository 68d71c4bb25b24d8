#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace platform {

namespace {

QString canonicalFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), folder_(canonicalFolder(folder)),
      lock_(folder_ + QLatin1Char('/') + lockFileName()) {
    // A running launcher holds its lock however long it runs; only a lock whose process is gone
    // is stale.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::serverName(const QString& folder) {
    const QByteArray hash =
        QCryptographicHash::hash(canonicalFolder(folder).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("varnix-") + QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::Outcome SingleInstance::start() {
    // A launcher that is just starting up or ending holds the lock for a moment; a start keeps
    // trying for a while before it gives way.
    const QDeadlineTimer deadline(3000);
    while (!lock_.tryLock(0)) {
        if (lock_.error() != QLockFile::LockFailedError)
            return Outcome::Unguarded;
        if (askRunningInstance())
            return Outcome::Running;
        if (deadline.hasExpired())
            return Outcome::Running;
        QThread::msleep(50);
    }
    const QString name = serverName(folder_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket of that name is a crashed launcher's leftover.
    QLocalServer::removeServer(name);
    server_->listen(name);
    // Every connection is a later start asking for the window; the socket admits this user only.
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        bool asked = false;
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            asked = true;
        }
        if (asked)
            emit activationRequested();
    });
    return Outcome::First;
}

bool SingleInstance::askRunningInstance() const {
    QLocalSocket socket;
    socket.connectToServer(serverName(folder_));
    if (!socket.waitForConnected(500))
        return false;
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::release() {
    if (server_) {
        server_->close();
        server_.reset();
    }
    if (lock_.isLocked())
        lock_.unlock();
}

} // namespace platform
