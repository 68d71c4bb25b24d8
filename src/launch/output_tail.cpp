#include "launch/output_tail.h"

#include "i18n/messages.h"

namespace launch {

void OutputTail::append(const QByteArray& bytes) {
    bytes_.append(bytes);
    if (bytes_.size() > limit_) {
        bytes_.remove(0, bytes_.size() - limit_);
        cut_ = true;
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
        const QString text = QString::fromLocal8Bit(line).trimmed();
        if (!text.isEmpty())
            result.prepend(text);
    }
    return result;
}

QString failureReport(bool crashed, int exitCode, const QStringList& lastLines) {
    if (!crashed && exitCode == 0)
        return QString();
    QString text =
        i18n::message(crashed ? i18n::Extra::EmulatorCrashed : i18n::Extra::EmulatorFailed);
    // A Windows program that crashed ends with an exception status such as 0xC0000005, which
    // reads as a negative number.
    const QString status =
        exitCode < 0 ? QStringLiteral("0x") + QString::number(static_cast<quint32>(exitCode), 16)
                                                  .toUpper()
                                                  .rightJustified(8, QLatin1Char('0'))
                     : QString::number(exitCode);
    text.replace(QStringLiteral("%1"), status);
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
