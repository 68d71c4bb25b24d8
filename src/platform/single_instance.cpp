#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <atomic>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

QString canonicalFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

// What names the folder whatever path leads to it; empty when the system does not say.
QString folderIdentity(const QString& folder) {
#ifdef Q_OS_WIN
    const std::wstring name = QDir::toNativeSeparators(folder).toStdWString();
    HANDLE handle =
        CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!known)
        return {};
    const quint64 index = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return QStringLiteral("%1-%2").arg(info.dwVolumeSerialNumber, 0, 16).arg(index, 0, 16);
#else
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return {};
    return QStringLiteral("%1-%2-%3")
        .arg(::getuid())
        .arg(static_cast<quint64>(info.st_dev), 0, 16)
        .arg(static_cast<quint64>(info.st_ino), 0, 16);
#endif
}

// Linux keeps the socket in its abstract namespace: no file, no temporary folder, gone with the
// process. Other Unix systems keep it in /tmp, the same for every start whatever TMPDIR says.
// Windows names a pipe, which has no folder either.
constexpr bool abstractSockets =
#ifdef Q_OS_LINUX
    true;
#else
    false;
#endif

QString socketPlace(const QString& name) {
#if defined(Q_OS_WIN) || defined(Q_OS_LINUX)
    return name;
#else
    return QStringLiteral("/tmp/") + name;
#endif
}

#ifndef Q_OS_WIN
// What the termination handler gives up: descriptors only, closed with async-signal-safe calls.
std::atomic<int> terminationLock{-1};
std::atomic<int> terminationServer{-1};

extern "C" void releaseAndEnd(int signal) {
    for (std::atomic<int>* held : {&terminationLock, &terminationServer}) {
        const int fd = held->exchange(-1);
        if (fd >= 0)
            ::close(fd);
    }
    // The handler was installed to run once: the signal now ends the process as it would have.
    ::raise(signal);
}
#endif

} // namespace

// The lock the system holds for the process on the folder's lock file: flock on Unix, a byte
// range lock on Windows. Both go when the process ends, so a lock is never stale.
class SingleInstance::Lock {
public:
    enum class Result { Taken, Held, Failed };

    explicit Lock(QString path) : path_(std::move(path)) {}
    ~Lock() { release(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    Result take();
    void release();
    bool taken() const;
#ifndef Q_OS_WIN
    int descriptor() const {
        return fd_;
    }
#endif

private:
    QString path_;
#ifdef Q_OS_WIN
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    int fd_ = -1;
#endif
};

#ifdef Q_OS_WIN

SingleInstance::Lock::Result SingleInstance::Lock::take() {
    const std::wstring name = QDir::toNativeSeparators(path_).toStdWString();
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) // opened by someone without sharing: an older launcher
        return GetLastError() == ERROR_SHARING_VIOLATION ? Result::Held : Result::Failed;
    OVERLAPPED first{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? Result::Held
                                                                          : Result::Failed;
    }
    handle_ = handle;
    return Result::Taken;
}

void SingleInstance::Lock::release() {
    // The file stays: removing it while another start has it open could give two owners.
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

bool SingleInstance::Lock::taken() const {
    return handle_ != INVALID_HANDLE_VALUE;
}

#else

SingleInstance::Lock::Result SingleInstance::Lock::take() {
    const QByteArray name = QFile::encodeName(path_);
    // A launcher that releases the folder removes the file; a start that opened it just before
    // would lock a file nobody else finds, so the lock counts only on the file the path names.
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC); // another user's lock file
        if (fd < 0)
            return Result::Failed;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            return held ? Result::Held : Result::Failed;
        }
        struct stat locked {};
        struct stat named {};
        if (::fstat(fd, &locked) == 0 && ::stat(name.constData(), &named) == 0 &&
            locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
            fd_ = fd;
            return Result::Taken;
        }
        ::close(fd);
    }
    return Result::Failed;
}

void SingleInstance::Lock::release() {
    if (fd_ < 0)
        return;
    // Removed while still locked: a start waiting on this file sees it is gone and looks again.
    ::unlink(QFile::encodeName(path_).constData());
    int expected = fd_;
    terminationLock.compare_exchange_strong(expected, -1);
    ::close(fd_);
    fd_ = -1;
}

bool SingleInstance::Lock::taken() const {
    return fd_ >= 0;
}

#endif

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), folder_(canonicalFolder(folder)),
      lock_(std::make_unique<Lock>(folder_ + QLatin1Char('/') + lockFileName())) {}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::serverName(const QString& folder) {
    const QString identity = folderIdentity(folder);
    if (!identity.isEmpty())
        return socketPlace(QStringLiteral("varnix-") + identity);
    const QByteArray hash =
        QCryptographicHash::hash(canonicalFolder(folder).toUtf8(), QCryptographicHash::Sha1);
    return socketPlace(QStringLiteral("varnix-") + QString::fromLatin1(hash.toHex().left(16)));
}

SingleInstance::Outcome SingleInstance::start(int answerWaitMs) {
    // A holder counts as running until it answers or the wait ends: a launcher that is just
    // starting up or ending holds the lock for a moment without answering. The lock itself is
    // never taken from a process that holds it; one whose process ended is free.
    const QDeadlineTimer deadline(answerWaitMs);
    for (;;) {
        const Lock::Result result = lock_->take();
        if (result == Lock::Result::Taken)
            break;
        if (result == Lock::Result::Failed)
            return Outcome::Unguarded;
        if (askRunningInstance())
            return Outcome::Running;
        if (deadline.hasExpired())
            return Outcome::Busy;
        QThread::msleep(50);
    }
    const QString name = serverName(folder_);
    server_ = std::make_unique<QLocalServer>();
    if (abstractSockets)
        server_->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    else
        server_->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket file of that name is a crashed launcher's leftover.
    if (!abstractSockets)
        QLocalServer::removeServer(name);
    server_->listen(name);
    // Every connection is a later start asking for the window.
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
    if (abstractSockets)
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(serverName(folder_));
    if (!socket.waitForConnected(500))
        return false;
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::releaseOnTermination() {
#ifndef Q_OS_WIN
    if (!lock_->taken())
        return;
    terminationLock = lock_->descriptor();
    terminationServer =
        server_ && server_->isListening() ? static_cast<int>(server_->socketDescriptor()) : -1;
    struct sigaction action {};
    action.sa_handler = releaseAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction before {};
        // A signal the launcher was started to ignore (nohup) stays ignored.
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_DFL)
            ::sigaction(signal, &action, nullptr);
    }
#endif
}

void SingleInstance::release() {
#ifndef Q_OS_WIN
    if (server_) {
        int expected = static_cast<int>(server_->socketDescriptor());
        terminationServer.compare_exchange_strong(expected, -1);
    }
#endif
    if (server_) {
        server_->close();
        server_.reset();
    }
    lock_->release();
}

} // namespace platform
