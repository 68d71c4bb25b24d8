#pragma once

#include "library/file_access.h"
#include "library/game_list.h"
#include "platform/file_stamp.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <functional>
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

// The checksum the cache uses: FNV-1a's steps over 8 bytes at a time, so that a cache of
// 100,000 games is checked in a few milliseconds. Each step is one-to-one, so a changed word
// always changes the sum. The bytes may come in pieces of any size.
class CacheChecksum {
public:
    void add(const char* data, qsizetype size);
    quint64 sum() const;

private:
    void mix(const char* word8);
    quint64 hash_ = 14695981039346656037ull;
    char carry_[8] = {};
    int carried_ = 0;
};
quint64 cacheChecksum(QByteArrayView bytes);

// One entry as the cache file holds it.
QByteArray encodeCacheEntry(const CachedGame& game);

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

class CacheEntries;

// Where each row of one List.ini stands: the list file's stamp when it was read, the lines its
// rows are (start and length in the file) and each row's cache entry. While List.ini still has
// that stamp, a start shows its rows from this alone, reading only the lines and entries it
// paints.
struct ListRows {
    platform::FileStamp list;
    // The checksum of the list file's bytes: a file changed without a new stamp (a coarse clock)
    // is found out when its rows are made.
    quint64 listSum = 0;
    quint32 dropped = 0; // lines that are no row (empty ones)
    // Where each row's line starts; every line ends in CR LF.
    std::vector<quint32> starts;
    std::vector<qint32> cachedAt;

    // The row's line: its start and length.
    std::pair<quint32, quint32> line(size_t row) const {
        const quint64 end = row + 1 < starts.size() ? starts[row + 1] : quint64(list.size);
        return {starts[row], static_cast<quint32>(end - starts[row] - 2)};
    }
};

// What a list file holds, seen piece by piece as it is written or compared (each piece ends at
// a line's end): its checksum, where its lines are, and whether a start can show its rows from
// the cache (UTF-8 or ASCII, no empty line, no NUL).
class ListShape {
public:
    void add(QByteArrayView piece);
    // The rows of the file, which now has this stamp; none (no lines) when they cannot be shown.
    ListRows rows(const platform::FileStamp& stamp) &&;

private:
    CacheChecksum sum_;
    std::vector<quint32> starts_;
    quint64 size_ = 0;
    bool showable_ = true;
};

// The cache file: a header (a mark, the format's version, the number of entries, the lengths of
// its parts, a checksum of the table and the rows), a table of the entries' chunks (runs of
// whole entries, each with its own checksum), the rows of the List.ini it was written with, and
// the entries. Nothing in it is needed: a file that is missing, too large, damaged, cut short
// or of another version is read as an empty cache; a chunk that is damaged loses its entries.
class HeaderCache {
public:
    static constexpr quint32 Version = 3;
    // Larger than the entries of a million games; a larger file is no cache of this program.
    static constexpr qint64 MaxFileBytes = qint64(256) << 20;

    // The file's bytes around the encoded entries (no rows of a list).
    static QByteArray fileBytes(const QByteArray& entries, quint32 count);
    // The file's first bytes: the header and the chunk table, then come the rows (see
    // encodeRows) and these entries.
    static QByteArray fileHead(const CacheEntries& entries, const QByteArray& rows = {});
    // The rows' part of the file for these entries: each row's path (one a line) found among
    // them; none when the paths are not one a line. The rows' own cachedAt is not used.
    static QByteArray encodeRows(const ListRows& rows, const QStringList& paths,
                                 const CacheEntries& entries);
    // Reads the file; an empty cache whenever it cannot be used. The entries stay in the file's
    // bytes as held (platform::HeldFile), mapped from the file where that can be.
    static HeaderCache read(const QString& path);
    // The same, with the entries checked chunk by chunk only as they are used (usable()), so a
    // start reads only what it shows. find() and next() need checkAll() first.
    static HeaderCache readLazily(const QString& path);
    // The entries stay in the bytes given, without a copy.
    static HeaderCache fromBytes(QByteArray bytes);

    // Checks every chunk; a cache with a damaged one becomes empty. False when empty.
    bool checkAll();
    // Whether the entry at the position can be used: its chunk is sound (checked at the first
    // use, on any thread) and the entry lies whole within it.
    bool usable(qint32 at) const;
    // The rows of the List.ini the cache was written with (null when it has none).
    const ListRows* rows() const { return rows_.get(); }
    // Lets go of the rows (once a start has taken what it needs of them).
    void forgetRows() { rows_.reset(); }

    bool isEmpty() const { return count_ == 0; }
    // The entries in the file's order, as positions: the first (-1 when there is none) and the
    // one after `at` (-1 after the last). The check writes them in the list's order, so a start
    // mostly finds each row's entry right after the previous row's.
    qint32 first() const { return count_ > 0 ? 0 : -1; }
    qint32 next(qint32 at) const;
    // Whether the entry at the position is the path's.
    // The entry kept for the path, as a position for entry(); -1 when there is none
    // (or its chunk is damaged). Of two entries for one path, the later one counts.
    qint32 find(const QString& path) const;
    // The same for a path as UTF-8 bytes.
    bool isFor(qint32 at, QByteArrayView utf8) const;
    qint32 find(QByteArrayView utf8) const;
    // Each row's entry (-1 where there is none) for `count` rows whose paths `pathOf` gives as
    // UTF-8, found with the entries read once in the file's order, however the rows are sorted.
    // Needs checkAll() first.
    std::vector<qint32> findRows(size_t count,
                                 const std::function<QByteArray(size_t)>& pathOf) const;
    CachedGame entry(qint32 at) const;
    // The row of the entry, with the path given (the list's own spelling); area symbols already
    // met come from `regions` without being decoded again.
    GameRecord record(qint32 at, const QString& path, RegionTexts& regions) const;
    const QByteArray& entries() const { return entries_; }
    quint32 count() const { return count_; }
    // What keeps the entries' bytes valid (null when they are a byte array of their own).
    const std::shared_ptr<const platform::HeldFile>& holder() const { return file_; }
    // Asks the storage for the entries now (a mapped file), after what a start shows first.
    void fetch() const;
    // Gives back the memory of entries read so far where the file is mapped; they stay readable.
    void release() const;

private:
    struct Chunk {
        quint32 from;
        quint32 count;
        quint64 sum;
    };
    enum ChunkState : quint8 { Unknown, Sound, Damaged };
    struct Chunks {
        std::vector<Chunk> table;
        std::unique_ptr<std::atomic<quint8>[]> state;
    };
    // Takes a whole file's bytes (the header, the table and the rows checked); false when they
    // are no cache.
    bool take(QByteArrayView bytes);
    int chunkOf(qint32 at) const;
    bool chunkSound(int chunk) const;
    qint32 chunkEnd(int chunk) const;

    QByteArray entries_;
    qsizetype entriesFrom_ = 0; // in the file
    std::shared_ptr<const platform::HeldFile> file_;
    std::shared_ptr<Chunks> chunks_;
    std::shared_ptr<const ListRows> rows_;
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
    // One piece, with the mapped file it lies in (null for bytes of their own).
    struct HeldPiece {
        QByteArrayView bytes;
        const platform::HeldFile* file;
    };
    size_t pieceCount() const { return pieces_.size(); }
    HeldPiece piece(size_t i) const {
        const Piece& piece = pieces_[i];
        return {QByteArrayView(piece.data, piece.size), owners_[piece.owner].file.get()};
    }

private:
    // What keeps pieces' bytes: an old cache's (its file) or bytes of their own. A sorted list
    // keeps its entries one by one from all over the old cache: a piece is small.
    struct Owner {
        QByteArray bytes;
        std::shared_ptr<const platform::HeldFile> file;
    };
    struct Piece {
        const char* data;
        qsizetype size;
        quint32 owner;
    };
    quint32 ownerOf(const QByteArray& bytes, const std::shared_ptr<const platform::HeldFile>& file);
    std::vector<Owner> owners_;
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
    // The list file now holds these rows, with these paths: the cache is written again with
    // them (and every later write holds them, until the list changes again).
    void listChanged(ListRows rows, QStringList paths);
    // The same for a list file the cache holds already: only later writes hold them.
    void knowList(ListRows rows, QStringList paths);
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
    struct ListSnapshot {
        ListRows rows;
        QStringList paths;
    };
    std::shared_ptr<const ListSnapshot> list_;
    bool listChanged_ = false;
    bool writing_ = false;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace library
