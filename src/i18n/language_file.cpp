#include "i18n/language_file.h"

#include "platform/text_file.h"

namespace i18n {

namespace {

// Drops the line's first character; a character written as a surrogate pair goes whole.
QString withoutFirstCharacter(const QString& line) {
    if (line.isEmpty())
        return line;
    const qsizetype width =
        line.size() > 1 && line.at(0).isHighSurrogate() && line.at(1).isLowSurrogate() ? 2 : 1;
    return line.mid(width);
}

} // namespace

QStringList parseLanguageFile(const QByteArray& bytes) {
    static const QByteArray byteOrderMark("\xEF\xBB\xBF");
    const bool utf8 = bytes.startsWith(byteOrderMark);
    const QByteArray text = utf8 ? bytes.mid(byteOrderMark.size()) : bytes;

    QStringList lines;
    for (const QByteArray& raw : platform::splitLines(text)) {
        const QString line = utf8 ? QString::fromUtf8(raw) : platform::fromLocal8Bit(raw);
        lines.append(withoutFirstCharacter(line));
    }
    return lines;
}

QStringList readLanguageFile(const QString& path) {
    return parseLanguageFile(platform::readFileBytes(path));
}

int findSection(const QStringList& lines, const QString& header) {
    if (header.isEmpty())
        return -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith(header, Qt::CaseSensitive))
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<QString> LanguageText::entry(const QString& header, int k) const {
    const int position = findSection(lines_, header);
    if (position < 0 || k < 1)
        return std::nullopt;
    const qsizetype index = static_cast<qsizetype>(position) + k;
    if (index >= lines_.size())
        return std::nullopt;
    return lines_.at(index);
}

} // namespace i18n
