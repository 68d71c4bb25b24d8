// The entries of a cache about to be written, and the thread that writes the cache file.

#include "library/cache_memory.h"
#include "library/header_cache.h"
#include "platform/io_error.h"
#include "platform/text_file.h"

#include <algorithm>

namespace library {

using detail::ReadBehind;

// ---- CacheEntries ---------------------------------------------------------------------------

quint32 CacheEntries::ownerOf(const QByteArray& bytes,
                              const std::shared_ptr<const platform::HeldFile>& file) {
    if (!owners_.empty() && owners_.back().bytes.constData() == bytes.constData())
        return static_cast<quint32>(owners_.size() - 1);
    owners_.push_back({bytes, file});
    return static_cast<quint32>(owners_.size() - 1);
}

void CacheEntries::keep(const HeaderCache& cache, qint32 at) {
    const QByteArray& entries = cache.entries();
    const qsizetype size = detail::entrySizeAt(entries.constData() + at);
    const char* data = entries.constData() + at;
    ++count_;
    if (!pieces_.empty()) {
        Piece& last = pieces_.back();
        if (last.data + last.size == data &&
            owners_[last.owner].bytes.constData() == entries.constData()) {
            last.size += size;
            return;
        }
    }
    pieces_.push_back({data, size, ownerOf(entries, cache.holder())});
}

void CacheEntries::keepAll(const HeaderCache& cache) {
    if (cache.isEmpty())
        return;
    pieces_.push_back({cache.entries().constData(), cache.entries().size(),
                       ownerOf(cache.entries(), cache.holder())});
    count_ += cache.count();
}

void CacheEntries::add(QByteArray entries, quint32 count) {
    if (entries.isEmpty())
        return;
    const qsizetype size = entries.size();
    owners_.push_back({std::move(entries), nullptr});
    pieces_.push_back(
        {owners_.back().bytes.constData(), size, static_cast<quint32>(owners_.size() - 1)});
    count_ += count;
}

void CacheEntries::add(CacheEntries&& more) {
    const quint32 from = static_cast<quint32>(owners_.size());
    for (Owner& owner : more.owners_)
        owners_.push_back(std::move(owner)); // the bytes stay where they are
    for (const Piece& piece : more.pieces_)
        pieces_.push_back({piece.data, piece.size, piece.owner + from});
    count_ += more.count_;
    more.owners_.clear();
    more.pieces_.clear();
    more.count_ = 0;
}

bool CacheEntries::areAllOf(const HeaderCache& cache) const {
    return pieces_.size() == 1 && count_ == cache.count() &&
           pieces_.front().data == cache.entries().constData() &&
           pieces_.front().size == cache.entries().size();
}

std::vector<QByteArrayView> CacheEntries::pieces() const {
    std::vector<QByteArrayView> views;
    views.reserve(pieces_.size());
    for (const Piece& piece : pieces_)
        views.emplace_back(piece.data, piece.size);
    return views;
}

// ---- CacheWriter ----------------------------------------------------------------------------

CacheWriter::CacheWriter(const QString& path) : path_(path) {}

CacheWriter::~CacheWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void CacheWriter::hold() {
    std::lock_guard<std::mutex> lock(mutex_);
    holding_ = true;
}

void CacheWriter::writeAll(CacheEntries entries, bool current) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        holding_ = false;
        if (current && held_.count() == 0 && !listChanged_)
            return; // the file holds these entries already, and the list's rows
        listChanged_ = false;
        entries.add(std::move(held_));
        held_ = CacheEntries();
        tasks_.push_back({true, std::move(entries)});
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

void CacheWriter::append(const QByteArray& entries, quint32 count) {
    if (count == 0)
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (holding_) {
            held_.add(entries, count);
            return;
        }
        CacheEntries added;
        added.add(entries, count);
        tasks_.push_back({false, std::move(added)});
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

void CacheWriter::knowList(ListRows rows, QStringList paths) {
    std::lock_guard<std::mutex> lock(mutex_);
    list_ =
        rows.starts.empty()
            ? nullptr
            : std::make_shared<const ListSnapshot>(ListSnapshot{std::move(rows), std::move(paths)});
}

void CacheWriter::listChanged(ListRows rows, QStringList paths) {
    knowList(std::move(rows), std::move(paths));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (holding_) {
            listChanged_ = true; // the whole cache goes out with the rows later
            return;
        }
        tasks_.push_back({false, CacheEntries()});
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
}

void CacheWriter::flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return tasks_.empty() && !writing_; });
}

void CacheWriter::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !tasks_.empty(); });
        if (tasks_.empty())
            return; // stopped with nothing left to write
        // Appends that follow each other go out in one write.
        std::vector<Task> tasks = std::move(tasks_);
        tasks_.clear();
        const std::shared_ptr<const ListSnapshot> list = list_;
        writing_ = true;
        lock.unlock();
        CacheEntries entries;
        bool whole = false;
        for (Task& task : tasks) {
            if (task.whole) {
                entries = std::move(task.entries);
                whole = true;
            } else {
                entries.add(std::move(task.entries));
            }
        }
        tasks.clear();
        HeaderCache old;
        if (!whole) {
            // Appended entries go after those the file holds.
            old = HeaderCache::read(path_);
            CacheEntries all;
            all.keepAll(old);
            all.add(std::move(entries));
            entries = std::move(all);
        }
        try {
            const QByteArray rows =
                list ? HeaderCache::encodeRows(list->rows, list->paths, entries) : QByteArray();
            const QByteArray header = HeaderCache::fileHead(entries, rows);
            // Entries of a mapped file give back their memory once written, a megabyte at a
            // time: an old cache is never all in memory at once.
            constexpr qsizetype Slice = qsizetype(1) << 20;
            std::vector<QByteArrayView> pieces{QByteArrayView(header), QByteArrayView(rows)};
            std::vector<size_t> pieceOf{0, 0}; // each written piece's piece of the entries
            for (size_t i = 0; i < entries.pieceCount(); ++i) {
                const QByteArrayView bytes = entries.piece(i).bytes;
                for (qsizetype at = 0; at < bytes.size(); at += Slice) {
                    pieces.push_back(bytes.sliced(at, std::min(Slice, bytes.size() - at)));
                    pieceOf.push_back(i);
                }
            }
            ReadBehind behind;
            platform::writeFileAtomic(path_, pieces, [&](size_t written) {
                if (written >= 2)
                    behind.read(entries.piece(pieceOf[written]).file, pieces[written].size());
            });
        } catch (const platform::IoError&) {
            // The old cache stays; rows it lacks are read again at the next start.
        }
        entries = CacheEntries();
        old = HeaderCache();
        lock.lock();
        writing_ = false;
        if (tasks_.empty())
            idle_.notify_all();
    }
}

} // namespace library
