#pragma once

#include <QString>

namespace i18n {

// The numbered user-facing texts: built-in English, replaced by the translation at start-up.
constexpr int MessageCount = 15;

// Fills the table with the built-in English texts.
void initMessageTable();
// Entry n (0..14); an empty text for numbers outside the table.
QString message(int n);
// Replaces entry n (the translation's [Messages] section does this at start-up).
void setMessage(int n, const QString& text);

// The About box text: entry 2, a line break, entry 3, an empty line, entry 4. Line breaks are
// single carriage returns.
QString aboutText();

} // namespace i18n
