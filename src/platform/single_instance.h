#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace platform {

// One launcher per application folder. The first start takes the lock file in the folder (a
// lock the system holds for the process, so it goes when the process ends, however it ends)
// and listens on a local socket named after the folder's identity (its device and file number,
// on Windows its volume serial and file index), which every start of the user finds whatever
// path leads to the folder (a link, a bind mount) and whatever its temporary folder. A later
// start finds the lock taken, asks the running launcher through the socket to come to the
// front, and ends. A lock is never taken from a process that holds it.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        First,     // this start owns the folder
        Running,   // another launcher owns it and was asked to come to the front
        Busy,      // a running process holds the folder's lock and does not answer
        Unguarded, // the folder takes no lock (read-only, no locks): the launcher runs unguarded
    };

    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the folder, or asks its owner; a holder that does not answer is asked again for
    // answerWaitMs before the start gives up (it may be starting up or ending).
    Outcome start(int answerWaitMs = 3000);
    // Gives the folder up: the lock and the socket go, so a launcher started next (the restart
    // after a skin or language change) owns it.
    void release();
    // Where the platform has termination signals (SIGTERM at a logout, SIGINT, SIGHUP): the
    // lock and the socket are given up in the signal handler itself, at once, before the
    // process ends as the signal says, even while a thread waits on a drive that does not
    // answer. One instance at a time is released so.
    void releaseOnTermination();

    static QString lockFileName() { return QStringLiteral("Varnix.lock"); }
    // The local socket's name for a folder (the same for every path that leads to it).
    static QString serverName(const QString& folder);

signals:
    // Another start in this folder asked for the window.
    void activationRequested();

private:
    bool askRunningInstance() const;

    class Lock;
    QString folder_;
    std::unique_ptr<Lock> lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace platform
