#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace platform {

// One launcher per application folder. The first start takes a lock file in the folder and
// listens on a local socket named after the folder; a later start finds the lock taken, asks the
// running launcher through the socket to come to the front, and ends. A lock left behind by a
// launcher that crashed belongs to no running process and is taken over.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        First,     // this start owns the folder
        Running,   // another launcher owns it and was asked to come to the front
        Unguarded, // the folder takes no lock file (read-only): the launcher runs unguarded
    };

    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    Outcome start();
    // Gives the folder up: the lock file goes and the socket closes, so a launcher started
    // next (the restart after a skin or language change) owns it.
    void release();

    static QString lockFileName() { return QStringLiteral("Varnix.lock"); }
    // The local socket's name for a folder.
    static QString serverName(const QString& folder);

signals:
    // Another start in this folder asked for the window.
    void activationRequested();

private:
    bool askRunningInstance() const;

    QString folder_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace platform
