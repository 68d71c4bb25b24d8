#include "settings/profiles.h"

#include "i18n/messages.h"
#include "platform/io_error.h"
#include "platform/text_file.h"
#include "settings/config_store.h"
#include "settings/settings_model.h"

#include <QFile>
#include <QFileInfo>

namespace settings {

Profiles::Profiles(SettingsModel& model, const QString& applicationFolder)
    : model_(model), folder_(applicationFolder) {}

void Profiles::apply(const QString& profilePath) {
    const QStringList lines = loadConfigLines(profilePath, globalConfigPath(folder_));
    if (const auto error = model_.applySettings(lines))
        throw platform::IoError(*error);
}

void Profiles::selectGame(const QString& gamePath, const QString& gameName) {
    apply(gameProfilePath(folder_, gamePath, gameName));
}

QString Profiles::saveProfile(const QString& gamePath, const QString& gameName) {
    writeGameProfile(gameProfilePath(folder_, gamePath, gameName), model_.collectSettings());
    return i18n::message(6);
}

QString Profiles::loadProfile(const QString& chosenFile) {
    if (chosenFile.isEmpty())
        return QString(); // the dialog was cancelled
    apply(chosenFile);
    return i18n::message(5);
}

QString Profiles::deleteProfile(const QString& gamePath, const QString& gameName) {
    const QString path = gameProfilePath(folder_, gamePath, gameName);
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return i18n::message(12);
    if (!file.remove())
        throw platform::IoError(platform::fileErrorText(path, file.errorString()));
    return i18n::message(11);
}

} // namespace settings
