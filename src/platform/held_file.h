#pragma once

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace platform {

// A large file's bytes held for reading while it lasts. On local disks of Linux they are mapped
// from the file instead of copied into fresh memory (filling that costs more than the reading),
// and the memory of the bytes read so far can be given back: they come from the file again
// when read next. Elsewhere (other systems, network and removable file systems, where a mapped
// file that goes away ends the program) the file is read whole. The file is written only by
// replacing it (an atomic write), which leaves the bytes held unchanged.
class HeldFile {
public:
    // Refuses what readFileBytes refuses, with its texts (throws IoError). A mapped file is
    // asked of the storage whole at once, or with `fetchAll` false only as it is read (and as
    // fetch() asks).
    static std::shared_ptr<const HeldFile> open(const QString& path, qint64 maxBytes,
                                                bool fetchAll = true);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    QByteArrayView bytes() const { return {data_, size_}; }
    bool mapped() const { return map_ != nullptr; }
    // Gives back the memory of the whole pages among these bytes (a mapped file only); they stay
    // readable.
    void release(qsizetype from, qsizetype size) const;
    // Asks the storage for these bytes now, to come in one read (a mapped file only).
    void fetch(qsizetype from, qsizetype size) const;

private:
    HeldFile() = default;
    QByteArray copy_;
    const char* data_ = nullptr;
    qsizetype size_ = 0;
    void* map_ = nullptr;
    int descriptor_ = -1; // of a mapped file
};

} // namespace platform
