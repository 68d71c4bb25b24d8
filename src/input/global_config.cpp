#include "input/global_config.h"

#include "platform/text_file.h"

#include <QSet>
#include <algorithm>

namespace input {

namespace {

// One line of the file: where its text begins and ends (without its terminator).
struct LineSpan {
    qsizetype begin;
    qsizetype end;
};

QList<LineSpan> lineSpans(const QByteArray& bytes) {
    QList<LineSpan> spans;
    qsizetype begin = 0;
    while (begin < bytes.size()) {
        qsizetype feed = bytes.indexOf('\n', begin);
        const qsizetype next = feed < 0 ? bytes.size() : feed + 1;
        qsizetype end = feed < 0 ? bytes.size() : feed;
        if (end > begin && bytes[end - 1] == '\r')
            --end;
        spans.append({begin, end});
        begin = next;
    }
    return spans;
}

// The name of the setting on a line: the text before its first blank.
QByteArray nameOf(const QByteArray& bytes, const LineSpan& line) {
    const qsizetype blank = bytes.indexOf(' ', line.begin);
    if (blank < 0 || blank > line.end)
        return QByteArray(); // no blank: no value, not a setting this code changes
    return bytes.mid(line.begin, blank - line.begin);
}

} // namespace

QHash<QString, QString> readSettings(const QByteArray& bytes, const QStringList& prefixes) {
    QList<QByteArray> wanted;
    for (const QString& prefix : prefixes)
        wanted.append(prefix.toLatin1());
    QHash<QString, QString> found;
    for (const LineSpan& line : lineSpans(bytes)) {
        const QByteArrayView text(bytes.constData() + line.begin, line.end - line.begin);
        if (!std::any_of(wanted.begin(), wanted.end(),
                         [&](const QByteArray& prefix) { return text.startsWith(prefix); }))
            continue;
        const QByteArray name = nameOf(bytes, line);
        if (name.isEmpty())
            continue;
        const QString key = QString::fromLatin1(name);
        if (!found.contains(key))
            found.insert(
                key, platform::fromLocal8Bit(bytes.mid(line.begin + name.size() + 1,
                                                       line.end - line.begin - name.size() - 1)));
    }
    return found;
}

QByteArray replaceSettings(const QByteArray& bytes, const QList<Setting>& settings) {
    QHash<QByteArray, QByteArray> values;
    for (const auto& [name, value] : settings)
        values.insert(name.toLatin1(), platform::toLocal8Bit(value));
    QByteArray out;
    out.reserve(bytes.size() + 64 * settings.size());
    QSet<QByteArray> written;
    qsizetype copied = 0;
    for (const LineSpan& line : lineSpans(bytes)) {
        const QByteArray name = nameOf(bytes, line);
        const auto it = values.constFind(name);
        if (name.isEmpty() || it == values.constEnd())
            continue;
        out.append(bytes.constData() + copied, line.begin + name.size() + 1 - copied);
        out.append(it.value());
        copied = line.end;
        written.insert(name);
    }
    out.append(bytes.constData() + copied, bytes.size() - copied);

    const QByteArray lineEnd = bytes.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    for (const auto& [name, value] : settings) {
        const QByteArray key = name.toLatin1();
        if (written.contains(key))
            continue;
        if (!out.isEmpty() && !out.endsWith('\n'))
            out.append(lineEnd);
        out.append(key + ' ' + values.value(key) + lineEnd);
        written.insert(key);
    }
    return out;
}

void writeSettings(const QString& path, const QList<Setting>& settings) {
    const QByteArray bytes = platform::readFileBytes(path);
    platform::writeFileAtomic(path, replaceSettings(bytes, settings));
}

} // namespace input
