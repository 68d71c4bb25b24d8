#include "gamedata/play_log.h"

#include "platform/io_error.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>

namespace gamedata {

namespace {

// The file never holds more than a line per game; anything far larger is not a play time file.
constexpr qint64 MaxFileBytes = 64 << 20;
constexpr qint64 MaxJournalBytes = 1 << 20;
// A session longer than a year, or a total beyond a thousand years, is not believed.
constexpr qint64 MaxSessionSeconds = 366LL * 24 * 3600;
constexpr qint64 MaxTotalSeconds = 1000 * MaxSessionSeconds;
// How long a write waits for another launcher's write to end.
constexpr int LockWaitMs = 5000;

bool readNumber(const QString& text, qint64& number) {
    bool ok = false;
    number = text.toLongLong(&ok);
    return ok && number >= 0;
}

// Splits "<n> <n> ... <rest>" into `count` numbers and the rest of the line (which may hold
// blanks of its own).
bool splitFields(const QString& line, int count, std::vector<qint64>& numbers, QString& rest) {
    numbers.clear();
    qsizetype at = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype blank = line.indexOf(QLatin1Char(' '), at);
        if (blank < 0)
            return false;
        qint64 number = 0;
        if (!readNumber(line.mid(at, blank - at), number))
            return false;
        numbers.push_back(number);
        at = blank + 1;
    }
    rest = line.mid(at);
    return !rest.isEmpty();
}

QString formatStats(const QString& path, const PlayStats& s) {
    return QString::number(s.seconds) + QLatin1Char(' ') + QString::number(s.sessions) +
           QLatin1Char(' ') + QString::number(s.lastStart) + QLatin1Char(' ') +
           QString::number(s.lastEnd) + QLatin1Char(' ') + QLatin1Char(s.lastNormal ? '1' : '0') +
           QLatin1Char(' ') + path;
}

// Adds the session to the game's figures unless they hold it already (it does not start after
// their last session).
void addSession(QHash<QString, PlayStats>& stats, const Session& session) {
    PlayStats& s = stats[session.path];
    if (s.sessions > 0 && session.start <= s.lastStart)
        return;
    s.seconds = std::min(MaxTotalSeconds, s.seconds + (session.end - session.start));
    ++s.sessions;
    s.lastStart = session.start;
    s.lastEnd = session.end;
    s.lastNormal = session.normal;
}

} // namespace

PlayLog::PlayLog(const QString& applicationFolder) : folder_(applicationFolder) {}

QString PlayLog::filePath() const {
    return QDir(folder_).filePath(fileName());
}

QString PlayLog::journalPath() const {
    return QDir(folder_).filePath(journalName());
}

QHash<QString, PlayStats> PlayLog::parse(const QStringList& lines) {
    QHash<QString, PlayStats> stats;
    std::vector<qint64> n;
    QString path;
    for (const QString& line : lines) {
        if (!splitFields(line, 5, n, path) || n[4] > 1 || n[1] > INT_MAX || n[0] > MaxTotalSeconds)
            continue;
        PlayStats s;
        s.seconds = n[0];
        s.sessions = static_cast<int>(n[1]);
        s.lastStart = n[2];
        s.lastEnd = n[3];
        s.lastNormal = n[4] == 1;
        stats.insert(path, s);
    }
    return stats;
}

QHash<QString, PlayStats> PlayLog::readFile() const {
    if (!QFileInfo::exists(filePath()))
        return {};
    return parse(platform::readTextLines(filePath(), MaxFileBytes));
}

QString PlayLog::startUp(qint64 now) {
    try {
        stats_ = readFile();
    } catch (const platform::IoError&) {
        stats_.clear();
    }
    // A journal left behind: sessions that ended but were not written, and the one that ran
    // when the launcher went, recorded up to the last moment it was seen running.
    QStringList journal;
    try {
        if (QFileInfo::exists(journalPath()))
            journal = platform::readTextLines(journalPath(), MaxJournalBytes);
    } catch (const platform::IoError&) {
    }
    std::vector<qint64> n;
    QString path;
    for (const QString& line : std::as_const(journal)) {
        if (line.size() < 2 || line[1] != QLatin1Char(' '))
            continue;
        const QChar state = line[0];
        if (!splitFields(line.mid(2), 2, n, path))
            continue;
        Session session{path, n[0], std::min(n[1], now), state == QLatin1Char('N')};
        if (session.end <= session.start || session.end - session.start > MaxSessionSeconds)
            continue; // nothing known of its length
        pending_.push_back(session);
    }
    if (pending_.empty()) {
        if (!journal.isEmpty())
            QFile::remove(journalPath());
        return QString();
    }
    return flush();
}

void PlayLog::writeJournal() const {
    QStringList lines;
    const auto line = [](char state, const Session& s) {
        return QString(QLatin1Char(state)) + QLatin1Char(' ') + QString::number(s.start) +
               QLatin1Char(' ') + QString::number(s.end) + QLatin1Char(' ') + s.path;
    };
    for (const Session& s : pending_)
        lines.append(line(s.normal ? 'N' : 'C', s));
    if (running_)
        lines.append(line('R', current_));
    try {
        if (lines.isEmpty())
            QFile::remove(journalPath());
        else
            platform::writeTextLinesAtomic(journalPath(), lines);
    } catch (const platform::IoError&) {
        // The journal only guards against a kill; the session itself is kept in memory.
    }
}

void PlayLog::begin(const QString& path, qint64 now) {
    running_ = true;
    current_ = Session{path, now, now, false};
    writeJournal();
}

void PlayLog::stillRunning(qint64 now) {
    if (!running_ || now <= current_.end)
        return;
    current_.end = now;
    writeJournal();
}

qint64 PlayLog::end(qint64 now, bool normal, QString* error) {
    if (!running_)
        return -1;
    running_ = false;
    Session session = current_;
    session.end = std::max(now, session.start);
    session.normal = normal;
    pending_.push_back(session);
    const QString failure = flush();
    if (error)
        *error = failure;
    return session.end - session.start;
}

QString PlayLog::rewrite(const std::function<void(QHash<QString, PlayStats>&)>& change) {
    QLockFile lock(QDir(folder_).filePath(QStringLiteral("PlayTime.lock")));
    if (!lock.tryLock(LockWaitMs))
        return platform::fileErrorText(filePath(), QStringLiteral("The file is locked"));
    try {
        // Another launcher may have written since: what it wrote stays.
        QHash<QString, PlayStats> merged = readFile();
        change(merged);
        QStringList keys = merged.keys();
        keys.sort();
        QStringList lines;
        lines.reserve(keys.size());
        for (const QString& key : std::as_const(keys))
            lines.append(formatStats(key, merged.value(key)));
        platform::writeTextLinesAtomic(filePath(), lines);
        stats_ = std::move(merged);
    } catch (const platform::IoError& e) {
        return e.text();
    }
    return QString();
}

QString PlayLog::renameGame(const QString& from, const QString& to) {
    if (from == to || !stats_.contains(from))
        return QString();
    const QString failure = rewrite([&from, &to](QHash<QString, PlayStats>& all) {
        if (all.contains(from) && !all.contains(to))
            all.insert(to, all.take(from));
    });
    if (failure.isEmpty()) {
        for (Session& session : pending_)
            if (session.path == from)
                session.path = to;
        if (running_ && current_.path == from)
            current_.path = to;
    }
    return failure;
}

QString PlayLog::flush() {
    if (pending_.empty())
        return QString();
    std::sort(pending_.begin(), pending_.end(),
              [](const Session& a, const Session& b) { return a.start < b.start; });
    QString failure = rewrite([this](QHash<QString, PlayStats>& all) {
        for (const Session& session : pending_)
            addSession(all, session);
    });
    if (failure.isEmpty())
        pending_.clear();
    if (!failure.isEmpty()) {
        // Shown as played meanwhile: the figures in memory hold the sessions still to write.
        for (const Session& session : pending_)
            addSession(stats_, session);
    }
    writeJournal();
    return failure;
}

} // namespace gamedata
