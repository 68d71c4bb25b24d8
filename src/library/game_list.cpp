#include "library/game_list.h"

#include "i18n/messages.h"
#include "library/disc_image.h"
#include "library/file_access.h"
#include "library/folder_scan.h"
#include "library/read_ahead.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <memory>
#include <numeric>
#include <utility>

namespace library {

namespace {

constexpr int ColumnCount = 4;
constexpr int MessageNotSaturn = 3;
constexpr int MessageLoaded = 8;
constexpr int MessageAdded = 9;
constexpr int MessageAlreadyListed = 13;

// Byte order with only the letters a-z folded onto A-Z; every other byte by its unsigned value.
int compareFolded(const QByteArray& a, const QByteArray& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

const QString& fieldOf(const GameRecord& record, int column) {
    switch (column) {
    case 1:
        return record.gameName;
    case 2:
        return record.gameId;
    case 3:
        return record.region;
    default:
        return record.path;
    }
}

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

// Resolves a path and builds its row when it is a Saturn disc. When it is not because a file
// that the image names is missing, `notFound` (when given) tells which.
bool buildRecord(const QString& path, GameRecord& record, platform::FileCaseIndex* index,
                 QString* notFound = nullptr) {
    QByteArray header;
    const ResolvedImage image = resolveImageRaw(path, &header, index);
    if (!image.isSaturn) {
        if (notFound && !image.missingFile.isEmpty())
            *notFound = i18n::message(i18n::Extra::NotFoundNamedIn)
                            .arg(platform::displayPath(image.missingFile),
                                 platform::displayPath(image.namedIn));
        return false;
    }
    record.path = path;
    record.gameName = image.gameName;
    record.gameId = trimmedField(header, ProductNumber);
    record.region = trimmedField(header, AreaSymbols);
    return true;
}

// One batch of validations (a start-up or an added batch). Its letter-case lookups share one
// index, so each folder is listed once. Rows wait here and reach the model in runs, at each
// progress report and at the end: one insertion per run instead of one per row keeps the view
// from laying out and repainting thousands of times.
class Batch {
public:
    Batch(GameListModel& model, const GameList::Progress& progress, int total, int intervalMs)
        : model_(model), progress_(progress), total_(total), intervalMs_(intervalMs) {
        // Every entry may become a row: room for them all at once.
        model_.reserve(model_.count() + total);
        timer_.start();
    }

    platform::FileCaseIndex* index() { return &index_; }
    bool isListed(const QString& path) const {
        return model_.isListed(path) || pendingPaths_.contains(path);
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
        pendingPaths_.insert(record.path);
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
    platform::FileCaseIndex index_;
    std::vector<GameRecord> pending_;
    QSet<QString> pendingPaths_;
    QSet<QString> regions_;
};

// The outcome of a batch of several files: each kind of outcome that occurred, with its count.
QString batchSummary(int added, int notSaturn, int listed, int notFound) {
    QStringList parts;
    const auto part = [&parts](int count, i18n::Extra text) {
        if (count > 0)
            parts.append(i18n::message(text).arg(count));
    };
    part(added, added == 1 ? i18n::Extra::BatchAddedOne : i18n::Extra::BatchAdded);
    part(notSaturn, i18n::Extra::BatchNotSaturn);
    part(listed, i18n::Extra::BatchListed);
    part(notFound, i18n::Extra::BatchNotFound);
    return parts.join(QStringLiteral(", "));
}

} // namespace

bool matchesFilter(const GameRecord& record, const QString& text) {
    return text.isEmpty() || record.gameName.contains(text, Qt::CaseInsensitive) ||
           record.gameId.contains(text, Qt::CaseInsensitive) ||
           record.region.contains(text, Qt::CaseInsensitive);
}

int compareRows(const GameRecord& a, const GameRecord& b, int column) {
    return compareFolded(platform::toLocal8Bit(fieldOf(a, column)),
                         platform::toLocal8Bit(fieldOf(b, column)));
}

// ---- GameListModel --------------------------------------------------------------------------

GameListModel::GameListModel(QObject* parent) : QAbstractTableModel(parent) {
    headers_[0] = QStringLiteral("Path");
    headers_[1] = QStringLiteral("Game name");
    headers_[2] = QStringLiteral("Game ID");
    headers_[3] = QStringLiteral("Region");
}

int GameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int GameListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() || index.column() >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return fieldOf(at(index.row()), index.column());
    if (role == Qt::BackgroundRole)
        return index.row() % 2 == 0 ? tint_ : QColor(Qt::white);
    if (role == Qt::FontRole && index.column() == 1 && profileOf_ &&
        !profileOf_(at(index.row())).isEmpty())
        return markerFont_;
    if (role == Qt::ToolTipRole) {
        // The path column is hidden; the tooltip tells two rows of the same disc apart.
        const GameRecord& record = at(index.row());
        QString tip = platform::displayPath(record.path);
        const QString profile = profileOf_ ? profileOf_(record) : QString();
        if (!profile.isEmpty())
            tip += QLatin1Char('\n') + i18n::message(i18n::Extra::ProfileTip) +
                   platform::displayPath(profile);
        return tip;
    }
    return {};
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount)
        return headers_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool GameListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                  int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    headers_[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

QStringList GameListModel::paths() const {
    QStringList list;
    list.reserve(count());
    for (const GameRecord& row : rows_)
        list.append(row.path);
    return list;
}

void GameListModel::forgetSort() {
    if (sortColumn_ < 0)
        return;
    sortColumn_ = -1;
    emit sortIndicatorChanged(-1, sortOrder_);
}

void GameListModel::append(const GameRecord& record) {
    forgetSort(); // rows come at the end: the list no longer follows the sort
    const int row = count();
    beginInsertRows({}, row, row);
    rows_.push_back(record);
    if (!index_.contains(record.path))
        index_.insert(record.path, row);
    endInsertRows();
}

void GameListModel::append(const std::vector<GameRecord>& records) {
    if (records.empty())
        return;
    forgetSort();
    const int first = count();
    beginInsertRows({}, first, first + static_cast<int>(records.size()) - 1);
    for (const GameRecord& record : records) {
        if (!index_.contains(record.path))
            index_.insert(record.path, count());
        rows_.push_back(record);
    }
    endInsertRows();
}

void GameListModel::reserve(int rows) {
    if (rows > count()) {
        rows_.reserve(static_cast<size_t>(rows));
        index_.reserve(rows);
    }
}

void GameListModel::removeAt(int row) {
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    rebuildIndex();
    endRemoveRows();
    // The rows after it changed between tinted and white.
    if (row < count())
        emit dataChanged(index(row, 0), index(count() - 1, ColumnCount - 1), {Qt::BackgroundRole});
}

void GameListModel::clearAll() {
    forgetSort();
    beginResetModel();
    rows_.clear();
    index_.clear();
    endResetModel();
}

void GameListModel::sortByColumn(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    sortColumn_ = column;
    sortOrder_ = order;
    emit sortIndicatorChanged(column, order);
    if (rows_.size() < 2)
        return;
    // Each key is converted to 8-bit text once, not once per comparison.
    std::vector<QByteArray> keys;
    keys.reserve(rows_.size());
    for (const GameRecord& row : rows_)
        keys.push_back(platform::toLocal8Bit(fieldOf(row, column)));
    const int sign = order == Qt::DescendingOrder ? -1 : 1;
    std::vector<int> rowOrder(rows_.size());
    std::iota(rowOrder.begin(), rowOrder.end(), 0);
    std::stable_sort(rowOrder.begin(), rowOrder.end(), [&keys, sign](int a, int b) {
        return sign * compareFolded(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]) < 0;
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(rows_.size());
    std::vector<GameRecord> sorted;
    sorted.reserve(rows_.size());
    for (size_t i = 0; i < rowOrder.size(); ++i) {
        newRowOf[static_cast<size_t>(rowOrder[i])] = static_cast<int>(i);
        sorted.push_back(std::move(rows_[static_cast<size_t>(rowOrder[i])]));
    }
    rows_ = std::move(sorted);
    rebuildIndex();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newRowOf[static_cast<size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GameListModel::setTint(const QColor& tint) {
    if (tint_ == tint)
        return;
    tint_ = tint;
    if (count() > 0)
        emit dataChanged(index(0, 0), index(count() - 1, ColumnCount - 1), {Qt::BackgroundRole});
}

void GameListModel::setProfileMarker(ProfileLookup lookup, const QFont& markerFont) {
    profileOf_ = std::move(lookup);
    markerFont_ = markerFont;
    refreshProfileMarkers();
}

void GameListModel::refreshProfileMarkers() {
    if (count() > 0)
        emit dataChanged(index(0, 0), index(count() - 1, ColumnCount - 1),
                         {Qt::FontRole, Qt::ToolTipRole});
}

void GameListModel::rebuildIndex() {
    index_.clear();
    index_.reserve(count());
    for (int row = count() - 1; row >= 0; --row)
        index_.insert(rows_[static_cast<size_t>(row)].path, row);
}

// ---- GameList -------------------------------------------------------------------------------

GameList::GameList(const QString& applicationFolder, QObject* parent)
    : QObject(parent), folder_(applicationFolder) {}

QString GameList::listFilePath() const {
    // Found ignoring letter case, like every file of the application folder.
    return platform::resolveFileCase(platform::joinPath(folder_, QStringLiteral("/List.ini")));
}

void GameList::startUp(const Progress& progress) {
    if (busy_ || !QFileInfo::exists(listFilePath()))
        return;
    BusyScope scope(busy_);
    // Every entry is opened while it is validated, and one whose file is missing fails there
    // just as it fails the existence test of loadGameList; so the lines go straight to the
    // validation and each file is looked up once, not twice.
    QStringList candidates = platform::readTextLines(listFilePath());
    Batch batch(model_, progress, static_cast<int>(candidates.size()), progressIntervalMs_);
    // Entries read and not shown: a repeat of one is not read again. (A repeat of a shown one
    // is found among the rows.)
    QSet<QString> seen;
    held_.clear();
    QString unreadable;
    bool stopped = false;
    ReadAheadWhenSlow ahead(candidates, readAheadAlways_);
    try {
        int done = 0;
        for (const QString& path : std::as_const(candidates)) {
            ++done;
            // A repeated entry is dropped whatever its image holds, so it is not read again.
            if (path.isEmpty() || seen.contains(path) || batch.isListed(path))
                continue;
            GameRecord record;
            ahead.entryStarts(done - 1);
            try {
                const bool saturn = buildRecord(path, record, batch.index());
                ahead.entryEnds();
                if (saturn)
                    batch.add(std::move(record));
                else
                    seen.insert(path);
            } catch (const platform::IoError& error) {
                ahead.entryEnds();
                seen.insert(path);
                // An entry that exists but cannot be read now (no permission, an I/O error) is
                // neither shown nor dropped: the list file keeps it in its place, so that it
                // comes back once it can be read.
                held_.push_back({batch.count(), path});
                unreadable += QLatin1Char('\n') + platform::displayPath(path) +
                              QStringLiteral(": ") + error.text().section(QLatin1Char('\n'), 0, 0);
            }
            if (!batch.step(done)) {
                stopped = true;
                break;
            }
        }
    } catch (const platform::IoError&) {
        // The rows validated so far stay in the window; List.ini is not rewritten, so the
        // entries not yet validated are kept for the next start.
        batch.flush();
        emit countChanged(QString::number(model_.count()));
        throw;
    }
    ahead.stop();
    batch.flush();
    candidates.clear(); // the rows hold the entries now; the list is not kept beside them
    seen.clear();
    emit countChanged(QString::number(model_.count()));
    if (stopped)
        return; // as after a failure: the entries not yet validated stay in List.ini
    // The status tells of the load only once the file holds the list.
    save();
    if (model_.count() > 0)
        emit statusChanged(i18n::message(MessageLoaded));
    if (!unreadable.isEmpty())
        throw platform::IoError(i18n::message(i18n::Extra::UnreadableGames) + unreadable);
}

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
        for (const QString& path : paths) {
            if (!QFileInfo(path).isDir()) {
                files.append(path);
                continue;
            }
            // Scanning reports no count: the files to validate are not known yet.
            files += scanImageFolder(path, [&] {
                if (progress)
                    progress(0, 0);
                return cancelled_;
            });
            if (cancelled_)
                return;
        }
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
    for (const QString& path : chosen) {
        if (path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r')))
            refused += QLatin1Char('\n') + platform::displayPath(path);
        else
            paths.append(path);
    }
    const QString refusedText = i18n::message(i18n::Extra::UnsafePath) + refused;
    if (paths.isEmpty())
        throw platform::IoError(refusedText);
    // One file reports its own outcome; a batch of several counts them.
    QString status;
    int added = 0, notSaturn = 0, listed = 0, notFound = 0;
    {
        BusyScope scope(busy_);
        Batch batch(model_, progress, static_cast<int>(paths.size()), progressIntervalMs_);
        ReadAheadWhenSlow ahead(paths, readAheadAlways_);
        try {
            int done = 0;
            for (const QString& path : paths) {
                GameRecord record;
                ahead.entryStarts(done);
                ++done;
                QString missing;
                const bool saturn = buildRecord(path, record, batch.index(), &missing);
                ahead.entryEnds();
                if (!saturn && !missing.isEmpty()) {
                    status = missing;
                    ++notFound;
                } else if (!saturn) {
                    status = i18n::message(MessageNotSaturn);
                    ++notSaturn;
                } else if (batch.isListed(path)) {
                    // The duplicate test comes after the Saturn check and the header read.
                    status = i18n::message(MessageAlreadyListed);
                    ++listed;
                } else {
                    batch.add(std::move(record));
                    status = i18n::message(MessageAdded);
                    ++added;
                }
                batch.step(done);
                if (cancelled_)
                    break;
            }
        } catch (const platform::IoError&) {
            // The rows added before the failure stay, and the count and the file follow them
            // so that they are not lost when the program ends.
            batch.flush();
            emit countChanged(QString::number(model_.count()));
            try {
                save();
            } catch (const platform::IoError&) {
                // the first failure is the one to report
            }
            throw;
        }
        batch.flush();
    }
    emit countChanged(QString::number(model_.count()));
    save();
    if (paths.size() > 1)
        status = batchSummary(added, notSaturn, listed, notFound);
    emit statusChanged(status);
    if (!refused.isEmpty())
        throw platform::IoError(refusedText);
}

void GameList::deleteRow(int row) {
    if (busy_)
        return;
    const bool deleted = row >= 0 && row < model_.count();
    if (deleted) {
        model_.removeAt(row);
        for (HeldEntry& entry : held_) {
            if (entry.rowsBefore > row)
                --entry.rowsBefore;
        }
        emit countChanged(QString::number(model_.count()));
    }
    // The status spoke of the step before; after a deletion it has nothing to say.
    if (deleted || model_.count() == 0)
        emit statusChanged(QString());
    if (deleted)
        save();
}

void GameList::clear() {
    if (busy_)
        return;
    model_.clearAll();
    held_.clear(); // an emptied list keeps nothing for later
    emit countChanged(QStringLiteral("0"));
    emit statusChanged(QString());
    save();
}

void GameList::sortByColumn(int column) {
    if (busy_ || column < 0 || column >= ColumnCount)
        return;
    const bool again = model_.sortColumn() == column && model_.sortOrder() == Qt::AscendingOrder;
    model_.sortByColumn(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    save();
}

void GameList::save() {
    QStringList lines = model_.paths();
    // Entries held back at start-up go back in their places (by the number of rows before
    // them), unless one has been added again since.
    for (auto entry = held_.rbegin(); entry != held_.rend(); ++entry) {
        if (!model_.isListed(entry->path))
            lines.insert(std::min<qsizetype>(entry->rowsBefore, lines.size()), entry->path);
    }
    platform::writeTextLinesAtomic(listFilePath(), lines);
}

QStringList loadGameList(const QString& listFilePath) {
    QStringList kept;
    for (const QString& line : platform::readTextLines(listFilePath)) {
        // One stat for the usual entry; the letter-case lookup only for one that is missing.
        if (detail::isFileExact(line) || (!line.isEmpty() && platform::fileExists(line)))
            kept.append(line);
    }
    return kept;
}

} // namespace library
