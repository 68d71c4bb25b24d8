// Times the everyday commands on a long game list in the real window, driven by real key and
// mouse events, each until the window has handled every pending event and repainted, against
// floors measured in the same run, turn about with the window:
//
//   filter   type "4", "2", "7", then Escape; floor: matching every row against the text (for
//            Escape, against the last one)
//   sort     click the Name, ID and Region headings; floor: the keys, one stable sort and the
//            List.ini write
//   clear    "Clear list"; floor: taking the rows out of a vector and writing the empty list
//   delete   the Delete key on a row in the middle; floor: the List.ini write (of the rows
//            as they stand, in the order a sort gave them)
//   add      "Add folder..." on a tree of 10,000 games, a folder each (a cue sheet and its
//            data file; --per-folder puts more in one), onto an empty list and onto the rows;
//            floor: listing every folder's names once, reading each cue sheet and the first bytes
//            of its data file, writing the whole list
//
// The rows are made up (their files are never opened): the other commands do not read the
// games. The table gives medians and the ratio window / floor.
//
//   build/bench/bench_list_interactions [--rounds N] [--only filter,sort,clear,delete,add]
//                                        [--tree GAMES] [--per-folder N] [counts...]
//                                        (default: 1000 10000 100000, a tree of 10000 games,
//                                        one a folder)
#include "app/main_window.h"
#include "controls/dialogs.h"
#include "disc_writer.h"
#include "floor_work.h"
#include "launch/cd_window.h"
#include "library/game_list.h"
#include "library/properties_window.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <numeric>
#include <vector>

namespace {

// Keeps the floors' counts from being optimized away.
volatile int shownSink = 0;

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0 : times[times.size() / 2];
}

// Until the window has nothing left to do: every posted event handled, the repaint done.
void settle() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double timed(const std::function<void()>& action) {
    QElapsedTimer timer;
    timer.start();
    action();
    settle();
    return msSince(timer);
}

std::vector<library::GameRecord> makeRows(const QString& folder, int count) {
    static const char* const areas[] = {"J", "U", "E", "JTUE", "JUE"};
    static const char* const words[] = {"Panzer", "Dragon", "Saga",  "Virtua",  "Fighter",
                                        "Night",  "Sonic",  "Rally", "Shining", "Force"};
    std::vector<library::GameRecord> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int key = (i * 7919) % 1000003;
        library::GameRecord row;
        row.path = folder + QStringLiteral("/games/Game %1/Game %1.cue").arg(i);
        row.gameName = QStringLiteral("%1 %2 %3")
                           .arg(QLatin1String(words[key % 10]))
                           .arg(QLatin1String(words[(key / 10) % 10]))
                           .arg(key);
        row.gameId = QStringLiteral("T-%1G").arg(10000 + key % 90000);
        row.region = QLatin1String(areas[key % 5]);
        rows.push_back(std::move(row));
    }
    return rows;
}

void key(QWidget* target, int code, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

void clickHeading(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    const QPointF at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                     header->height() / 2);
    const QPointF global = header->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(header->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(header->viewport(), &release);
}

// Answers the folder dialog with the tree; no other box is expected.
class TreeDialogs : public controls::Dialogs {
public:
    explicit TreeDialogs(QString tree) : tree_(std::move(tree)) {}
    void error(QWidget*, const QString& text) override { report(text); }
    void warning(QWidget*, const QString& text) override { report(text); }
    void information(QWidget*, const QString& text) override { report(text); }
    QStringList openFiles(QWidget*, const QString&, const QString&) override { return {}; }
    QString openFile(QWidget*, const QString&, const QString&) override { return {}; }
    SaveChoice askToSave(QWidget*, const QString&, const QStringList&) override {
        return SaveChoice::Discard;
    }
    int choose(QWidget*, const QString&, const QStringList& buttons) override {
        return static_cast<int>(buttons.size()) - 1;
    }
    bool confirm(QWidget*, const QString&, const QStringList&) override { return false; }
    QString openFolder(QWidget*, const QString&) override { return tree_; }

private:
    static void report(const QString& text) {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
    }
    QString tree_;
};

// A tree of `count` games, `perFolder` in each folder.
void makeTree(const QString& tree, int count, int perFolder) {
    static const char* const areas[] = {"J", "U", "E", "JTUE", "JUE"};
    for (int i = 0; i < count; ++i) {
        discwriter::Header header;
        header.productNumber = "T-" + QByteArray::number(10000 + (i * 7919) % 90000);
        header.areaSymbols = areas[i % 5];
        discwriter::writeCueGame(QStringLiteral("%1/%2").arg(tree).arg(i / perFolder),
                                 QStringLiteral("Game %1").arg((i * 104729) % 1000003), header,
                                 discwriter::Sectors::Raw2352, 1);
    }
}

// The add floor: search the tree, validate what it holds, write the list with the rows
// already there (`listed`, their lines) first.
int addFloor(const std::string& tree, const std::string& listed, const std::string& listFile) {
    std::vector<std::string> found;
    benchfloor::scanTree(tree, found);
    std::string list = listed;
    benchfloor::Floor floor;
    const int games = floor.run(found, list);
    benchfloor::writeAll(listFile, list);
    return games;
}

struct Figure {
    const char* name;
    std::vector<double> window, floor;
};

struct Bench {
    QString folder;
    TForm1* form;
    int rounds;
    QStringList only;
    QString tree;
    int treeGames;

    library::GameListModel* model() const { return form->gameList()->model(); }
    bool wanted(const char* part) const {
        return only.isEmpty() || only.contains(QLatin1String(part));
    }
    void fill(const std::vector<library::GameRecord>& rows) {
        if (model()->count() > 0)
            form->Clearlist2Click();
        model()->append(rows);
        form->gameList()->save();
        settle();
    }

    void run(int count) {
        const std::vector<library::GameRecord> rows = makeRows(folder, count);
        const QString listFile = form->gameList()->listFilePath();
        std::deque<Figure> figures;
        const auto figure = [&figures](const char* name) -> Figure& {
            for (Figure& f : figures) {
                if (std::strcmp(f.name, name) == 0)
                    return f;
            }
            figures.push_back({name, {}, {}});
            return figures.back();
        };
        fill(rows);
        QTableView* view = form->listView();
        QLineEdit* field = form->filterField();
        for (int round = 0; round < rounds; ++round) {
            if (wanted("filter")) {
                form->showFilter();
                settle();
                QString text;
                for (const char* letter : {"4", "2", "7"}) {
                    text += QLatin1String(letter);
                    const QString typed = QLatin1String(letter);
                    const QByteArray name = "filter \"" + text.toLatin1() + "\"";
                    Figure& f = figure(qstrdup(name.constData()));
                    f.window.push_back(
                        timed([&] { key(field, Qt::Key_4 + (letter[0] - '4'), typed); }));
                    f.floor.push_back(timed([&] {
                        int shown = 0;
                        for (const library::GameRecord& row : rows)
                            shown += library::matchesFilter(row, text) ? 1 : 0;
                        shownSink = shown;
                    }));
                }
                // Its floor: one pass matching every row, as for a keystroke.
                Figure& f = figure("filter cleared (Escape)");
                f.window.push_back(timed([&] { key(field, Qt::Key_Escape); }));
                f.floor.push_back(timed([&] {
                    int shown = 0;
                    for (const library::GameRecord& row : rows)
                        shown += library::matchesFilter(row, text) ? 1 : 0;
                    shownSink = shown;
                }));
            }
            if (wanted("sort")) {
                for (const auto& [column, name] :
                     {std::pair{1, "sort by Name"}, {2, "sort by ID"}, {3, "sort by Region"}}) {
                    Figure& f = figure(name);
                    f.window.push_back(timed([&] { clickHeading(view, column); }));
                    f.floor.push_back(timed([&, column = column] {
                        std::vector<QByteArray> keys;
                        keys.reserve(rows.size());
                        for (const library::GameRecord& row : rows)
                            keys.push_back(platform::toLocal8Bit(column == 1   ? row.gameName
                                                                 : column == 2 ? row.gameId
                                                                               : row.region));
                        std::vector<int> order(rows.size());
                        std::iota(order.begin(), order.end(), 0);
                        std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
                            return library::compareSortKeys(keys[static_cast<size_t>(a)],
                                                            keys[static_cast<size_t>(b)]) < 0;
                        });
                        QStringList paths;
                        paths.reserve(static_cast<qsizetype>(rows.size()));
                        for (const int row : order)
                            paths.append(rows[static_cast<size_t>(row)].path);
                        platform::writeTextLinesAtomic(listFile, paths);
                    }));
                }
            }
            if (wanted("delete")) {
                Figure& f = figure("delete item");
                const int row = model()->count() / 2;
                form->selectRow(row);
                view->setFocus();
                settle();
                // The floor writes the list as it stands (after a sort, in the sorted order),
                // one line short.
                const QStringList paths = model()->paths();
                f.window.push_back(timed([&] { key(view, Qt::Key_Delete); }));
                f.floor.push_back(
                    timed([&] { platform::writeTextLinesAtomic(listFile, paths.mid(1)); }));
            }
            if (wanted("add")) {
                Figure& empty = figure("add folder onto no rows");
                Figure& onto = figure("add folder onto the rows");
                const std::string floorList = listFile.toStdString() + ".floor";
                std::string listed;
                for (const library::GameRecord& row : rows)
                    listed += row.path.toStdString() + "\r\n";
                for (Figure* f : {&empty, &onto}) {
                    if (f == &empty)
                        form->Clearlist2Click();
                    else
                        fill(rows);
                    settle();
                    f->window.push_back(timed([&] { form->Addfolder1Click(); }));
                    const int added = model()->count() - (f == &empty ? 0 : count);
                    int games = 0;
                    f->floor.push_back(timed([&] {
                        games = addFloor(tree.toStdString(), f == &empty ? std::string() : listed,
                                         floorList);
                    }));
                    if (added != treeGames || games != treeGames)
                        std::fprintf(stderr, "warning: %d games added, floor found %d of %d\n",
                                     added, games, treeGames);
                }
                fill(rows);
            }
            if (wanted("clear")) {
                Figure& f = figure("clear list");
                fill(rows);
                f.window.push_back(timed([&] { form->Clearlist2Click(); }));
                std::vector<library::GameRecord> copy = rows;
                f.floor.push_back(timed([&] {
                    std::vector<library::GameRecord> taken = std::move(copy);
                    platform::writeTextLinesAtomic(listFile, QStringList());
                }));
                fill(rows);
            }
        }
        for (const Figure& f : figures) {
            const double window = median(f.window), floor = median(f.floor);
            std::printf("%8d  %-26s %10.1f %10.1f %8.1f\n", count, f.name, window, floor,
                        floor > 0 ? window / floor : 0.0);
        }
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int rounds = 3;
    int treeGames = 10000;
    int perFolder = 1;
    QStringList only;
    QList<int> counts;
    const QStringList arguments = app.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--rounds") && i + 1 < arguments.size())
            rounds = arguments[++i].toInt();
        else if (arguments[i] == QLatin1String("--only") && i + 1 < arguments.size())
            only = arguments[++i].split(QLatin1Char(','));
        else if (arguments[i] == QLatin1String("--tree") && i + 1 < arguments.size())
            treeGames = arguments[++i].toInt();
        else if (arguments[i] == QLatin1String("--per-folder") && i + 1 < arguments.size())
            perFolder = qMax(1, arguments[++i].toInt());
        else
            counts << arguments[i].toInt();
    }
    if (counts.isEmpty())
        counts = {1000, 10000, 100000};

    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Core/pgconfig"));
    QFile::link(QStringLiteral("/bin/true"), dir.filePath("Core/mednafen"));
    QFile config(dir.filePath("Core/mednafen.cfg"));
    if (config.open(QIODevice::WriteOnly))
        config.write(";global\n");
    config.close();
    const QString tree = dir.filePath("tree");
    if (only.isEmpty() || only.contains(QLatin1String("add"))) {
        makeTree(tree, treeGames, perFolder);
        std::vector<std::string> warm;
        benchfloor::scanTree(tree.toStdString(), warm); // the tree in the cache for both
    }
    TreeDialogs dialogs(tree);
    controls::setDialogs(&dialogs);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        TForm1 form;
        launch::TForm3 form3(&form);
        library::TForm2 form2(&form);
        form.attachWindows(&form3, &form2);
        form.show();
        settle();
        std::printf("%8s  %-26s %10s %10s %8s\n", "rows", "action", "window ms", "floor ms",
                    "ratio");
        Bench bench{dir.path(), &form, rounds, only, tree, treeGames};
        for (const int count : counts)
            bench.run(count);
        form.Clearlist2Click();
    }
    QDir::setCurrent(previous);
    controls::setDialogs(nullptr);
    return 0;
}
