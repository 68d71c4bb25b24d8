#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace launch {

// The last part of what the emulator wrote to its standard output and error, fed as it
// arrives. Only the newest bytes are kept, so a chatty emulator costs a fixed amount of memory.
class OutputTail {
public:
    explicit OutputTail(qsizetype limit = 64 * 1024) : limit_(limit) {}

    void append(const QByteArray& bytes);
    // Appends the last part of a file, as much as is kept, never reading the rest of it.
    void appendFileEnd(const QString& path);

    // The last lines that say something: blank lines dropped, ends of lines trimmed, at most
    // maxLines of them in their order. A line cut by the limit is left out.
    QStringList lastLines(int maxLines) const;

private:
    qsizetype limit_;
    QByteArray bytes_;
    bool cut_ = false;
};

// The files an emulator without a console writes its output to (the Windows emulator, started
// hidden: Core/stdout.txt and stderr.txt). Made before the start, it notes how they stand, so
// that only what this run wrote is read after it; a file left by an earlier run is not.
class OutputFiles {
public:
    explicit OutputFiles(const QString& coreFolder);

    // The last lines this run wrote to the files (see OutputTail::lastLines): those of
    // stderr.txt, then those of stdout.txt, where the emulator says why it stopped.
    QStringList lastLines(int maxLines) const;

private:
    struct Stamp {
        QString path;
        bool existed = false;
        qint64 size = 0;
        qint64 modified = 0;
    };
    static Stamp stampOf(const QString& path);
    bool writtenSince(const Stamp& before) const;
    Stamp files_[2];
};

// An exit status as the error box shows it: a number, or a Windows exception status in hex
// ("0xC0000005").
QString statusText(int exitCode);

// The error box text for an emulator that ended badly: the last line of its output, the
// status line (a known Windows status in words first), then the lines before the last. An empty
// text when it ended normally with status 0.
QString failureReport(bool crashed, int exitCode, const QStringList& lastLines);

} // namespace launch
