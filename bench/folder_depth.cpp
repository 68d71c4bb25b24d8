// Times "Add folder..."'s search of a deep tree against a flat tree with as many folders: one
// chain of N nested folders ("d/d/d/..."), and N folders side by side, each holding one cue
// sheet. The search should cost the same per folder however deep the folders lie.
//
//   build/bench/bench_folder_depth [counts...]   (default counts: 400 1000)

#include "library/folder_scan.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void touch(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("FILE \"x.bin\" BINARY\n");
}

// The median of five searches, in milliseconds; `found` gets the number of files found.
double timeScan(const QString& root, qsizetype& found) {
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        found = library::scanImageFolder(root).size();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QList<int> counts;
    for (const QString& argument : app.arguments().mid(1))
        counts << argument.toInt();
    if (counts.isEmpty())
        counts = {400, 1000};
    std::printf("%8s %12s %12s %8s\n", "folders", "flat ms", "deep ms", "deep/flat");
    for (const int count : counts) {
        QTemporaryDir flat, deep;
        for (int i = 0; i < count; ++i) {
            const QString folder = flat.path() + QStringLiteral("/f%1").arg(i);
            QDir().mkpath(folder);
            touch(folder + QStringLiteral("/game.cue"));
        }
        QString folder = deep.path();
        for (int i = 0; i < count; ++i) {
            folder += QStringLiteral("/d");
            QDir().mkdir(folder);
            touch(folder + QStringLiteral("/game.cue"));
        }
        qsizetype foundFlat = 0, foundDeep = 0;
        const double flatMs = timeScan(flat.path(), foundFlat);
        const double deepMs = timeScan(deep.path(), foundDeep);
        if (foundFlat != count || foundDeep != count)
            std::printf("(found %lld flat and %lld deep of %d)\n",
                        static_cast<long long>(foundFlat), static_cast<long long>(foundDeep),
                        count);
        std::printf("%8d %12.1f %12.1f %8.2f\n", count, flatMs, deepMs, deepMs / flatMs);
    }
    return 0;
}
