#include "library/game_list.h"

#include "i18n/messages.h"
#include "library/disc_image.h"
#include "library/file_access.h"
#include "library/game_list_build.h"
#include "library/game_list_release.h"
#include "library/header_cache.h"
#include "platform/detached_thread.h"
#include "platform/file_stamp.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <algorithm>
#include <mutex>
#include <numeric>
#include <utility>

namespace library {

namespace {

// One header field, trimmed and cut at its first zero byte. Bytes of 32 and below are single
// characters in every 8-bit code page and in UTF-8, so they are cut off before the conversion.
QString trimmedField(const QByteArray& header, HeaderField field) {
    qsizetype begin = 0;
    for (int i = 0; i < field; ++i)
        begin += HeaderFieldLengths[static_cast<size_t>(i)];
    qsizetype end = std::min(header.size(), begin + HeaderFieldLengths[static_cast<size_t>(field)]);
    while (begin < end && static_cast<unsigned char>(header[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(header[end - 1]) <= 32)
        --end;
    // The text ends at a zero byte inside it, as the properties window shows it.
    const qsizetype zero = header.indexOf('\0', begin);
    if (zero >= 0 && zero < end)
        end = zero;
    return begin < end ? platform::fromLocal8Bit(header.mid(begin, end - begin)) : QString();
}

} // namespace

bool buildRecord(const QString& path, GameRecord& record, platform::FileCaseIndex* index,
                 QString* missing, QString* notFound, bool* notRegular, ResolvedImage* resolved) {
    QByteArray header;
    const ResolvedImage image = resolveImageRaw(path, &header, index);
    if (resolved)
        *resolved = image;
    if (!image.isSaturn && missing && !image.missingPath.isEmpty()) {
        record = absentRecord(path, Presence::Missing);
        *missing = image.missingPath;
        return true;
    }
    if (!image.isSaturn) {
        if (notFound && !image.namedIn.isEmpty())
            *notFound = i18n::message(image.notRegular ? i18n::Extra::NotRegularNamedIn
                                                       : i18n::Extra::NotFoundNamedIn)
                            .arg(platform::displayPath(image.missingPath),
                                 platform::displayPath(image.namedIn));
        if (notRegular)
            *notRegular = image.notRegular;
        return false;
    }
    record.path = path;
    record.gameName = image.gameName;
    record.gameId = trimmedField(header, ProductNumber);
    record.region = trimmedField(header, AreaSymbols);
    return true;
}

namespace {

// A line of the list file that cannot name a file at all.
bool namesNoFile(const QString& line) {
    return line.isEmpty() || line.contains(QChar(0));
}

// The status after rows were taken out: how many, and that Ctrl+Z brings them back.
QString removedText(int rows) {
    return rows == 1 ? i18n::message(i18n::Extra::RemovedOne)
                     : i18n::message(i18n::Extra::RemovedMany).arg(rows);
}

constexpr size_t UndoSteps = 20;

} // namespace

namespace {

// The cache entry of a found game: its files and their identities. Each file read was noted
// with its identity as it was opened, before it was read; the entry keeps that identity, so a
// file changed while or since it was read no longer matches and is read again at the next
// start. Only when a file was read under a name the entry does not list is the game read once
// more after the identities were taken: a file changed in between reads differently and gets no
// entry.
QByteArray cacheEntryFor(const QString& path, const GameRecord& record, const ResolvedImage& image,
                         platform::FileCaseIndex* index, const detail::OpenedFiles& opened) {
    QStringList files{path};
    if (!image.sheetPath.isEmpty() && image.sheetPath != path)
        files.append(image.sheetPath);
    if (!image.dataFilePath.isEmpty())
        files.append(image.dataFilePath);
    quint64 digest = 0;
    if (!filesDigest(files, digest, opened.files()))
        return {};
    const bool allListed = std::all_of(opened.files().begin(), opened.files().end(),
                                       [&files](const detail::NotedFile& file) {
                                           return !file.read || files.contains(file.path);
                                       });
    if (allListed)
        return encodeCacheEntry({record, image.kind, files, digest});
    GameRecord again;
    ResolvedImage imageAgain;
    if (!buildRecord(path, again, index, nullptr, nullptr, nullptr, &imageAgain) ||
        again.gameName != record.gameName || again.gameId != record.gameId ||
        again.region != record.region || imageAgain.dataFilePath != image.dataFilePath ||
        imageAgain.sheetPath != image.sheetPath)
        return {};
    return encodeCacheEntry({record, image.kind, files, digest});
}

} // namespace

CheckedGame checkGame(const QString& path, platform::FileCaseIndex* index) {
    CheckedGame game;
    if (namesNoFile(path))
        return game;
    try {
        QString missing;
        ResolvedImage image;
        const detail::OpenedFiles opened;
        if (!buildRecord(path, game.record, index, &missing, nullptr, nullptr, &image))
            return game;
        if (!game.record.found()) {
            game.outcome = CheckedGame::Outcome::Absent;
            game.reason = missing;
            return game;
        }
        game.outcome = CheckedGame::Outcome::Found;
        game.cacheEntry = cacheEntryFor(path, game.record, image, index, opened);
    } catch (const platform::IoError& error) {
        game.outcome = CheckedGame::Outcome::Absent;
        game.record = absentRecord(path, Presence::Unreadable);
        game.reason = error.text();
        game.cacheEntry.clear();
    }
    return game;
}

// ---- GameList -------------------------------------------------------------------------------

GameList::GameList(const QString& applicationFolder, QObject* parent)
    : QObject(parent), folder_(applicationFolder) {}

QString listFileIn(const QString& folder) {
    return platform::resolveFileCase(platform::joinPath(folder, QStringLiteral("/List.ini")));
}

QString cacheFileIn(const QString& folder) {
    return platform::joinPath(folder, QStringLiteral("/ListHeaders.cache"));
}

QString GameList::listFilePath() const {
    return listFileIn(folder_);
}

bool GameList::startUpChecking() const {
    return startUp_ != nullptr || pendingStart_ != nullptr;
}

QString GameList::cacheFilePath() const {
    return cacheFileIn(folder_);
}

void GameList::deleteRow(int row) {
    if (busy_)
        return;
    if (row >= 0 && row < model_.count())
        removed(model_.takeRows({row}));
    else if (model_.count() == 0)
        emit statusChanged(QString());
}

void GameList::clear() {
    if (busy_)
        return;
    std::vector<int> rows(static_cast<size_t>(model_.count()));
    std::iota(rows.begin(), rows.end(), 0);
    if (rows.empty()) {
        emit countChanged(countText());
        emit statusChanged(QString());
        save();
        return;
    }
    removed(model_.takeRows(rows));
}

int GameList::removeMissing() {
    if (busy_ || model_.missingCount() == 0)
        return 0;
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(model_.missingCount()));
    for (int row = 0; row < model_.count(); ++row) {
        if (model_.at(row).absent())
            rows.push_back(row);
    }
    const int count = static_cast<int>(rows.size());
    removed(model_.takeRows(rows));
    return count;
}

void GameList::removed(std::vector<PlacedRecord>&& rows) {
    const int count = static_cast<int>(rows.size());
    keepUndoStep({std::move(rows), {}});
    emit countChanged(countText());
    emit statusChanged(removedText(count));
    save();
}

void GameList::addUndoStep(std::function<void()> undoStep) {
    keepUndoStep({{}, std::move(undoStep)});
}

void GameList::keepUndoStep(UndoStep&& step) {
    undo_.push_back(std::move(step));
    if (undo_.size() > UndoSteps) {
        std::vector<PlacedRecord> oldest = std::move(undo_.front().rows);
        undo_.erase(undo_.begin());
        const size_t size = oldest.size();
        releaseBeside(std::move(oldest), size);
    }
}

void GameList::sortByKeyDescending(const std::function<qint64(const GameRecord&)>& key) {
    if (busy_)
        return;
    const int count = model_.count();
    std::vector<qint64> keys(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row)
        keys[static_cast<size_t>(row)] = key(model_.at(row));
    std::vector<int> rowOrder(static_cast<size_t>(count));
    std::iota(rowOrder.begin(), rowOrder.end(), 0);
    std::stable_sort(rowOrder.begin(), rowOrder.end(), [&keys](int a, int b) {
        const qint64 ka = keys[static_cast<size_t>(a)];
        const qint64 kb = keys[static_cast<size_t>(b)];
        return kb < 0 ? ka >= 0 : ka > kb;
    });
    UndoStep step;
    step.reordered = true;
    step.order = model_.paths();
    model_.reorder(rowOrder);
    keepUndoStep(std::move(step));
    save();
}

// Gives the rows the order of the paths (a path listed twice takes its places in turn); rows
// added since come after them, in their order.
void GameList::restoreOrder(const QStringList& order) {
    QHash<QString, std::vector<int>> places;
    for (int i = static_cast<int>(order.size()) - 1; i >= 0; --i)
        places[order[i]].push_back(i);
    const int count = model_.count();
    std::vector<qint64> keys(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        auto it = places.find(model_.at(row).path);
        if (it != places.end() && !it->empty()) {
            keys[static_cast<size_t>(row)] = it->back();
            it->pop_back();
        } else {
            keys[static_cast<size_t>(row)] = static_cast<qint64>(order.size()) + row;
        }
    }
    std::vector<int> rowOrder(static_cast<size_t>(count));
    std::iota(rowOrder.begin(), rowOrder.end(), 0);
    std::sort(rowOrder.begin(), rowOrder.end(), [&keys](int a, int b) {
        return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });
    model_.reorder(rowOrder);
}

bool GameList::undo() {
    if (busy_ || undo_.empty())
        return false;
    undoError_.clear();
    if (undo_.back().other) {
        std::function<void()> step = std::move(undo_.back().other);
        undo_.pop_back();
        try {
            step();
        } catch (...) {
            undo_.push_back({{}, std::move(step)}); // to be tried again
            throw;
        }
        return true;
    }
    UndoStep step = std::move(undo_.back());
    undo_.pop_back();
    if (step.located) {
        const int row = model_.rowOf(step.locatedPath);
        if (row >= 0 && !step.rows.empty())
            model_.replace({{row, std::move(step.rows.front().record)}});
        emit countChanged(countText());
        emit statusChanged(i18n::message(i18n::Extra::Restored).arg(1));
        // The files go back whether or not the list file can be written.
        if (step.alsoUndo)
            undoError_ = step.alsoUndo();
        save();
        return true;
    }
    if (step.reordered) {
        restoreOrder(step.order);
        emit statusChanged(i18n::message(i18n::Extra::OrderRestored));
        save();
        return true;
    }
    std::vector<PlacedRecord> rows = std::move(step.rows);
    takeLateResults(rows);
    // A game added again since keeps the row it has now.
    std::erase_if(
        rows, [this](const PlacedRecord& placed) { return model_.isListed(placed.record.path); });
    const int count = static_cast<int>(rows.size());
    model_.putBack(std::move(rows));
    emit countChanged(countText());
    emit statusChanged(i18n::message(i18n::Extra::Restored).arg(count));
    save();
    return true;
}

void GameList::sortByColumn(int column) {
    if (busy_ || column < 0 || column >= GameListModel::ColumnCount)
        return;
    const bool again = model_.sortColumn() == column && model_.sortOrder() == Qt::AscendingOrder;
    model_.sortByColumn(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    save();
}

void GameList::save() {
    ListShape shape;
    platform::writeTextLinesAtomic(
        listFilePath(), model_.count(),
        [this](qsizetype row) -> const QString& { return model_.at(static_cast<int>(row)).path; },
        QStringConverter::System, [&shape](QByteArrayView bytes) { shape.add(bytes); });
    // The cache's rows follow the file.
    if (cacheWriter_)
        cacheWriter_->listChanged(std::move(shape).rows(platform::fileStamp(listFilePath())),
                                  model_.paths());
}

QString GameList::countText() const {
    if (model_.missingCount() == 0)
        return QString::number(model_.count());
    // Languages that bend the verb for one game ("1 fehlt", "2 fehlen") have a text for it.
    if (model_.missingCount() == 1)
        return i18n::message(i18n::Extra::CountWithOneMissing).arg(model_.count());
    return i18n::message(i18n::Extra::CountWithMissing)
        .arg(model_.count())
        .arg(model_.missingCount());
}

GameList::Located GameList::locate(int row, const QString& path, QString* problem) {
    if (busy_ || row < 0 || row >= model_.count())
        return Located::NotSaturn;
    return locate(row, readLocated(path), problem);
}

GameList::LocatedImage GameList::readLocated(const QString& path) {
    LocatedImage image;
    image.path = path;
    image.saturn = buildRecord(path, image.record, nullptr, nullptr, &image.problem);
    if (image.saturn)
        image.problem.clear();
    return image;
}

GameList::Located GameList::locate(int row, LocatedImage image, QString* problem) {
    if (busy_ || row < 0 || row >= model_.count())
        return Located::NotSaturn;
    if (!image.saturn) {
        if (problem)
            *problem = image.problem;
        return Located::NotSaturn;
    }
    GameRecord record = std::move(image.record);
    const QString& path = image.path;
    const int listed = model_.rowOf(path);
    if (listed >= 0 && listed != row)
        return Located::AlreadyListed;
    UndoStep step;
    step.located = true;
    step.locatedPath = record.path;
    step.rows.push_back({row, model_.at(row)});
    model_.replace({{row, std::move(record)}});
    keepUndoStep(std::move(step));
    emit countChanged(countText());
    describeBeside({path});
    save();
    return Located::Replaced;
}

void GameList::attachUndo(std::function<QString()> undo) {
    if (undo_.empty())
        return;
    // Several commands may add to one step: the latest is undone first.
    std::function<QString()>& also = undo_.back().alsoUndo;
    if (also)
        also = [later = std::move(undo), earlier = std::move(also)] {
            const QString first = later();
            const QString second = earlier();
            return first.isEmpty() || second.isEmpty() ? first + second
                                                       : first + QChar(13) + second;
        };
    else
        also = std::move(undo);
}

// ---- Checking the games again ---------------------------------------------------------------

// Shared by the list and the thread of a check: the thread delivers its results only while the
// list still exists.
struct GameList::CheckState {
    std::mutex mutex;
    GameList* receiver = nullptr;
    bool running = false; // the window's thread only
};

GameList::~GameList() {
    leaveStartUp();
    if (check_) {
        std::lock_guard<std::mutex> lock(check_->mutex);
        check_->receiver = nullptr;
    }
}

bool GameList::checking() const {
    return check_ && check_->running;
}

void GameList::checkAgain(bool all) {
    // Start-up's check looks at every row already.
    if (checking() || startUp_ || pendingStart_)
        return;
    struct Job {
        QString path;
        Presence presence; // an absent row's image is resolved; a found one's file looked for
    };
    std::vector<Job> jobs;
    for (int row = 0; row < model_.count(); ++row) {
        const GameRecord& record = model_.at(row);
        // With `all`, also the rows start-up left unchecked (their folder did not answer).
        if (all || record.absent())
            jobs.push_back({record.path, record.presence});
    }
    if (jobs.empty())
        return;
    if (!check_) {
        check_ = std::make_shared<CheckState>();
        check_->receiver = this;
    }
    check_->running = true;
    // The thread is not waited for: a path on a drive that does not answer must not hold up the
    // window, nor its closing. It ends by itself; its results are dropped when the list is gone.
    platform::runDetached([state = check_, jobs = std::move(jobs)] {
        std::vector<PlacedRecord> results;
        QHash<QString, QString> reasons;
        platform::FileCaseIndex index;
        for (const Job& job : jobs) {
            GameRecord record;
            try {
                if (job.presence == Presence::Found) {
                    if (detail::fileExistsOrFail(job.path, &index))
                        continue;
                    record = absentRecord(job.path, Presence::Missing);
                } else {
                    QString missing;
                    // An entry there again but no Saturn disc stays as it is.
                    if (!buildRecord(job.path, record, &index, &missing))
                        continue;
                    reasons.insert(job.path, missing);
                }
            } catch (const platform::IoError& error) {
                record = absentRecord(job.path, Presence::Unreadable);
                reasons.insert(job.path, error.text());
            }
            // Only the changes go back: ten thousand games still missing cost the window
            // nothing.
            if (record.presence == job.presence)
                continue;
            results.push_back({-1, std::move(record)});
        }
        std::lock_guard<std::mutex> lock(state->mutex);
        if (GameList* list = state->receiver) {
            auto shared =
                std::make_shared<std::pair<std::vector<PlacedRecord>, QHash<QString, QString>>>(
                    std::move(results), std::move(reasons));
            QMetaObject::invokeMethod(
                list, [list, shared] { list->applyCheck(shared->first, shared->second); },
                Qt::QueuedConnection);
        }
    });
}

void GameList::applyCheck(const std::vector<PlacedRecord>& results,
                          const QHash<QString, QString>& reasons) {
    check_->running = false;
    std::vector<PlacedRecord> changes;
    for (const PlacedRecord& result : results) {
        // The rows may have moved or gone meanwhile: each is found by its path.
        const int row = model_.rowOf(result.record.path);
        if (row < 0)
            continue;
        const GameRecord& now = model_.at(row);
        if (now.presence == result.record.presence && (now.found() || result.record.found()))
            continue;
        if (now.presence == result.record.presence)
            continue; // still absent the same way
        changes.push_back({row, result.record});
    }
    model_.replace(changes);
    int changed = 0;
    for (const PlacedRecord& change : changes) {
        model_.setReason(change.record.path, reasons.value(change.record.path));
        if (change.record.found())
            ++changed;
    }
    emit countChanged(countText());
    emit checked(changed);
}

QStringList loadGameList(const QString& listFilePath) {
    QStringList kept;
    for (const QString& line : platform::readTextLines(listFilePath, MaxListFileBytes)) {
        // One stat for the usual entry; the letter-case lookup only for one that is missing.
        if (detail::isFileExact(line) || (!line.isEmpty() && platform::fileExists(line)))
            kept.append(line);
    }
    return kept;
}

} // namespace library
