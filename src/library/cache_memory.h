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

} // namespace library::detail
