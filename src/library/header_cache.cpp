#include "library/header_cache.h"

#include "library/cache_memory.h"

#include "platform/file_stamp.h"
#include "platform/held_file.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

namespace library {

namespace {

constexpr char Mark[8] = {'V', 'a', 'r', 'n', 'i', 'x', 'H', 'C'};
// Mark, version, entries, their length, chunks, the rows' length, the checksum of both.
constexpr int HeaderBytes = 8 + 4 + 4 + 8 + 4 + 4 + 8;
constexpr int ChunkBytes = 4 + 4 + 8;
// A chunk is the whole entries that reach this size: about a screen of rows, checked at once.
constexpr qsizetype ChunkTarget = 16 * 1024;
// The list's stamp and checksum, the dropped lines and the number of rows, then for each row
// where its line starts and its entry.
constexpr int RowsHeadBytes = 8 * 6 + 4 + 4;
constexpr int RowBytes = 4 + 4;
constexpr int MaxFiles = 8;

// FNV-1a, 64 bits: the digest of a row's files.
constexpr quint64 FnvStart = 14695981039346656037ull;
quint64 fnv(quint64 hash, const char* data, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(data[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}
using Checksum = CacheChecksum;

quint64 checksum(const char* data, qsizetype size) {
    Checksum sum;
    sum.add(data, size);
    return sum.sum();
}
template <typename T> quint64 fnvValue(quint64 hash, T value) {
    const T little = qToLittleEndian(value);
    return fnv(hash, reinterpret_cast<const char*>(&little), sizeof little);
}

template <typename T> void put(QByteArray& out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}
void putText(QByteArray& out, const QByteArray& text) {
    put<quint32>(out, static_cast<quint32>(text.size()));
    out.append(text);
}

// Reads an entry's fields within its bounds; every read fails once one ran past them.
class Reader {
public:
    Reader(const char* data, qsizetype size) : data_(data), size_(size) {}
    template <typename T> T get() {
        T value{};
        if (!take(sizeof(T)))
            return value;
        std::memcpy(&value, data_ + position_ - qsizetype(sizeof(T)), sizeof(T));
        return qFromLittleEndian(value);
    }
    QByteArrayView text() {
        const quint32 size = get<quint32>();
        if (!take(size))
            return {};
        return QByteArrayView(data_ + position_ - size, size);
    }
    bool ok() const { return ok_; }
    bool atEnd() const { return position_ == size_; }

private:
    bool take(quint64 size) {
        if (!ok_ || size > quint64(size_ - position_)) {
            ok_ = false;
            return false;
        }
        position_ += static_cast<qsizetype>(size);
        return true;
    }
    const char* data_;
    qsizetype size_;
    qsizetype position_ = 0;
    bool ok_ = true;
};

quint64 pathKey(QByteArrayView utf8) {
    return fnv(FnvStart, utf8.data(), utf8.size());
}

// An entry: its length, then path, game name, game ID, region, kind, the files (each one
// relative to the image's folder when it lies there, marked 1, else whole, marked 0) and the
// digest of their identities. Texts are UTF-8 with their length before them.
struct Fields {
    QByteArrayView path, gameName, gameId, region, kind;
    QByteArrayView files[MaxFiles];
    bool relative[MaxFiles] = {};
    int fileCount = 0;
    quint64 digest = 0;
};

bool parse(const char* data, qsizetype size, Fields& fields) {
    Reader reader(data, size);
    reader.get<quint32>(); // the length, known already
    fields.path = reader.text();
    fields.gameName = reader.text();
    fields.gameId = reader.text();
    fields.region = reader.text();
    fields.kind = reader.text();
    fields.fileCount = reader.get<quint8>();
    if (fields.fileCount < 1 || fields.fileCount > MaxFiles)
        return false;
    for (int i = 0; i < fields.fileCount; ++i) {
        fields.relative[i] = reader.get<quint8>() != 0;
        fields.files[i] = reader.text();
    }
    fields.digest = reader.get<quint64>();
    return reader.ok() && reader.atEnd() && !fields.path.isEmpty();
}

QString utf8(QByteArrayView bytes) {
    return QString::fromUtf8(bytes);
}

} // namespace

void CacheChecksum::add(const char* data, qsizetype size) {
    if (carried_ > 0) {
        while (carried_ < 8 && size > 0) {
            carry_[carried_++] = *data++;
            --size;
        }
        if (carried_ < 8)
            return;
        mix(carry_);
        carried_ = 0;
    }
    for (; size >= 8; data += 8, size -= 8)
        mix(data);
    while (size > 0) {
        carry_[carried_++] = *data++;
        --size;
    }
}

quint64 CacheChecksum::sum() const {
    return fnv(hash_, carry_, carried_);
}

void CacheChecksum::mix(const char* word8) {
    quint64 word = 0;
    std::memcpy(&word, word8, sizeof word);
    hash_ ^= qFromLittleEndian(word);
    hash_ *= 1099511628211ull;
}

quint64 cacheChecksum(QByteArrayView bytes) {
    return checksum(bytes.data(), bytes.size());
}

void ListShape::add(QByteArrayView piece) {
    sum_.add(piece.data(), piece.size());
    if (!showable_)
        return;
    qsizetype at = 0;
    if (size_ == 0 && piece.startsWith("\xEF\xBB\xBF"))
        at = 3; // the UTF-8 mark
    showable_ = platform::isValidUtf8(piece) && !piece.contains('\0');
    while (showable_ && at < piece.size()) {
        const qsizetype end = piece.indexOf('\n', at);
        // Each line of the file ends in CR LF, and every piece ends at a line's end. A CR
        // within a line would end it for the list's reader.
        showable_ = end > at + 1 && piece.indexOf('\r', at) == end - 1 &&
                    size_ + quint64(end) <= std::numeric_limits<quint32>::max();
        if (showable_)
            starts_.push_back(static_cast<quint32>(size_ + quint64(at)));
        at = end + 1;
    }
    size_ += static_cast<quint64>(piece.size());
}

ListRows ListShape::rows(const platform::FileStamp& stamp) && {
    ListRows rows;
    if (!showable_ || !stamp.isFile || quint64(stamp.size) != size_)
        return rows;
    rows.list = stamp;
    rows.listSum = sum_.sum();
    rows.starts = std::move(starts_);
    return rows;
}

bool filesDigest(const QStringList& files, quint64& digest,
                 const std::vector<detail::NotedFile>& opened) {
    quint64 hash = FnvStart;
    for (const QString& file : files) {
        const auto noted =
            std::find_if(opened.begin(), opened.end(),
                         [&file](const detail::NotedFile& known) { return known.path == file; });
        const platform::FileStamp stamp =
            noted != opened.end() ? noted->stamp : platform::fileStamp(file);
        if (!stamp.isFile)
            return false;
        hash = fnvValue(hash, stamp.size);
        hash = fnvValue(hash, stamp.modifiedNs);
        hash = fnvValue(hash, stamp.changedNs);
        hash = fnvValue(hash, stamp.device);
        hash = fnvValue(hash, stamp.fileNumber);
    }
    digest = hash;
    return true;
}

QByteArray encodeCacheEntry(const CachedGame& game) {
    QByteArray out;
    out.reserve(256);
    put<quint32>(out, 0); // the length, set at the end
    putText(out, game.record.path.toUtf8());
    putText(out, game.record.gameName.toUtf8());
    putText(out, game.record.gameId.toUtf8());
    putText(out, game.record.region.toUtf8());
    putText(out, game.kind.toUtf8());
    const QString folder = platform::folderPart(game.record.path);
    const qsizetype files = std::min<qsizetype>(game.files.size(), MaxFiles);
    put<quint8>(out, static_cast<quint8>(files));
    for (qsizetype i = 0; i < files; ++i) {
        const QString& file = game.files.at(i);
        const bool relative = !folder.isEmpty() && file.startsWith(folder);
        put<quint8>(out, relative ? 1 : 0);
        putText(out, (relative ? file.mid(folder.size()) : file).toUtf8());
    }
    put<quint64>(out, game.digest);
    const quint32 length = qToLittleEndian(static_cast<quint32>(out.size()));
    std::memcpy(out.data(), &length, sizeof length);
    return out;
}

namespace {

using detail::entrySizeAt;
using detail::ReadBehind;

// Calls `each(data, size)` for the entries in the piece, in order.
template <typename Each>
void forEachEntry(const CacheEntries::HeldPiece& piece, ReadBehind& behind, Each each) {
    const QByteArrayView bytes = piece.bytes;
    for (qsizetype at = 0; at + 4 <= bytes.size();) {
        const qsizetype size = entrySizeAt(bytes.data() + at);
        if (size < 4 || size > bytes.size() - at)
            break; // no entry of ours: pieces hold whole entries
        each(bytes.data() + at, size);
        at += size;
        behind.read(piece.file, size);
    }
}

} // namespace

QByteArray HeaderCache::fileBytes(const QByteArray& entries, quint32 count) {
    CacheEntries all;
    all.add(entries, count);
    return fileHead(all) + entries;
}

QByteArray HeaderCache::fileHead(const CacheEntries& entries, const QByteArray& rows) {
    // The chunks: whole entries of about ChunkTarget bytes each, with their checksum.
    QByteArray table;
    Checksum sum;
    quint64 length = 0;
    quint32 from = 0;
    quint32 inChunk = 0;
    const auto close = [&] {
        put<quint32>(table, from);
        put<quint32>(table, inChunk);
        put<quint64>(table, sum.sum());
        sum = Checksum();
        from = static_cast<quint32>(length);
        inChunk = 0;
    };
    ReadBehind behind;
    for (size_t i = 0; i < entries.pieceCount(); ++i) {
        forEachEntry(entries.piece(i), behind, [&](const char* data, qsizetype size) {
            sum.add(data, size);
            length += static_cast<quint64>(size);
            ++inChunk;
            if (length - from >= quint64(ChunkTarget))
                close();
        });
    }
    if (inChunk > 0)
        close();
    Checksum both;
    both.add(table.constData(), table.size());
    both.add(rows.constData(), rows.size());
    QByteArray out;
    out.reserve(HeaderBytes + table.size());
    out.append(Mark, sizeof Mark);
    put<quint32>(out, Version);
    put<quint32>(out, entries.count());
    put<quint64>(out, length);
    put<quint32>(out, static_cast<quint32>(table.size() / ChunkBytes));
    put<quint32>(out, static_cast<quint32>(rows.size()));
    put<quint64>(out, both.sum());
    out.append(table);
    return out;
}

namespace {

// Finds each row's entry among the entries (its position in them) for `count` rows whose paths
// `pathOf` gives as UTF-8 (none for a row given no path), and tells `found` of it. Of two
// entries for one path, the later one counts. The entries are read once in their order, and the
// paths compared in the order of the entries, never in the rows' (see rowsInFileOrder).
void findEntriesOfRows(const CacheEntries& entries, size_t count,
                       const std::function<QByteArray(size_t)>& pathOf,
                       const std::function<void(size_t row, qint32 at)>& found) {
    // Each entry's position with the top bits of its path's digest, in one word (a wrong
    // match of those bits is told apart by the path itself), and where each piece starts.
    constexpr int PositionBits = 28; // the entries are smaller than MaxFileBytes
    static_assert((qint64(1) << PositionBits) >= HeaderCache::MaxFileBytes);
    constexpr quint64 PositionMask = (quint64(1) << PositionBits) - 1;
    const auto keyOf = [](QByteArrayView path) { return pathKey(path) >> PositionBits; };
    std::vector<quint64> keyed;
    keyed.reserve(entries.count());
    std::vector<qint32> pieceStarts;
    pieceStarts.reserve(entries.pieceCount());
    ReadBehind behind;
    qint32 position = 0;
    for (size_t i = 0; i < entries.pieceCount(); ++i) {
        pieceStarts.push_back(position);
        forEachEntry(entries.piece(i), behind, [&](const char* data, qsizetype size) {
            const quint32 pathSize = size >= 8 ? entrySizeAt(data + 4) : 0;
            if (pathSize > 0 && pathSize <= quint64(size) - 8)
                keyed.push_back(keyOf(QByteArrayView(data + 8, pathSize)) << PositionBits |
                                quint64(position));
            position += static_cast<qint32>(size);
        });
    }
    const auto bytesAt = [&](quint64 word) {
        const qint32 at = static_cast<qint32>(word & PositionMask);
        const size_t piece = size_t(std::upper_bound(pieceStarts.begin(), pieceStarts.end(), at) -
                                    pieceStarts.begin() - 1);
        return entries.piece(piece).bytes.data() + (at - pieceStarts[piece]);
    };
    // The last of equal keys is tried first.
    std::sort(keyed.begin(), keyed.end());
    // Each row with the last word of its key, compared in the order of the entries.
    struct Candidate {
        quint32 row;
        quint32 keyed;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(count);
    for (size_t row = 0; row < count; ++row) {
        const QByteArray path = pathOf(row);
        if (path.isEmpty())
            continue;
        const quint64 key = keyOf(path);
        const auto past =
            std::upper_bound(keyed.begin(), keyed.end(), key << PositionBits | PositionMask);
        if (past != keyed.begin() && (*std::prev(past) >> PositionBits) == key)
            candidates.push_back(
                {static_cast<quint32>(row), static_cast<quint32>(past - keyed.begin() - 1)});
    }
    std::sort(candidates.begin(), candidates.end(), [&](const Candidate& a, const Candidate& b) {
        return (keyed[a.keyed] & PositionMask) < (keyed[b.keyed] & PositionMask);
    });
    for (size_t i = 0; i < candidates.size(); ++i) {
        // The entries looked at give their memory back now and then (a mapped file).
        if ((i & 4095) == 4095)
            behind.releaseAll();
        const Candidate& candidate = candidates[i];
        const QByteArray path = pathOf(candidate.row);
        const quint64 key = keyed[candidate.keyed] >> PositionBits;
        // Another path with the same key (seldom): an entry before it may be the row's.
        for (size_t k = candidate.keyed + 1; k-- > 0 && (keyed[k] >> PositionBits) == key;) {
            const char* data = bytesAt(keyed[k]);
            if (QByteArrayView(data + 8, entrySizeAt(data + 4)) == QByteArrayView(path)) {
                found(candidate.row, static_cast<qint32>(keyed[k] & PositionMask));
                break;
            }
        }
    }
}

} // namespace

QByteArray HeaderCache::encodeRows(const ListRows& rows, const QStringList& paths,
                                   const CacheEntries& entries) {
    if (rows.starts.empty() || rows.starts.size() != size_t(paths.size()))
        return {};
    QByteArray out;
    out.reserve(RowsHeadBytes + qsizetype(rows.starts.size()) * RowBytes);
    put<qint64>(out, rows.list.size);
    put<qint64>(out, rows.list.modifiedNs);
    put<qint64>(out, rows.list.changedNs);
    put<quint64>(out, rows.list.device);
    put<quint64>(out, rows.list.fileNumber);
    put<quint64>(out, rows.listSum);
    put<quint32>(out, rows.dropped);
    put<quint32>(out, static_cast<quint32>(rows.starts.size()));
    // Each row's line, with no entry until one is found.
    for (size_t row = 0; row < rows.starts.size(); ++row) {
        put<quint32>(out, rows.starts[row]);
        put<qint32>(out, -1);
    }
    findEntriesOfRows(
        entries, rows.starts.size(),
        [&paths](size_t row) { return paths.at(static_cast<qsizetype>(row)).toUtf8(); },
        [&out](size_t row, qint32 at) {
            const qint32 little = qToLittleEndian(at);
            std::memcpy(out.data() + RowsHeadBytes + qsizetype(row) * RowBytes + 4, &little,
                        sizeof little);
        });
    return out;
}

std::vector<qint32> HeaderCache::findRows(size_t count,
                                          const std::function<QByteArray(size_t)>& pathOf) const {
    std::vector<qint32> found(count, -1);
    if (count_ == 0)
        return found;
    // Mostly each row's entry follows the previous row's (or the one after it, an entry of a
    // row since deleted): read in the file's order.
    bool missed = false;
    qint32 expected = first();
    for (size_t row = 0; row < count; ++row) {
        if (expected < 0) {
            missed = true;
            break;
        }
        const QByteArray path = pathOf(row);
        qint32 at = isFor(expected, QByteArrayView(path)) ? expected : -1;
        if (at < 0) {
            const qint32 after = next(expected);
            at = after >= 0 && isFor(after, QByteArrayView(path)) ? after : -1;
        }
        if (at < 0) {
            missed = true;
            continue;
        }
        found[row] = at;
        expected = next(at);
    }
    if (!missed)
        return found;
    // The others (a list sorted since the cache was written, rows added) are looked up.
    CacheEntries all;
    all.keepAll(*this);
    findEntriesOfRows(
        all, count, [&](size_t row) { return found[row] < 0 ? pathOf(row) : QByteArray(); },
        [&found](size_t row, qint32 at) { found[row] = at; });
    return found;
}

HeaderCache HeaderCache::readLazily(const QString& path) {
    if (!platform::isRegularFile(path))
        return {};
    HeaderCache cache;
    try {
        std::shared_ptr<const platform::HeldFile> file =
            platform::HeldFile::open(path, MaxFileBytes, false);
        // The head (the table and the rows) is asked of the storage first, the entries later.
        const QByteArrayView bytes = file->bytes();
        if (bytes.size() >= HeaderBytes) {
            Reader header(bytes.data() + 24, 8);
            const quint64 chunks = header.get<quint32>();
            const quint64 rows = header.get<quint32>();
            file->fetch(0, static_cast<qsizetype>(std::min<quint64>(
                               HeaderBytes + chunks * ChunkBytes + rows, quint64(bytes.size()))));
        }
        if (!cache.take(bytes))
            return HeaderCache();
        cache.file_ = std::move(file);
    } catch (const platform::IoError&) {
        // unreadable or too large: rebuilt after the check
    }
    return cache;
}

HeaderCache HeaderCache::read(const QString& path) {
    HeaderCache cache = readLazily(path);
    cache.fetch();
    cache.checkAll();
    cache.release(); // read again as used
    return cache;
}

HeaderCache HeaderCache::fromBytes(QByteArray bytes) {
    HeaderCache cache;
    if (!cache.take(bytes))
        return HeaderCache();
    // Dropping the head only moves the start: the file's bytes are not copied.
    bytes.remove(0, cache.entriesFrom_);
    cache.entries_ = std::move(bytes);
    cache.checkAll();
    return cache;
}

bool HeaderCache::take(QByteArrayView bytes) {
    if (bytes.size() < HeaderBytes || std::memcmp(bytes.data(), Mark, sizeof Mark) != 0)
        return false;
    Reader header(bytes.data() + sizeof Mark, HeaderBytes - qsizetype(sizeof Mark));
    const quint32 version = header.get<quint32>();
    const quint32 count = header.get<quint32>();
    const quint64 length = header.get<quint64>();
    const quint32 chunkCount = header.get<quint32>();
    const quint32 rowsLength = header.get<quint32>();
    const quint64 sum = header.get<quint64>();
    const quint64 headLength = quint64(HeaderBytes) + quint64(chunkCount) * ChunkBytes + rowsLength;
    if (version != Version || headLength > quint64(bytes.size()) ||
        length != quint64(bytes.size()) - headLength || (count == 0) != (length == 0) ||
        length > quint64(std::numeric_limits<qint32>::max()))
        return false;
    const char* table = bytes.data() + HeaderBytes;
    const qsizetype tableLength = qsizetype(chunkCount) * ChunkBytes;
    Checksum both;
    both.add(table, tableLength);
    both.add(table + tableLength, rowsLength);
    if (both.sum() != sum)
        return false;
    // The chunks follow each other from the first entry to the last.
    auto chunks = std::make_shared<Chunks>();
    chunks->table.reserve(chunkCount);
    Reader reader(table, tableLength);
    quint64 entries = 0;
    for (quint32 i = 0; i < chunkCount; ++i) {
        const Chunk chunk{reader.get<quint32>(), reader.get<quint32>(), reader.get<quint64>()};
        if (chunk.count == 0 || chunk.from >= length ||
            (i == 0 ? chunk.from != 0 : chunk.from <= chunks->table.back().from))
            return false;
        entries += chunk.count;
        chunks->table.push_back(chunk);
    }
    if (entries != count)
        return false;
    chunks->state = std::make_unique<std::atomic<quint8>[]>(chunkCount);
    for (quint32 i = 0; i < chunkCount; ++i)
        chunks->state[i].store(Unknown, std::memory_order_relaxed);
    // The rows, when they were written: the list's stamp, then each row's line and entry.
    if (rowsLength > 0) {
        Reader rows(table + tableLength, rowsLength);
        auto list = std::make_shared<ListRows>();
        list->list.isFile = true;
        list->list.size = rows.get<qint64>();
        list->list.modifiedNs = rows.get<qint64>();
        list->list.changedNs = rows.get<qint64>();
        list->list.device = rows.get<quint64>();
        list->list.fileNumber = rows.get<quint64>();
        list->listSum = rows.get<quint64>();
        list->dropped = rows.get<quint32>();
        const quint32 rowCount = rows.get<quint32>();
        if (!rows.ok() || quint64(rowsLength) != RowsHeadBytes + quint64(rowCount) * RowBytes)
            return false;
        list->starts.reserve(rowCount);
        list->cachedAt.reserve(rowCount);
        // Each line holds at least one letter and its CR LF.
        quint64 next = 0;
        for (quint32 row = 0; row < rowCount; ++row) {
            const quint32 start = rows.get<quint32>();
            const qint32 at = rows.get<qint32>();
            if (start < next || at < -1 || (at >= 0 && quint64(at) >= length))
                return false;
            next = quint64(start) + 3;
            list->starts.push_back(start);
            list->cachedAt.push_back(at);
        }
        if (list->list.size < 0 || quint64(list->list.size) < next)
            return false;
        rows_ = std::move(list);
    }
    entriesFrom_ = static_cast<qsizetype>(headLength);
    entries_ = QByteArray::fromRawData(bytes.data() + entriesFrom_, static_cast<qsizetype>(length));
    chunks_ = std::move(chunks);
    count_ = count;
    return true;
}

int HeaderCache::chunkOf(qint32 at) const {
    const std::vector<Chunk>& table = chunks_->table;
    const auto after = std::upper_bound(table.begin(), table.end(), quint32(at),
                                        [](quint32 at, const Chunk& c) { return at < c.from; });
    return static_cast<int>(after - table.begin()) - 1;
}

qint32 HeaderCache::chunkEnd(int chunk) const {
    const std::vector<Chunk>& table = chunks_->table;
    return size_t(chunk) + 1 < table.size() ? qint32(table[size_t(chunk) + 1].from)
                                            : qint32(entries_.size());
}

bool HeaderCache::chunkSound(int chunk) const {
    std::atomic<quint8>& state = chunks_->state[chunk];
    const quint8 known = state.load(std::memory_order_acquire);
    if (known != Unknown)
        return known == Sound;
    // Two threads may check one chunk at once: both find the same.
    const Chunk& c = chunks_->table[size_t(chunk)];
    const qint32 end = chunkEnd(chunk);
    const char* data = entries_.constData();
    bool sound = checksum(data + c.from, end - qint32(c.from)) == c.sum;
    qint32 at = qint32(c.from);
    for (quint32 i = 0; sound && i < c.count; ++i) {
        Fields fields;
        const quint32 size = end - at >= 4 ? entrySizeAt(data + at) : 0;
        sound = size > 0 && size <= quint32(end - at) && parse(data + at, size, fields);
        at += qint32(size);
    }
    sound = sound && at == end;
    state.store(sound ? Sound : Damaged, std::memory_order_release);
    return sound;
}

bool HeaderCache::checkAll() {
    if (count_ == 0)
        return false;
    // The chunks checked give back their memory a megabyte at a time (a mapped file): the
    // whole cache is never in memory at once.
    qint32 released = 0;
    for (size_t chunk = 0; chunk < chunks_->table.size(); ++chunk) {
        if (!chunkSound(int(chunk))) {
            *this = HeaderCache();
            return false;
        }
        const qint32 end = chunkEnd(int(chunk));
        if (file_ && end - released >= (1 << 20)) {
            file_->release(entriesFrom_ + released, end - released);
            released = end;
        }
    }
    return true;
}

bool HeaderCache::usable(qint32 at) const {
    if (at < 0 || count_ == 0 || at >= entries_.size())
        return false;
    const int chunk = chunkOf(at);
    if (chunk < 0 || !chunkSound(chunk))
        return false;
    // Within a sound chunk, an entry's start is one where its length takes it no further.
    const qint32 end = chunkEnd(chunk);
    Fields fields;
    const quint32 size = end - at >= 4 ? entrySizeAt(entries_.constData() + at) : 0;
    return size > 0 && size <= quint32(end - at) && parse(entries_.constData() + at, size, fields);
}

void HeaderCache::fetch() const {
    if (file_)
        file_->fetch(entriesFrom_, entries_.size());
}

void HeaderCache::release() const {
    if (file_)
        file_->release(entriesFrom_, entries_.size());
}

qint32 HeaderCache::next(qint32 at) const {
    const qint64 after = qint64(at) + entrySizeAt(entries_.constData() + at);
    return after < entries_.size() ? static_cast<qint32>(after) : -1;
}

qint32 HeaderCache::find(const QString& path) const {
    return count_ == 0 ? -1 : find(QByteArrayView(path.toUtf8()));
}

bool HeaderCache::isFor(qint32 at, QByteArrayView utf8) const {
    // The path is the entry's first text, after the entry's length and its own.
    return entrySizeAt(entries_.constData() + at + 4) == quint64(utf8.size()) &&
           (utf8.isEmpty() ||
            std::memcmp(entries_.constData() + at + 8, utf8.data(), size_t(utf8.size())) == 0);
}

qint32 HeaderCache::find(QByteArrayView key) const {
    if (count_ == 0)
        return -1;
    if (!indexed_) {
        // Only sound chunks' entries are found.
        index_.reserve(count_);
        for (size_t chunk = 0; chunk < chunks_->table.size(); ++chunk) {
            if (!chunkSound(int(chunk)))
                continue;
            const qint32 end = chunkEnd(int(chunk));
            for (qint32 at = qint32(chunks_->table[chunk].from); at < end;
                 at += qint32(entrySizeAt(entries_.constData() + at))) {
                index_.insert(pathKey(QByteArrayView(entries_.constData() + at + 8,
                                                     entrySizeAt(entries_.constData() + at + 4))),
                              at);
            }
        }
        indexed_ = true;
    }
    const qint32 at = index_.value(pathKey(key), -1);
    // Two paths with one digest: the entry is another path's.
    return at >= 0 && isFor(at, key) ? at : -1;
}

QString RegionTexts::text(QByteArrayView utf8) {
    for (const auto& [bytes, text] : known_) {
        if (bytes == utf8)
            return text;
    }
    QString text = QString::fromUtf8(utf8);
    if (known_.size() < MaxKept)
        known_.emplace_back(utf8.toByteArray(), text);
    return text;
}

GameRecord HeaderCache::record(qint32 at, const QString& path, RegionTexts& regions) const {
    Fields fields;
    parse(entries_.constData() + at, entrySizeAt(entries_.constData() + at), fields);
    GameRecord record;
    record.path = path;
    record.gameName = utf8(fields.gameName);
    record.gameId = utf8(fields.gameId);
    record.region = regions.text(fields.region);
    return record;
}

CachedGame HeaderCache::entry(qint32 at) const {
    Fields fields;
    parse(entries_.constData() + at, entrySizeAt(entries_.constData() + at), fields);
    CachedGame game;
    game.record.path = utf8(fields.path);
    game.record.gameName = utf8(fields.gameName);
    game.record.gameId = utf8(fields.gameId);
    game.record.region = utf8(fields.region);
    game.kind = utf8(fields.kind);
    const QString folder = platform::folderPart(game.record.path);
    for (int i = 0; i < fields.fileCount; ++i)
        game.files.append(fields.relative[i] ? folder + utf8(fields.files[i])
                                             : utf8(fields.files[i]));
    game.digest = fields.digest;
    return game;
}

} // namespace library
