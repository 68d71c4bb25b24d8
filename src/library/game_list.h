#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

namespace library {

// One row of the game list. The path is the row's key; the other fields are worked out again
// from the image whenever the row is built and are never stored.
struct GameRecord {
    QString path;
    QString gameName;
    QString gameId;
    QString region;
};

// Compares two rows by column 0 (path), 1 (game name), 2 (game ID) or 3 (region): bytes of the
// 8-bit text with a-z folded onto A-Z only; a text that begins another sorts first.
int compareRows(const GameRecord& a, const GameRecord& b, int column);

// The rows of the game list, shown by the list view: columns "Path" (hidden), "Game name",
// "Game ID", "Region"; every even row on the skin's tint, every odd one on white. Header
// captions can be replaced (the language file does) with setHeaderData.
class GameListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit GameListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

    int count() const { return static_cast<int>(rows_.size()); }
    const GameRecord& at(int row) const { return rows_[static_cast<size_t>(row)]; }
    bool isListed(const QString& path) const { return index_.contains(path); }
    QStringList paths() const;

    void append(const GameRecord& record);
    void append(const std::vector<GameRecord>& records);
    void removeAt(int row);
    void clearAll();
    void sortByColumn(int column);

    QColor tint() const { return tint_; }
    void setTint(const QColor& tint);

private:
    void rebuildIndex();

    std::vector<GameRecord> rows_;
    QHash<QString, int> index_;
    QString headers_[4];
    QColor tint_{222, 224, 218};
};

enum class AddOutcome { Added, NotSaturn, AlreadyListed };

// The game list with its file List.ini: start-up validation, adding, deleting, clearing and
// sorting; the file mirrors the rows after every change. Status and count texts are reported
// through signals for the status bar. File failures throw platform::IoError.
class GameList : public QObject {
    Q_OBJECT

public:
    explicit GameList(const QString& applicationFolder, QObject* parent = nullptr);

    GameListModel* model() { return &model_; }
    QString listFilePath() const;

    // Validates one path and appends it when it is a Saturn disc not yet listed.
    AddOutcome validate(const QString& path);

    // Start-up: when List.ini exists, load it, validate every entry, write it back. Entries
    // that exist but cannot be read are held in the file and named in one IoError afterwards.
    void startUp();
    // Adds the chosen files; `pump` lets pending window messages run after each added row.
    void addGames(const QStringList& paths, const std::function<void()>& pump = {});
    void deleteRow(int row);
    void clear();
    void sortByColumn(int column);
    void save();

    // True while a batch is being added; list-changing commands wait until it ends.
    bool busy() const { return busy_; }

signals:
    void countChanged(const QString& text);
    void statusChanged(const QString& text);

private:
    // An entry of the list file that could not be read at start-up: not shown, but written
    // back in its place.
    struct HeldEntry {
        int rowsBefore; // the number of rows listed before it
        QString path;
    };

    QString folder_;
    GameListModel model_;
    std::vector<HeldEntry> held_;
    bool busy_ = false;
};

// List.ini lines that name an existing file, in file order.
QStringList loadGameList(const QString& listFilePath);

} // namespace library
