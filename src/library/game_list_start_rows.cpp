// What a start reads before the window shows its list: List.ini's rows with their header cache
// entries, and for a long list first the rows as its lines stand in the file.

#include "library/game_list_start_rows.h"

#include "library/cache_memory.h"

#include "platform/detached_thread.h"
#include "platform/file_stamp.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <utility>

namespace library {

namespace {

// The rows' texts are made from the cache entries, which give back their memory every this many
// rows (plus 1): each time costs the other threads a pause.
constexpr int ReleaseEveryRows = 4095;

// Makes the rows' texts from their paths and cache entries, in two halves at once for a long
// list, in the order of the entries in the file. The entries described give back their memory
// behind (a mapped cache file).
void describeRows(StartRows& made) {
    made.rows.resize(static_cast<size_t>(made.paths.size()));
    const std::vector<int> order = detail::rowsInFileOrder(made.cachedAt);
    const auto describe = [&made, &order](size_t from, size_t to) {
        RegionTexts regions;
        for (size_t i = from; i < to; ++i) {
            const size_t row = static_cast<size_t>(detail::rowAt(order, i));
            const qint32 at = made.cachedAt[row];
            if ((i & ReleaseEveryRows) == ReleaseEveryRows)
                made.cache.release();
            const QString& path = made.paths.at(static_cast<qsizetype>(row));
            if (at >= 0 && !made.cache.usable(at))
                made.cachedAt[row] = -1; // a damaged part of the cache: the row is read again
            made.rows[row] = made.cachedAt[row] < 0 ? absentRecord(path, Presence::Checking)
                                                    : made.cache.record(at, path, regions);
        }
    };
    const size_t half = made.rows.size() / 2;
    std::future<void> firstHalf = std::async(
        half > 1000 ? std::launch::async : std::launch::deferred, describe, size_t(0), half);
    describe(half, made.rows.size());
    firstHalf.get();
    // The check reads the entries again as it goes.
    made.cache.release();
}

// Every entry becomes a row: from the cache where it knows the entry, otherwise by its file
// name, to be checked. Lines that name no file and repeats never become rows. Safe on any thread.
StartRows makeStartRows(const QString& listPath, HeaderCache cache) {
    StartRows made;
    made.listed = true;
    try {
        QStringList lines = platform::readTextLines(listPath, MaxListFileBytes);
        made.cache = std::move(cache);
        // First the rows' paths, in order (a repeat is known only from the rows before it), then
        // their entries and their texts.
        QStringList& paths = made.paths;
        paths.reserve(lines.size());
        made.index.reserve(lines.size());
        for (const QString& line : lines) {
            if (line.isEmpty() || line.contains(QChar(0))) {
                ++made.dropped;
                continue;
            }
            // One look-up in the index both finds a repeat and takes a new entry.
            const qsizetype listed = made.index.size();
            int& row = made.index[listKey(line)];
            if (made.index.size() == listed) {
                ++made.dropped;
                continue;
            }
            row = static_cast<int>(paths.size());
            paths.append(line);
        }
        made.cachedAt =
            made.cache.findRows(static_cast<size_t>(paths.size()), [&paths](size_t row) {
                return paths.at(static_cast<qsizetype>(row)).toUtf8();
            });
        lines = QStringList(); // the rows hold the texts
        describeRows(made);
    } catch (...) {
        made.error = std::current_exception();
    }
    return made;
}

// Whether the path, as UTF-8 bytes, is its own key (listKey): the test listKey makes, byte by
// byte (a folder separator is one byte of ASCII, never part of a longer letter).
bool isPlainKey(QByteArrayView path) {
    const auto separator = [](char c) {
#ifdef Q_OS_WIN
        return c == '/' || c == '\\';
#else
        return c == '/';
#endif
    };
    const qsizetype n = path.size();
    for (qsizetype i = 0; i < n; ++i) {
        const bool segmentStart = i == 0 || separator(path[i - 1]);
        if (separator(path[i])) {
            if ((i > 0 && separator(path[i - 1])) || path[i] != '/')
                return false;
        } else if (segmentStart && path[i] == '.' && (i + 1 == n || separator(path[i + 1]))) {
            return false;
        }
    }
    return true;
}

// The rows' lines (needs no cache: it runs while the cache is read); none when the list is not
// one the preview can show.
std::shared_ptr<StartPreview> previewLines(std::shared_ptr<const platform::HeldFile> list) {
    auto preview = std::make_shared<StartPreview>();
    const QByteArrayView bytes = list->bytes();
    if (bytes.size() > std::numeric_limits<quint32>::max())
        return nullptr;
    const qsizetype expectedLines = bytes.count('\n') + 1;
    preview->lines.reserve(static_cast<size_t>(expectedLines));
    // Each row's key, as a digest: two alike are a repeat (or, very seldom, two keys with one
    // digest), and the rows are then made first.
    std::vector<size_t> keys;
    keys.reserve(static_cast<size_t>(expectedLines));
    const bool utf8 = platform::forEachUtf8TextLine(bytes, [&](QByteArrayView line) {
        if (line.isEmpty() || line.contains('\0')) {
            ++preview->dropped;
            return;
        }
        keys.push_back(isPlainKey(line)
                           ? qHash(line)
                           : qHash(QByteArrayView(listKey(QString::fromUtf8(line)).toUtf8())));
        preview->lines.emplace_back(static_cast<quint32>(line.data() - bytes.data()),
                                    static_cast<quint32>(line.size()));
    });
    if (!utf8 || preview->lines.empty() ||
        preview->lines.size() > size_t(std::numeric_limits<int>::max()))
        return nullptr;
    std::sort(keys.begin(), keys.end());
    if (std::adjacent_find(keys.begin(), keys.end()) != keys.end())
        return nullptr;
    preview->list = std::move(list);
    return preview;
}

// List.ini held for reading, with the stamp it has while held (none when it was replaced as it
// was opened).
std::shared_ptr<const platform::HeldFile> openList(const QString& path, platform::FileStamp& stamp,
                                                   bool fetchAll) {
    const platform::FileStamp before = platform::fileStamp(path);
    std::shared_ptr<const platform::HeldFile> list =
        platform::HeldFile::open(path, MaxListFileBytes, fetchAll);
    stamp = platform::fileStamp(path);
    if (stamp != before || stamp.size != list->bytes().size())
        stamp = platform::FileStamp();
    return list;
}

// The rows as the cache knows them for this very List.ini (same stamp); none when it does not.
// Nothing else of either file is read.
std::shared_ptr<StartPreview> previewFromCache(std::shared_ptr<const platform::HeldFile> list,
                                               const platform::FileStamp& stamp,
                                               const HeaderCache& cache) {
    const ListRows* rows = cache.rows();
    // (The stamp's size is the file's: the rows' lines lie within it.)
    if (!rows || !stamp.isFile || stamp != rows->list || rows->starts.empty() ||
        rows->starts.size() > size_t(std::numeric_limits<int>::max()) ||
        stamp.size != list->bytes().size())
        return nullptr;
    auto preview = std::make_shared<StartPreview>();
    preview->lines.reserve(rows->starts.size());
    for (size_t row = 0; row < rows->starts.size(); ++row)
        preview->lines.push_back(rows->line(row));
    preview->list = std::move(list);
    preview->cachedAt = rows->cachedAt;
    preview->cache = cache;
    preview->dropped = static_cast<int>(std::min<quint32>(rows->dropped, 1u << 30));
    preview->listSum = rows->listSum;
    preview->checking = static_cast<int>(
        std::count(preview->cachedAt.begin(), preview->cachedAt.end(), qint32(-1)));
    return preview;
}

// Each row's cache entry.
void previewEntries(StartPreview& preview, const HeaderCache& cache) {
    preview.cache = cache;
    preview.cachedAt = cache.findRows(preview.lines.size(), [&preview](size_t row) {
        const QByteArrayView line = preview.line(row);
        return QByteArray::fromRawData(line.data(), line.size());
    });
    preview.checking =
        static_cast<int>(std::count(preview.cachedAt.begin(), preview.cachedAt.end(), qint32(-1)));
}

// The rows the preview shows, made.
StartRows rowsFromPreview(const StartPreview& preview) {
    StartRows made;
    made.listed = true;
    made.cache = preview.cache;
    made.cachedAt = preview.cachedAt;
    made.dropped = preview.dropped;
    const size_t count = preview.lines.size();
    made.paths.reserve(static_cast<qsizetype>(count));
    made.index.reserve(static_cast<qsizetype>(count));
    for (size_t row = 0; row < count; ++row) {
        made.paths.append(preview.path(row));
        made.index.insert(listKey(made.paths.constLast()), static_cast<int>(row));
    }
    // The rows hold the paths now; lines painted meanwhile are read from the file again.
    preview.list->release(0, preview.list->bytes().size());
    describeRows(made);
    return made;
}

// Tests hold the making of the rows to look at the rows shown before.
struct RowsHeld {
    std::mutex mutex;
    std::condition_variable released;
    bool held = false;
};

RowsHeld& rowsHeld() {
    // Never destroyed: a start's thread may still pass it while the program ends.
    static RowsHeld* held = new RowsHeld;
    return *held;
}

} // namespace

StartParts prepareStart(const QString& folder) {
    auto preview = std::make_shared<std::promise<std::shared_ptr<const StartPreview>>>();
    auto rows = std::make_shared<std::promise<StartRows>>();
    StartParts parts{preview->get_future(), rows->get_future()};
    platform::runDetached([preview, rows, folder] {
        const QString listPath = listFileIn(folder);
        if (!QFileInfo::exists(listPath)) {
            preview->set_value(nullptr);
            rows->set_value(StartRows());
            return;
        }
        // The cache's head first: while it knows this List.ini's rows, the start reads only the
        // lines and entries the window shows before the rows are made.
        HeaderCache read = HeaderCache::readLazily(cacheFileIn(folder));
        std::shared_ptr<const platform::HeldFile> list;
        platform::FileStamp stamp;
        try {
            list = openList(listPath, stamp, false);
        } catch (...) {
            // List.ini cannot be read: the rows are made below, which keeps the error for the
            // window.
        }
        std::shared_ptr<StartPreview> shown = list ? previewFromCache(list, stamp, read) : nullptr;
        const bool rowsCurrent = shown != nullptr;
        read.forgetRows(); // the preview holds them
        if (shown)
            shown->cache.forgetRows();
        if (!shown) {
            // Otherwise the whole cache is read and checked while the list's lines are.
            std::future<HeaderCache> checked =
                std::async(std::launch::async, [cache = std::move(read)]() mutable {
                    cache.fetch();
                    cache.checkAll();
                    return cache;
                });
            if (list) {
                list->fetch(0, list->bytes().size());
                shown = previewLines(list);
            }
            read = checked.get();
            if (shown) {
                previewEntries(*shown, read);
                // Read again as the rows are made (a mapped file): meanwhile no memory.
                read.release();
            }
        }
        preview->set_value(shown);
        if (rowsCurrent) {
            // The rest of both files, for the rows to be made, after what the window shows.
            list->fetch(0, list->bytes().size());
            read.fetch();
        }
        list.reset();
        {
            RowsHeld& held = rowsHeld();
            std::unique_lock<std::mutex> lock(held.mutex);
            held.released.wait(lock, [&held] { return !held.held; });
        }
        try {
            // Rows shown from the cache's rows are made only when List.ini's bytes are those
            // they were written for; otherwise the list is read as any other.
            const bool sound =
                !rowsCurrent || cacheChecksum(shown->list->bytes()) == shown->listSum;
            if (!sound) {
                shown.reset();
                read.fetch();
                read.checkAll();
            }
            StartRows made =
                shown ? rowsFromPreview(*shown) : makeStartRows(listPath, std::move(read));
            made.rowsCurrent = rowsCurrent && sound;
            made.previewWrong = !sound;
            rows->set_value(std::move(made));
        } catch (...) {
            rows->set_exception(std::current_exception());
        }
    });
    return parts;
}

namespace {

// The parts prepared for the start in one folder, taken once.
struct PreparedStart {
    std::mutex mutex;
    QString folder;
    StartParts parts;
};

PreparedStart& preparedStart() {
    static PreparedStart prepared;
    return prepared;
}

} // namespace

void GameList::prepareStartUp(const QString& applicationFolder) {
    PreparedStart& prepared = preparedStart();
    std::lock_guard<std::mutex> lock(prepared.mutex);
    if (prepared.parts.rows.valid())
        return;
    prepared.folder = applicationFolder;
    prepared.parts = prepareStart(applicationFolder);
}

StartParts takePreparedStart(const QString& folder) {
    PreparedStart& prepared = preparedStart();
    std::lock_guard<std::mutex> lock(prepared.mutex);
    if (!prepared.parts.rows.valid() || prepared.folder != folder)
        return {};
    return std::exchange(prepared.parts, StartParts());
}

void GameList::holdStartRows(bool hold) {
    RowsHeld& held = rowsHeld();
    {
        std::lock_guard<std::mutex> lock(held.mutex);
        held.held = hold;
    }
    held.released.notify_all();
}

} // namespace library
