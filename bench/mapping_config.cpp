// Times what the controller mapping window does with Core/mednafen.cfg: opening it (read the
// file, pick the port's mapping lines) and OK (read it again, replace one line, write it
// atomically), on files built to be hard: many lines without a blank, and one large file.
//
//   build/bench/bench_mapping_config [--rounds N] [lines...]   (default: 20000 200000)
//     each count builds a file of that many lines without a blank (beginning like the command
//     settings the window reads) around the mapping lines;
//     --megabytes M also times a file of M MiB of such lines (e.g. 32)
#include "input/global_config.h"
#include "input/mapping_editor.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray buildFile(qsizetype lines, qsizetype lineBytes) {
    QByteArray bytes;
    bytes.reserve(lines * (lineBytes + 1) + 4096);
    // Lines the window reads (they begin like a command's setting) but without a blank.
    const QByteArray filler = "command." + QByteArray(lineBytes - 8, 'x');
    for (qsizetype i = 0; i < lines / 2; ++i)
        bytes += filler + '\n';
    bytes += "ss.input.port1.gamepad.a keyboard 0x0 13\n";
    bytes += "ss.input.port1.gamepad.b keyboard 0x0 14\n";
    for (qsizetype i = lines / 2; i < lines; ++i)
        bytes += filler + '\n';
    return bytes;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void timeFile(const char* label, const QByteArray& contents, int rounds) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mednafen.cfg"));
    platform::writeFileAtomic(path, contents);
    const QStringList prefixes = input::MappingEditor::prefixes(1, QStringLiteral("gamepad"));
    std::vector<double> open, ok;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const auto found = input::readSettings(platform::readFileBytes(path), prefixes);
        open.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (found.size() != 2)
            std::fprintf(stderr, "unexpected: %lld settings found\n",
                         static_cast<long long>(found.size()));
        timer.restart();
        input::writeSettings(path, {{QStringLiteral("ss.input.port1.gamepad.a"),
                                     QStringLiteral("keyboard 0x0 %1").arg(20 + round)}});
        ok.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("%-28s %10.1f KiB   open %9.1f ms   OK %9.1f ms\n", label,
                static_cast<double>(contents.size()) / 1024.0, median(open), median(ok));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int rounds = 3;
    qsizetype megabytes = 0;
    std::vector<qsizetype> counts;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--rounds" && i + 1 < argc)
            rounds = std::max(1, QByteArray(argv[++i]).toInt());
        else if (arg == "--megabytes" && i + 1 < argc)
            megabytes = QByteArray(argv[++i]).toLongLong();
        else
            counts.push_back(arg.toLongLong());
    }
    if (counts.empty() && megabytes == 0)
        counts = {20000, 200000};
    for (const qsizetype lines : counts) {
        const QByteArray label = QByteArray::number(lines) + " lines without a blank";
        timeFile(label.constData(), buildFile(lines, 20), rounds);
    }
    if (megabytes > 0) {
        const QByteArray label = QByteArray::number(megabytes) + " MiB file";
        timeFile(label.constData(), buildFile(megabytes * 1024 * 1024 / 81, 80), rounds);
    }
    return 0;
}
