#pragma once

#include <QElapsedTimer>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace library {

// Reads the files of a batch's entries a little ahead of its validation, on a few threads, so
// that the validation, which reads them again one by one in list order, finds them in the page
// cache. On a cold cache the disk then serves several reads at once (about twice as fast here
// with four readers); on a warm cache the readers cost a second core and nothing else. Only
// the speed changes: the rows, their order, the held entries and every message still come
// from the validation alone. The readers look up exact names only (and a CCD file's image under
// the emulator's name); a name found ignoring letter case is left to the validation.
class ReadAhead {
public:
    // Starts `readers` threads over the entries from `first` on, staying at most `window`
    // entries ahead.
    ReadAhead(const QStringList& paths, int first, int readers, int window);
    // Stops the readers and waits for them.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The validation has finished the first `done` entries.
    void reached(int done);

private:
    void read();

    const QStringList paths_;
    const int window_;
    std::mutex mutex_;
    std::condition_variable wake_;
    int next_ = 0;
    int done_ = 0;
    int reported_ = 0; // the validation's side of done_, without the lock
    bool stop_ = false;
    std::vector<std::thread> readers_;
};

// Reading ahead only where it pays: a batch's validation watches its own reads, and once a
// run of 256 entries had the disk read a block for at least every fourth entry, the readers
// start from the entry reached. On a warm cache (no disk reads) they would only take the
// processor from the validation, so they never start there, however busy the machine is. Where
// the system does not count disk reads, a run averaging over 40 µs an entry counts as slow
// (from the page cache an entry takes about 15).
class ReadAheadWhenSlow {
public:
    explicit ReadAheadWhenSlow(const QStringList& paths, bool always = false);
    ~ReadAheadWhenSlow();
    ReadAheadWhenSlow(const ReadAheadWhenSlow&) = delete;
    ReadAheadWhenSlow& operator=(const ReadAheadWhenSlow&) = delete;

    // Before the validation reads entry `done` (counted from 0).
    void entryStarts(int done);
    // After it.
    void entryEnds();
    // Stops the readers (the batch has ended).
    void stop();

private:
    bool runWasSlow() const;

    QStringList paths_;
    bool eligible_;
    bool always_;
    std::unique_ptr<ReadAhead> ahead_;
    QElapsedTimer clock_;
    bool timing_ = false;
    int timed_ = 0;
    qint64 spentNs_ = 0;
    qint64 blocksAtRunStart_ = -1;
};

} // namespace library
