// Placeholder until the language file is read.
#include "i18n/language.h"

namespace i18n {
namespace {
int lang = 0;
}
int languageIndex() { return lang; }
void setLanguageIndex(int index) { lang = index; }
void loadLanguage(const QString&, QWidget*) {}
bool languageLoaded() { return false; }
void applyLanguageToPropertiesWindow(QWidget*) {}
void applyLanguageToCdWindow(QWidget*) {}
} // namespace i18n
