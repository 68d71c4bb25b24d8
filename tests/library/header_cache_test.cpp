#include "disc_writer.h"
#include "i18n/messages.h"
#include "library/file_access.h"
#include "library/game_list.h"
#include "library/header_cache.h"
#include "platform/file_stamp.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#endif

using namespace library;
using discwriter::Sectors;

namespace {

class HeaderCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        i18n::initMessageTable();
        a = game(dir.file("games"), "A", "T-1");
        b = game(dir.file("games"), "B", "T-2");
        dir.write("List.ini",
                  (a + "\r\n" + dir.file("games/Gone.cue") + "\r\n" + b + "\r\n" + other() + "\r\n")
                      .toLocal8Bit());
    }
    static QString game(const QString& folder, const QString& name, const QByteArray& product) {
        discwriter::Header header;
        header.productNumber = product;
        header.areaSymbols = "JU";
        return discwriter::writeCueGame(folder, name, header, Sectors::Raw2352, 1);
    }
    QString other() {
        return discwriter::writeCueGame(dir.file("games"), "Other", discwriter::nonSaturnHeader(),
                                        Sectors::Raw2352, 1);
    }
    // What every row shows, in order.
    static QStringList rows(GameList& list) {
        QStringList shown;
        GameListModel* model = list.model();
        for (int row = 0; row < model->count(); ++row) {
            const GameRecord& r = model->at(row);
            shown << QStringList{r.path, r.gameName, r.gameId, r.region,
                                 QString::number(int(r.presence))}
                         .join('|');
        }
        return shown;
    }
    // Starts a list on the folder; `first` gets the rows as they show before the check.
    QStringList start(QStringList* first = nullptr) {
        // As the program starts: the rows are read beside the window, and show at once.
        GameList::prepareStartUp(dir.path());
        GameList list(dir.path());
        list.startUp();
        if (first)
            *first = rows(list);
        EXPECT_TRUE(list.waitForStartUpCheck());
        return rows(list);
    }
    QByteArray cacheBytes() const { return testsupport::readAll(dir.file("ListHeaders.cache")); }

    testsupport::TempFolder dir;
    QString a, b;
};

// Puts `replacement`'s bytes in place of `file` keeping its size and modification time: either
// as a new file renamed over it (another file number) or written into it (another change time).
void replaceKeepingSizeAndTime(const QString& file, const QString& replacement, bool rename) {
#ifndef Q_OS_WIN
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &before), 0);
#endif
    const QDateTime modified = QFileInfo(file).lastModified();
    ASSERT_EQ(QFileInfo(file).size(), QFileInfo(replacement).size());
    if (rename) {
        ASSERT_TRUE(QFile::remove(file));
        ASSERT_TRUE(QFile::rename(replacement, file));
    } else {
        QFile target(file);
        ASSERT_TRUE(target.open(QIODevice::ReadWrite));
        target.write(testsupport::readAll(replacement));
        target.close();
    }
#ifndef Q_OS_WIN
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
#else
    QFile target(file);
    ASSERT_TRUE(target.open(QIODevice::ReadWrite));
    ASSERT_TRUE(target.setFileTime(modified, QFileDevice::FileModificationTime));
#endif
}

} // namespace

TEST_F(HeaderCacheTest, RowsShowFromTheCacheAtOnceAndChangedDiscsAreReadAgain) {
    QStringList first;
    const QStringList reference = start(&first);
    ASSERT_EQ(reference.size(), 3); // the other disc is dropped, the missing game stays
    // Without a cache every row waits for the check.
    EXPECT_EQ(first.at(0), a + "|A|||" + QString::number(int(Presence::Checking)));

    EXPECT_EQ(start(&first), reference);
    EXPECT_EQ(first.at(0), reference.at(0)); // from the cache, before the check
    EXPECT_EQ(first.at(2), reference.at(2));
    // Rows made beforehand on a thread of their own (while the window is built) are the same.
    GameList::prepareStartUp(dir.path());
    EXPECT_EQ(start(&first), reference);
    EXPECT_EQ(first.at(2), reference.at(2));

    // The same size and time, but another disc: by rename, then by a write in place.
    const QString data = dir.file("games/B (Track 01).bin");
    for (const bool rename : {true, false}) {
        const QByteArray product = rename ? "T-9" : "T-8";
        game(dir.file("new"), "B", product);
        replaceKeepingSizeAndTime(data, dir.file("new/B (Track 01).bin"), rename);
        const QStringList now = start(&first);
        EXPECT_EQ(first.at(2).section('|', 2, 2), rename ? "T-2" : "T-9"); // what the cache had
        EXPECT_EQ(now.at(2).section('|', 2, 2), product);
        EXPECT_EQ(start(), now); // and the cache follows
    }
}

TEST_F(HeaderCacheTest, ADamagedOrForeignCacheIsIgnoredAndRebuilt) {
    const QStringList reference = start();
    const QByteArray good = cacheBytes();
    ASSERT_GT(good.size(), 64);
    const HeaderCache valid = HeaderCache::fromBytes(good);
    ASSERT_FALSE(valid.isEmpty());

    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x10);
    QByteArray otherVersion = good;
    otherVersion[8] = char(HeaderCache::Version + 1);
    // An entry for A that names B's files, with their true digest and other texts.
    CachedGame wrong = valid.entry(valid.find(b));
    wrong.record.path = a;
    wrong.record.gameName = "Wrong";
    const QByteArray pointing = HeaderCache::fileBytes(encodeCacheEntry(wrong), 1);

    for (const QByteArray& damaged :
         {good.left(good.size() - 5), good.left(20), flipped, otherVersion, pointing,
          QByteArray("not a cache at all"), QByteArray()}) {
        dir.write("ListHeaders.cache", damaged);
        EXPECT_EQ(start(), reference);
        EXPECT_FALSE(HeaderCache::read(dir.file("ListHeaders.cache")).isEmpty());
    }
    // A cache never adds, drops or reorders an entry of the list.
    dir.write("List.ini", (b + "\r\n").toLocal8Bit());
    dir.write("ListHeaders.cache", good);
    EXPECT_EQ(start(), QStringList{reference.at(2)});
}

// The cache knows where each row of List.ini stands while the file keeps its stamp. A file
// changed without a new stamp (a clock too coarse to tell two writes apart) is read as it is.
TEST_F(HeaderCacheTest, AListChangedUnderTheSameStampIsReadAsItStands) {
    start();
    const QString listPath = dir.file("List.ini");
    const QByteArray old = testsupport::readAll(listPath); // A, Gone, B
    const QString gone = dir.file("games/Gone.cue");
    const QByteArray now = (gone + "\r\n" + a + "\r\n" + b + "\r\n").toLocal8Bit();
    ASSERT_EQ(now.size(), old.size());
    dir.write("List.ini", now);
    const QStringList reference = [this] {
        const QByteArray cache = cacheBytes();
        QFile::remove(dir.file("ListHeaders.cache"));
        const QStringList rows = start();
        dir.write("ListHeaders.cache", cache);
        return rows;
    }();
    ASSERT_EQ(reference.size(), 3);
    // The cache's rows are the old file's, under the new file's stamp.
    const HeaderCache cache = HeaderCache::read(dir.file("ListHeaders.cache"));
    ASSERT_TRUE(cache.rows() != nullptr);
    CacheEntries kept;
    kept.keepAll(cache);
    const ListRows rows{
        platform::fileStamp(listPath), cacheChecksum(old), 0, cache.rows()->starts, {}};
    const QByteArray entries = cache.entries();
    const QByteArray rowBytes = HeaderCache::encodeRows(rows, {a, gone, b}, kept);
    dir.write("ListHeaders.cache", HeaderCache::fileHead(kept, rowBytes) + rowBytes + entries);
    EXPECT_EQ(start(), reference);
    EXPECT_EQ(testsupport::readAll(listPath), now);
}

// A game's cache entry holds the identities its files had before they were read: a file changed
// after it was opened (while the check read it) no longer matches, so its row is read again.
TEST_F(HeaderCacheTest, AFileChangedWhileItWasReadNoLongerMatchesItsEntry) {
    const QString data = dir.file("games/A (Track 01).bin");
    for (const bool changed : {false, true}) {
        quint64 entry = 0, now = 0;
        const detail::OpenedFiles opened;
        detail::ReadOnlyFile file;
        ASSERT_TRUE(file.open(data));
        if (changed)
            dir.write("games/A (Track 01).bin", "another disc");
        ASSERT_TRUE(filesDigest({a, data}, entry, opened.files()));
        ASSERT_TRUE(filesDigest({a, data}, now));
        EXPECT_EQ(entry == now, !changed);
    }
}

// A long list makes its rows from the cache in two halves at once: every row shows its own
// entry, as the check confirms it.
TEST_F(HeaderCacheTest, ALongListShowsEveryRowFromItsOwnEntry) {
    const QByteArray sheet = testsupport::readAll(a); // names A's data file, beside it
    QByteArray list;
    for (int i = 0; i < 2500; ++i)
        list += dir.write(QString("games/G%1.cue").arg(i), sheet).toUtf8() + "\r\n";
    dir.write("List.ini", list);
    const QStringList reference = start();
    ASSERT_EQ(reference.size(), 2500);
    EXPECT_EQ(reference.at(1234).section('|', 1, 1), "G1234");
    QStringList first;
    EXPECT_EQ(start(&first), reference);
    EXPECT_EQ(first, reference);

    // Sorted anew: each row's entry is found anywhere in the cache, then shown from the rows
    // the cache keeps; the entries stay where they are (not all read again to be rewritten).
    const auto entries = [this] {
        const HeaderCache cache = HeaderCache::read(dir.file("ListHeaders.cache"));
        return QByteArray(cache.entries().constData(), cache.entries().size());
    };
    const QByteArray before = entries();
    QByteArrayList lines = testsupport::readAll(dir.file("List.ini")).split('\n');
    lines.removeLast();
    std::reverse(lines.begin(), lines.end());
    dir.write("List.ini", lines.join('\n') + "\n");
    QStringList reversed = reference;
    std::reverse(reversed.begin(), reversed.end());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(start(&first), reversed);
        EXPECT_EQ(first, reversed);
        EXPECT_EQ(entries(), before);
    }
}

// The cache's entries may stay in the file's own bytes (mapped from it): entries kept for the
// next write outlive the cache they came from, the file's replacement, and the memory the cache
// gave back.
TEST_F(HeaderCacheTest, KeptEntriesOutliveTheirCacheAndItsFile) {
    start();
    const QString path = dir.file("ListHeaders.cache");
    const QByteArray good = cacheBytes();
    CacheEntries kept;
    {
        const HeaderCache cache = HeaderCache::read(path);
        ASSERT_EQ(cache.count(), 2u);
        cache.release();
        EXPECT_EQ(cache.entry(cache.find(b)).record.gameName, "B");
        kept.keepAll(cache);
    }
    const QByteArray other("another file");
    platform::writeFileAtomic(path, other);
    QByteArray written;
    for (const QByteArrayView piece : kept.pieces())
        written += piece.toByteArray();
    EXPECT_TRUE(good.endsWith(written));
    EXPECT_EQ(HeaderCache::fromBytes(HeaderCache::fileHead(kept) + written).count(), 2u);
}

// A long list shows its rows, from List.ini's lines and the cache, before they are made; a use
// of the rows waits for them. A list with a repeat is made into rows first.
TEST_F(HeaderCacheTest, ALongListShowsBeforeItsRowsAreMade) {
    const QByteArray sheet = testsupport::readAll(a);
    QByteArray list;
    for (int i = 0; i < 1500; ++i)
        list += dir.write(QString("games/G%1.cue").arg(i), sheet).toUtf8() + "\r\n";
    dir.write("List.ini", "\r\n" + list + dir.file("games/Gone.cue").toUtf8());
    const QStringList reference = start();
    ASSERT_EQ(reference.size(), 1501);

    GameList::holdStartRows(true);
    GameList::prepareStartUp(dir.path());
    GameList pending(dir.path());
    pending.startUp();
    ASSERT_TRUE(pending.startUpRowsPending());
    const GameListModel* model = pending.model();
    QStringList shown;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList fields;
        for (int column = 0; column < GameListModel::ColumnCount; ++column)
            fields << model->data(model->index(row, column), Qt::DisplayRole).toString();
        shown << fields.join('|');
    }
    GameList::holdStartRows(false);
    EXPECT_EQ(model->rowOf(dir.file("games/G700.cue")), 700);
    EXPECT_FALSE(pending.startUpRowsPending());
    EXPECT_TRUE(pending.waitForStartUpCheck());
    QStringList made = rows(pending);
    for (QString& row : made)
        row = row.section('|', 0, 3);
    EXPECT_EQ(shown, made);

    dir.write("List.ini", list + list.left(list.indexOf('\n') + 1));
    EXPECT_EQ(start(), reference.mid(0, 1500));
}
