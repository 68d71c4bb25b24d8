#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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
    // A lock counts only while a launcher answers for it. A launcher that is just starting up or
    // ending holds the lock for a moment without answering, so a lock is given that moment
    // before it is taken over. A lock file no process holds open (a crash's leftover, an empty
    // or damaged file, one written on another computer) is taken over once nobody has answered
    // for a moment; one that a process holds without answering, at the end of the wait.
    const QDeadlineTimer deadline(3000);
    QElapsedTimer unanswered;
    while (!lock_.tryLock(0)) {
        if (lock_.error() != QLockFile::LockFailedError)
            return Outcome::Unguarded;
        if (askRunningInstance())
            return Outcome::Running;
        if (!unanswered.isValid())
            unanswered.start();
        else if (unanswered.hasExpired(200) && lock_.removeStaleLockFile())
            continue;
        if (deadline.hasExpired()) {
            QFile::remove(lock_.fileName());
            if (lock_.tryLock(0))
                break;
            // Held by a process that never answers, and not to be removed: the launcher runs
            // rather than ending unseen.
            return Outcome::Unguarded;
        }
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
