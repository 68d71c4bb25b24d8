#pragma once

#include "gamedata/play_log.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace gamedata {

// Keeps the play log while games run: a session begins when the emulator starts and ends
// with it; while it runs, the journal is brought up to date every minute, so a launcher killed
// meanwhile loses at most that last minute.
class PlayTracker : public QObject {
    Q_OBJECT

public:
    explicit PlayTracker(const QString& applicationFolder, QObject* parent = nullptr);

    // Reads the log and records what a killed launcher left. Returns an error text to show (a
    // failed write), or nothing.
    QString startUp();

    void gameStarted(const QString& path);
    // Records the session. Returns the status text ("Played 42 min"); `error` receives the
    // text of a failed write the first time writes fail (later failures in a row stay quiet
    // until a write succeeds again).
    QString gameEnded(bool normal, QString* error);

    const PlayLog& log() const { return log_; }
    // The game's play time follows its new List.ini entry; an error text when it could not.
    QString renameGame(const QString& from, const QString& to) { return log_.renameGame(from, to); }

    // The clock, in seconds since the epoch (tests set their own).
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }
    static constexpr int HeartbeatMs = 60 * 1000;

private:
    QString reported(const QString& error);

    PlayLog log_;
    QTimer heartbeat_;
    std::function<qint64()> clock_;
    bool failing_ = false;
};

} // namespace gamedata
