#include "i18n/language_file.h"

#include "platform/text_file.h"

#include <QUtf8StringView>

namespace i18n {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves undefined keep their own code,
// as Windows itself converts them. Every other byte is the character of the same code.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = QChar(byte >= 0x80 && byte < 0xA0 ? cp1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

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
    const bool marked = bytes.startsWith(byteOrderMark);
    const QByteArray text = marked ? bytes.mid(byteOrderMark.size()) : bytes;
    // The same file reads the same on every platform: a translation written on Windows in its
    // 8-bit code page is never valid UTF-8 once it holds a letter beyond ASCII.
    const bool utf8 = marked || QUtf8StringView(text).isValidUtf8();

    QStringList lines;
    for (QByteArray raw : platform::splitLines(text)) {
        // A line ended CR CR LF (a CR LF file passed through a text-mode copy) loses every CR.
        while (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = utf8 ? QString::fromUtf8(raw) : fromWindows1252(raw);
        lines.append(withoutFirstCharacter(line));
    }
    return lines;
}

QStringList readLanguageFile(const QString& path) {
    return parseLanguageFile(platform::readFileBytes(path, MaxLanguageFileBytes));
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
