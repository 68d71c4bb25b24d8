#pragma once

#include <QString>

class QWidget;

namespace i18n {

// The language in force: 0 built-in English, 1 the translation of Res/Lang.dat.
int languageIndex();
void setLanguageIndex(int index);

// Start-up step: loads Res/lang_pic.ico into the language selector's second entry when it
// exists, and, when Res/Lang.dat exists, reads it and applies it to the main window (the
// selector's second caption always, every other text when the language index is 1).
void loadLanguage(const QString& applicationFolder, QWidget* mainWindow);

// Whether a language file was read (the selector's second entry is then a real language).
bool languageLoaded();

// Applied on every activation of the two small windows when the language index is 1.
void applyLanguageToPropertiesWindow(QWidget* form2);
void applyLanguageToCdWindow(QWidget* form3);

} // namespace i18n
