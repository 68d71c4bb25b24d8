#pragma once

#include "settings/config_store.h"

#include "settings/settings_model.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace settings {

// The controls whose settings the emulator does not know: none of their keys is in its own
// configuration, which lists every setting it knows (hundreds of "ss." lines). A file that holds
// only a few settings (not written by the emulator) tells nothing, so nothing is returned.
std::vector<Ctl> settingsUnknownTo(const ParsedConfig& emulatorConfig);

// What the user does with a game's profile: selecting a game shows its profile over the global
// configuration, saving writes the panel as the profile, loading fills the panel from any
// file, deleting removes the profile. Each returns the status text to show; failures throw
// platform::IoError with the text for an error box.
class Profiles {
public:
    Profiles(SettingsModel& model, const QString& applicationFolder);
    ~Profiles();

    // Shows the game's configuration as the emulator reads it: every setting from the profile,
    // else from the global configuration, else the control's initial state. When the read
    // fails the controls return to their initial state and the panel is not readable.
    void selectGame(const QString& gamePath, const QString& gameName);
    // Writes nothing and returns an empty status while the panel is not readable: it would
    // write settings that were never read for this game.
    QString saveProfile(const QString& gamePath, const QString& gameName);
    // Changes only the settings the file has lines for; a file that fails leaves every control
    // as it was. A successful load makes the panel readable again.
    QString loadProfile(const QString& chosenFile);
    QString deleteProfile(const QString& gamePath, const QString& gameName);

    // A profile "Delete profile" took, kept whole so that the deletion can be undone.
    struct RemovedProfile {
        QString path;
        QByteArray bytes;
    };
    // Removes the game's profile and gives its bytes; nothing when the game has none. The file
    // is read whole before it goes: one that cannot be read stays.
    std::optional<RemovedProfile> removeProfile(const QString& gamePath, const QString& gameName);
    // Puts a removed profile back byte for byte. False, writing nothing, when a profile was
    // saved there since: the newer one stays.
    bool restoreProfile(const RemovedProfile& removed);

    // Whether the controls show a configuration that was read whole (false after a failed
    // selection, until a selection or a load succeeds).
    bool readable() const { return readable_; }

    // The settings the global configuration alone gives, read as a game's are, after the last
    // successful selection; null when it could not be read (then nothing differs from it).
    const SettingsModel* globalSettings() const;
    // The global configuration as it is on disk now, read again only when it changed; empty
    // when it is missing or cannot be read.
    ConfigView globalConfig();

    // The controls whose settings the emulator's global configuration lacks (see
    // settingsUnknownTo), after the last successful selection.
    const std::vector<Ctl>& unknownSettings() const { return unknown_; }

    // Lists Core/pgconfig once and remembers its file names; saving and deleting keep the
    // names current, so asking which games have a profile costs no file test per game.
    void scanProfiles();
    // The profile file the emulator reads for the game when it exists, otherwise empty.
    QString existingProfile(const QString& gamePath, const QString& gameName) const;
    // How often the global configuration was read from disk (for tests).
    int globalConfigReads() const { return globalConfig_.reads(); }

private:
    void readGlobalSettings();

    SettingsModel& model_;
    std::unique_ptr<SettingsModel> global_;
    bool globalKnown_ = false;
    std::vector<Ctl> unknown_;
    QString folder_;
    bool readable_ = true;
    QSet<QString> profileNames_;
    // The global configuration, parsed once and read again only when it changes on disk.
    ConfigFileCache globalConfig_;
};

} // namespace settings
