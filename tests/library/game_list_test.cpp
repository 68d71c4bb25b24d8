#include "disc_writer.h"
#include "i18n/messages.h"
#include "library/folder_scan.h"
#include "library/game_filter.h"
#include "library/game_list.h"
#include "platform/io_error.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTreeView>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace library;
using discwriter::Sectors;

namespace {

class GameListTest : public ::testing::Test {
protected:
    void SetUp() override { i18n::initMessageTable(); }

    QString game(const QString& name, const QByteArray& product = "T-1",
                 const QByteArray& area = "J") {
        discwriter::Header header;
        header.productNumber = product;
        header.areaSymbols = area;
        return discwriter::writeCueGame(dir.file("games"), name, header, Sectors::Raw2352, 1);
    }
    QString notSaturn(const QString& name) {
        return discwriter::writeCueGame(dir.file("games"), name, discwriter::nonSaturnHeader(),
                                        Sectors::Raw2352, 1);
    }
    QByteArray listFile() const { return testsupport::readAll(dir.file("List.ini")); }
    static QStringList lastTexts(const QSignalSpy& spy) {
        QStringList texts;
        for (const QList<QVariant>& args : spy)
            texts << args.at(0).toString();
        return texts;
    }

    testsupport::TempFolder dir;
};

QByteArray crlfLines(const QStringList& lines) {
    QByteArray text;
    for (const QString& line : lines)
        text += line.toLocal8Bit() + "\r\n";
    return text;
}

} // namespace

TEST_F(GameListTest, StartUpWithoutListFileCreatesNothing) {
    GameList list(dir.path());
    QSignalSpy count(&list, &GameList::countChanged);
    QSignalSpy status(&list, &GameList::statusChanged);
    list.startUp();
    ASSERT_TRUE(list.waitForStartUpCheck());
    EXPECT_EQ(list.model()->count(), 0);
    EXPECT_EQ(count.size(), 0);
    EXPECT_EQ(status.size(), 0);
    EXPECT_FALSE(QFile::exists(dir.file("List.ini")));
}

TEST_F(GameListTest, StartUpDropsDuplicatesAndNonSaturnEntriesKeepsMissingOnes) {
    const QString good = game("Good", "T-123   ", " JUE ");
    const QString other = notSaturn("Other");
    // LF-only line ends, an empty line, a missing file, the same path twice.
    dir.write("List.ini",
              (good + "\n\n" + dir.file("games/Missing.cue") + "\n" + other + "\n" + good + "\n")
                  .toLocal8Bit());
    GameList list(dir.path());
    QSignalSpy count(&list, &GameList::countChanged);
    QSignalSpy status(&list, &GameList::statusChanged);
    list.startUp();
    ASSERT_TRUE(list.waitForStartUpCheck());
    ASSERT_EQ(list.model()->count(), 2);
    const GameRecord& row = list.model()->at(0);
    EXPECT_EQ(row.path, good);
    EXPECT_EQ(row.gameName, "Good");
    EXPECT_EQ(row.gameId, "T-123");
    EXPECT_EQ(row.region, "JUE");
    EXPECT_EQ(list.model()->at(1).presence, Presence::Missing);
    EXPECT_EQ(lastTexts(count).last(), "2 (1 missing)");
    // The empty line, the repeat and the other disc were dropped.
    EXPECT_EQ(lastTexts(status), QStringList{i18n::message(i18n::Extra::LoadedDropped).arg(3)});
    EXPECT_EQ(listFile(), crlfLines({good, dir.file("games/Missing.cue")}));
}

TEST_F(GameListTest, StartUpWithNothingValidKeepsTheStatusAndEmptiesTheFile) {
    dir.write("List.ini", (notSaturn("Bad") + "\r\n").toLocal8Bit());
    GameList list(dir.path());
    QSignalSpy count(&list, &GameList::countChanged);
    QSignalSpy status(&list, &GameList::statusChanged);
    list.startUp();
    ASSERT_TRUE(list.waitForStartUpCheck());
    EXPECT_EQ(lastTexts(count).last(), "0");
    EXPECT_EQ(status.size(), 0);
    EXPECT_EQ(listFile(), QByteArray());
}

TEST_F(GameListTest, AddGamesReportsOneFileOrCountsTheBatch) {
    const QString a = game("A");
    const QString b = game("B");
    GameList list(dir.path());
    QSignalSpy count(&list, &GameList::countChanged);
    QSignalSpy status(&list, &GameList::statusChanged);
    list.addGames({a});
    EXPECT_EQ(lastTexts(status).last(), i18n::message(9));

    // A new game together with a listed one that comes last: the new one is added and the
    // status counts both outcomes.
    list.addGames({b, a});
    EXPECT_EQ(list.model()->paths(), (QStringList{a, b}));
    EXPECT_EQ(lastTexts(status).last(), "1 game added, 1 already in the list");
    EXPECT_EQ(lastTexts(count).last(), "2");

    list.addGames({a, notSaturn("N")});
    EXPECT_EQ(lastTexts(status).last(), "1 not a Saturn disc, 1 already in the list");
    EXPECT_EQ(listFile(), crlfLines({a, b}));
    EXPECT_EQ(status.size(), 3); // one status per batch
}

TEST_F(GameListTest, PathsDifferingInLetterCaseAreTwoGames) {
    const QString a = game("Case");
    QString upper = a;
    upper.replace("Case.cue", "CASE.CUE");
    GameList list(dir.path());
    list.addGames({a, upper});
    ASSERT_EQ(list.model()->count(), 2);
    EXPECT_TRUE(list.model()->isListed(upper));
    EXPECT_FALSE(list.model()->isListed(a.toLower()));
}

TEST_F(GameListTest, PlaylistIsListedUnderItsFirstDiscWithItsOwnPath) {
    discwriter::Header header;
    header.productNumber = "MK-2";
    const QString m3u = discwriter::writeM3uGame(dir.file("games"), "Twin", {header, header}, 1);
    GameList list(dir.path());
    list.addGames({m3u});
    ASSERT_EQ(list.model()->count(), 1);
    EXPECT_EQ(list.model()->at(0).path, m3u);
    EXPECT_EQ(list.model()->at(0).gameName, "Twin (Disc 1)");
    EXPECT_EQ(list.model()->at(0).gameId, "MK-2");
}

TEST_F(GameListTest, DeleteAndClearUpdateCountStatusAndFile) {
    const QString a = game("A");
    const QString b = game("B");
    GameList list(dir.path());
    list.addGames({a, b});
    QSignalSpy count(&list, &GameList::countChanged);
    QSignalSpy status(&list, &GameList::statusChanged);

    list.deleteRow(5); // no row selected: nothing happens while rows remain
    EXPECT_EQ(count.size(), 0);
    EXPECT_EQ(status.size(), 0);

    list.deleteRow(0);
    EXPECT_EQ(lastTexts(count), QStringList{"1"});
    // Each removal offers its undo.
    EXPECT_EQ(lastTexts(status), QStringList{i18n::message(i18n::Extra::RemovedOne)});
    EXPECT_EQ(listFile(), crlfLines({b}));

    list.deleteRow(0); // the last row
    EXPECT_EQ(lastTexts(count).last(), "0");
    EXPECT_EQ(listFile(), QByteArray());

    list.addGames({a, b});
    list.clear();
    EXPECT_EQ(list.model()->count(), 0);
    EXPECT_FALSE(list.model()->isListed(a));
    EXPECT_EQ(lastTexts(count).last(), "0");
    EXPECT_EQ(lastTexts(status).last(), i18n::message(i18n::Extra::RemovedMany).arg(2));
    EXPECT_EQ(listFile(), QByteArray());
}

TEST_F(GameListTest, CommandsAreRefusedWhileABatchIsAdded) {
    const QString a = game("A");
    const QString b = game("B");
    const QString c = game("C");
    GameList list(dir.path());
    list.addGames({c});
    list.setProgressInterval(0);
    bool busyInPump = false;
    list.addGames({a, b}, [&](int, int) {
        busyInPump = list.busy();
        list.deleteRow(0);
        list.clear();
        list.sortByColumn(1);
        list.addGames({dir.file("games/C.cue")});
        return true;
    });
    EXPECT_TRUE(busyInPump);
    EXPECT_FALSE(list.busy());
    EXPECT_EQ(list.model()->paths(), (QStringList{c, a, b}));
    EXPECT_EQ(listFile(), crlfLines({c, a, b}));
}

// Rows of a batch reach the list in runs between progress reports; the rows, the texts and
// List.ini are those of adding them one by one.
TEST_F(GameListTest, ThrottledAddKeepsRowsTextsAndFile) {
    const QString a = game("A"), b = game("B"), c = game("C");
    const QString n = notSaturn("N");
    const QStringList batch{a, n, b, a, c, b};
    const auto run = [&](int intervalMs, QStringList& texts, QList<int>* rowsAtReport) {
        QFile::remove(dir.file("List.ini"));
        GameList list(dir.path());
        list.setProgressInterval(intervalMs);
        QSignalSpy count(&list, &GameList::countChanged);
        QSignalSpy status(&list, &GameList::statusChanged);
        list.addGames(batch, [&](int done, int total) {
            EXPECT_EQ(total, batch.size());
            // A file that takes long is reported again while it is read.
            const QList<int> now{done, static_cast<int>(list.model()->count())};
            if (rowsAtReport && done > 0 &&
                (rowsAtReport->size() < 2 || rowsAtReport->last(2) != now))
                *rowsAtReport << now;
            return true;
        });
        texts = lastTexts(count) + lastTexts(status);
        return list.model()->paths();
    };
    QStringList eachTexts, onceTexts;
    QList<int> reports;
    const QStringList eachRows = run(0, eachTexts, &reports);
    const QByteArray eachFile = listFile();
    // At every report the rows validated so far are in the list, for the view to show.
    EXPECT_EQ(reports, (QList<int>{1, 1, 2, 1, 3, 2, 4, 2, 5, 3, 6, 3}));
    const QStringList onceRows = run(60000, onceTexts, nullptr);
    EXPECT_EQ(eachRows, (QStringList{a, b, c}));
    EXPECT_EQ(onceRows, eachRows);
    EXPECT_EQ(eachTexts,
              (QStringList{"3", "3 games added, 1 not a Saturn disc, 2 already in the list"}));
    EXPECT_EQ(onceTexts, eachTexts);
    EXPECT_EQ(listFile(), eachFile);
    EXPECT_EQ(eachFile, crlfLines({a, b, c}));
}

// Reading ahead on other threads changes only the speed: the same rows in the same order, the
// same texts and the same List.ini, at start-up and when adding.
TEST_F(GameListTest, ReadingAheadKeepsRowsOrderTextsAndFile) {
    QStringList entries;
    for (int i = 0; i < 40; ++i) {
        entries << game(QStringLiteral("G%1").arg(i), "T-" + QByteArray::number(i));
        if (i % 5 == 0)
            entries << notSaturn(QStringLiteral("N%1").arg(i))
                    << dir.file(QStringLiteral("games/missing%1.cue").arg(i));
        if (i % 7 == 0) // its image under "IMG": found ignoring letter case
            entries << discwriter::writeCcdGame(dir.file("ccd"), QStringLiteral("C%1").arg(i),
                                                discwriter::Header(),
                                                QStringLiteral("C%1.IMG").arg(i), 1);
    }
    const QStringList once = entries;
    for (int round = 0; round < 5; ++round) // repeats, dropped as duplicates
        entries += once;
    const auto run = [&](bool ahead, bool startUp) {
        dir.write("List.ini", crlfLines(entries));
        GameList list(dir.path());
        list.setReadAheadAlways(ahead);
        QSignalSpy count(&list, &GameList::countChanged);
        QSignalSpy status(&list, &GameList::statusChanged);
        if (startUp) {
            list.startUp();
            EXPECT_TRUE(list.waitForStartUpCheck());
        } else {
            list.clear();
            list.addGames(entries);
        }
        return QStringList{list.model()->paths().join('|'), lastTexts(count).last(),
                           lastTexts(status).join('|'), QString::fromLocal8Bit(listFile())};
    };
    for (const bool startUp : {true, false}) {
        const QStringList plain = run(false, startUp);
        // Start-up keeps the 8 missing games as rows too.
        EXPECT_EQ(plain.first().count('|'), 40 + 6 + (startUp ? 8 : 0) - 1);
        for (int round = 0; round < 3; ++round)
            EXPECT_EQ(run(true, startUp), plain);
    }
}

#ifndef Q_OS_WIN
// CCD games ask for "<name>.IMG"; on a case-sensitive file system the image is found in a
// listing of its folder, made once per batch and made again when a name it gave has gone.
TEST_F(GameListTest, LetterCaseLookupFollowsFilesRenamedDuringTheBatch) {
    discwriter::Header header;
    const QString x = discwriter::writeCcdGame(dir.file("ccd"), "X", header);
    const QString y = discwriter::writeCcdGame(dir.file("ccd"), "Y", header);
    const QString z = discwriter::writeCcdGame(dir.file("ccd"), "Z", header);
    GameList list(dir.path());
    list.setProgressInterval(0);
    list.addGames({x, y, z}, [&](int done, int) {
        if (done == 1) // after the folder was listed
            QFile::rename(dir.file("ccd/Y.img"), dir.file("ccd/y.Img"));
        return true;
    });
    EXPECT_EQ(list.model()->paths(), (QStringList{x, y, z}));
}

TEST_F(GameListTest, FolderThatCannotBeListedFindsOnlyExactNames) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "an administrator lists every folder";
    discwriter::Header header;
    const QString exact =
        discwriter::writeCueGame(dir.file("locked"), "Exact", header, Sectors::Raw2352, 1);
    const QString ccd = discwriter::writeCcdGame(dir.file("locked"), "Case", header);
    const QString open = game("Open");
    QFile::setPermissions(dir.file("locked"), QFile::ExeOwner); // entries open, no listing
    GameList list(dir.path());
    QSignalSpy status(&list, &GameList::statusChanged);
    EXPECT_NO_THROW(list.addGames({exact, ccd, open}));
    QFile::setPermissions(dir.file("locked"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(list.model()->paths(), (QStringList{exact, open}));
    EXPECT_EQ(lastTexts(status), QStringList{i18n::message(9)});
}
#endif

// A second sort by the same column turns the order round; equal rows keep their order both
// ways, and the file follows every sort.
TEST_F(GameListTest, SortTurnsRoundOnTheSameColumnAndRewritesTheFile) {
    const QString x = game("x-ray", "T-3", "U");
    const QString y = game("Alpha", "T-1", "JT");
    const QString z = game("beta", "T-2", "E");
    const QString w = game("Delta", "T-4", "U");
    GameList list(dir.path());
    list.addGames({x, y, z, w});
    list.sortByColumn(1);
    EXPECT_EQ(list.model()->paths(), (QStringList{y, z, w, x}));
    list.sortByColumn(1);
    EXPECT_EQ(list.model()->paths(), (QStringList{x, w, z, y}));
    EXPECT_EQ(list.model()->sortOrder(), Qt::DescendingOrder);
    list.sortByColumn(3);
    EXPECT_EQ(list.model()->paths(), (QStringList{z, y, x, w}));
    list.sortByColumn(3);
    EXPECT_EQ(list.model()->paths(), (QStringList{x, w, y, z}));
    QFile::remove(dir.file("List.ini"));
    list.sortByColumn(3);
    EXPECT_EQ(list.model()->paths(), (QStringList{z, y, x, w}));
    EXPECT_EQ(listFile(), crlfLines({z, y, x, w}));
    // The index follows the rows: each path is still found.
    for (const QString& path : {x, y, z, w})
        EXPECT_TRUE(list.model()->isListed(path));
    // A game added at the end breaks the order: the next sort is ascending again.
    list.addGames({game("Omega", "T-5", "J")});
    EXPECT_EQ(list.model()->sortColumn(), -1);
}

TEST(CompareRows, FoldsOnlyAsciiLettersAndSortsHighBytesLast) {
    const auto row = [](const QString& name) { return GameRecord{"p", name, "", ""}; };
    EXPECT_EQ(compareRows(row("abc"), row("ABC"), 1), 0);
    EXPECT_LT(compareRows(row("ab"), row("abc"), 1), 0);
    EXPECT_GT(compareRows(row("abc"), row("AB"), 1), 0);
    // Characters of the 8-bit text at 128 and above come after every ASCII character.
    EXPECT_GT(compareRows(row(QString::fromUtf8("\xc3\xa9")), row("~"), 1), 0);
    EXPECT_GT(compareRows(row(QString::fromUtf8("\xc3\xa9")), row("z"), 1), 0);
    // No folding beyond a-z: e-acute and E-acute differ.
    EXPECT_NE(
        compareRows(row(QString::fromUtf8("\xc3\xa9")), row(QString::fromUtf8("\xc3\x89")), 1), 0);
    // "_" (95) lies between upper-case letters (65-90) and lower-case ones, which fold.
    EXPECT_LT(compareRows(row("a"), row("_"), 1), 0);
    // Columns pick their field.
    const GameRecord a{"B", "a", "2", "X"};
    const GameRecord b{"A", "b", "1", "X"};
    EXPECT_GT(compareRows(a, b, 0), 0);
    EXPECT_LT(compareRows(a, b, 1), 0);
    EXPECT_GT(compareRows(a, b, 2), 0);
    EXPECT_EQ(compareRows(a, b, 3), 0);
}

TEST(GameListModel, TextsTintsHeadersAndSelectionAcrossSort) {
    GameListModel model;
    model.append(std::vector<GameRecord>{
        {"/c", "C", "T-3", "U"}, {"/a", "A", "T-1", "J"}, {"/b", "B", "T-2", "E"}});
    EXPECT_EQ(model.data(model.index(1, 2), Qt::DisplayRole).toString(), "T-1");
    model.setTint(QColor(193, 224, 255));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QColor>(),
              QColor(193, 224, 255));
    EXPECT_EQ(model.data(model.index(1, 1), Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(model.data(model.index(2, 3), Qt::BackgroundRole).value<QColor>(),
              QColor(193, 224, 255));
    EXPECT_TRUE(model.setHeaderData(2, Qt::Horizontal, "ID"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "ID");
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Region");

    // A view's selection follows its row through a sort.
    QTreeView view;
    view.setModel(&model);
    view.setCurrentIndex(model.index(0, 1)); // "/c"
    model.sortByColumn(1);
    EXPECT_EQ(view.currentIndex().row(), 2);
    EXPECT_EQ(model.at(view.currentIndex().row()).path, "/c");
    model.removeAt(0);
    EXPECT_FALSE(model.isListed("/a"));
    EXPECT_TRUE(model.isListed("/c"));
}

// The path index is kept up to date row by row: every row is found under its own number after
// each change, and a taken row is listed again only once it is back.
TEST(GameListModel, PathIndexFollowsDeletesPutBacksSortsAndClearing) {
    GameListModel model;
    model.append(std::vector<GameRecord>{{"/d", "D", "T-4", "U"},
                                         {"/b", "B", "T-2", "E"},
                                         {"/a", "A", "T-1", "J"},
                                         {"/c", "C", "T-3", "U"}});
    const auto indexMatches = [&model] {
        for (int row = 0; row < model.count(); ++row) {
            if (model.rowOf(model.at(row).path) != row)
                return false;
        }
        return true;
    };
    std::vector<PlacedRecord> taken = model.takeRows({1});
    EXPECT_FALSE(model.isListed("/b"));
    EXPECT_TRUE(indexMatches());
    model.putBack(std::move(taken));
    EXPECT_EQ(model.rowOf("/b"), 1);
    EXPECT_TRUE(indexMatches());
    model.sortByColumn(1);
    EXPECT_EQ(model.rowOf("/a"), 0);
    EXPECT_TRUE(indexMatches());
    model.removeAt(3);
    EXPECT_FALSE(model.isListed("/d"));
    EXPECT_TRUE(indexMatches());
    std::vector<PlacedRecord> all = model.takeRows({0, 1, 2});
    EXPECT_EQ(model.count(), 0);
    EXPECT_FALSE(model.isListed("/a"));
    model.putBack(std::move(all));
    ASSERT_EQ(model.count(), 3);
    EXPECT_EQ(model.at(2).path, "/c");
    EXPECT_TRUE(indexMatches());
    // A path on two rows: the other row becomes its row once the first goes.
    model.append(GameRecord{"/a", "A", "T-1", "J"});
    model.removeAt(0);
    EXPECT_EQ(model.rowOf("/a"), 2);
}

// A longer text tests only the rows shown, unless a row's texts changed meanwhile (a game found
// again under its real name); clearing the text shows again exactly the rows hidden.
TEST(GameFilter, NarrowingTextKeepsEveryMatchingRowShown) {
    GameListModel model;
    model.append(std::vector<GameRecord>{{"/a", "Alpha", "T-1", "J"},
                                         absentRecord("/games/zzz.cue", Presence::Missing)});
    std::vector<bool> shown(2, true);
    int touched = 0;
    const auto isShown = [&shown](int row) { return bool(shown[static_cast<size_t>(row)]); };
    const auto showRow = [&](int row, bool show) {
        shown[static_cast<size_t>(row)] = show;
        ++touched;
    };
    GameFilter filter;
    filter.setText("al");
    filter.apply(model, isShown, showRow);
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));
    model.replace({{1, {"/games/zzz.cue", "Alpine", "T-2", "U"}}});
    filter.rowsChanged();
    filter.setText("alp");
    filter.apply(model, isShown, showRow);
    EXPECT_EQ(shown, (std::vector<bool>{true, true}));
    EXPECT_EQ(filter.countText(2), i18n::message(i18n::Extra::ShownOfTotal).arg(2).arg(2));
    filter.setText("alph");
    filter.apply(model, isShown, showRow);
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));
    touched = 0;
    filter.setText("");
    filter.apply(model, isShown, showRow);
    EXPECT_EQ(shown, (std::vector<bool>{true, true}));
    EXPECT_EQ(touched, 1);
}

TEST_F(GameListTest, FoldersNamedLikeImagesAreNoGames) {
    const QString a = game("A");
    const QString b = game("B");
    dir.mkdir("games/Folder.cue");
    QFile::remove(dir.file("games/B (Track 01).bin"));
    dir.mkdir("games/B (Track 01).bin");
    GameList list(dir.path());
    QSignalSpy status(&list, &GameList::statusChanged);
    list.addGames({a, dir.file("games/Folder.cue"), b});
    EXPECT_EQ(list.model()->paths(), QStringList{a});
    EXPECT_EQ(lastTexts(status),
              QStringList{"1 game added, 1 not a Saturn disc, 1 with a file that is not a "
                          "regular file"});
}

TEST_F(GameListTest, FailureMidBatchKeepsTheRowsAddedBeforeInWindowAndFile) {
    const QString a = game("A");
    const QString b = game("B");
    const QString c = game("C");
    GameList list(dir.path());
    list.addGames({a});
    list.setProgressInterval(0);
    QSignalSpy count(&list, &GameList::countChanged);
    // The failure strikes while the batch runs, after its first row.
    EXPECT_THROW(list.addGames({b, c},
                               [](int done, int) -> bool {
                                   if (done > 0)
                                       throw platform::IoError("Access denied");
                                   return true;
                               }),
                 platform::IoError);
    EXPECT_FALSE(list.busy());
    EXPECT_EQ(list.model()->paths(), (QStringList{a, b}));
    EXPECT_EQ(lastTexts(count), QStringList{"2"});
    EXPECT_EQ(listFile(), crlfLines({a, b}));

#ifdef Q_OS_LINUX
    // A cue sheet that opens but cannot be read stops the batch where it stands.
    const QString d = game("D");
    QFile::link("/proc/self/mem", dir.file("games/Failing.cue"));
    EXPECT_THROW(list.addGames({d, dir.file("games/Failing.cue"), c}), platform::IoError);
    EXPECT_EQ(list.model()->paths(), (QStringList{a, b, d}));
    EXPECT_EQ(listFile(), crlfLines({a, b, d}));
    list.deleteRow(2);
#endif

    // A List.ini that cannot be written stops the operation with an error; the rows stay.
    QFile::remove(dir.file("List.ini"));
    dir.mkdir("List.ini");
    EXPECT_THROW(list.addGames({c}), platform::IoError);
    EXPECT_EQ(list.model()->paths(), (QStringList{a, b, c}));
    EXPECT_THROW(list.clear(), platform::IoError);
}

// At start-up an entry that exists but cannot be read stays in its place as an unreadable row,
// and every other entry loads. A name with a zero byte names no file, a
// header text ends at a zero byte, and ":" and "\\" are ordinary file name characters here.
TEST_F(GameListTest, StartUpKeepsUnreadableEntriesInTheirPlaces) {
    const QString a = game("A", QByteArray("T-1\0X", 5), QByteArray("J\0U", 3));
    const QString nul = a + QChar(0) + "x";
    const QString cut = game("Cut");
    QFile::rename(dir.file("games/Cut (Track 01).bin"), dir.file("games/Cut.bin"));
    dir.write("games/Cut.cue", QByteArray("FILE \"Cut.bin\0.bin\" BINARY\r\n  TRACK 01\r\n", 40));
    QStringList lines{a, nul, cut};
#ifdef Q_OS_LINUX
    const QString colon = game("Panzer: Zwei");
    const QString backslash = discwriter::writeCcdGame(dir.file("games"), "Back\\slash", {});
    const QString failing = dir.file("games/Failing.cue");
    QFile::link("/proc/self/mem", failing);
    const QString loop = dir.file("games/Loop.ccd");
    QFile::link(loop, loop);
    lines << failing << colon << loop << backslash;
#endif
    QByteArray file;
    for (const QString& line : lines)
        file += line.toUtf8() + "\n";
    dir.write("List.ini", file);

    GameList list(dir.path());
    list.startUp();
    ASSERT_TRUE(list.waitForStartUpCheck());
    EXPECT_EQ(list.model()->at(0).gameId, "T-1");
    EXPECT_EQ(list.model()->at(0).region, "J");
#ifdef Q_OS_LINUX
    // Entries that cannot be read show in their places with the system's reason.
    EXPECT_EQ(list.model()->paths(), (QStringList{a, failing, colon, loop, backslash}));
    EXPECT_EQ(list.model()->at(3).presence, Presence::Unreadable);
    EXPECT_TRUE(list.model()->absenceText(list.model()->at(1)).contains(failing));
    EXPECT_EQ(listFile(), crlfLines({a, failing, colon, loop, backslash}));
    list.sortByColumn(1); // sorted by the names they show
    EXPECT_EQ(listFile(), crlfLines({a, backslash, failing, loop, colon}));
    list.deleteRow(0);
    EXPECT_EQ(listFile(), crlfLines({backslash, failing, loop, colon}));
    list.clear();
    EXPECT_EQ(listFile(), QByteArray());
#else
    EXPECT_EQ(list.model()->paths(), QStringList{a});
#endif
}

TEST(GameListModel, ViewPaintsTheRowTints) {
    GameListModel model;
    model.append(std::vector<GameRecord>{{"/a", "A", "1", "J"}, {"/b", "B", "2", "U"}});
    model.setTint(QColor(255, 204, 204));
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setModel(&model);
    view.resize(300, 200);
    view.show();
    const QImage image = view.viewport()->grab().toImage();
    const QRect first = view.visualRect(model.index(0, 0));
    const QRect second = view.visualRect(model.index(1, 0));
    EXPECT_EQ(image.pixelColor(first.right() - 2, first.center().y()), QColor(255, 204, 204));
    EXPECT_EQ(image.pixelColor(second.right() - 2, second.center().y()), QColor(Qt::white));
}

// A tree as a user's game folder looks: nested folders, a two-disc game whose playlist names
// its cue sheets, a link back up that would loop, a non-Saturn image and files of other kinds.
TEST_F(GameListTest, AddingAFolderTakesItsImagesFolderByFolderOnceEach) {
    const QString root = dir.file("games");
    discwriter::Header header;
    const QString beta = discwriter::writeCueGame(root, "Beta", header, Sectors::Raw2352, 1);
    const QString alpha = discwriter::writeCcdGame(root, "alpha", header, {}, 1);
    const QString other = notSaturn("Other");
    dir.write("games/readme.txt", "not a game");
    const QString saga = discwriter::writeM3uGame(root + "/a", "Saga", {header, header}, 1);
    const QString deep =
        discwriter::writeCueGame(root + "/a/deeper", "Deep", header, Sectors::Raw2352, 1);
    const QString last =
        discwriter::writeCueGame(root + "/B2", "Last", header, Sectors::Raw2352, 1);
    ASSERT_TRUE(QFile::link(root, root + "/a/deeper/up"));

    EXPECT_EQ(scanImageFolder(root), (QStringList{alpha, beta, other, saga, deep, last}));

    GameList list(dir.path());
    QSignalSpy status(&list, &GameList::statusChanged);
    list.addPaths({root});
    QStringList rows;
    for (int row = 0; row < list.model()->count(); ++row)
        rows << list.model()->at(row).path;
    EXPECT_EQ(rows, (QStringList{alpha, beta, saga, deep, last}));
    EXPECT_EQ(listFile(), crlfLines(rows));
    EXPECT_EQ(lastTexts(status), QStringList{"5 games added, 1 not a Saturn disc"});

    // Cancelled from within the batch: the rows added so far stay and are written.
    list.clear();
    list.setProgressInterval(0);
    list.addPaths({root}, [&](int, int) {
        if (list.model()->count() == 2)
            list.cancelBatch();
        return true;
    });
    EXPECT_EQ(list.model()->count(), 2);
    EXPECT_EQ(listFile(), crlfLines({alpha, beta}));
}

// A name with a line break would split its line of List.ini: every add path refuses it with the
// "Path" button's text, and only the other files are listed. A playlist past the bound of files
// that name discs is not read whole, so it hides none of its folder's cue sheets. (Linux only:
// Windows file names hold no line break.)
#ifndef Q_OS_WIN
TEST_F(GameListTest, AddingRefusesLineBreaksInNamesAndReadsNoHugePlaylistWhole) {
    const QString root = dir.file("games");
    discwriter::Header header;
    const QString good = discwriter::writeCueGame(root, "Good", header, Sectors::Raw2352, 1);
    const QString split =
        discwriter::writeCueGame(root, "Real\nOther", header, Sectors::Raw2352, 1);
    discwriter::writeCueGame(root, "Real\rMore", header, Sectors::Raw2352, 1);
    GameList list(dir.path());
    try {
        list.addPaths({root});
        ADD_FAILURE() << "no error";
    } catch (const platform::IoError& error) {
        EXPECT_TRUE(error.text().startsWith(i18n::message(i18n::Extra::UnsafePath)));
        EXPECT_TRUE(error.text().contains(split));
    }
    EXPECT_EQ(list.model()->paths(), QStringList{good});
    EXPECT_EQ(listFile(), crlfLines({good}));
    EXPECT_THROW(list.addGames({split}), platform::IoError);
    EXPECT_EQ(listFile(), crlfLines({good}));

    const QString disc = discwriter::writeCueGame(dir.file("big"), "Disc1", header);
    const QString huge = dir.write("big/Huge.m3u", "Disc1.cue\n");
    QFile(huge).resize(5 << 20);
    EXPECT_EQ(scanImageFolder(dir.file("big")), (QStringList{disc, huge}));
}
#endif

// A folder of games renamed away (as an unplugged drive) and back: the games keep their rows and
// places, come back with a check and List.ini never changes; one game located elsewhere takes
// its row's place, and removing the missing games takes only those still missing.
TEST_F(GameListTest, MissingGamesStayComeBackAndAreLocatedOrRemoved) {
    const QString a = game("A");
    discwriter::Header header;
    header.productNumber = "T-2";
    header.areaSymbols = "U";
    const QString b = discwriter::writeCueGame(dir.file("drive"), "B", header, Sectors::Raw2352, 1);
    const QString c = discwriter::writeCcdGame(dir.file("drive"), "C", header);
    const QString d = game("D");
    dir.write("List.ini", crlfLines({a, b, c, d}));
    const QByteArray before = listFile();
    ASSERT_TRUE(QDir().rename(dir.file("drive"), dir.file("unplugged")));

    GameList list(dir.path());
    QSignalSpy checked(&list, &GameList::checked);
    list.startUp();
    ASSERT_TRUE(list.waitForStartUpCheck());
    EXPECT_EQ(list.model()->paths(), (QStringList{a, b, c, d}));
    EXPECT_EQ(list.model()->at(1).presence, Presence::Missing);
    EXPECT_EQ(list.model()->at(1).gameName, "B");
    EXPECT_EQ(list.model()->at(2).gameId, "");
    EXPECT_EQ(list.model()->absenceText(list.model()->at(2)),
              i18n::message(i18n::Extra::NotFound).arg(QDir::toNativeSeparators(c)));
    EXPECT_EQ(list.countText(), "4 (2 missing)");
    EXPECT_EQ(listFile(), before);

    list.checkAgain(false); // still away
    ASSERT_TRUE(checked.wait(5000));
    EXPECT_EQ(checked.takeLast().at(0).toInt(), 0);
    ASSERT_TRUE(QDir().rename(dir.file("unplugged"), dir.file("drive")));
    list.checkAgain(false);
    ASSERT_TRUE(checked.wait(5000));
    EXPECT_EQ(checked.takeLast().at(0).toInt(), 2);
    EXPECT_TRUE(list.model()->at(1).found());
    EXPECT_EQ(list.model()->at(2).gameId, "T-2");
    EXPECT_EQ(list.countText(), "4");
    EXPECT_EQ(listFile(), before);

    // Gone again while listed: a check of every game finds it.
    ASSERT_TRUE(QDir().rename(dir.file("drive"), dir.file("unplugged")));
    list.checkAgain(true);
    ASSERT_TRUE(checked.wait(5000));
    EXPECT_EQ(list.model()->missingCount(), 2);

    const QString moved =
        discwriter::writeCueGame(dir.file("moved"), "B2", header, Sectors::Raw2352, 1);
    EXPECT_EQ(list.locate(1, notSaturn("X")), GameList::Located::NotSaturn);
    EXPECT_EQ(list.locate(1, a), GameList::Located::AlreadyListed);
    EXPECT_EQ(list.locate(1, moved), GameList::Located::Replaced);
    EXPECT_EQ(list.model()->at(1).gameName, "B2");
    EXPECT_EQ(listFile(), crlfLines({a, moved, c, d}));
    EXPECT_EQ(list.removeMissing(), 1);
    EXPECT_EQ(listFile(), crlfLines({a, moved, d}));
    EXPECT_EQ(list.countText(), "3");
}

// Undo puts back what each removal took, last first, every row in its old place.
TEST_F(GameListTest, UndoPutsBackWhatDeleteClearAndRemovingMissingGamesTook) {
    const QString a = game("A");
    const QString b = game("B");
    const QString c = game("C");
    const QString m = dir.file("games/M.cue");
    dir.write("List.ini", crlfLines({a, m, b, c}));
    GameList list(dir.path());
    QSignalSpy status(&list, &GameList::statusChanged);
    list.startUp();
    ASSERT_TRUE(list.waitForStartUpCheck());
    EXPECT_FALSE(list.canUndo());

    list.deleteRow(2);
    EXPECT_EQ(list.removeMissing(), 1);
    list.sortByColumn(1);
    list.clear();
    EXPECT_EQ(lastTexts(status).last(), i18n::message(i18n::Extra::RemovedMany).arg(2));

    EXPECT_TRUE(list.undo());
    EXPECT_EQ(listFile(), crlfLines({a, c}));
    EXPECT_EQ(lastTexts(status).last(), i18n::message(i18n::Extra::Restored).arg(2));
    list.addGames({b}); // added again: the undo keeps it where it is now
    EXPECT_TRUE(list.undo());
    EXPECT_EQ(listFile(), crlfLines({a, m, c, b}));
    EXPECT_EQ(list.model()->at(1).presence, Presence::Missing);
    EXPECT_EQ(list.countText(), "4 (1 missing)");
    list.deleteRow(3);
    EXPECT_TRUE(list.undo());
    EXPECT_TRUE(list.undo());
    EXPECT_EQ(listFile(), crlfLines({a, m, c, b}));
    EXPECT_FALSE(list.undo());

    list.clear();
    list.undo();
    EXPECT_EQ(listFile(), crlfLines({a, m, c, b}));
}

TEST_F(GameListTest, SpellingsPipesTheSortArrowAndAHugeListSayWhatTheyAre) {
    const QString a = game("A", "T-1");
    const QString b = game("B", "T-2");
    GameList list(dir.path());
    QSignalSpy status(&list, &GameList::statusChanged);
    list.addGames({a, b});
    // The same file under another spelling of its path is already listed.
    const QString doubled = dir.file("games//A.cue");
    const QString dotted = dir.path() + "/./games/B.cue";
    list.addGames({doubled});
    EXPECT_EQ(status.takeLast().at(0).toString(), i18n::message(13));
    list.addGames({dotted});
    EXPECT_EQ(list.model()->count(), 2);
    EXPECT_EQ(list.locate(0, dotted), GameList::Located::AlreadyListed);

    // The rows stop following the sort: its arrow goes.
    QSignalSpy arrow(list.model(), &GameListModel::sortIndicatorChanged);
    list.sortByColumn(1);
    ASSERT_EQ(arrow.takeLast().at(0).toInt(), 1);
    const QString z = game("Z", "T-3");
    ASSERT_EQ(list.locate(0, z), GameList::Located::Replaced); // A becomes Z, before B
    ASSERT_FALSE(arrow.isEmpty());
    EXPECT_EQ(arrow.takeLast().at(0).toInt(), -1);

#ifndef Q_OS_WIN
    // A cue sheet whose data file is a pipe: named as such, not "not found" or "not Saturn".
    const QString pipe =
        dir.write("pipes/P.cue", "FILE \"P.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n"
                                 "    INDEX 01 00:00:00\r\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipes/P.bin")).constData(), 0600), 0);
    const QString said =
        i18n::message(i18n::Extra::NotRegularNamedIn)
            .arg(QDir::toNativeSeparators(dir.file("pipes/P.bin")), QDir::toNativeSeparators(pipe));
    list.addGames({pipe});
    EXPECT_EQ(status.takeLast().at(0).toString(), said);
    QString problem;
    EXPECT_EQ(list.locate(0, pipe, &problem), GameList::Located::NotSaturn);
    EXPECT_EQ(problem, said);
    discwriter::writeCueGame(dir.file("pipes"), "G", discwriter::Header{}, Sectors::Raw2352, 1);
    list.addPaths({dir.file("pipes")});
    EXPECT_TRUE(status.takeLast().at(0).toString().endsWith(
        i18n::message(i18n::Extra::BatchNotRegular).arg(1)));
#endif

    // A list file past its bound ends with the error of a file that cannot be read.
    QFile huge(dir.file("List.ini"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(MaxListFileBytes + 1));
    huge.close();
    GameList again(dir.path());
    EXPECT_THROW(again.startUp(), platform::IoError);
    EXPECT_EQ(again.model()->count(), 0);
}
