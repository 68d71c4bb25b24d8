#pragma once

#include <QString>
#include <QStringList>

namespace settings {

class SettingsModel;

// The game whose settings the panel shows and the profile lines the panel held when they were
// last read or saved: whether the panel holds changes that are not saved.
class UnsavedTracker {
public:
    explicit UnsavedTracker(const SettingsModel& model) : model_(model) {}

    // The panel now shows this game's settings; an empty path: no game's.
    void showGame(const QString& path, const QString& name);
    const QString& path() const { return path_; }
    const QString& name() const { return name_; }

    // The panel now holds what the shown game's profile holds.
    void markStored();
    // Whether a game is shown and the panel differs from what was last read or saved.
    bool unsaved() const;

private:
    const SettingsModel& model_;
    QString path_;
    QString name_;
    QStringList stored_;
};

} // namespace settings
