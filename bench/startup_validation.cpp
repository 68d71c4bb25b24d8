// Times the game list at scale against floors measured in the same run: start-up (load
// List.ini, validate every entry, write it back, fill and paint the list view), adding the
// same games through "Add games", and selecting a game with and without a profile.
//
// Each floor is a minimal loop doing the same file work with plain system calls: read
// List.ini; per game open the cue sheet, find its FILE line, open the data file and read its
// first bytes (a CCD game: the CCD file's status, and its image under the name the emulator
// opens, else found in a listing of the folder made once per folder); write List.ini. Floor and
// program take turns, so both see the same load on the machine; the tables give medians and the
// ratio program / floor.
//
//   build/bench/bench_startup_validation [options] [counts...]   (default counts: 1000 10000)
//     --layouts L,...  cue-one, cue-each, ccd-one, ccd-each (default: all four); "one" puts
//                      every game in one folder, "each" gives every game its own folder
//     --only P,...     startup, add, select (default: all three)
//     --rounds N       timed rounds per figure (default 5)
//     --phases         also time the steps of start-up one by one
//     --cold           also time start-up with the game files evicted from the page cache
//                      (posix_fadvise DONTNEED), against the floor read by 1, 2 and 4 workers
#include "disc_writer.h"
#include "floor_work.h"
#include "game_folder.h"
#include "i18n/messages.h"
#include "library/disc_image.h"
#include "library/game_list.h"
#include "library/game_list_view.h"
#include "platform/paths.h"
#include "settings/profiles.h"
#include "settings/settings_model.h"
#include "settings/settings_panel.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

using benchfloor::Floor;
using benchfloor::readWhole;
using benchfloor::writeAll;
using benchgames::Layout;
using benchgames::Layouts;
using benchgames::makeGames;
using benchgames::makeGlobalConfig;
using benchgames::writeList;

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times.empty() ? 0 : times[times.size() / 2];
}

std::vector<std::string> toStd(const QStringList& paths) {
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(paths.size()));
    for (const QString& path : paths)
        out.push_back(path.toStdString());
    return out;
}

// The lines of a list file, without their terminators.
std::vector<std::string> listLines(const std::string& list) {
    std::vector<std::string> paths;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('\n', start);
        if (end == std::string::npos)
            end = list.size();
        std::string path = list.substr(start, end - start);
        if (!path.empty() && path.back() == '\r')
            path.pop_back();
        paths.push_back(std::move(path));
        start = end + 1;
    }
    return paths;
}

// Start-up floor: read the list, validate, write the list.
int startUpFloor(const QString& listPath) {
    std::string list;
    if (!readWhole(listPath.toStdString(), list))
        return -1;
    const std::vector<std::string> paths = listLines(list);
    std::string kept;
    Floor floor;
    const int found = floor.run(paths, kept);
    writeAll(listPath.toStdString() + ".floor", kept);
    return found;
}

// The start-up floor's validation split over `workers` threads, each taking every n-th entry
// with a floor of its own; the kept list is put together in list order afterwards.
int parallelFloor(const QString& listPath, int workers) {
    std::string list;
    if (!readWhole(listPath.toStdString(), list))
        return -1;
    const std::vector<std::string> paths = listLines(list);
    std::vector<char> found(paths.size(), 0);
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) {
        threads.emplace_back([&, w] {
            Floor floor;
            std::string unused;
            for (size_t i = static_cast<size_t>(w); i < paths.size();
                 i += static_cast<size_t>(workers)) {
                std::vector<std::string> one{paths[i]};
                found[i] = floor.run(one, unused) == 1;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::string kept;
    int count = 0;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (found[i]) {
            kept += paths[i] + "\r\n";
            ++count;
        }
    }
    writeAll(listPath.toStdString() + ".floor", kept);
    return count;
}

// Drops every file below the folder from the page cache (written back first), so the next
// read comes from the disk; folder entries and file status stay cached.
void evictFolder(const QString& folder) {
    ::sync();
    std::vector<std::string> stack{folder.toStdString()};
    while (!stack.empty()) {
        const std::string dirPath = stack.back();
        stack.pop_back();
        DIR* dir = ::opendir(dirPath.c_str());
        if (!dir)
            continue;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            const std::string path = dirPath + "/" + name;
            if (entry->d_type == DT_DIR) {
                stack.push_back(path);
                continue;
            }
            const int fd = ::open(path.c_str(), O_RDONLY);
            if (fd >= 0) {
                ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
                ::close(fd);
            }
        }
        ::closedir(dir);
    }
}

// Add floor: validate the chosen files, write the list.
int addFloor(const std::vector<std::string>& paths, const QString& listPath) {
    std::string kept;
    Floor floor;
    const int found = floor.run(paths, kept);
    writeAll(listPath.toStdString() + ".floor", kept);
    return found;
}

// What the window does at each progress report of a batch: run the pending messages.
library::GameList::Progress windowPump() {
    return [](int, int) {
        QCoreApplication::processEvents();
        return true;
    };
}

// The window's list view over a fresh list, shown and painted empty.
struct Window {
    explicit Window(const QString& folder) : list(folder) {
        view.reset(library::createGameListView(nullptr));
        view->resize(377, 388);
        library::showGameList(view.get(), list.model());
        view->show();
        QCoreApplication::processEvents();
    }
    library::GameList list;
    std::unique_ptr<QTableView> view;
};

// One start-up as the window runs it, until its check beside the window has ended; timed are
// loading, validating and saving the list, writing the header cache and the view's filling and
// painting of the rows. Without `cached`, the header cache is removed first: every game is read.
double startUpRun(const QString& folder, int& found, bool cached = false) {
    if (!cached)
        QFile::remove(folder + QStringLiteral("/ListHeaders.cache"));
    Window window(folder);
    QElapsedTimer timer;
    timer.start();
    window.list.startUp();
    window.list.waitForStartUpCheck(3600000);
    QCoreApplication::processEvents(); // the view lays out and paints its rows
    const double ms = msSince(timer);
    found = window.list.model()->count();
    return ms;
}

// One "Add games" of every path into an empty list.
double addRun(const QString& folder, const QStringList& paths, int& found) {
    QFile::remove(folder + QStringLiteral("/List.ini"));
    Window window(folder);
    QElapsedTimer timer;
    timer.start();
    window.list.addGames(paths, windowPump());
    QCoreApplication::processEvents();
    const double ms = msSince(timer);
    found = window.list.model()->count();
    return ms;
}

// The fixed cost of one repaint of the view after all rows arrived at once.
double repaintCost(const QString& folder, const QStringList& paths) {
    std::vector<library::GameRecord> rows;
    for (const QString& path : paths)
        rows.push_back(
            {path, QStringLiteral("Game name"), QStringLiteral("T-10000"), QStringLiteral("JTUE")});
    std::vector<double> times;
    for (int round = 0; round < 3; ++round) {
        Window window(folder);
        QElapsedTimer timer;
        timer.start();
        window.list.model()->append(rows);
        QCoreApplication::processEvents();
        times.push_back(msSince(timer));
    }
    return median(times);
}

// The steps of start-up timed one by one (one round, warm cache).
void printPhases(const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    const QStringList paths = library::loadGameList(folder + "/List.ini");
    const double load = msSince(timer);
    timer.restart();
    std::vector<library::GameRecord> rows;
    platform::FileCaseIndex index; // one per batch, as start-up has
    for (const QString& path : paths) {
        QByteArray header;
        const library::ResolvedImage image = library::resolveImageRaw(path, &header, &index);
        if (image.isSaturn)
            rows.push_back({path, image.gameName,
                            library::headerField(header, library::ProductNumber),
                            library::headerField(header, library::AreaSymbols)});
    }
    const double validate = msSince(timer);
    Window window(folder);
    timer.restart();
    window.list.model()->append(rows);
    const double append = msSince(timer);
    timer.restart();
    QCoreApplication::processEvents();
    const double paint = msSince(timer);
    timer.restart();
    window.list.save();
    const double save = msSince(timer);
    std::printf("    phases: load %.1f, validate %.1f, model %.1f, view %.1f, save %.1f ms\n", load,
                validate, append, paint, save);
}

// Selecting games with and without a profile, through the settings model and its panel as the
// window has them; per selection in ms.
void selectionRun(const QString& folder, const QStringList& paths, int rounds) {
    makeGlobalConfig(folder);
    // On a user's disk the global configuration was written long before a game is selected;
    // one written a moment ago is read again on every selection.
    {
        QFile written(folder + QStringLiteral("/Core/mednafen.cfg"));
        if (written.open(QIODevice::ReadWrite))
            written.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                QFileDevice::FileModificationTime);
    }
    QDir().mkpath(folder + QStringLiteral("/Core/pgconfig"));
    settings::SettingsModel model;
    settings::SettingsPanel panel(&model);
    settings::Profiles profiles(model, folder);
    const QString withProfile = paths.first();
    profiles.selectGame(withProfile, QStringLiteral("Profiled"));
    profiles.saveProfile(withProfile, QStringLiteral("Profiled"));
    const QString plain = paths.last();
    std::vector<double> without, with;
    QFile config(folder + QStringLiteral("/Core/mednafen.cfg"));
    QElapsedTimer timer;
    std::vector<double> floorTimes;
    for (int round = 0; round < rounds * 10; ++round) {
        timer.start();
        profiles.selectGame(plain, QStringLiteral("Plain"));
        without.push_back(msSince(timer));
        timer.restart();
        profiles.selectGame(withProfile, QStringLiteral("Profiled"));
        with.push_back(msSince(timer));
        timer.restart();
        if (config.open(QIODevice::ReadOnly)) {
            config.readAll();
            config.close();
        }
        floorTimes.push_back(msSince(timer));
    }
    std::printf("  select: without profile %.2f ms, with profile %.2f ms (reading the global "
                "configuration once: %.2f ms; read %d times in %zu selections)\n",
                median(without), median(with), median(floorTimes), profiles.globalConfigReads(),
                without.size() + with.size() + 1);
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

void warnFound(const char* what, int floorFound, int found, int count) {
    if (floorFound != count || found != count)
        std::fprintf(stderr, "warning: %s found %d and %d games, expected %d\n", what, floorFound,
                     found, count);
}

// Start-up with the game files out of the page cache: the sequential floor, the same floor
// with 2 and 4 workers reading in parallel, and the program (which reads in list order).
void printColdStartUp(const QString& folder, const QString& listPath, int count, int rounds) {
    std::vector<double> sequential, two, four, program;
    int found = 0;
    const auto timed = [&folder](const std::function<void()>& work) {
        evictFolder(folder);
        QElapsedTimer timer;
        timer.start();
        work();
        return msSince(timer);
    };
    for (int round = 0; round < rounds; ++round) {
        sequential.push_back(timed([&] { found = startUpFloor(listPath); }));
        warnFound("cold floor", found, count, count);
        two.push_back(timed([&] { found = parallelFloor(listPath, 2); }));
        warnFound("cold 2 workers", found, count, count);
        four.push_back(timed([&] { found = parallelFloor(listPath, 4); }));
        warnFound("cold 4 workers", found, count, count);
        program.push_back(timed([&] { startUpRun(folder, found); }));
        warnFound("cold start-up", found, count, count);
    }
    const double floor = median(sequential);
    std::printf("    cold start-up: floor %.1f ms; floor with 2 workers %.1f ms (%.2fx faster), "
                "with 4 workers %.1f ms (%.2fx faster); Varnix %.1f ms (%.2f of the floor)\n",
                floor, median(two), floor / median(two), median(four), floor / median(four),
                median(program), median(program) / floor);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    i18n::initMessageTable();
    std::vector<int> counts;
    QStringList layouts, only;
    int rounds = 5;
    bool phases = false;
    bool cold = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--layouts") == 0 && i + 1 < argc)
            layouts = QString::fromLatin1(argv[++i]).split(QLatin1Char(','));
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = QString::fromLatin1(argv[++i]).split(QLatin1Char(','));
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--phases") == 0)
            phases = true;
        else if (std::strcmp(argv[i], "--cold") == 0)
            cold = true;
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty())
        counts = {1000, 10000};
    const auto wanted = [&only](const char* phase) {
        return only.isEmpty() || only.contains(QLatin1String(phase));
    };

    std::printf("%-9s %7s %-8s %10s %10s %10s %7s\n", "layout", "games", "what", "floor ms", "ms",
                "+repaint", "ratio");
    for (const Layout& layout : Layouts) {
        if (!layouts.isEmpty() && !layouts.contains(QLatin1String(layout.name)))
            continue;
        for (const int count : counts) {
            QTemporaryDir dir;
            const QString folder = dir.path();
            const QString listPath = folder + QStringLiteral("/List.ini");
            const QStringList paths = makeGames(folder, count, layout);
            if (wanted("startup")) {
                writeList(listPath, paths);
                int found = 0;
                startUpFloor(listPath); // warm the cache
                startUpRun(folder, found);
                // Start-up rewrites List.ini with the same lines, so every round sees the same
                // input.
                std::vector<double> floorTimes, times;
                for (int round = 0; round < rounds; ++round) {
                    QElapsedTimer timer;
                    timer.start();
                    const int floorFound = startUpFloor(listPath);
                    floorTimes.push_back(msSince(timer));
                    times.push_back(startUpRun(folder, found));
                    warnFound("start-up", floorFound, found, count);
                }
                const double floor = median(floorTimes), ms = median(times);
                std::printf("%-9s %7d %-8s %10.1f %10.1f %10s %7.2f\n", layout.name, count,
                            "start-up", floor, ms, "", ms / floor);
                // The same with a current header cache: the check only looks at the files'
                // identities.
                startUpRun(folder, found);
                std::vector<double> cachedTimes;
                for (int round = 0; round < rounds; ++round) {
                    cachedTimes.push_back(startUpRun(folder, found, true));
                    warnFound("cached start-up", count, found, count);
                }
                const double cachedMs = median(cachedTimes);
                std::printf("%-9s %7d %-8s %10.1f %10.1f %10s %7.2f\n", layout.name, count,
                            "cached", floor, cachedMs, "", cachedMs / floor);
                if (phases)
                    printPhases(folder);
                if (cold)
                    printColdStartUp(folder, listPath, count, rounds);
                std::fflush(stdout);
            }
            if (wanted("add")) {
                const std::vector<std::string> stdPaths = toStd(paths);
                const double repaint = repaintCost(folder, paths);
                std::vector<double> floorTimes, times;
                int found = 0;
                for (int round = 0; round < rounds; ++round) {
                    QElapsedTimer timer;
                    timer.start();
                    const int floorFound = addFloor(stdPaths, listPath);
                    floorTimes.push_back(msSince(timer));
                    times.push_back(addRun(folder, paths, found));
                    warnFound("add", floorFound, found, count);
                }
                const double floor = median(floorTimes), ms = median(times);
                std::printf("%-9s %7d %-8s %10.1f %10.1f %10.1f %7.2f\n", layout.name, count, "add",
                            floor, ms, floor + repaint, ms / (floor + repaint));
                std::fflush(stdout);
            }
            if (wanted("select")) {
                selectionRun(folder, paths, rounds);
                std::fflush(stdout);
            }
        }
    }
    std::printf("peak memory (VmHWM): %.1f MB\n", static_cast<double>(peakMemoryKb()) / 1024.0);
    return 0;
}
