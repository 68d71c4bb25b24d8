#pragma once

#include <QSet>
#include <QString>

namespace settings {

class SettingsModel;

// What the user does with a game's profile: selecting a game shows its profile (or the global
// configuration), saving writes the panel as the profile, loading fills the panel from any
// file, deleting removes the profile. Each returns the status text to show; failures throw
// platform::IoError with the text for an error box.
class Profiles {
public:
    Profiles(SettingsModel& model, const QString& applicationFolder);

    void selectGame(const QString& gamePath, const QString& gameName);
    QString saveProfile(const QString& gamePath, const QString& gameName);
    QString loadProfile(const QString& chosenFile);
    QString deleteProfile(const QString& gamePath, const QString& gameName);

    // Lists Core/pgconfig once and remembers its file names; saving and deleting keep the
    // names current, so asking which games have a profile costs no file test per game.
    void scanProfiles();
    // The profile file the emulator reads for the game when it exists, otherwise empty.
    QString existingProfile(const QString& gamePath, const QString& gameName) const;

private:
    // Reads the file (or the global configuration when it is missing) into the model.
    void apply(const QString& profilePath);

    SettingsModel& model_;
    QString folder_;
    QSet<QString> profileNames_;
};

} // namespace settings
