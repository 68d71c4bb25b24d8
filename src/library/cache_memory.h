#pragma once

// How the header cache reads its entries (private to the game list).

#include "platform/held_file.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

namespace library::detail {

// The length an encoded cache entry starts with.
inline quint32 entrySizeAt(const char* at) {
    quint32 size = 0;
    std::memcpy(&size, at, sizeof size);
    return qFromLittleEndian(size);
}

// Gives back the memory of the mapped files whose entries were read, every megabyte read: all
// of each file, as the pieces read need not follow each other in it (the rows of a sorted list
// take their entries from all over the old cache). They come again from the file when read.
class ReadBehind {
public:
    ReadBehind() = default;
    ReadBehind(const ReadBehind&) = delete;
    ReadBehind& operator=(const ReadBehind&) = delete;
    ~ReadBehind() { releaseAll(); }

    void read(const platform::HeldFile* file, qsizetype bytes) {
        if (!file)
            return;
        if (std::find(files_.begin(), files_.end(), file) == files_.end())
            files_.push_back(file);
        read_ += bytes;
        if (read_ >= (qsizetype(1) << 20))
            releaseAll();
    }
    void releaseAll() {
        for (const platform::HeldFile* file : files_)
            file->release(0, file->bytes().size());
        read_ = 0;
    }

private:
    std::vector<const platform::HeldFile*> files_;
    qsizetype read_ = 0;
};

// The rows in the order of their entries in the cache file (rows without one first). Rows taken
// in this order read a mapped cache from its start to its end, once, however the list was
// sorted since the cache was written; taken in a sorted list's own order they read it all over,
// and the kernel maps the pages around each page read: the whole file would be in memory.
// Empty when the rows are in that order already (rows without an entry anywhere): see rowAt.
inline std::vector<int> rowsInFileOrder(const std::vector<qint32>& cachedAt) {
    qint32 last = -1;
    const bool inOrder = std::all_of(cachedAt.begin(), cachedAt.end(), [&last](qint32 at) {
        if (at < 0)
            return true;
        const bool after = at >= last;
        last = at;
        return after;
    });
    if (inOrder)
        return {};
    std::vector<int> rows(cachedAt.size());
    for (size_t row = 0; row < rows.size(); ++row)
        rows[row] = static_cast<int>(row);
    std::sort(rows.begin(), rows.end(), [&cachedAt](int a, int b) {
        const qint32 x = cachedAt[size_t(a)];
        const qint32 y = cachedAt[size_t(b)];
        return x != y ? x < y : a < b;
    });
    return rows;
}

// The row taken `i`th in the order rowsInFileOrder gave.
inline int rowAt(const std::vector<int>& order, size_t i) {
    return order.empty() ? static_cast<int>(i) : order[i];
}

} // namespace library::detail
