#pragma once

#include "i18n/messages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace i18n {

// One section of the language file and the number of entries the launcher reads from it.
struct LanguageSection {
    const char* header; // the bracketed name, e.g. "[Menu]"
    int entries;
};

// Every section the launcher reads, in the order they are applied to the main window; the
// optional [Locale] (the translation's locale, e.g. "de", for the toolkit's own texts) is read
// when the file is loaded.
inline constexpr LanguageSection languageSections[] = {
    {"[Language]", 1},    {"[Locale]", 1},      {"[List]", 3},    {"[Pages]", 6},
    {"[Panels]", 13},     {"[Fields]", 12},     {"[Labels]", 20}, {"[Buttons]", 6},
    {"[Checkboxes]", 15}, {"[Comboboxes]", 50}, {"[Frames]", 6},  {"[Statusbar]", 2},
    {"[Menu]", 5},        {"[Messages]", 15},   {"[Hints]", 30},  {"[Extras]", ExtraCount},
};

// The lines of a language file, each with its first character removed (an empty line stays
// empty). A line ends at a line feed; every carriage return before it is dropped. A file that
// starts with a UTF-8 byte order mark is UTF-8 (the mark is not the first character of the
// first line); without the mark the file is UTF-8 when it is valid UTF-8, else Windows-1252.
// Every platform reads a file alike.
QStringList parseLanguageFile(const QByteArray& bytes);

// A translation is a few hundred short lines; a file past this bound is no language file and is
// never read whole.
constexpr qint64 MaxLanguageFileBytes = 4 << 20;

// Reads and parses a language file; throws platform::IoError when it cannot be read, is no
// regular file or is longer than the bound.
QStringList readLanguageFile(const QString& path);

// Index of the section's header line: the first line that begins with the header, compared
// exactly (letter case counts; a line shorter than the header never matches). -1 when no line
// matches.
int findSection(const QStringList& lines, const QString& header);

// The lines of a language file with the section lookup: entry k (from 1) of a section is the
// k-th line after its header line. Nothing ends a section, so a short section runs on into the
// lines that follow it.
class LanguageText {
public:
    LanguageText() = default;
    explicit LanguageText(QStringList lines) : lines_(std::move(lines)) {}

    const QStringList& lines() const { return lines_; }
    bool isEmpty() const { return lines_.isEmpty(); }

    // Entry k of the section, or nothing when the section is missing or the file ends before
    // that entry: the caller then keeps its English text. An empty line is an empty text.
    std::optional<QString> entry(const QString& header, int k) const;

private:
    QStringList lines_;
};

} // namespace i18n
