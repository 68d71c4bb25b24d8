#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace platform {
class FileCaseIndex;
}

namespace library {

class CacheWriter;
class HeaderCache;
struct StartRows;

// Whether a row's game was there when it was last looked at. A missing or unreadable game keeps
// its row (its drive may only be unplugged), shown by its file name alone; so does a game that
// start-up has not looked at yet (Checking) and that the header cache does not know.
enum class Presence : quint8 { Found, Missing, Unreadable, Checking };

// One row of the game list. The path is the row's key; the other fields are worked out again
// from the image whenever the row is built and are never stored.
struct GameRecord {
    QString path;
    QString gameName;
    QString gameId;
    QString region;
    Presence presence = Presence::Found;

    bool found() const { return presence == Presence::Found; }
    bool absent() const {
        return presence == Presence::Missing || presence == Presence::Unreadable;
    }
};

// The row of a game that is missing or cannot be read: its file name without the extension as
// its name, no game ID and no region.
GameRecord absentRecord(const QString& path, Presence presence);

// A row taken out of the list, with the row number it had.
struct PlacedRecord {
    int row;
    GameRecord record;
};

// Whether a row's game name, game ID or region contains the text, letter case ignored; every
// row matches an empty text.
bool matchesFilter(const GameRecord& record, const QString& text);

// The 8-bit text a row's field sorts by, and the order of two such texts: bytes with a-z
// folded onto A-Z only; a text that begins another sorts first.
QByteArray sortKey(const QString& field);
int compareSortKeys(const QByteArray& a, const QByteArray& b);

// List.ini is read whole before its games are looked at: one past this bound (hundreds of
// thousands of games) is refused with "File too large", like every file the launcher reads.
constexpr qint64 MaxListFileBytes = qint64(64) << 20;

// List.ini of an application folder (found ignoring letter case, like every file there), and
// the header cache beside it.
QString listFileIn(const QString& folder);
QString cacheFileIn(const QString& folder);

// The form of a path by which the list tells one file from another: a folder separator written
// twice and a "." folder name ("games//Other.cue", "./games/Other.cue") name the same file as
// the plain spelling, so they give the same key. Letter case and ".." steps still count (they
// may name another file). A plain path is its own key.
QString listKey(const QString& path);

// Compares two rows by column 0 (path), 1 (game name), 2 (game ID) or 3 (region): bytes of the
// 8-bit text with a-z folded onto A-Z only; a text that begins another sorts first.
int compareRows(const GameRecord& a, const GameRecord& b, int column);

// What looking at one game gave: a row (found, missing or unreadable, with the reason for the
// latter two), or no Saturn disc (no row). A found game comes with its header cache entry,
// empty when its files cannot be told apart from their next version.
struct CheckedGame {
    enum class Outcome : quint8 { Found, Absent, NotSaturn };
    Outcome outcome = Outcome::NotSaturn;
    GameRecord record;
    QString reason;
    QByteArray cacheEntry;
};

// Resolves the game and reads its header; never throws (a file that cannot be read gives an
// unreadable row). Safe on any thread.
CheckedGame checkGame(const QString& path, platform::FileCaseIndex* index = nullptr);

// The rows of the game list, shown by the list view: columns "Path" (hidden), "Game name",
// "Game ID", "Region"; every even row on the skin's tint, every odd one on white. Header
// captions can be replaced (the language file does) with setHeaderData.
class GameListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int ColumnCount = 4;

    explicit GameListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

    int count() const { return pending_ ? pending_->count : static_cast<int>(rows_.size()); }
    const GameRecord& at(int row) const {
        settle();
        return rows_[static_cast<size_t>(row)];
    }

    // Rows shown before they are made (the start of a long list): `count` rows, each made when
    // painted by `rowAt`, `checking` of them not checked yet. The rows themselves come with
    // adoptRows, showing the same; any other use of the rows asks `settle` for them first,
    // which waits until they are made and hands them over.
    struct PendingRows {
        int count = 0;
        int checking = 0;
        std::function<GameRecord(int row)> rowAt;
        std::function<void()> settle;
    };
    // Shows the pending rows in an empty list.
    void showPending(PendingRows pending);
    bool pending() const { return pending_ != nullptr; }
    // A path is listed under any spelling with the same key (listKey).
    bool isListed(const QString& path) const {
        settle();
        return index_.contains(listKey(path));
    }
    // The first row with this path (under any spelling with its key), or -1.
    int rowOf(const QString& path) const {
        settle();
        return index_.value(listKey(path), -1);
    }
    QStringList paths() const;

    // Makes room for this many rows in all, so a long batch does not move the rows again and
    // again as they grow.
    void reserve(int rows);
    void append(const GameRecord& record);
    void append(const std::vector<GameRecord>& records);
    // Appends the records whose paths are not listed yet, in one insertion; gives how many
    // repeated a listed path (or an earlier record) and were left out.
    int appendNew(std::vector<GameRecord>&& records);
    // Takes the rows of an empty list in one go, with their index (listKey(path) -> its first
    // row) made beforehand; a list that holds rows appends them (appendNew) instead. Gives how
    // many were left out as repeats.
    int adoptRows(std::vector<GameRecord>&& records, QHash<QString, int>&& index);
    // The rows of pending rows, as they show them (no change anyone sees).
    void adoptPending(std::vector<GameRecord>&& records, QHash<QString, int>&& index);
    // Forgets the pending rows (the rows made are not those shown).
    void discardPending();
    void removeAt(int row);
    void clearAll();
    // Takes out the rows (ascending numbers) and gives them with their numbers.
    std::vector<PlacedRecord> takeRows(const std::vector<int>& rows);
    // Puts rows back at their numbers (ascending), each after the rows before it.
    void putBack(std::vector<PlacedRecord> rows);
    // Replaces rows in place (a game found again, or located under another path).
    void replace(const std::vector<PlacedRecord>& rows);

    // Rows whose game is missing or cannot be read.
    int missingCount() const { return pending_ ? 0 : missing_; }
    // Rows not looked at yet.
    int checkingCount() const { return pending_ ? pending_->checking : checking_; }
    // Why an absent row's game is absent: the file not found (when it is not the row's own
    // path) or the system's reason it cannot be read. Shown in the row's tooltip.
    void setReason(const QString& path, const QString& reason);
    // "Not found: <file>" or "Cannot be read: <reason>" for an absent row; empty otherwise.
    QString absenceText(const GameRecord& record) const;
    // Sorts stably: rows that compare equal keep their order, either way.
    void sortByColumn(int column, Qt::SortOrder order = Qt::AscendingOrder);
    // Puts the rows in the order given: row i becomes the row that was rowOrder[i] (a
    // permutation of all rows). The list no longer follows a column's sort.
    void reorder(const std::vector<int>& rowOrder);
    // The column and order of the last sort while the rows still follow it; -1 once rows were
    // added or the list was cleared.
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    QColor tint() const { return tint_; }
    void setTint(const QColor& tint);

    // Which profile file applies to a row (empty when it has none). A row with a profile shows
    // its game name in `markerFont`, and every row's tooltip shows its image path and profile.
    using ProfileLookup = std::function<QString(const GameRecord&)>;
    void setProfileMarker(ProfileLookup lookup, const QFont& markerFont);
    // Shows the markers again after profiles were saved or deleted.
    void refreshProfileMarkers();
    // A line that ends a found row's tooltip (play time, for one), empty for none.
    void setTipLine(std::function<QString(const GameRecord&)> line) { tipLine_ = std::move(line); }

signals:
    // The header's sort arrow: the column (-1: none) and the order the rows follow.
    void sortIndicatorChanged(int column, Qt::SortOrder order);

private:
    // Hands over pending rows, waiting for them.
    void settle() const {
        if (pending_)
            settlePending();
    }
    void settlePending() const;
    // The row as painted: pending rows are made one at a time (the last one kept, since a paint
    // asks for one row's columns and roles in turn).
    const GameRecord& shownRow(int row) const;

    void forgetSort();
    // Forgets the sort when one of the rows no longer stands in its order.
    void forgetSortUnlessFollowed(const std::vector<int>& rows);
    void applyOrder(const std::vector<int>& rowOrder);

    void rebuildIndex();
    void countMissing();
    void countIn(const GameRecord& record, int sign);

    std::vector<GameRecord> rows_;
    std::unique_ptr<PendingRows> pending_;
    mutable int shownRow_ = -1;
    mutable GameRecord shown_;
    QHash<QString, int> index_; // listKey(path) -> its first row
    QHash<QString, QString> reasons_;
    int missing_ = 0;
    int checking_ = 0;
    QString headers_[ColumnCount];
    QColor tint_{222, 224, 218};
    ProfileLookup profileOf_;
    std::function<QString(const GameRecord&)> tipLine_;
    QFont markerFont_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// The game list with its file List.ini: start-up validation, adding, deleting, clearing and
// sorting; the file mirrors the rows after every change. Status and count texts are reported
// through signals for the status bar. File failures throw platform::IoError.
class GameList : public QObject {
    Q_OBJECT

public:
    explicit GameList(const QString& applicationFolder, QObject* parent = nullptr);
    ~GameList() override;

    GameListModel* model() { return &model_; }
    QString listFilePath() const;

    // Reports a long batch's progress, `done` of `total` entries, at most every 50 ms, after
    // the rows validated since the last report have reached the model; the window runs its
    // pending messages there (it repaints and stays responsive). Returning false stops a
    // start-up: the rows so far stay and List.ini is not rewritten.
    using Progress = std::function<bool(int done, int total)>;

    // Start-up: when List.ini exists, every entry shows at once, from the header cache where it
    // has the entry, otherwise by its file name as a row being checked. The check goes on beside
    // the window: a row whose files are unchanged is confirmed by their identities alone, any
    // other is read again and updated in place (or dropped: empty lines, repeats, files that are
    // no Saturn disc). When it ends, the rows are those a full validation gives, List.ini and the
    // cache are written, and startUpChecked follows. Entries whose files are missing or cannot
    // be read stay as absent rows in their places.
    void startUp();
    // Reads List.ini and the header cache of the application folder on a thread of its own and
    // makes the rows from them, so that they are ready when the window's start-up asks for them
    // (the window is built meanwhile). startUp takes them when it starts in that folder.
    static void prepareStartUp(const QString& applicationFolder);
    // Tests: holds the rows of the starts prepared from now on unmade until released.
    static void holdStartRows(bool hold);
    // How long one game's files may take to answer the check before their folder counts as
    // hanging (10 s). The tests under Wine, whose file system emulation now and then stalls
    // for that long, set it longer.
    static void setStallMs(qint64 ms);
    // Whether the start-up check (or the making of the rows it checks) runs.
    bool startUpChecking() const;
    // While a long list's rows show before they are made (startUpRowsMade follows).
    bool startUpRowsPending() const;
    // Runs the events until the start-up check has ended (tests, benchmarks); false on timeout.
    bool waitForStartUpCheck(int timeoutMs = 60000);
    QString cacheFilePath() const;
    // Puts the outcome of one game looked at elsewhere (a launch checks its game) into its row.
    void applyChecked(const QString& path, const CheckedGame& game);
    // Adds the chosen files.
    void addGames(const QStringList& paths, const Progress& progress = {});
    // Adds files and, for each folder among the paths, the image files below it (see
    // scanImageFolder), in that order, as one batch of addGames; `progress` also runs after
    // each folder scanned, with no count (0 of 0).
    void addPaths(const QStringList& paths, const Progress& progress = {});
    // Asked while a batch runs (from within its progress report): the batch ends after the
    // current file. Rows added so far stay and are written; a scan cancelled before any row
    // adds nothing.
    void cancelBatch() { cancelled_ = busy_; }
    // The files the last batch of "Add games", "Add folder..." or a drop did not add, one line
    // each with the reason ("<file>: Supports only Sega Saturn system!").
    const QStringList& batchRefusals() const { return refusals_; }
    // Delete, clear and removing the absent rows can be undone: each keeps the rows it took.
    void deleteRow(int row);
    void clear();
    // Removes every missing or unreadable row; gives how many.
    int removeMissing();
    // Puts back the rows the last delete, clear or removal took, each in its old place (one
    // added again since stays where it is), or undoes the last step another command added.
    // False when there is nothing to undo.
    bool undo();
    // A step of another command in the same history (a deleted profile): undoing it runs
    // `undoStep`. A step whose undo fails (throws platform::IoError) stays to be tried again.
    void addUndoStep(std::function<void()> undoStep);
    bool canUndo() const { return !undo_.empty(); }
    // Sorts by the column, ascending; a second sort by the same column turns the order round.
    void sortByColumn(int column);
    // Sorts the rows by a number of each, greatest first; rows whose number is negative keep
    // their order after the others. Undo gives the rows their order before back.
    void sortByKeyDescending(const std::function<qint64(const GameRecord&)>& key);
    void save();

    // Looks at the games again without holding up the window: the absent rows, and with `all`
    // also whether the found games' files are still there. The files are looked at on a thread
    // of their own (a path on an absent drive may take long to answer); the rows change when
    // it ends (checked). A check asked for while one runs is left out.
    void checkAgain(bool all);
    bool checking() const;

    enum class Located { Replaced, NotSaturn, AlreadyListed };
    // Replaces the row's game with the chosen image, in its place, when that is a Saturn disc
    // listed nowhere else, and writes the list file. When the image is no Saturn disc because
    // a file it names is missing or no regular file, `problem` (when given) says which. Undo puts
    // the game before back.
    Located locate(int row, const QString& path, QString* problem = nullptr);
    // The same in two steps: the chosen image read (on any thread; throws platform::IoError
    // when it cannot be read), then put in the row.
    struct LocatedImage {
        QString path; // as chosen
        bool saturn = false;
        GameRecord record;
        QString problem;
    };
    static LocatedImage readLocated(const QString& path);
    Located locate(int row, LocatedImage image, QString* problem = nullptr);
    // Adds to the last undo step what else it changed: `undo` puts that back after the rows and
    // returns an error text, or nothing.
    void attachUndo(std::function<QString()> undo);
    // The error text of what the last undo put back outside the list, or nothing.
    QString lastUndoError() const { return undoError_; }

    // The count panel's text: the rows, and the absent ones when there are any.
    QString countText() const;

    // True while a batch is being added; list-changing commands wait until it ends.
    bool busy() const { return busy_; }

    // The least time between two progress reports (50 ms; tests report after every entry).
    void setProgressInterval(int ms) { progressIntervalMs_ = ms; }
    // Batches read their files ahead on a few threads once the validation proves slow (a cold
    // cache); tests make them read ahead from the first entry.
    void setReadAheadAlways(bool always) { readAheadAlways_ = always; }

signals:
    void countChanged(const QString& text);
    void statusChanged(const QString& text);
    // A check of the games ended; `found` games came back.
    void checked(int found);
    // Start-up's check: `done` of `total` rows looked at, after their rows were updated.
    void startUpProgress(int done, int total);
    void startUpChecked();
    // The rows shown at start-up are made: anything that waited for them (the last game
    // selected again) can use them now.
    void startUpRowsMade();
    // Rows changed by a check (the selected game may have become playable).
    void rowsChecked();
    // A file that nothing asked for could not be written (List.ini after the start-up check).
    void failed(const QString& text);

private:
    void addBatch(const QStringList& chosen, const Progress& progress);
    // Keeps the taken rows for undo and tells how many went.
    void removed(std::vector<PlacedRecord>&& rows);
    // One undoable step: the rows a removal took, another command's own undo, the order of the
    // rows before a reordering, or the game a located one replaced.
    struct UndoStep {
        std::vector<PlacedRecord> rows;
        std::function<void()> other;
        bool reordered = false;
        QStringList order{};
        bool located = false;
        QString locatedPath{};
        // What else the step changed outside the list (files renamed with it), put back last.
        std::function<QString()> alsoUndo{};
    };
    void keepUndoStep(UndoStep&& step);
    void restoreOrder(const QStringList& order);
    void applyCheck(const std::vector<PlacedRecord>& results,
                    const QHash<QString, QString>& reasons);

    struct StartUpRun;
    struct StartUpResults;
    struct PendingStart;
    // Takes the rows shown before they were made, waiting for them.
    void settleStartUp();
    // Puts the rows made at start-up in the list and starts their check beside the window.
    void beginStartUpCheck(StartRows made);
    void takeStartUpResults(const std::shared_ptr<StartUpResults>& results);
    void applyStartUpResults(StartUpResults& results);
    void finishStartUp(StartUpResults& results);
    // The start-up check's thread: confirms and reads the rows, hands the findings over.
    static void checkBeside(const std::shared_ptr<StartUpRun>& run, const QStringList& paths,
                            const HeaderCache& cache, std::vector<qint32> cachedAt, int intervalMs,
                            bool aheadAlways);
    // The check's thread delivers nothing more (it may go on, or hang, on its own).
    void leaveStartUp();
    // Rows taken out during the start-up check take the outcome it found for them meanwhile.
    void takeLateResults(std::vector<PlacedRecord>& rows);
    // Gives the cache the entries of games just added or located, worked out beside the window.
    void describeBeside(const QStringList& paths);

    QString folder_;
    GameListModel model_;
    std::shared_ptr<StartUpRun> startUp_;
    std::shared_ptr<PendingStart> pendingStart_;
    std::shared_ptr<CacheWriter> cacheWriter_;
    bool startRowsCurrent_ = false; // the cache knew List.ini's rows at the start
    // Outcomes for rows that were out of the list when the check reached them (undo brings
    // them back during the check).
    QHash<QString, CheckedGame> lateResults_;
    std::vector<std::shared_ptr<StartUpResults>> pendingResults_;
    bool drainScheduled_ = false;
    int dropped_ = 0;
    std::vector<UndoStep> undo_;
    struct CheckState;
    std::shared_ptr<CheckState> check_;
    bool busy_ = false;
    int progressIntervalMs_ = 50;
    bool readAheadAlways_ = false;
    bool cancelled_ = false;
    QStringList refusals_;
    QString undoError_;
};

// List.ini lines that name an existing file, in file order.
QStringList loadGameList(const QString& listFilePath);

} // namespace library
