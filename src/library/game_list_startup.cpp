// Start-up: every List.ini entry shows at once, and the games are checked beside the window.

#include "i18n/messages.h"
#include "library/cache_memory.h"
#include "library/game_list.h"
#include "library/game_list_start_rows.h"
#include "library/header_cache.h"
#include "library/read_ahead.h"
#include "platform/detached_thread.h"
#include "platform/file_stamp.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopeGuard>
#include <QSet>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>

#include <algorithm>
#include <mutex>
#include <utility>

namespace library {

namespace {

constexpr int MessageLoaded = 8;
// A mapped cache file gives back the memory of the entries the check has confirmed, every so
// many rows (about 300 KB of entries): each time costs the other threads a pause.
constexpr int ReleaseRows = 2048;
// The check hands its results to the window in runs, at most this often.
constexpr qint64 ReportEveryMs = 50;

} // namespace

// Shared by the list and the thread of the check: the thread delivers only while the list
// exists. A check that hangs on storage is never waited for, neither by the window nor when
// the program ends.
struct GameList::StartUpRun {
    std::mutex mutex;
    GameList* receiver = nullptr;
};

struct GameList::StartUpResults {
    std::vector<CheckedGame> games; // rows read again
    int done = 0;
    int total = 0;
    bool last = false;
    CacheEntries cacheEntries; // with `last`: the whole cache
    bool cacheCurrent = false; // the file holds them already
};

namespace {

// A game whose files do not answer within this time is taken for one on storage that hangs
// (a sleeping network share): its folder is left, and the check goes on without it. A disk that
// is only slow (spinning up, a share waking, a loaded machine) answers within it; one left
// would keep its games unchecked until F5.
std::atomic<qint64> stallMs{10000};
// Workers left behind in storage that hangs, at most; past that the check gives up.
constexpr int MaxStalledWorkers = 16;

// What the check found for one row.
struct Finding {
    enum class Kind : quint8 { Confirmed, ToRead, Read, Left };
    Kind kind;
    int row; // the item looked at
    // Read only. Most findings are rows confirmed by thousands, each as small as this.
    std::unique_ptr<CheckedGame> game;
};

// Runs `look` over the items 0..count-1 in order on a worker thread. A worker that stays on one
// item longer than stallMs is left behind: that item's folder counts as hanging, its items are
// left out (Left), and a new worker goes on after it. `report` runs on the calling thread about
// every `intervalMs` with the findings so far. Each worker owns what `makeLooker` gives it.
// False when too many workers hung or nobody wants the findings any more.
template <typename MakeLooker, typename Report>
bool lookGuarded(int count, const std::function<QString(int)>& folderOf, MakeLooker makeLooker,
                 qint64 intervalMs, Report report) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        std::vector<Finding> findings;
        QSet<QString> hanging;
        int next = 0;       // the item the current worker is on
        int generation = 0; // of the current worker; older ones are left behind
        bool finished = false;
    };
    auto shared = std::make_shared<Shared>();
    const auto startWorker = [&](int from, int generation) {
        platform::runDetached([shared, from, generation, count, folderOf,
                               looker = makeLooker(from)]() mutable {
            for (int item = from; item < count; ++item) {
                bool leave = false;
                {
                    std::lock_guard<std::mutex> lock(shared->mutex);
                    if (shared->generation != generation)
                        return;
                    shared->next = item;
                    leave = !shared->hanging.isEmpty() && shared->hanging.contains(folderOf(item));
                }
                Finding finding = leave ? Finding{Finding::Kind::Left, item, {}} : looker(item);
                std::lock_guard<std::mutex> lock(shared->mutex);
                if (shared->generation != generation)
                    return; // left behind meanwhile: a newer worker has this item
                shared->findings.push_back(std::move(finding));
                shared->next = item + 1;
            }
            std::lock_guard<std::mutex> lock(shared->mutex);
            if (shared->generation == generation) {
                shared->finished = true;
                shared->changed.notify_all();
            }
        });
    };
    if (count == 0)
        return true;
    // However this ends, a worker still running stops at its next item: it never touches what
    // the caller owns once the caller has gone on.
    const auto stopWorkers = qScopeGuard([&shared] {
        std::lock_guard<std::mutex> lock(shared->mutex);
        ++shared->generation;
    });
    startWorker(0, 0);
    int stalled = 0;
    int lastNext = -1;
    QElapsedTimer still; // since the current worker last moved on
    still.start();
    for (;;) {
        std::vector<Finding> findings;
        bool finished = false;
        {
            std::unique_lock<std::mutex> lock(shared->mutex);
            shared->changed.wait_for(
                lock, std::chrono::milliseconds(std::min<qint64>(intervalMs, ReportEveryMs)),
                [&] { return shared->finished; });
            findings = std::move(shared->findings);
            shared->findings.clear();
            finished = shared->finished;
            if (shared->next != lastNext) {
                lastNext = shared->next;
                still.restart();
            } else if (!finished && still.elapsed() >= stallMs.load()) {
                // The worker hangs on this item: its folder is left, and a new worker goes on.
                const int item = shared->next;
                if (++stalled > MaxStalledWorkers)
                    return false;
                shared->hanging.insert(folderOf(item));
                ++shared->generation;
                findings.push_back({Finding::Kind::Left, item, {}});
                shared->next = item + 1;
                lastNext = item + 1;
                still.restart();
                if (item + 1 >= count) {
                    shared->finished = finished = true;
                } else {
                    const int generation = shared->generation;
                    lock.unlock();
                    startWorker(item + 1, generation);
                }
            }
        }
        if (!report(findings))
            return false;
        if (finished)
            return true;
    }
}

} // namespace

void GameList::setStallMs(qint64 ms) {
    stallMs.store(ms);
}

void GameList::checkBeside(const std::shared_ptr<StartUpRun>& run, const QStringList& paths,
                           const HeaderCache& cache, std::vector<qint32> cachedAt, int intervalMs,
                           bool aheadAlways) {
    const int total = static_cast<int>(paths.size());
    // Each row's entry, found once: at start-up, or here when the rows were not made from it.
    if (cachedAt.size() != static_cast<size_t>(paths.size())) {
        cachedAt.resize(paths.size());
        for (int row = 0; row < total; ++row)
            cachedAt[static_cast<size_t>(row)] = cache.find(paths.at(row));
    }
    const auto entryAt = std::make_shared<const std::vector<qint32>>(std::move(cachedAt));
    auto results = std::make_shared<StartUpResults>();
    // Mostly the old entries again, left in the old cache's bytes.
    CacheEntries entries;
    int done = 0;
    // Rows confirmed since the cache last gave its memory back.
    int confirmed = 0;
    const auto deliver = [&](bool last) {
        // The entries read so far give their memory back (a mapped cache file): all of it, as
        // the rows need not be in the file's order (a sorted list), and entries still to be
        // read come again from the file.
        if (confirmed >= ReleaseRows || (last && confirmed > 0)) {
            cache.release();
            confirmed = 0;
        }
        results->done = done;
        results->total = total;
        results->last = last;
        std::lock_guard<std::mutex> lock(run->mutex);
        if (GameList* list = run->receiver) {
            QMetaObject::invokeMethod(
                list, [list, results] { list->takeStartUpResults(results); }, Qt::QueuedConnection);
        }
        results = std::make_shared<StartUpResults>();
        return run->receiver != nullptr;
    };
    const auto keepEntry = [&](int row) {
        const qint32 at = (*entryAt)[static_cast<size_t>(row)];
        if (at >= 0)
            entries.keep(cache, at);
    };
    // First every row the cache knows, by the identities of its files alone, in the order of
    // their entries in the file: a sorted list reads the cache once from start to end.
    const auto order = std::make_shared<const std::vector<int>>(detail::rowsInFileOrder(*entryAt));
    const auto rowOf = [&order](int item) { return detail::rowAt(*order, size_t(item)); };
    std::vector<int> toRead;
    const bool firstDone = lookGuarded(
        total,
        [paths, order](int item) {
            return platform::folderPart(paths.at(detail::rowAt(*order, size_t(item))));
        },
        [&cache, &paths, &entryAt, &order](int) {
            return [cache, paths, entryAt, order](int item) {
                const int row = detail::rowAt(*order, size_t(item));
                const qint32 at = (*entryAt)[static_cast<size_t>(row)];
                if (at < 0)
                    return Finding{Finding::Kind::ToRead, item, {}};
                const CachedGame cached = cache.entry(at);
                quint64 digest = 0;
                // The first file is always the image itself.
                const bool same = !cached.files.isEmpty() &&
                                  cached.files.first() == paths.at(row) &&
                                  filesDigest(cached.files, digest) && digest == cached.digest;
                return Finding{same ? Finding::Kind::Confirmed : Finding::Kind::ToRead, item, {}};
            };
        },
        intervalMs,
        [&](std::vector<Finding>& findings) {
            for (Finding& finding : findings) {
                if (finding.kind == Finding::Kind::ToRead) {
                    toRead.push_back(rowOf(finding.row));
                    continue;
                }
                ++done;
                keepEntry(rowOf(finding.row)); // confirmed, or unconfirmed in a folder that hangs
                ++confirmed;
            }
            return deliver(false);
        });
    if (!firstDone)
        return;
    // Then the others are read, in list order, with the read-ahead of a batch.
    std::sort(toRead.begin(), toRead.end());
    QStringList reading;
    reading.reserve(static_cast<qsizetype>(toRead.size()));
    for (const int row : toRead)
        reading.append(paths.at(row));
    const bool secondDone = lookGuarded(
        static_cast<int>(reading.size()),
        [reading](int item) { return platform::folderPart(reading.at(item)); },
        [&reading, aheadAlways](int from) {
            // Each worker reads ahead of itself and looks up letter case in its own index.
            auto ahead = std::make_shared<ReadAheadWhenSlow>(reading.mid(from), aheadAlways);
            auto index = std::make_shared<platform::FileCaseIndex>();
            return [reading, from, ahead, index](int item) {
                ahead->entryStarts(item - from);
                CheckedGame game = checkGame(reading.at(item), index.get());
                ahead->entryEnds();
                if (game.outcome == CheckedGame::Outcome::NotSaturn)
                    game.record.path = reading.at(item);
                return Finding{Finding::Kind::Read, item,
                               std::make_unique<CheckedGame>(std::move(game))};
            };
        },
        intervalMs,
        [&](std::vector<Finding>& findings) {
            for (Finding& finding : findings) {
                ++done;
                const int row = toRead[static_cast<size_t>(finding.row)];
                if (finding.kind == Finding::Kind::Left) {
                    keepEntry(row); // what it showed stays for the next start
                    continue;
                }
                entries.add(std::exchange(finding.game->cacheEntry, {}));
                results->games.push_back(std::move(*finding.game));
            }
            return deliver(false);
        });
    if (!secondDone)
        return;
    results->cacheCurrent = entries.areAllOf(cache);
    results->cacheEntries = std::move(entries);
    deliver(true);
}

struct GameList::PendingStart {
    std::future<StartRows> rows;
    QTimer* poll = nullptr;
};

void GameList::startUp() {
    if (busy_ || startUp_ || pendingStart_)
        return;
    // The program prepared the start while its window was built; tests start here.
    StartParts parts = takePreparedStart(folder_);
    const bool prepared = parts.rows.valid();
    if (!prepared)
        parts = prepareStart(folder_);
    const std::shared_ptr<const StartPreview> preview = parts.preview.get();
    if (prepared && preview && model_.count() == 0 &&
        parts.rows.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        // The rows show at once from the preview; they are taken when made, or when anything
        // but a paint needs them first.
        pendingStart_ = std::make_shared<PendingStart>();
        pendingStart_->rows = std::move(parts.rows);
        pendingStart_->poll = new QTimer(this);
        pendingStart_->poll->setInterval(10);
        connect(pendingStart_->poll, &QTimer::timeout, this, [this] {
            if (pendingStart_ &&
                pendingStart_->rows.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
                settleStartUp();
        });
        pendingStart_->poll->start();
        auto regions = std::make_shared<RegionTexts>();
        model_.showPending({static_cast<int>(preview->lines.size()), preview->checking,
                            [preview, regions](int row) {
                                const size_t at = static_cast<size_t>(row);
                                const QString path = preview->path(at);
                                const qint32 entry = preview->cachedAt[at];
                                return entry < 0 || !preview->cache.usable(entry)
                                           ? absentRecord(path, Presence::Checking)
                                           : preview->cache.record(entry, path, *regions);
                            },
                            [this] { settleStartUp(); }});
        emit countChanged(countText());
        return;
    }
    beginStartUpCheck(parts.rows.get());
}

void GameList::settleStartUp() {
    if (!pendingStart_)
        return;
    const std::shared_ptr<PendingStart> pending = std::exchange(pendingStart_, nullptr);
    pending->poll->deleteLater();
    beginStartUpCheck(pending->rows.get());
}

bool GameList::startUpRowsPending() const {
    return pendingStart_ != nullptr;
}

void GameList::beginStartUpCheck(StartRows made) {
    if (!made.listed)
        return;
    if (made.error)
        std::rethrow_exception(made.error);
    HeaderCache cache = std::move(made.cache);
    if (made.previewWrong)
        model_.discardPending();
    if (model_.pending()) {
        // The rows shown so far were these: nothing changes in sight.
        dropped_ = made.dropped;
        model_.adoptPending(std::move(made.rows), std::move(made.index));
        // Whoever waits for the rows (the last game selected again) hears of them after
        // whatever asked for them first.
        QTimer::singleShot(0, this, [this] { emit startUpRowsMade(); });
    } else {
        // An empty list takes the rows as they were made; one with rows appends the new ones.
        const bool adopted = model_.count() == 0;
        dropped_ = made.dropped + model_.adoptRows(std::move(made.rows), std::move(made.index));
        if (!adopted) {
            // The rows are not those made: the check finds their entries.
            made.cachedAt.clear();
            made.paths = model_.paths();
        }
        emit countChanged(countText());
    }

    if (!cacheWriter_)
        cacheWriter_ = std::make_shared<CacheWriter>(cacheFilePath());
    cacheWriter_->hold();
    startRowsCurrent_ = made.rowsCurrent;
    startUp_ = std::make_shared<StartUpRun>();
    startUp_->receiver = this;
    // The thread is not waited for: a folder that does not answer must hold up neither the
    // window nor its closing.
    platform::runDetached([run = startUp_, paths = std::move(made.paths), cache = std::move(cache),
                           cachedAt = std::move(made.cachedAt), intervalMs = progressIntervalMs_,
                           aheadAlways = readAheadAlways_]() mutable {
        checkBeside(run, paths, cache, std::move(cachedAt), intervalMs, aheadAlways);
    });
}

void GameList::takeStartUpResults(const std::shared_ptr<StartUpResults>& results) {
    if (results)
        pendingResults_.push_back(results);
    // A batch being added lets events run: the rows change only once it has ended.
    if (busy_) {
        if (!drainScheduled_) {
            drainScheduled_ = true;
            QTimer::singleShot(20, this, [this] {
                drainScheduled_ = false;
                takeStartUpResults(nullptr);
            });
        }
        return;
    }
    std::vector<std::shared_ptr<StartUpResults>> ready = std::move(pendingResults_);
    pendingResults_.clear();
    for (const std::shared_ptr<StartUpResults>& each : ready)
        applyStartUpResults(*each);
}

void GameList::applyStartUpResults(StartUpResults& results) {
    if (!startUp_)
        return;
    std::vector<PlacedRecord> changes;
    QStringList reasons; // beside the changes: replacing a row forgets its reason
    std::vector<int> drops;
    for (CheckedGame& game : results.games) {
        const QString& path = game.record.path;
        const int row = model_.rowOf(path);
        if (row < 0) {
            // Taken out meanwhile: undo may bring it back.
            lateResults_.insert(path, std::move(game));
            continue;
        }
        if (game.outcome == CheckedGame::Outcome::NotSaturn) {
            drops.push_back(row);
            continue;
        }
        const GameRecord& now = model_.at(row);
        if (now.presence == game.record.presence && now.gameName == game.record.gameName &&
            now.gameId == game.record.gameId && now.region == game.record.region) {
            model_.setReason(path, game.reason);
            continue;
        }
        reasons.append(game.reason);
        changes.push_back({row, std::move(game.record)});
    }
    model_.replace(changes);
    for (size_t i = 0; i < changes.size(); ++i)
        model_.setReason(changes[i].record.path, reasons.at(static_cast<qsizetype>(i)));
    if (!drops.empty()) {
        // The dropped entries are not for undo: the design drops them for good.
        std::sort(drops.begin(), drops.end());
        dropped_ += static_cast<int>(drops.size());
        if (drops.size() <= 32) {
            for (auto it = drops.rbegin(); it != drops.rend(); ++it)
                model_.removeAt(*it);
        } else {
            model_.takeRows(drops);
        }
    }
    if (!changes.empty() || !drops.empty()) {
        emit countChanged(countText());
        emit rowsChecked();
    }
    emit startUpProgress(results.done, results.total);
    if (results.last)
        finishStartUp(results);
}

void GameList::leaveStartUp() {
    if (!startUp_)
        return;
    {
        std::lock_guard<std::mutex> lock(startUp_->mutex);
        startUp_->receiver = nullptr;
    }
    startUp_.reset();
}

void GameList::finishStartUp(StartUpResults& results) {
    leaveStartUp();
    // Rows kept for undo are put back as the check found them.
    for (UndoStep& step : undo_)
        takeLateResults(step.rows);
    lateResults_.clear();
    emit countChanged(countText());
    // The file loses the dropped entries, as after every start-up check (a file that holds the
    // rows exactly as they would be written is left as it is, and so are the cache's rows); the
    // status tells of the load only once the file holds the list. The cache is written after
    // it, with its rows.
    bool saved = true;
    try {
        ListShape shape;
        if (dropped_ > 0 ||
            !platform::holdsTextLines(
                listFilePath(), model_.count(),
                [this](qsizetype row) -> const QString& {
                    return model_.at(static_cast<int>(row)).path;
                },
                QStringConverter::System, [&shape](QByteArrayView bytes) { shape.add(bytes); }))
            save();
        else if (startRowsCurrent_)
            cacheWriter_->knowList(std::move(shape).rows(platform::fileStamp(listFilePath())),
                                   model_.paths());
        else
            cacheWriter_->listChanged(std::move(shape).rows(platform::fileStamp(listFilePath())),
                                      model_.paths());
    } catch (const platform::IoError& error) {
        saved = false;
        emit failed(error.text());
    }
    cacheWriter_->writeAll(std::move(results.cacheEntries), results.cacheCurrent);
    results.cacheEntries = CacheEntries();
    if (saved && model_.count() > 0)
        emit statusChanged(dropped_ > 0 ? i18n::message(i18n::Extra::LoadedDropped).arg(dropped_)
                                        : i18n::message(MessageLoaded));
    dropped_ = 0;
    emit startUpChecked();
}

void GameList::takeLateResults(std::vector<PlacedRecord>& rows) {
    if (lateResults_.isEmpty())
        return;
    std::erase_if(rows, [this](PlacedRecord& placed) {
        const auto late = lateResults_.constFind(placed.record.path);
        if (late == lateResults_.constEnd())
            return false;
        if (late->outcome == CheckedGame::Outcome::NotSaturn)
            return true; // dropped, as the check drops such entries
        placed.record = late->record;
        model_.setReason(late->record.path, late->reason);
        return false;
    });
}

void GameList::applyChecked(const QString& path, const CheckedGame& game) {
    const int row = model_.rowOf(path);
    if (row < 0 || game.outcome == CheckedGame::Outcome::NotSaturn)
        return;
    model_.replace({{row, game.record}});
    model_.setReason(path, game.reason);
    emit countChanged(countText());
    emit rowsChecked();
}

bool GameList::waitForStartUpCheck(int timeoutMs) {
    settleStartUp();
    if (!startUp_)
        return true;
    QEventLoop loop;
    connect(this, &GameList::startUpChecked, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (cacheWriter_)
        cacheWriter_->flush();
    return !startUp_;
}

void GameList::describeBeside(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    if (!cacheWriter_)
        cacheWriter_ = std::make_shared<CacheWriter>(cacheFilePath());
    platform::runDetached([writer = cacheWriter_, paths] {
        QByteArray entries;
        quint32 count = 0;
        platform::FileCaseIndex index;
        for (const QString& path : paths) {
            const CheckedGame game = checkGame(path, &index);
            if (!game.cacheEntry.isEmpty()) {
                entries += game.cacheEntry;
                ++count;
            }
        }
        writer->append(entries, count);
    });
}

} // namespace library
