// Adding games: chosen files and folders, read beside the window in one batch.

#include "i18n/messages.h"
#include "library/disc_image.h"
#include "library/folder_scan.h"
#include "library/game_list.h"
#include "library/game_list_build.h"
#include "library/read_ahead.h"
#include "platform/detached_thread.h"
#include "platform/io_error.h"
#include "platform/paths.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>

namespace library {

namespace {

constexpr int MessageNotSaturn = 3;
constexpr int MessageAdded = 9;
constexpr int MessageAlreadyListed = 13;
// How long an added batch waits for a file before it reports again (the window's events run at
// each report).
constexpr int WaitReportMs = 60;

// Holds the list's busy flag for the length of a batch, also when the batch fails.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
};

// A batch's file work on a thread of its own: the window's thread only waits for its news while
// its events go on, so a folder that does not answer (a sleeping network share) holds up the
// batch, never the window. `T` is what the work hands over.
template <typename T> struct BesideWork {
    std::mutex mutex;
    std::condition_variable changed;
    T value{};
    bool finished = false;
    std::exception_ptr error;
    std::atomic<bool> stop{false};

    // Hands `add` the value under the lock and wakes the waiting thread.
    template <typename Add> void hand(Add&& add) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            add(value);
        }
        changed.notify_one();
    }
    void finish(std::exception_ptr failure = nullptr) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            error = std::move(failure);
            finished = true;
        }
        changed.notify_one();
    }
    // Waits at most `ms` for news, then adds what was handed to the end of `taken`; true once
    // the work has ended and everything it handed had been taken before. What it threw is
    // thrown here then.
    bool take(T& taken, int ms) {
        std::unique_lock<std::mutex> lock(mutex);
        if (!finished && value.empty())
            changed.wait_for(lock, std::chrono::milliseconds(std::max(ms, 1)));
        const bool drained = value.empty();
        if (taken.empty()) {
            std::swap(taken, value);
        } else {
            for (auto& each : value)
                taken.push_back(std::move(each));
            value.clear();
        }
        if (finished && drained && error)
            std::rethrow_exception(error);
        return finished && drained;
    }
};

// The work is left alone once its waiter has gone (cancelled, failed or done): it stops at its
// next file, and what it still holds is freed on its own thread.
template <typename T> class StopWhenLeft {
public:
    explicit StopWhenLeft(std::shared_ptr<BesideWork<T>> work) : work_(std::move(work)) {}
    ~StopWhenLeft() { work_->stop = true; }
    StopWhenLeft(const StopWhenLeft&) = delete;
    StopWhenLeft& operator=(const StopWhenLeft&) = delete;

private:
    std::shared_ptr<BesideWork<T>> work_;
};

// What reading one chosen file gave.
struct ReadEntry {
    GameRecord record;
    QString missing;
    bool saturn = false;
    bool pipe = false;
};

// One batch of validations (a start-up or an added batch). Rows wait here and reach the model in
// runs, at each progress report and at the end: one insertion per run instead of one per row keeps
// the view from laying out and repainting thousands of times.
class Batch {
public:
    Batch(GameListModel& model, const GameList::Progress& progress, int total, int intervalMs)
        : model_(model), progress_(progress), total_(total), intervalMs_(intervalMs) {
        // Every entry may become a row: room for them all at once.
        model_.reserve(model_.count() + total);
        timer_.start();
    }

    bool isListed(const QString& path) const {
        return model_.isListed(path) || pendingPaths_.contains(listKey(path));
    }
    // The rows listed so far, those not yet shown included.
    int count() const { return model_.count() + static_cast<int>(pending_.size()); }
    void add(GameRecord&& record) {
        // A few area symbol strings ("JTUE", "U") stand for thousands of games: the rows share
        // one copy of each.
        const auto region = regions_.constFind(record.region);
        if (region != regions_.constEnd())
            record.region = *region;
        else if (regions_.size() < 256)
            regions_.insert(record.region);
        pendingPaths_.insert(listKey(record.path));
        pending_.push_back(std::move(record));
    }
    // After `done` entries: reports when the last report is old enough; false when the
    // receiver asks to stop.
    bool step(int done) {
        if (!progress_ || timer_.elapsed() < intervalMs_)
            return true;
        flush();
        const bool goOn = progress_(done, total_);
        timer_.restart();
        return goOn;
    }
    void flush() {
        model_.append(pending_);
        pending_.clear();
        pendingPaths_.clear();
    }

private:
    GameListModel& model_;
    const GameList::Progress& progress_;
    int total_;
    int intervalMs_;
    QElapsedTimer timer_;
    std::vector<GameRecord> pending_;
    QSet<QString> pendingPaths_;
    QSet<QString> regions_;
};

// The outcome of a batch of several files: each kind of outcome that occurred, with its count.
QString batchSummary(int added, int notSaturn, int listed, int notFound, int notRegular) {
    QStringList parts;
    const auto part = [&parts](int count, i18n::Extra text) {
        if (count > 0)
            parts.append(i18n::message(text).arg(count));
    };
    part(added, added == 1 ? i18n::Extra::BatchAddedOne : i18n::Extra::BatchAdded);
    part(notSaturn, i18n::Extra::BatchNotSaturn);
    part(listed, i18n::Extra::BatchListed);
    part(notFound, i18n::Extra::BatchNotFound);
    part(notRegular, i18n::Extra::BatchNotRegular);
    return parts.join(QStringLiteral(", "));
}

} // namespace

void GameList::addGames(const QStringList& paths, const Progress& progress) {
    if (busy_)
        return;
    cancelled_ = false;
    addBatch(paths, progress);
}

void GameList::addPaths(const QStringList& paths, const Progress& progress) {
    if (busy_ || paths.isEmpty())
        return;
    cancelled_ = false;
    QStringList files;
    {
        BusyScope scope(busy_);
        // Which paths are folders, and the files in them, are found beside the window. Scanning
        // reports no count: the files to validate are not known yet.
        auto scan = std::make_shared<BesideWork<QStringList>>();
        StopWhenLeft<QStringList> left(scan);
        platform::runDetached([scan, paths] {
            QStringList found;
            try {
                for (const QString& path : paths) {
                    if (!QFileInfo(path).isDir())
                        found.append(path);
                    else
                        found += scanImageFolder(path, [&] { return scan->stop.load(); });
                    if (scan->stop)
                        break;
                }
            } catch (...) {
                scan->finish(std::current_exception());
                return;
            }
            scan->hand([&](QStringList& value) { value = std::move(found); });
            scan->finish();
        });
        QElapsedTimer sinceReport;
        sinceReport.start();
        while (!scan->take(files, progressIntervalMs_)) {
            if (progress && sinceReport.elapsed() >= progressIntervalMs_) {
                progress(0, 0);
                sinceReport.restart();
            }
            if (cancelled_)
                return;
        }
        if (cancelled_)
            return;
    }
    addBatch(files, progress);
}

void GameList::addBatch(const QStringList& chosen, const Progress& progress) {
    if (busy_ || chosen.isEmpty())
        return;
    // A name with a line break would split its line of the list file (and a crafted one would
    // add an entry of its own): it is never listed, and is named once the batch is done.
    QStringList paths;
    QString refused;
    refusals_.clear();
    for (const QString& path : chosen) {
        if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
            refused += QLatin1Char('\n') + platform::displayPath(path);
        else
            paths.append(path);
    }
    // Each file the batch does not add, with why: the status only counts them.
    const auto refuse = [this](const QString& path, const QString& reason) {
        refusals_.append(platform::displayPath(path) + QStringLiteral(": ") + reason);
    };
    const QString refusedText = i18n::message(i18n::Extra::UnsafePath) + refused;
    if (paths.isEmpty())
        throw platform::IoError(refusedText);
    // One file reports its own outcome; a batch of several counts them.
    QString status;
    int added = 0, notSaturn = 0, listed = 0, notFound = 0, notRegular = 0;
    QStringList addedPaths;
    {
        BusyScope scope(busy_);
        Batch batch(model_, progress, static_cast<int>(paths.size()), progressIntervalMs_);
        // The files are read beside the window, in order; their rows are made here as they come.
        auto read = std::make_shared<BesideWork<std::deque<ReadEntry>>>();
        StopWhenLeft<std::deque<ReadEntry>> left(read);
        platform::runDetached([read, paths, always = readAheadAlways_] {
            try {
                // The letter-case lookups share one index, so each folder is listed once.
                platform::FileCaseIndex index;
                ReadAheadWhenSlow ahead(paths, always);
                int started = 0;
                for (const QString& path : paths) {
                    if (read->stop)
                        break;
                    ReadEntry entry;
                    ahead.entryStarts(started++);
                    entry.saturn = buildRecord(path, entry.record, &index, nullptr, &entry.missing,
                                               &entry.pipe);
                    ahead.entryEnds();
                    entry.record.path = path;
                    read->hand(
                        [&](std::deque<ReadEntry>& ready) { ready.push_back(std::move(entry)); });
                }
            } catch (...) {
                read->finish(std::current_exception());
                return;
            }
            read->finish();
        });
        try {
            int done = 0;
            std::deque<ReadEntry> taken;
            bool ended = false;
            // While a file takes long the batch reports again, so that the window's events go on.
            const int waitMs = std::max(progressIntervalMs_, WaitReportMs);
            QElapsedTimer waiting;
            waiting.start();
            while (!ended && !cancelled_) {
                ended = read->take(taken, waitMs);
                if (!taken.empty() || ended) {
                    waiting.restart();
                } else if (waiting.elapsed() >= waitMs) {
                    batch.step(done);
                    waiting.restart();
                }
                for (ReadEntry& entry : taken) {
                    const QString& path = entry.record.path;
                    ++done;
                    if (!entry.saturn && !entry.missing.isEmpty()) {
                        status = entry.missing;
                        refusals_.append(entry.missing);
                        ++(entry.pipe ? notRegular : notFound);
                    } else if (!entry.saturn) {
                        status = i18n::message(MessageNotSaturn);
                        refuse(path, status);
                        ++notSaturn;
                    } else if (batch.isListed(path)) {
                        // The duplicate test comes after the Saturn check and the header read.
                        status = i18n::message(MessageAlreadyListed);
                        refuse(path, status);
                        ++listed;
                    } else {
                        addedPaths.append(path);
                        batch.add(std::move(entry.record));
                        status = i18n::message(MessageAdded);
                        ++added;
                    }
                    batch.step(done);
                    if (cancelled_)
                        break;
                }
                taken.clear();
            }
        } catch (const platform::IoError&) {
            // The rows added before the failure stay, and the count and the file follow them
            // so that they are not lost when the program ends.
            batch.flush();
            emit countChanged(countText());
            try {
                save();
            } catch (const platform::IoError&) {
                // the first failure is the one to report
            }
            throw;
        }
        batch.flush();
    }
    emit countChanged(countText());
    describeBeside(addedPaths);
    save();
    if (paths.size() > 1)
        status = batchSummary(added, notSaturn, listed, notFound, notRegular);
    emit statusChanged(status);
    if (!refused.isEmpty())
        throw platform::IoError(refusedText);
}

} // namespace library
