#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace gamedata {

// One run of the emulator on a game: when it started and ended (seconds since the epoch, UTC)
// and whether the emulator ended normally.
struct Session {
    QString path; // the game's List.ini entry
    qint64 start = 0;
    qint64 end = 0;
    bool normal = true;
};

// What a game was played: the total, the number of sessions and the last one.
struct PlayStats {
    qint64 seconds = 0;
    int sessions = 0;
    qint64 lastStart = 0;
    qint64 lastEnd = 0;
    bool lastNormal = true;

    bool played() const { return sessions > 0; }
};

// Play time of every game, kept in PlayTime.ini in the application folder: one line per game,
// "<seconds> <sessions> <last start> <last end> <1 or 0: ended normally> <List.ini entry>".
// A session is recorded once it ends; while the emulator runs, a journal (PlayTime.run) says
// which game runs since when and until when the launcher last saw it running, so a launcher
// killed during play has its session recorded at the next start, up to that moment. A session
// is never counted twice: a game's line keeps its last session's start, and a session that
// does not start after it is already in the file. Every write reads the file again under a lock
// and adds the new sessions to what it holds, so a second launcher on the folder loses nothing.
class PlayLog {
public:
    explicit PlayLog(const QString& applicationFolder);

    static QString fileName() { return QStringLiteral("PlayTime.ini"); }
    static QString journalName() { return QStringLiteral("PlayTime.run"); }

    // Reads the file (bounded); a file that cannot be read gives no play time. Then records a
    // session that a launcher killed during play left in the journal. Returns the error text
    // of a write that failed (the session is then kept to be written with the next one).
    QString startUp(qint64 now);

    // The emulator started on the game.
    void begin(const QString& path, qint64 now);
    // The emulator still runs (called now and then while it does).
    void stillRunning(qint64 now);
    // The emulator ended: the session is recorded. Returns the length of the session in seconds
    // (-1 when none was running) and, in `error`, the text of a failed write; the session then
    // stays in memory (and in the journal where that can be written) and goes with the next
    // write.
    qint64 end(qint64 now, bool normal, QString* error = nullptr);

    PlayStats stats(const QString& path) const { return stats_.value(path); }
    const QHash<QString, PlayStats>& all() const { return stats_; }
    // Sessions ended that could not be written yet.
    int pendingCount() const { return static_cast<int>(pending_.size()); }
    // Writes the pending sessions now; the error text when that fails.
    QString flush();

    // The game's List.ini entry changed ("Locate..."): its play time goes with it, unless the new
    // entry has play time of its own. Returns the error text of a failed write (nothing moved).
    QString renameGame(const QString& from, const QString& to);

    // Reads a play time file's lines into per-game figures; lines that do not parse are left
    // out.
    static QHash<QString, PlayStats> parse(const QStringList& lines);

private:
    QString filePath() const;
    QString journalPath() const;
    void writeJournal() const;
    QHash<QString, PlayStats> readFile() const;
    // Reads the file again under the lock, changes what it holds and writes it whole; the
    // error text when that fails (nothing changed then).
    QString rewrite(const std::function<void(QHash<QString, PlayStats>&)>& change);

    QString folder_;
    QHash<QString, PlayStats> stats_;
    std::vector<Session> pending_;
    bool running_ = false;
    Session current_;
};

} // namespace gamedata
