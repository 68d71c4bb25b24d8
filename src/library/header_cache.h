#pragma once

#include "library/file_access.h"
#include "library/game_list.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {
class HeldFile;
}

namespace library {

// What the list keeps of a found game between two starts, so that its row shows at once: the
// row's texts, the kind of disc, the files its row was worked out from (the image, the file a
// playlist names, the data file) and one digest of those files' identities (size, times, file
// number). While the digest still matches, the row is confirmed without reading a file.
struct CachedGame {
    GameRecord record;
    QString kind;
    QStringList files;
    quint64 digest = 0;
};

// The digest of the files' identities, each taken with one status query, or for a file among
// `opened` the identity it had when it was opened to be read (or looked for): a file changed during
// or after the read no longer matches, and its row is read again. False when one of them is not a
// file (then the row has to be read again).
bool filesDigest(const QStringList& files, quint64& digest,
                 const std::vector<detail::NotedFile>& opened = {});

// One entry as the cache file holds it.
QByteArray encodeCacheEntry(const CachedGame& game);

class CacheEntries;

// The area symbol texts decoded so far: a few of them stand for thousands of games, and each
// row shares its text instead of holding a copy. Past the first 64 different ones (a list of
// odd dumps), a text is decoded for its row alone, so a row never searches a long list.
class RegionTexts {
public:
    QString text(QByteArrayView utf8);

private:
    static constexpr size_t MaxKept = 64;
    std::vector<std::pair<QByteArray, QString>> known_;
};

// The cache file: a header (a mark, the format's version, the number of entries, the length and
// a checksum of what follows) and the entries. Nothing in it is needed: a file that is missing,
// too large, damaged, cut short or of another version is read as an empty cache.
class HeaderCache {
public:
    static constexpr quint32 Version = 2;
    // Larger than the entries of a million games; a larger file is no cache of this program.
    static constexpr qint64 MaxFileBytes = qint64(256) << 20;

    // The file's bytes around the encoded entries.
    static QByteArray fileBytes(const QByteArray& entries, quint32 count);
    // The file's first bytes, before these entries.
    static QByteArray fileHeader(const CacheEntries& entries);
    // Reads the file; an empty cache whenever it cannot be used. The entries stay in the file's
    // bytes as held (platform::HeldFile), mapped from the file where that can be.
    static HeaderCache read(const QString& path);
    // The entries stay in the bytes given, without a copy.
    static HeaderCache fromBytes(QByteArray bytes);

    bool isEmpty() const { return count_ == 0; }
    // The entries in the file's order, as positions: the first (-1 when there is none) and the
    // one after `at` (-1 after the last). The check writes them in the list's order, so a start
    // mostly finds each row's entry right after the previous row's.
    qint32 first() const { return count_ > 0 ? 0 : -1; }
    qint32 next(qint32 at) const;
    // Whether the entry at the position is the path's.
    bool isFor(qint32 at, const QString& path) const;
    // The entry kept for the path, as a position for entry() and raw(); -1 when there is none.
    // Of two entries for one path, the later one counts.
    qint32 find(const QString& path) const;
    // The same for a path as UTF-8 bytes.
    bool isFor(qint32 at, QByteArrayView utf8) const;
    qint32 find(QByteArrayView utf8) const;
    CachedGame entry(qint32 at) const;
    // The entry's encoded bytes, to be written again unchanged.
    QByteArray raw(qint32 at) const;
    // The row of the entry, with the path given (the list's own spelling); area symbols already
    // met come from `regions` without being decoded again.
    GameRecord record(qint32 at, const QString& path, RegionTexts& regions) const;
    const QByteArray& entries() const { return entries_; }
    quint32 count() const { return count_; }
    // What keeps the entries' bytes valid (null when they are a byte array of their own).
    std::shared_ptr<const void> holder() const { return file_; }
    // Gives back the memory of entries read so far where the file is mapped; they stay readable.
    void release() const;
    // The same for the entries from position `from` up to `to` (whole pages within them).
    void release(qint32 from, qint32 to) const;

private:
    // The number of entries when the bytes are a whole, sound cache file; -1 otherwise.
    static qint64 soundEntries(QByteArrayView bytes);

    QByteArray entries_;
    std::shared_ptr<const platform::HeldFile> file_;
    quint32 count_ = 0;
    // A digest of the path's UTF-8 bytes -> entry position; made at the first find.
    mutable QHash<quint64, qint32> index_;
    mutable bool indexed_ = false;
};

// The entries of a cache about to be written, in order: runs of an old cache's entries, left
// where they are (implicitly shared), and entries of their own. The whole is never copied.
class CacheEntries {
public:
    // The old cache's entry at the position; entries that follow each other make one run.
    void keep(const HeaderCache& cache, qint32 at);
    void keepAll(const HeaderCache& cache);
    // Encoded entries, `count` of them.
    void add(QByteArray entries, quint32 count = 1);
    void add(CacheEntries&& more);
    quint32 count() const { return count_; }
    // Whether these are all of the cache's entries, as they stand in it.
    bool areAllOf(const HeaderCache& cache) const;
    // The pieces in order (valid while this lives).
    std::vector<QByteArrayView> pieces() const;

private:
    struct Piece {
        QByteArray bytes;
        qsizetype from;
        qsizetype size;
        std::shared_ptr<const void> holder{}; // of an old cache's bytes
    };
    std::vector<Piece> pieces_;
    quint32 count_ = 0;
};

// Writes the cache file on a thread of its own, one write after another, each replacing the file
// atomically; a write that fails leaves the old file (the cache is rebuilt after the next
// check). While held (start-up's check runs), entries appended are kept and go out with the
// whole cache the check writes.
class CacheWriter {
public:
    explicit CacheWriter(const QString& path);
    // Finishes the writes asked for.
    ~CacheWriter();
    CacheWriter(const CacheWriter&) = delete;
    CacheWriter& operator=(const CacheWriter&) = delete;

    void hold();
    // The whole cache, with the entries appended while held after it. With `current`, the file
    // holds these entries already: it is written only when entries were appended meanwhile.
    void writeAll(CacheEntries entries, bool current = false);
    // Entries added to the cache in the file (an unusable file starts afresh).
    void append(const QByteArray& entries, quint32 count);
    // Waits until every write asked for is done (tests).
    void flush();

private:
    void run();

    const QString path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    struct Task {
        bool whole;
        CacheEntries entries;
    };
    std::vector<Task> tasks_;
    CacheEntries held_;
    bool holding_ = false;
    bool writing_ = false;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace library
