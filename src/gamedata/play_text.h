#pragma once

#include "gamedata/play_log.h"

#include <QLocale>
#include <QString>

namespace gamedata {

// A time played: "12 h 3 min", "42 min", or "30 s" under a minute.
QString durationText(qint64 seconds);

// "Played 12 h 3 min in 15 sessions, last on <date and time>", the date and time of the last
// session's end in the locale's short format; "Not played yet" for a game never played.
QString playedText(const PlayStats& stats, const QLocale& locale = QLocale());

} // namespace gamedata
