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

    // The last lines that say something: blank lines dropped, ends of lines trimmed, at most
    // maxLines of them in their order. A line cut by the limit is left out.
    QStringList lastLines(int maxLines) const;

private:
    qsizetype limit_;
    QByteArray bytes_;
    bool cut_ = false;
};

// The error box text for an emulator that ended badly: the last line of its output, the
// status line, then the lines before the last. An empty text when it ended normally with status 0.
QString failureReport(bool crashed, int exitCode, const QStringList& lastLines);

} // namespace launch
