// Times the launcher's whole start, from the program's start until its window has painted,
// against a minimal Qt Widgets program that shows a window of the same size
// (bench_minimal_window), and against the same window showing one line of text (the toolkit's
// font set-up, which any window with text pays), the three started in turn in the same run. The
// launcher starts on an application folder with a short list of games and a global configuration
// the size of the emulator's own. Run it under a window manager (xvfb-run with openbox), since a
// real start maps its window there. The table gives medians, the median of the pair-by-pair ratios
// and each program's peak memory.
//
// With --cached, the list's header cache is made first (one start that waits for the check), and
// each start is also set against the start of a 10-game list in the same round; with --cold,
// the game files, the list and the cache are dropped from the page cache before each start.
//
//   build/bench/bench_startup_window [--rounds N] [--cached] [--cold] [games...]
//                                            (default: 20 rounds, 1000 games)
//   build/bench/bench_startup_window --make FOLDER GAMES        makes the folder and ends
//   build/bench/bench_startup_window --launcher FOLDER          one start on it (to profile)
//   build/bench/bench_startup_window --check FOLDER             one start until its check ends
#include "app/command_line.h"
#include "app/launcher_run.h"
#include "app/main_window.h"
#include "first_paint.h"
#include "game_folder.h"
#include "library/game_list.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct Run {
    double ms = 0; // from the start to the first paint
    long peakKb = 0;
};

// Starts the program and waits for it to end; the time until it reported its first paint, and
// its peak memory.
Run timedRun(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0)
        std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string printed;
    char buffer[256];
    ssize_t got;
    while ((got = read(out[0], buffer, sizeof buffer)) > 0)
        printed.append(buffer, static_cast<size_t>(got));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const size_t at = printed.find("painted ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos) {
        std::fprintf(stderr, "%s ended with status %d before its first paint\n", argv[0], status);
        std::exit(1);
    }
    const long long painted = std::atoll(printed.c_str() + at + 8);
    const long long started = static_cast<long long>(start.tv_sec) * 1000000000LL + start.tv_nsec;
    return {static_cast<double>(painted - started) / 1e6, usage.ru_maxrss};
}

// Runs the program to its end.
void timedRunToEnd(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        std::exit(1);
    int status = 0;
    waitpid(pid, &status, 0);
}

// The launcher as the program starts it, on the folder, ending after its first paint.
int runLauncherOnce(int argc, char** argv, const QString& folder) {
    QCoreApplication::setApplicationName(QStringLiteral("varnix"));
    const CommandLine commandLine =
        parseCommandLine({QStringLiteral("varnix"), QStringLiteral("--folder"), folder});
    QApplication app(argc, argv);
    return runLauncher(commandLine, [](QWidget& window) { new QuitAfterFirstPaint(&window); });
}

// One start that ends when the check of its list has ended (and its cache is written).
int runLauncherUntilChecked(int argc, char** argv, const QString& folder) {
    QCoreApplication::setApplicationName(QStringLiteral("varnix"));
    const CommandLine commandLine =
        parseCommandLine({QStringLiteral("varnix"), QStringLiteral("--folder"), folder});
    QApplication app(argc, argv);
    return runLauncher(commandLine, [](QWidget& window) {
        library::GameList* list = static_cast<TForm1&>(window).gameList();
        const auto quit = [] { QTimer::singleShot(0, qApp, &QCoreApplication::quit); };
        if (!list->startUpChecking())
            quit();
        else
            QObject::connect(list, &library::GameList::startUpChecked, qApp, quit);
    });
}

// Drops the folder's files from the page cache (they were written to the disk before: a
// sync per file would keep the disk busy into the start that follows).
void evictFolder(const QString& folder) {
    ::sync();
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const int fd = ::open(QFile::encodeName(files.next()).constData(), O_RDONLY);
        if (fd >= 0) {
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
}

// An application folder with `count` games in one folder.
void makeFolder(const QString& folder, int count) {
    QDir().mkpath(folder + QStringLiteral("/Core/pgconfig"));
    QFile::link(QStringLiteral("/bin/true"), folder + QStringLiteral("/Core/mednafen"));
    benchgames::makeGlobalConfig(folder);
    const QStringList games =
        benchgames::makeGames(folder, count, benchgames::Layouts[0] /* cue-one */);
    benchgames::writeList(folder + QStringLiteral("/List.ini"), games);
}

// Starts with a current header cache: each size against a 10-game list started in the same
// round.
int cachedStarts(const char* argv0, int rounds, bool cold, const std::vector<int>& counts) {
    int argc = 1;
    char* argv[] = {const_cast<char*>(argv0), nullptr};
    QCoreApplication core(argc, argv);
    const std::string self =
        QFileInfo(QString::fromLocal8Bit(argv0)).absoluteFilePath().toStdString();
    QTemporaryDir small;
    makeFolder(small.path(), 10);
    const std::vector<std::string> smallCheck{self, "--check", small.path().toStdString()};
    timedRunToEnd(smallCheck);
    const std::vector<std::string> smallStart{self, "--launcher", small.path().toStdString()};
    std::printf("%s starts with a current header cache\n", cold ? "cold" : "warm");
    std::printf("%7s %12s %12s %7s %12s\n", "games", "launcher ms", "10 games ms", "ratio",
                "launcher MB");
    for (const int count : counts) {
        QTemporaryDir dir;
        makeFolder(dir.path(), count);
        timedRunToEnd({self, "--check", dir.path().toStdString()}); // writes the cache
        // The folder just written goes to the disk first: its write-back would slow the cold
        // starts' reads.
        ::sync();
        const std::vector<std::string> start{self, "--launcher", dir.path().toStdString()};
        timedRun(start);
        std::vector<double> ms, smallMs, ratios;
        long kb = 0;
        for (int round = 0; round < rounds; ++round) {
            if (cold)
                evictFolder(dir.path());
            const Run a = timedRun(start);
            if (cold)
                evictFolder(small.path());
            const Run b = timedRun(smallStart);
            ms.push_back(a.ms);
            smallMs.push_back(b.ms);
            ratios.push_back(a.ms / b.ms);
            kb = std::max(kb, a.peakKb);
        }
        std::printf("%7d %12.1f %12.1f %7.2f %12.1f\n", count, median(ms), median(smallMs),
                    median(ratios), static_cast<double>(kb) / 1024);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--launcher") == 0)
        return runLauncherOnce(1, argv, QString::fromLocal8Bit(argv[2]));

    if (argc == 3 && std::strcmp(argv[1], "--check") == 0)
        return runLauncherUntilChecked(1, argv, QString::fromLocal8Bit(argv[2]));

    if (argc == 4 && std::strcmp(argv[1], "--make") == 0) {
        QCoreApplication core(argc, argv);
        makeFolder(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
        return 0;
    }
    int rounds = 20;
    bool cached = false, cold = false;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--cached") == 0)
            cached = true;
        else if (std::strcmp(argv[i], "--cold") == 0)
            cold = true;
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (cached)
        return cachedStarts(argv[0], rounds, cold,
                            counts.empty() ? std::vector<int>{10, 1000, 10000, 100000} : counts);
    if (counts.empty())
        counts = {1000};
    const std::string self =
        QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath().toStdString();
    const std::string floor =
        QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath().toStdString() +
        "/bench_minimal_window";

    std::printf("%7s %12s %10s %7s %10s %7s %12s %9s\n", "games", "launcher ms", "floor ms",
                "ratio", "+text ms", "ratio", "launcher MB", "floor MB");
    for (const int count : counts) {
        QCoreApplication core(argc, argv); // the games are written with the toolkit's files
        QTemporaryDir dir;
        const QString folder = dir.path();
        makeFolder(folder, count);
        const std::vector<std::string> launcher{self, "--launcher", folder.toStdString()};
        const std::vector<std::string> minimal{floor};
        const std::vector<std::string> withText{floor, "--text"};
        timedRun(launcher); // the first start writes Main.ini; every program in the cache
        timedRun(minimal);
        timedRun(withText);
        std::vector<double> launcherMs, floorMs, textMs, ratios, textRatios;
        long launcherKb = 0, floorKb = 0;
        for (int round = 0; round < rounds; ++round) {
            const Run a = timedRun(launcher);
            const Run b = timedRun(minimal);
            const Run c = timedRun(withText);
            launcherMs.push_back(a.ms);
            floorMs.push_back(b.ms);
            textMs.push_back(c.ms);
            ratios.push_back(a.ms / b.ms);
            textRatios.push_back(a.ms / c.ms);
            launcherKb = std::max(launcherKb, a.peakKb);
            floorKb = std::max(floorKb, b.peakKb);
        }
        std::printf("%7d %12.1f %10.1f %7.2f %10.1f %7.2f %12.1f %9.1f\n", count,
                    median(launcherMs), median(floorMs), median(ratios), median(textMs),
                    median(textRatios), static_cast<double>(launcherKb) / 1024,
                    static_cast<double>(floorKb) / 1024);
        std::fflush(stdout);
    }
    return 0;
}
