#include "launch/output_tail.h"

#include "i18n/messages.h"
#include "platform/text_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace launch {

void OutputTail::append(const QByteArray& bytes) {
    bytes_.append(bytes);
    if (bytes_.size() > limit_) {
        bytes_.remove(0, bytes_.size() - limit_);
        cut_ = true;
    }
}

void OutputTail::appendFileEnd(const QString& path) {
    try {
        QFile file(path);
        platform::openRegularFile(file);
        const qint64 size = file.size();
        if (size > limit_) {
            file.seek(size - limit_);
            cut_ = true;
        }
        append(file.read(limit_));
    } catch (const std::exception&) {
        // A file that cannot be read adds nothing; the status still explains the end.
    }
}

QStringList OutputTail::lastLines(int maxLines) const {
    QList<QByteArray> lines = bytes_.split('\n');
    // The first line may have lost its beginning to the limit.
    if (cut_ && !lines.isEmpty())
        lines.removeFirst();
    QStringList result;
    for (auto it = lines.crbegin(); it != lines.crend() && result.size() < maxLines; ++it) {
        // A carriage return starts the line over (progress output); keep what stands last.
        QByteArray line = *it;
        while (line.endsWith('\r'))
            line.chop(1);
        const qsizetype cr = line.lastIndexOf('\r');
        if (cr >= 0)
            line = line.mid(cr + 1);
        const QString text = QString::fromUtf8(line).trimmed();
        if (!text.isEmpty())
            result.prepend(text);
    }
    return result;
}

OutputFiles::OutputFiles(const QString& coreFolder)
    : files_{stampOf(coreFolder + QStringLiteral("/stderr.txt")),
             stampOf(coreFolder + QStringLiteral("/stdout.txt"))} {}

OutputFiles::Stamp OutputFiles::stampOf(const QString& path) {
    const QFileInfo info(path);
    Stamp stamp;
    stamp.path = path;
    stamp.existed = info.exists();
    if (stamp.existed) {
        stamp.size = info.size();
        stamp.modified = info.lastModified().toMSecsSinceEpoch();
    }
    return stamp;
}

bool OutputFiles::writtenSince(const Stamp& before) const {
    const Stamp now = stampOf(before.path);
    if (!now.existed)
        return false;
    return !before.existed || now.size != before.size || now.modified != before.modified;
}

QStringList OutputFiles::lastLines(int maxLines) const {
    QStringList lines;
    for (const Stamp& before : files_) {
        if (!writtenSince(before))
            continue;
        OutputTail tail;
        tail.appendFileEnd(before.path);
        lines += tail.lastLines(maxLines);
    }
    return lines.mid(qMax<qsizetype>(0, lines.size() - maxLines));
}

namespace {

// What a Windows status the emulator may end with means, or nothing for other statuses.
QString windowsStatusMeaning(quint32 status) {
    switch (status) {
    case 0xC0000135:
        return i18n::message(i18n::Extra::StatusDllMissing);
    case 0xC0000005:
        return i18n::message(i18n::Extra::StatusAccessViolation);
    case 0xC000007B:
        return i18n::message(i18n::Extra::StatusWrongArchitecture);
    case 0xC0000409:
        return i18n::message(i18n::Extra::StatusStackOverrun);
    default:
        return QString();
    }
}

} // namespace

QString statusText(int exitCode) {
    // A Windows program that crashed ends with an exception status such as 0xC0000005, which
    // reads as a large negative number; a program's own small negative status (the emulator
    // ends with -1 on an error) stays a number.
    if (exitCode >= -0xFFFF)
        return QString::number(exitCode);
    return QStringLiteral("0x") + QString::number(static_cast<quint32>(exitCode), 16)
                                      .toUpper()
                                      .rightJustified(8, QLatin1Char('0'));
}

QString failureReport(bool crashed, int exitCode, const QStringList& lastLines) {
    if (!crashed && exitCode == 0)
        return QString();
    QString text;
    const QString meaning = windowsStatusMeaning(static_cast<quint32>(exitCode));
    if (!meaning.isEmpty()) {
        text = i18n::message(i18n::Extra::EmulatorEndedWith);
        text.replace(QStringLiteral("%1"), meaning);
        text.replace(QStringLiteral("%2"), statusText(exitCode));
    } else {
        text = i18n::message(crashed ? i18n::Extra::EmulatorCrashed : i18n::Extra::EmulatorFailed);
        text.replace(QStringLiteral("%1"), statusText(exitCode));
    }
    if (lastLines.isEmpty())
        return text;
    // The emulator's last line usually gives its reason ("Could not find a system that supports
    // this CD."): it leads, then the status, an empty line and the lines before it.
    text = lastLines.last() + QChar(13) + text;
    if (lastLines.size() > 1)
        text += QChar(13);
    for (qsizetype i = 0; i + 1 < lastLines.size(); ++i)
        text += QChar(13) + lastLines[i];
    return text;
}

} // namespace launch
