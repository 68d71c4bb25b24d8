#include "input/global_config.h"

#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstring>

namespace input {

namespace {

// One line of the file: where its text begins and ends (without its terminator).
struct LineSpan {
    qsizetype begin;
    qsizetype end;
};

// Calls visit(line) for every line of the file, in order, in one pass over its bytes.
template <typename Visit> void forEachLine(const QByteArray& bytes, Visit&& visit) {
    const char* const data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype begin = 0;
    while (begin < size) {
        const auto* feed = static_cast<const char*>(
            std::memchr(data + begin, '\n', static_cast<size_t>(size - begin)));
        const qsizetype next = feed ? feed - data + 1 : size;
        qsizetype end = feed ? feed - data : size;
        if (end > begin && data[end - 1] == '\r')
            --end;
        visit(LineSpan{begin, end});
        begin = next;
    }
}

// The name of the setting on a line: the text before its first blank. The blank is looked for
// within the line only, so a file of lines without one costs one pass, not one per line.
QByteArrayView nameOf(const QByteArray& bytes, const LineSpan& line) {
    const char* const start = bytes.constData() + line.begin;
    const auto* blank = static_cast<const char*>(
        std::memchr(start, ' ', static_cast<size_t>(line.end - line.begin)));
    if (!blank)
        return {}; // no blank: no value, not a setting this code changes
    return QByteArrayView(start, blank - start);
}

} // namespace

QString decodeKeepingBytes(QByteArrayView bytes) {
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<uchar>(bytes[i]);
        const qsizetype length = lead < 0x80                    ? 1
                                 : lead >= 0xC2 && lead <= 0xDF ? 2
                                 : lead >= 0xE0 && lead <= 0xEF ? 3
                                 : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                : 0;
        if (length > 0 && i + length <= bytes.size() && bytes.sliced(i, length).isValidUtf8()) {
            text += QString::fromUtf8(bytes.sliced(i, length));
            i += length;
        } else {
            text += QChar(static_cast<char16_t>(0xDC00 + lead)); // a byte UTF-8 does not explain
            ++i;
        }
    }
    return text;
}

QByteArray encodeKeepingBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype run = 0; // start of the characters not encoded yet
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool keptByte =
            c >= 0xDC80 && c <= 0xDCFF && (i == 0 || !text.at(i - 1).isHighSurrogate());
        if (!keptByte)
            continue;
        bytes += QStringView(text).sliced(run, i - run).toUtf8();
        bytes += static_cast<char>(c - 0xDC00);
        run = i + 1;
    }
    bytes += QStringView(text).sliced(run).toUtf8();
    return bytes;
}

QHash<QString, QString> readSettings(const QByteArray& bytes, const QStringList& prefixes) {
    QList<QByteArray> wanted;
    for (const QString& prefix : prefixes)
        wanted.append(prefix.toLatin1());
    QHash<QString, QString> found;
    forEachLine(bytes, [&](const LineSpan& line) {
        const QByteArrayView text(bytes.constData() + line.begin, line.end - line.begin);
        if (!std::any_of(wanted.begin(), wanted.end(),
                         [&](const QByteArray& prefix) { return text.startsWith(prefix); }))
            return;
        const QByteArrayView name = nameOf(bytes, line);
        if (name.isEmpty())
            return;
        // The emulator reads the file from top to bottom: of a setting written twice, the later
        // line is in force.
        found.insert(QString::fromLatin1(name), decodeKeepingBytes(text.sliced(name.size() + 1)));
    });
    return found;
}

QByteArray replaceSettings(const QByteArray& bytes, const QList<Setting>& settings) {
    QHash<QByteArray, QByteArray> values;
    for (const auto& [name, value] : settings)
        values.insert(name.toLatin1(), encodeKeepingBytes(value));
    QByteArray out;
    out.reserve(bytes.size() + 64 * settings.size());
    QSet<QByteArray> written;
    qsizetype copied = 0;
    forEachLine(bytes, [&](const LineSpan& line) {
        const QByteArrayView name = nameOf(bytes, line);
        if (name.isEmpty())
            return;
        const auto it = values.constFind(name.toByteArray());
        if (it == values.constEnd())
            return;
        out.append(bytes.constData() + copied, line.begin + name.size() + 1 - copied);
        out.append(it.value());
        copied = line.end;
        written.insert(it.key());
    });
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

namespace {

QString notePath(const QString& path) {
    return path + QStringLiteral(".varnix-writing");
}

// The files beside path named "<file name>.XXXXXX": how an atomic write names the new contents
// until they replace the file.
QStringList writeCopies(const QString& path) {
    const QFileInfo file(path);
    static const QRegularExpression copy(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
    QStringList names;
    const QStringList candidates = file.dir().entryList(
        {file.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        if (copy.match(QStringView(name).sliced(file.fileName().size())).hasMatch())
            names.append(name);
    }
    return names;
}

// The note that lives while a write runs; a write that ends, well or with an error, removes it.
class WriteNote {
public:
    explicit WriteNote(const QString& path) : note_(notePath(path)) {
        QFile file(note_);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return; // without a note a leftover stays, as before
        file.write(writeCopies(path).join(QLatin1Char('\n')).toUtf8());
    }
    ~WriteNote() { QFile::remove(note_); }
    WriteNote(const WriteNote&) = delete;
    WriteNote& operator=(const WriteNote&) = delete;

private:
    QString note_;
};

} // namespace

void writeSettings(const QString& path, const QList<Setting>& settings) {
    const QByteArray bytes = platform::readFileBytes(path);
    const QByteArray changed = replaceSettings(bytes, settings);
    const WriteNote note(path);
    platform::writeFileAtomic(path, changed);
}

void removeWriteLeftovers(const QString& path) {
    QFile note(notePath(path));
    if (!note.open(QIODevice::ReadOnly))
        return;
    const QStringList before = QString::fromUtf8(note.read(1 << 20)).split(QLatin1Char('\n'));
    note.close();
    const QDir folder = QFileInfo(path).dir();
    for (const QString& name : writeCopies(path)) {
        if (!before.contains(name))
            QFile::remove(folder.filePath(name));
    }
    note.remove();
}

} // namespace input
