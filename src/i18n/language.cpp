#include "i18n/language.h"

#include "i18n/language_file.h"
#include "i18n/text_bindings.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPixmap>
#include <QRegularExpression>
#include <QTranslator>

#include <algorithm>

namespace i18n {

namespace {

int lang = 0;
LanguageText language;
bool loaded = false;
QIcon flag;
QTranslator* toolkitTranslator = nullptr; // owned by the application object

// Every picture the icon file holds, so the selector can draw the size it needs; a file that
// holds no readable picture gives a null icon.
QIcon readIcon(const QString& path) {
    QIcon icon;
    QImageReader reader(path);
    const int count = std::max(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

void loadLanguageIcon(const QString& path, QWidget* mainWindow) {
    flag = readIcon(path);
    if (flag.isNull())
        return;
    if (auto* selector = qobject_cast<QComboBox*>(findControl(mainWindow, "ComboBoxEx1"))) {
        if (selector->count() > 1)
            selector->setItemIcon(1, flag);
    }
}

void removeToolkitTranslation() {
    if (!toolkitTranslator)
        return;
    QCoreApplication::removeTranslator(toolkitTranslator);
    delete toolkitTranslator;
    toolkitTranslator = nullptr;
}

// qtbase_<locale>.qm from the toolkit's translations folder; "de_AT" falls back to "de".
void loadToolkitTranslation() {
    removeToolkitTranslation();
    const QString locale = localeName(language);
    if (locale.isEmpty() || !QCoreApplication::instance())
        return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString file = QStringLiteral("qtbase_") + QString(locale).replace(u'-', u'_');
    if (!translator->load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    toolkitTranslator = translator;
}

} // namespace

QString localeName(const LanguageText& text) {
    static const QRegularExpression name(QStringLiteral("^[A-Za-z]{2,3}([_-][A-Za-z0-9]{1,8})*$"));
    const QString entry =
        platform::trimLowCodes(text.entry(QStringLiteral("[Locale]"), 1).value_or(QString()));
    return name.match(entry).hasMatch() ? entry : QString();
}

QString toolkitTranslationFile() {
    return toolkitTranslator ? toolkitTranslator->filePath() : QString();
}

int languageIndex() {
    return lang;
}

void setLanguageIndex(int index) {
    lang = index == 1 ? 1 : 0;
}

void loadLanguage(const QString& applicationFolder, QWidget* mainWindow) {
    language = LanguageText();
    loaded = false;
    flag = QIcon();
    removeToolkitTranslation();

    const QString iconPath = platform::joinPath(applicationFolder, "/Res/lang_pic.ico");
    // A picture reader would wait on a pipe; anything but a regular file shows no flag.
    if (platform::fileExists(iconPath) &&
        platform::isRegularFile(platform::resolveFileCase(iconPath)))
        loadLanguageIcon(platform::resolveFileCase(iconPath), mainWindow);

    const QString filePath = platform::joinPath(applicationFolder, "/Res/Lang.dat");
    if (!platform::fileExists(filePath))
        return;
    language = LanguageText(readLanguageFile(platform::resolveFileCase(filePath)));
    loaded = true;
    if (lang == 1)
        loadToolkitTranslation();
    applyLanguageToMainWindow(mainWindow);
}

bool languageLoaded() {
    return loaded;
}

void applyLanguageToMainWindow(QWidget* form1) {
    if (loaded)
        applyTexts(Form::Main, form1, language, lang);
}

void applyLanguageToPropertiesWindow(QWidget* form2) {
    if (loaded && lang == 1)
        applyTexts(Form::Properties, form2, language, lang);
}

void applyLanguageToCdWindow(QWidget* form3) {
    if (loaded && lang == 1)
        applyTexts(Form::Cd, form3, language, lang);
}

QIcon languageIcon() {
    return flag;
}

const LanguageText& languageText() {
    return language;
}

bool languageChangeRestarts(int picked, int languageInForce, const QString& item1Caption) {
    return picked != languageInForce && item1Caption != QLatin1String("???");
}

} // namespace i18n
