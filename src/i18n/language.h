#pragma once

#include <QIcon>
#include <QString>

class QWidget;

namespace i18n {

class LanguageText;

// The language in force: 0 built-in English, 1 the translation of Res/Lang.dat. Any other
// value (a damaged Main.ini) is taken as 0.
int languageIndex();
void setLanguageIndex(int index);

// Start-up step, after setLanguageIndex has taken the value of Main.ini: loads
// Res/lang_pic.ico into the language selector's second entry when it exists, and, when
// Res/Lang.dat exists, reads it and applies it to the main window (the selector's second caption
// and its selection always, every other text and the message table when the language index is
// 1). With the translation in force it also installs the toolkit's own translation for the
// file's [Locale] when the system has it. Controls are found by object name under the main
// window. Throws platform::IoError when Lang.dat exists but cannot be read; the texts then stay
// English.
void loadLanguage(const QString& applicationFolder, QWidget* mainWindow);

// The locale the language file names in its [Locale] section ("de", "pt_BR"), trimmed; empty
// without the section or when the entry is no locale name (letters, digits, "_" and "-").
QString localeName(const LanguageText& text);

// The toolkit's own translation (file dialogs, standard buttons) that loadLanguage installed for
// the translation's locale: the .qm file's path, empty when none is in force. It is loaded only
// with the translation in force, from the toolkit's translations folder.
QString toolkitTranslationFile();

// Whether a language file was read (the selector's second entry is then a real language).
bool languageLoaded();

// Applied on every activation of the two small windows; they do nothing unless a language file
// was read and the language index is 1.
void applyLanguageToPropertiesWindow(QWidget* form2);
void applyLanguageToCdWindow(QWidget* form3);

// The main window's share of loadLanguage, for the language already read.
void applyLanguageToMainWindow(QWidget* form1);

// The flag of the translation read from Res/lang_pic.ico (null when there was none or it could
// not be decoded). loadLanguage has already given it to the selector's second entry.
QIcon languageIcon();

// The language file as read at start-up (empty without one).
const LanguageText& languageText();

// Whether picking entry `picked` of the language selector restarts the launcher: not for the
// language in force, and not while the second entry still reads "???" (no language file).
bool languageChangeRestarts(int picked, int languageInForce, const QString& item1Caption);

} // namespace i18n
