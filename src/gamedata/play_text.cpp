#include "gamedata/play_text.h"

#include "i18n/messages.h"

#include <QDateTime>

namespace gamedata {

QString durationText(qint64 seconds) {
    using i18n::Extra;
    seconds = std::max<qint64>(0, seconds);
    const qint64 minutes = seconds / 60;
    if (minutes >= 60)
        return i18n::message(Extra::HoursMinutes).arg(minutes / 60).arg(minutes % 60);
    if (minutes > 0)
        return i18n::message(Extra::MinutesOnly).arg(minutes);
    return i18n::message(Extra::SecondsOnly).arg(seconds);
}

QString playedText(const PlayStats& stats, const QLocale& locale) {
    using i18n::Extra;
    if (!stats.played())
        return i18n::message(Extra::NotPlayed);
    const QString when = locale.toString(QDateTime::fromSecsSinceEpoch(stats.lastEnd).toLocalTime(),
                                         QLocale::ShortFormat);
    if (stats.sessions == 1)
        return i18n::message(Extra::PlayedSummaryOne).arg(durationText(stats.seconds), when);
    return i18n::message(Extra::PlayedSummary)
        .arg(durationText(stats.seconds), QString::number(stats.sessions), when);
}

} // namespace gamedata
