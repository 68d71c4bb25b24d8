#include "library/read_ahead.h"

#include "library/disc_image.h"
#include "platform/disk_reads.h"
#include "platform/paths.h"

#include <exception>
#include <system_error>

namespace library {

ReadAhead::ReadAhead(const QStringList& paths, int first, int readers, int window)
    : paths_(paths), window_(window), next_(first), done_(first), reported_(first) {
    try {
        for (int i = 0; i < readers; ++i)
            readers_.emplace_back([this] { read(); });
    } catch (const std::system_error&) {
        // No more threads to be had: the readers started so far do the work, or none does.
    }
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& reader : readers_)
        reader.join();
}

void ReadAhead::reached(int done) {
    // The readers hear of it every 64 entries: waking them for each one would cost the
    // validation a system call per entry.
    if (done - reported_ < 64)
        return;
    reported_ = done;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        done_ = done;
    }
    wake_.notify_all();
}

void ReadAhead::read() {
    const int count = static_cast<int>(paths_.size());
    // No folder listings: each reader would list a large folder once more.
    platform::FileCaseIndex exactNames(false);
    for (;;) {
        int entry;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(
                lock, [this, count] { return stop_ || next_ >= count || next_ < done_ + window_; });
            if (stop_ || next_ >= count)
                return;
            entry = next_++;
        }
        try {
            QByteArray header;
            resolveImageRaw(paths_.at(entry), &header, &exactNames);
        } catch (const std::exception&) {
            // The validation reads the entry again and reports what it finds.
        }
    }
}

namespace {

// Batches shorter than this never read ahead, and the validation is judged over runs of this
// many entries.
constexpr int Run = 256;
// Where disk reads are not counted: an entry slower than this on average means reads from the
// disk.
constexpr qint64 SlowEntryNs = 40'000;

} // namespace

ReadAheadWhenSlow::ReadAheadWhenSlow(const QStringList& paths, bool always)
    : paths_(paths), eligible_(always || paths.size() >= Run), always_(always) {}

ReadAheadWhenSlow::~ReadAheadWhenSlow() = default;

void ReadAheadWhenSlow::entryStarts(int done) {
    if (ahead_) {
        ahead_->reached(done);
        return;
    }
    if (!eligible_)
        return;
    if (always_ || (timed_ >= Run && runWasSlow())) {
        ahead_ = std::make_unique<ReadAhead>(paths_, done, 4, 512);
        return;
    }
    if (timed_ >= Run || timed_ == 0) {
        timed_ = 0;
        spentNs_ = 0;
        blocksAtRunStart_ = platform::diskBlocksReadByThisThread();
    }
    // Only where disk reads are not counted does the time of an entry decide.
    if (blocksAtRunStart_ < 0)
        clock_.start();
    timing_ = true;
}

bool ReadAheadWhenSlow::runWasSlow() const {
    const qint64 blocks = platform::diskBlocksReadByThisThread();
    if (blocksAtRunStart_ >= 0 && blocks >= 0)
        return (blocks - blocksAtRunStart_) * 4 >= timed_;
    return spentNs_ > timed_ * SlowEntryNs;
}

void ReadAheadWhenSlow::entryEnds() {
    if (!timing_)
        return;
    if (blocksAtRunStart_ < 0)
        spentNs_ += clock_.nsecsElapsed();
    ++timed_;
    timing_ = false;
}

void ReadAheadWhenSlow::stop() {
    ahead_.reset();
    eligible_ = false;
    paths_ = QStringList(); // the batch's entries are not kept beside its rows
}

} // namespace library
