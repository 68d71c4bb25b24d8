#include "settings/profiles.h"

#include "i18n/messages.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "settings/config_store.h"
#include "settings/settings_model.h"
#include "settings/settings_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace settings {

Profiles::Profiles(SettingsModel& model, const QString& applicationFolder)
    : model_(model), folder_(applicationFolder) {}

Profiles::~Profiles() = default;

const SettingsModel* Profiles::globalSettings() const {
    return globalKnown_ ? global_.get() : nullptr;
}

ConfigView Profiles::globalConfig() {
    ConfigView config;
    try {
        const QString path = globalConfigPath(folder_);
        if (isExistingFile(path))
            config.addLayer(globalConfig_.read(path), path);
    } catch (const platform::IoError&) {
        // Nothing known: the caller sees no settings.
    }
    return config;
}

std::vector<Ctl> settingsUnknownTo(const ParsedConfig& emulatorConfig) {
    // The emulator writes each of its settings; a Saturn module lists thousands.
    constexpr int CompleteListLines = 50;
    int settingLines = 0;
    for (const QString& line : emulatorConfig.lines()) {
        if (line.startsWith(QLatin1String("ss.")) && ++settingLines >= CompleteListLines)
            break;
    }
    if (settingLines < CompleteListLines)
        return {};
    std::vector<bool> known(CtlCount, false), listed(CtlCount, false);
    for (const SettingRow& row : settingsTable()) {
        const auto i = static_cast<size_t>(row.ctl);
        listed[i] = true;
        if (emulatorConfig.lineOf(row.key) >= 0 ||
            (!row.legacyKey.isEmpty() && emulatorConfig.lineOf(row.legacyKey) >= 0))
            known[i] = true;
    }
    std::vector<Ctl> unknown;
    for (int i = 0; i < CtlCount; ++i) {
        if (listed[static_cast<size_t>(i)] && !known[static_cast<size_t>(i)])
            unknown.push_back(static_cast<Ctl>(i));
    }
    return unknown;
}

void Profiles::readGlobalSettings() {
    globalKnown_ = false;
    unknown_.clear();
    if (!global_)
        global_ = std::make_unique<SettingsModel>();
    global_->resetToInitial();
    try {
        const QString path = globalConfigPath(folder_);
        if (!isExistingFile(path))
            return;
        const std::shared_ptr<const ParsedConfig> parsed = globalConfig_.read(path);
        unknown_ = settingsUnknownTo(*parsed);
        ConfigView config;
        config.addLayer(parsed, path);
        globalKnown_ = !global_->applySettings(config, SettingsModel::Missing::ReadAsEmpty);
    } catch (const platform::IoError&) {
        // The game's own read reports the file's failure; the tabs just show no differences.
    }
}

void Profiles::selectGame(const QString& gamePath, const QString& gameName) {
    // Nothing of the game shown before may stay: a setting missing from both files takes the
    // control's initial state, and a read that fails leaves the initial state, never a mix.
    model_.resetToInitial();
    readable_ = false;
    globalKnown_ = false;
    try {
        const ConfigView config = loadGameConfig(gameProfilePath(folder_, gamePath, gameName),
                                                 globalConfigPath(folder_), &globalConfig_);
        if (const auto error = model_.applySettings(config, SettingsModel::Missing::ReadAsEmpty))
            throw platform::IoError(*error);
    } catch (const platform::IoError&) {
        model_.resetToInitial();
        throw;
    }
    readable_ = true;
    readGlobalSettings();
}

QString Profiles::saveProfile(const QString& gamePath, const QString& gameName) {
    if (!readable_)
        return QString();
    const QString path = gameProfilePath(folder_, gamePath, gameName);
    writeGameProfile(path, model_.collectSettings());
    profileNames_.insert(QFileInfo(path).fileName());
    return i18n::message(6);
}

QString Profiles::loadProfile(const QString& chosenFile) {
    if (chosenFile.isEmpty())
        return QString(); // the dialog was cancelled
    const SettingsModel::State before = model_.state();
    try {
        // The chosen file, or the global configuration if it has vanished meanwhile.
        const QString global = globalConfigPath(folder_);
        const QString path = isExistingFile(chosenFile) ? chosenFile : global;
        ConfigView config;
        config.addLayer(path == global ? globalConfig_.read(path) : readParsedConfig(path), path);
        if (const auto error = model_.applySettings(config))
            throw platform::IoError(*error);
    } catch (const platform::IoError&) {
        model_.restore(before);
        throw;
    }
    readable_ = true;
    return i18n::message(5);
}

QString Profiles::deleteProfile(const QString& gamePath, const QString& gameName) {
    return removeProfile(gamePath, gameName) ? i18n::message(11) : i18n::message(12);
}

std::optional<Profiles::RemovedProfile> Profiles::removeProfile(const QString& gamePath,
                                                                const QString& gameName) {
    const QString path = gameProfilePath(folder_, gamePath, gameName);
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile()) {
        profileNames_.remove(name);
        return std::nullopt;
    }
    RemovedProfile removed{path, platform::readFileBytes(path)};
    QFile file(path);
    if (!file.remove())
        throw platform::IoError(platform::fileErrorText(path, file.errorString()));
    profileNames_.remove(name);
    return removed;
}

bool Profiles::restoreProfile(const RemovedProfile& removed) {
    if (QFileInfo::exists(removed.path))
        return false;
    platform::writeFileAtomic(removed.path, removed.bytes);
    profileNames_.insert(QFileInfo(removed.path).fileName());
    return true;
}

void Profiles::scanProfiles() {
    profileNames_.clear();
    const QDir folder(platform::joinPath(folder_, QStringLiteral("/Core/pgconfig")));
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    profileNames_ = QSet<QString>(names.begin(), names.end());
}

QString Profiles::existingProfile(const QString& gamePath, const QString& gameName) const {
    if (profileNames_.isEmpty())
        return QString();
    const QString path = gameProfilePath(folder_, gamePath, gameName);
    return profileNames_.contains(QFileInfo(path).fileName()) ? path : QString();
}

} // namespace settings
