// Times what missing games cost the window: start-up of a list whose games are all on a drive
// that is not there, and the check that runs on every activation, measured as the longest time
// the window's event loop went without turning (a 1 ms timer counts the gaps) while the check
// ran, and the time until its results were in.
//
//   build/bench/bench_missing_check [counts...]   (default: 10000)
//     --found N   also list N games that are there (one folder), before the missing ones
#include "disc_writer.h"
#include "i18n/messages.h"
#include "library/game_list.h"
#include "library/game_list_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void run(int missing, int found) {
    QTemporaryDir dir;
    QStringList lines;
    if (found > 0) {
        discwriter::Header header;
        header.productNumber = "T-1";
        header.areaSymbols = "J";
        for (int i = 0; i < found; ++i)
            lines << discwriter::writeCueGame(dir.filePath("games"), QStringLiteral("G%1").arg(i),
                                              header);
    }
    // A drive that is not plugged in: a folder that does not exist.
    for (int i = 0; i < missing; ++i)
        lines << dir.filePath(QStringLiteral("unplugged/Game %1/Game %1.cue").arg(i));
    QFile file(dir.filePath("List.ini"));
    file.open(QIODevice::WriteOnly);
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    file.close();

    library::GameList list(dir.path());
    QTableView view;
    view.resize(377, 388);
    library::showGameList(&view, list.model());
    view.show();
    QElapsedTimer timer;
    timer.start();
    list.startUp();
    list.waitForStartUpCheck(3600000);
    QCoreApplication::processEvents();
    const qint64 startUp = timer.elapsed();

    // The event loop's longest standstill while the check runs.
    qint64 longest = 0;
    QElapsedTimer gap;
    QTimer beat;
    beat.setInterval(1);
    QObject::connect(&beat, &QTimer::timeout, [&] { longest = std::max(longest, gap.restart()); });
    QEventLoop loop;
    QObject::connect(&list, &library::GameList::checked, &loop, &QEventLoop::quit);
    timer.restart();
    gap.start();
    beat.start();
    QTimer::singleShot(0, [&] { list.checkAgain(false); });
    loop.exec();
    const qint64 results = timer.elapsed();
    // The results' repaint belongs to the check too.
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
    beat.stop();
    std::printf("%7d missing %6d found: start-up %6lld ms; check: results after %5lld ms, "
                "window's longest standstill %4lld ms\n",
                missing, found, static_cast<long long>(startUp), static_cast<long long>(results),
                static_cast<long long>(longest));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    i18n::initMessageTable();
    int found = 0;
    QList<int> counts;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--found") && i + 1 < args.size())
            found = args[++i].toInt();
        else
            counts << args[i].toInt();
    }
    if (counts.isEmpty())
        counts << 10000;
    for (const int count : counts)
        run(count, found);
    return 0;
}
