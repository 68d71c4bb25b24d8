#pragma once

#include "settings/settings_model.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace settings {

// The value words that word-list settings store instead of the item texts, index 0 first.
const QStringList& stretchWords();
const QStringList& cartWords();
const QStringList& regionWords();
const QStringList& videoIpWords();
const QStringList& soundRateWords();
const QStringList& soundDriverWords();
const QStringList& deviceWords();
const QStringList& biosLanguageWords();
const QStringList& padModeWords();
// The values "ss.forcemono " accepts: the item indexes of ComboBox11.
const QStringList& monoWords();

enum class ControlKind { PathEdit, CheckBox, List, TrackBar };

// What a control is and the state the window starts with.
struct ControlInfo {
    Ctl ctl;
    const char* name;
    ControlKind kind;
    QStringList items;   // lists
    int minimum = 0;     // track bars
    int maximum = 0;     // track bars
    int initial = 0;     // list index, track bar position, check box state (0/1)
    QString initialText; // path edits
};
const ControlInfo& controlInfo(Ctl ctl);

// How a profile line encodes the state of its control.
enum class Kind {
    Path,          // the edit's text; an empty value keeps the text
    Flag,          // checked when the whole number is > 0; "1" or "0"
    InvertedFlag,  // checked when the whole number is 0; "0" when checked
    WordList,      // index of the exactly equal word; the word of the item index
    ItemText,      // first item beginning with the value, any case; the item text
    ItemIndex,     // the whole number is the item index; the item index
    WholeBar,      // whole-number position; the position
    HundredthsBar, // decimal with the position in hundredths; the value box text
    YScale,        // decimal truncated to the scaling factor; factor + ".000"
    YScaleFs,      // written only: factor + ".000"
    XScale,        // written only: the horizontal scale text
    Scanlines,     // CheckBox10 and TrackBar4 from one whole number
    PortDevice,    // a port's device word
    PortPadMode    // a port's 3D pad mode word
};

// One line of a game profile: its position, key, control, encoding, default (flags and whole
// numbers), word list, and its place in the order in which applySettings reads the lines.
struct SettingRow {
    int line;
    QString key;
    Ctl ctl;
    Kind kind;
    int defaultValue;
    const QStringList* words;
    int readOrder;     // -1 for lines that are written only
    int port = -1;     // 0..8 for the per-port lines
    QString legacyKey; // looked up when the key is missing (older profiles)
};

// The 60 profile lines, in line order.
const std::vector<SettingRow>& settingsTable();
// The same rows in the order applySettings reads them (written-only rows left out).
const std::vector<const SettingRow*>& readSequence();

// Whether the emulator accepts a value for a list setting that the list's items lack (checked
// against mednafen 1.29, which refuses a whole profile for one value it does not accept):
// "blend" and "blend_rg" deinterlacers, the "ar4mp" cart, the "openbsd" sound driver, and any
// playback rate from 22050 to 192000. Letter case is ignored, as the emulator does.
bool acceptedExtraValue(const QString& key, const QString& value);

// A whole number: leading blanks and a sign allowed, nothing after the digits; nullopt for
// anything else, including an empty text and numbers beyond the int range.
std::optional<int> parseWholeNumber(const QString& text);
// A decimal number ("0.5", "-1.25", "2.000000", "1e-2", surrounding blanks allowed) as a count
// of hundredths, finer digits dropped toward zero; computed from the digits, so "0.29" is
// exactly 29. Saturates far beyond any track bar range. nullopt when it is not a number.
std::optional<qint64> parseHundredths(const QString& text);
// Hundredths in shortest decimal form: 50 -> "0.5", 5 -> "0.05", 100 -> "1", -150 -> "-1.5".
QString hundredthsText(qint64 hundredths);
// The horizontal scale: factor 1, or 1.333 for widescreen, times the scaling factor, rounded
// to 4 significant digits and shown with exactly three decimals (8 -> "10.660").
QString horizontalScaleText(int scalingFactor, bool widescreen);

} // namespace settings
