#include "platform/text_file.h"

#include "platform/io_error.h"
#include "platform/paths.h"

#include <QFile>
#include <QSaveFile>

namespace platform {

QString fromLocal8Bit(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}

QByteArray toLocal8Bit(const QString& text) {
    return text.toLocal8Bit();
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool terminated = end >= 0;
        if (!terminated)
            end = bytes.size();
        qsizetype len = end - start;
        if (terminated && len > 0 && bytes.at(end - 1) == '\r')
            --len;
        lines.append(bytes.mid(start, len));
        start = end + 1;
    }
    return lines;
}

QString fileErrorText(const QString& path, const QString& detail) {
    return QStringLiteral("%1\n%2").arg(detail, displayPath(path));
}

static void openForReading(QFile& file) {
    if (!file.exists())
        throw IoError(fileErrorText(file.fileName(), QStringLiteral("File not found")));
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(fileErrorText(file.fileName(), file.errorString()));
}

QByteArray readFileBytes(const QString& path) {
    QFile file(path);
    openForReading(file);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError(fileErrorText(path, file.errorString()));
    return bytes;
}

QStringList readTextLines(const QString& path) {
    QStringList lines;
    for (const QByteArray& line : splitLines(readFileBytes(path)))
        lines.append(fromLocal8Bit(line));
    return lines;
}

QString readFirstLine(const QString& path) {
    QFile file(path);
    openForReading(file);
    QByteArray line = file.readLine();
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return fromLocal8Bit(line);
}

void writeTextLinesAtomic(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError(fileErrorText(path, file.errorString()));
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toLocal8Bit(line);
        bytes += "\r\n";
    }
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw IoError(fileErrorText(path, file.errorString()));
}

} // namespace platform

namespace platform {

QString trimLowCodes(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

} // namespace platform
