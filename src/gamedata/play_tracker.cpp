#include "gamedata/play_tracker.h"

#include "gamedata/play_text.h"
#include "i18n/messages.h"

#include <QDateTime>

namespace gamedata {

PlayTracker::PlayTracker(const QString& applicationFolder, QObject* parent)
    : QObject(parent), log_(applicationFolder),
      clock_([] { return QDateTime::currentSecsSinceEpoch(); }) {
    heartbeat_.setInterval(HeartbeatMs);
    connect(&heartbeat_, &QTimer::timeout, this, [this] { log_.stillRunning(clock_()); });
}

QString PlayTracker::reported(const QString& error) {
    if (error.isEmpty()) {
        failing_ = false;
        return QString();
    }
    if (failing_)
        return QString();
    failing_ = true;
    return i18n::message(i18n::Extra::PlayTimeNotSaved).arg(error);
}

QString PlayTracker::startUp() {
    return reported(log_.startUp(clock_()));
}

void PlayTracker::gameStarted(const QString& path) {
    log_.begin(path, clock_());
    heartbeat_.start();
}

QString PlayTracker::gameEnded(bool normal, QString* error) {
    heartbeat_.stop();
    QString failure;
    const qint64 seconds = log_.end(clock_(), normal, &failure);
    const QString shown = reported(failure);
    if (error)
        *error = shown;
    if (seconds < 0)
        return QString();
    return i18n::message(i18n::Extra::PlayedSession).arg(durationText(seconds));
}

} // namespace gamedata
