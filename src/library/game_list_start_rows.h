#pragma once

// The rows a start makes, and what it reads to make them, beside the window (private to the
// game list).

#include "library/game_list.h"
#include "library/header_cache.h"
#include "platform/held_file.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <exception>
#include <future>
#include <memory>
#include <utility>
#include <vector>

namespace library {

// The rows a start shows before any game is looked at, and the cache they came from.
struct StartRows {
    std::vector<GameRecord> rows;
    QHash<QString, int> index; // listKey(path) -> its row
    HeaderCache cache;
    QStringList paths;            // the rows' paths, for the check
    std::vector<qint32> cachedAt; // each row's cache entry, or -1
    int dropped = 0;
    bool listed = false;       // List.ini is there
    bool rowsCurrent = false;  // the cache's rows are this List.ini's
    bool previewWrong = false; // the rows are not those the preview showed
    std::exception_ptr error;  // List.ini could not be read
};

// A long list's rows as List.ini's lines stand in the file, each with its cache entry: what the
// window shows at once, while the rows themselves are made. There is one only for a list whose
// rows are its lines one for one, read as UTF-8, with no repeat (List.ini as the launcher
// writes it); any other is made into rows first.
struct StartPreview {
    std::shared_ptr<const platform::HeldFile> list;
    std::vector<std::pair<quint32, quint32>> lines; // each row's line in the file: start, length
    std::vector<qint32> cachedAt;
    HeaderCache cache;
    int checking = 0;
    int dropped = 0;
    quint64 listSum = 0; // from the cache's rows: List.ini's bytes have to match it

    QByteArrayView line(size_t row) const {
        return list->bytes().sliced(lines[row].first, lines[row].second);
    }
    QString path(size_t row) const { return QString::fromUtf8(line(row)); }
};

// What a start in one folder reads, beside the window: the preview of its rows first (none when
// List.ini is missing or is not one the rows can show at once), then the rows.
struct StartParts {
    std::future<std::shared_ptr<const StartPreview>> preview;
    std::future<StartRows> rows;
};

// Reads the folder's List.ini and header cache on a thread of its own: the preview first, then
// the rows. Tests may hold the rows back (GameList::holdStartRows).
StartParts prepareStart(const QString& folder);
// The parts GameList::prepareStartUp began for this folder, taken once; none (no valid futures)
// when it began none, or for another folder.
StartParts takePreparedStart(const QString& folder);

} // namespace library
