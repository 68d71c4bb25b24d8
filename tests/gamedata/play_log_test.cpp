#include "gamedata/play_log.h"
#include "gamedata/play_text.h"
#include "i18n/messages.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

using gamedata::PlayLog;
using testsupport::TempFolder;

namespace {
const QString game = QStringLiteral("/games/Panzer Dragoon.cue");
const QString other = QStringLiteral("/games/Nights.cue");
} // namespace

TEST(PlayLog, SessionOfAKilledLauncherIsRecordedOnceAtTheNextStart) {
    TempFolder app;
    {
        PlayLog log(app.path());
        log.startUp(900);
        log.begin(game, 1000);
        log.stillRunning(1060);
        log.stillRunning(1120);
        // The launcher is killed here: no end.
    }
    for (int start = 0; start < 2; ++start) {
        PlayLog next(app.path());
        EXPECT_TRUE(next.startUp(5000).isEmpty());
        const gamedata::PlayStats stats = next.stats(game);
        EXPECT_EQ(stats.seconds, 120);
        EXPECT_EQ(stats.sessions, 1);
        EXPECT_EQ(stats.lastEnd, 1120);
        EXPECT_FALSE(stats.lastNormal);
    }
    EXPECT_FALSE(QFile::exists(app.file(PlayLog::journalName())));

    // Killed after the file was written but before the journal went: not counted twice.
    PlayLog log(app.path());
    log.startUp(6000);
    log.begin(game, 6000);
    EXPECT_EQ(log.end(6300, true), 300);
    app.write(PlayLog::journalName(), "N 6000 6300 " + game.toUtf8() + "\r\n");
    PlayLog again(app.path());
    again.startUp(7000);
    EXPECT_EQ(again.stats(game).sessions, 2);
    EXPECT_EQ(again.stats(game).seconds, 420);
}

TEST(PlayLog, AFailedWriteKeepsTheSessionAndASecondLauncherLosesNothing) {
    TempFolder app;
    PlayLog first(app.path());
    PlayLog second(app.path());
    first.startUp(0);
    second.startUp(0);
    // The file cannot be written (here: a folder stands in its place, as a full disk refuses).
    app.mkdir(PlayLog::fileName());
    first.begin(game, 100);
    QString error;
    EXPECT_EQ(first.end(160, true, &error), 60);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(first.pendingCount(), 1);
    EXPECT_EQ(first.stats(game).seconds, 60); // shown meanwhile
    QDir(app.file(PlayLog::fileName())).removeRecursively();

    // Another launcher on the folder writes its session; the first one's next write adds to it.
    second.begin(other, 200);
    EXPECT_EQ(second.end(500, false, &error), 300);
    EXPECT_TRUE(error.isEmpty());
    first.begin(game, 1000);
    first.end(1030, true, &error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(first.pendingCount(), 0);

    PlayLog reader(app.path());
    reader.startUp(2000);
    EXPECT_EQ(reader.stats(game).seconds, 90);
    EXPECT_EQ(reader.stats(game).sessions, 2);
    EXPECT_EQ(reader.stats(other).seconds, 300);
    EXPECT_EQ(reader.all().size(), 2);
}

TEST(PlayText, PropertiesAndTooltipTexts) {
    i18n::initMessageTable();
    gamedata::PlayStats stats;
    EXPECT_EQ(gamedata::playedText(stats), "Not played yet");
    const QLocale c = QLocale::c();
    stats.seconds = 12 * 3600 + 3 * 60 + 59;
    stats.sessions = 15;
    stats.lastEnd = QDateTime(QDate(2026, 12, 1), QTime(21, 14)).toSecsSinceEpoch();
    const QString when =
        c.toString(QDateTime(QDate(2026, 12, 1), QTime(21, 14)), QLocale::ShortFormat);
    EXPECT_EQ(gamedata::playedText(stats, c), "Played 12 h 3 min in 15 sessions, last on " + when);
    stats.sessions = 1;
    stats.seconds = 42 * 60;
    EXPECT_EQ(gamedata::playedText(stats, c), "Played 42 min in 1 session, on " + when);
    EXPECT_EQ(gamedata::durationText(59), "59 s");
}
