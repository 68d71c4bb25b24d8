// Placeholder implementations; replaced by the real settings.
#include "settings/config_store.h"
#include "settings/profiles.h"
#include "settings/settings_model.h"


namespace settings {

QStringList parseConfigLines(const QByteArray&) { return {}; }
QStringList loadConfigLines(const QString&, const QString&) { return {}; }
QString findSetting(const QStringList&, const QString&) { return {}; }
void writeGameProfile(const QString&, const QStringList&) {}
QString globalConfigPath(const QString& f) { return f + QStringLiteral("/Core/mednafen.cfg"); }
QString gameProfilePath(const QString& f, const QString&, const QString& n) {
    return f + QStringLiteral("/Core/pgconfig/") + n + QStringLiteral(".ss.cfg");
}

QString ctlName(Ctl) { return {}; }
SettingsModel::SettingsModel(QObject* parent) : QObject(parent) {}
bool SettingsModel::checked(Ctl) const { return false; }
void SettingsModel::setChecked(Ctl, bool) {}
int SettingsModel::index(Ctl) const { return 0; }
void SettingsModel::setIndex(Ctl, int) {}
void SettingsModel::userSelect(Ctl, int) {}
QStringList SettingsModel::items(Ctl) const { return {}; }
int SettingsModel::position(Ctl) const { return 0; }
void SettingsModel::setPosition(Ctl, int) {}
int SettingsModel::minimum(Ctl) const { return 0; }
int SettingsModel::maximum(Ctl) const { return 0; }
QString SettingsModel::valueBoxText(Ctl) const { return {}; }
QString SettingsModel::text(Ctl) const { return {}; }
void SettingsModel::setText(Ctl, const QString&) {}
bool SettingsModel::enabled(EnableGroup) const { return true; }
int SettingsModel::currentPort() const { return 0; }
int SettingsModel::portDevice(int) const { return 1; }
int SettingsModel::portPadMode(int) const { return 0; }
std::optional<QString> SettingsModel::applySettings(const QStringList&) { return std::nullopt; }
QStringList SettingsModel::collectSettings() const { return {}; }

Profiles::Profiles(SettingsModel& m, const QString& f) : model_(m), folder_(f) {}
void Profiles::selectGame(const QString&, const QString&) {}
QString Profiles::saveProfile(const QString&, const QString&) { return {}; }
QString Profiles::loadProfile(const QString&) { return {}; }
QString Profiles::deleteProfile(const QString&, const QString&) { return {}; }

} // namespace settings
