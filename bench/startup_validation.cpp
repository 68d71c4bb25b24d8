// Times the game list's start-up validation (load List.ini, validate every entry, write it
// back, and fill a list view over the rows) for 1,000 and 10,000 synthetic games, against a
// floor measured in the same run: a minimal loop doing the same file operations with plain
// system calls (read List.ini; per game open the cue sheet, find its FILE line, open the data
// file and read 8 + 5 + 208 bytes; write List.ini). Prints both times, their ratio and the
// process's peak memory.
//
//   build/bench/bench_startup_validation [counts...]     (default: 1000 10000)
#include "disc_writer.h"
#include "i18n/messages.h"
#include "library/disc_image.h"
#include "library/game_list.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rounds = 9;

QString makeGames(const QString& folder, int count) {
    const char* const areas[] = {"J", "U", "E", "JTUE", "JUE"};
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        discwriter::Header header;
        header.productNumber = "T-" + QByteArray::number(10000 + (i * 7919) % 90000);
        header.areaSymbols = areas[i % 5];
        const QString name = QStringLiteral("Game %1 %2").arg((i * 104729) % 1000003).arg(i);
        const QString sub = QStringLiteral("%1/games/%2").arg(folder).arg(i / 500);
        paths << discwriter::writeCueGame(sub, name, header, discwriter::Sectors::Raw2352, 1);
    }
    QByteArray list;
    for (const QString& path : paths)
        list += path.toLocal8Bit() + "\r\n";
    const QString listPath = folder + "/List.ini";
    discwriter::writeFile(listPath, list);
    return listPath;
}

bool readWhole(const std::string& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    char buffer[65536];
    out.clear();
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    return true;
}

// The least any implementation has to do; returns the number of Saturn games found.
int floorRun(const QString& listPath) {
    std::string list;
    if (!readWhole(listPath.toStdString(), list))
        return -1;
    std::string kept;
    int found = 0;
    size_t start = 0;
    std::string cue;
    while (start < list.size()) {
        size_t end = list.find('\n', start);
        if (end == std::string::npos)
            end = list.size();
        std::string path = list.substr(start, end - start);
        if (!path.empty() && path.back() == '\r')
            path.pop_back();
        start = end + 1;
        if (!readWhole(path, cue))
            continue;
        const size_t file = cue.find("FILE ");
        if (file == std::string::npos)
            continue;
        const size_t open = cue.find('"', file);
        const size_t close = cue.find('"', open + 1);
        const std::string data =
            path.substr(0, path.rfind('/') + 1) + cue.substr(open + 1, close - open - 1);
        const int fd = ::open(data.c_str(), O_RDONLY);
        if (fd < 0)
            continue;
        char head[8], id[5], header[208];
        const off_t offset = ::pread(fd, head, 8, 0) == 8 && head[1] == '\xFF' ? 16 : 0;
        const bool saturn = ::pread(fd, id, 5, offset + 5) == 5 && std::memcmp(id, "SEGA", 4) == 0;
        if (saturn && ::pread(fd, header, 208, offset) == 208) {
            ++found;
            kept += path + "\r\n";
        }
        ::close(fd);
    }
    const std::string out = listPath.toStdString() + ".floor";
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        if (::write(fd, kept.data(), kept.size()) < 0)
            found = -1;
        ::fsync(fd);
        ::close(fd);
    }
    return found;
}

// One start-up: the list view exists and shows (empty) before the list is loaded, as the main
// window's does; timed are loading, validating and saving the list and the view's filling and
// painting of the rows.
double startUpRun(const QString& folder, int& found) {
    library::GameList list(folder);
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);
    view.setAllColumnsShowFocus(true);
    view.resize(377, 388);
    view.setModel(list.model());
    view.show();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    list.startUp();
    QCoreApplication::processEvents(); // the view lays out and paints its rows
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    found = list.model()->count();
    return ms;
}

// The steps of start-up timed one by one (one round each, warm cache).
void printPhases(const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    const QStringList paths = library::loadGameList(folder + "/List.ini");
    const double load = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    std::vector<library::GameRecord> rows;
    for (const QString& path : paths) {
        QByteArray header;
        const library::ResolvedImage image = library::resolveImageRaw(path, &header);
        if (image.isSaturn)
            rows.push_back({path, image.gameName,
                            library::headerField(header, library::ProductNumber),
                            library::headerField(header, library::AreaSymbols)});
    }
    const double validate = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    library::GameList list(folder);
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setUniformRowHeights(true);
    view.resize(377, 388);
    view.setModel(list.model());
    view.show();
    QCoreApplication::processEvents();
    timer.restart();
    list.model()->append(rows);
    const double append = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    QCoreApplication::processEvents();
    const double paint = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    list.save();
    const double save = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("         load %.1f, validate %.1f, model %.1f, view %.1f, save %.1f ms\n", load,
                validate, append, paint, save);
}

long peakMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    i18n::initMessageTable();
    std::vector<int> counts;
    bool profileOnly = false; // --profile: only repeat start-up, for a profiler's eyes
    bool phases = false;      // --phases: also time the steps of start-up one by one
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--profile") == 0)
            profileOnly = true;
        else if (std::strcmp(argv[i], "--phases") == 0)
            phases = true;
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty())
        counts = {1000, 10000};

    std::printf("%8s %12s %12s %7s\n", "games", "floor ms", "start-up ms", "ratio");
    for (const int count : counts) {
        QTemporaryDir dir;
        const QString listPath = makeGames(dir.path(), count);
        if (profileOnly) {
            int found = 0;
            for (int round = 0; round < 20; ++round)
                startUpRun(dir.path(), found);
            continue;
        }
        int found = 0;
        floorRun(listPath); // warm the cache
        startUpRun(dir.path(), found);
        // Start-up rewrites List.ini with the same lines each time, so every round sees the
        // same input.
        // Floor and start-up take turns, so that both see the same load on the machine.
        std::vector<double> floorTimes, startUpTimes;
        for (int round = 0; round < Rounds; ++round) {
            QElapsedTimer timer;
            timer.start();
            const int floorFound = floorRun(listPath);
            floorTimes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            startUpTimes.push_back(startUpRun(dir.path(), found));
            if (floorFound != count || found != count)
                std::fprintf(stderr, "warning: found %d and %d games, expected %d\n", floorFound,
                             found, count);
        }
        const double floor = median(floorTimes);
        const double startUp = median(startUpTimes);
        std::printf("%8d %12.1f %12.1f %7.2f\n", count, floor, startUp, startUp / floor);
        if (phases)
            printPhases(dir.path());
        std::fflush(stdout);
    }
    std::printf("peak memory (VmHWM): %.1f MB\n", static_cast<double>(peakMemoryKb()) / 1024.0);
    return 0;
}
