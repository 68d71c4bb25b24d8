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

// Whether a row's game was there when it was last looked at. A missing or unreadable game keeps
// its row (its drive may only be unplugged), shown by its file name alone.
enum class Presence : quint8 { Found, Missing, Unreadable };

// One row of the game list. The path is the row's key; the other fields are worked out again
// from the image whenever the row is built and are never stored.
struct GameRecord {
    QString path;
    QString gameName;
    QString gameId;
    QString region;
    Presence presence = Presence::Found;

    bool found() const { return presence == Presence::Found; }
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

// The form of a path by which the list tells one file from another: a folder separator written
// twice and a "." folder name ("games//Other.cue", "./games/Other.cue") name the same file as
// the plain spelling, so they give the same key. Letter case and ".." steps still count (they
// may name another file). A plain path is its own key.
QString listKey(const QString& path);

// Compares two rows by column 0 (path), 1 (game name), 2 (game ID) or 3 (region): bytes of the
// 8-bit text with a-z folded onto A-Z only; a text that begins another sorts first.
int compareRows(const GameRecord& a, const GameRecord& b, int column);

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

    int count() const { return static_cast<int>(rows_.size()); }
    const GameRecord& at(int row) const { return rows_[static_cast<size_t>(row)]; }
    // A path is listed under any spelling with the same key (listKey).
    bool isListed(const QString& path) const { return index_.contains(listKey(path)); }
    // The first row with this path (under any spelling with its key), or -1.
    int rowOf(const QString& path) const { return index_.value(listKey(path), -1); }
    QStringList paths() const;

    // Makes room for this many rows in all, so a long batch does not move the rows again and
    // again as they grow.
    void reserve(int rows);
    void append(const GameRecord& record);
    void append(const std::vector<GameRecord>& records);
    void removeAt(int row);
    void clearAll();
    // Takes out the rows (ascending numbers) and gives them with their numbers.
    std::vector<PlacedRecord> takeRows(const std::vector<int>& rows);
    // Puts rows back at their numbers (ascending), each after the rows before it.
    void putBack(std::vector<PlacedRecord> rows);
    // Replaces rows in place (a game found again, or located under another path).
    void replace(const std::vector<PlacedRecord>& rows);

    // Rows whose game is missing or cannot be read.
    int missingCount() const { return missing_; }
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
    void forgetSort();
    // Forgets the sort when one of the rows no longer stands in its order.
    void forgetSortUnlessFollowed(const std::vector<int>& rows);
    void applyOrder(const std::vector<int>& rowOrder);

    void rebuildIndex();
    void countMissing();

    std::vector<GameRecord> rows_;
    QHash<QString, int> index_; // listKey(path) -> its first row
    QHash<QString, QString> reasons_;
    int missing_ = 0;
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

    // Start-up: when List.ini exists, load it, validate every entry, write it back. Entries
    // whose files are missing or cannot be read stay as absent rows in their places.
    void startUp(const Progress& progress = {});
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

    QString folder_;
    GameListModel model_;
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
