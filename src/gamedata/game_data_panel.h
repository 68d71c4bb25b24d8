#pragma once

#include "gamedata/save_files.h"

#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QTreeWidget;

namespace controls {
class TXiButton;
}

namespace gamedata {

class PlayLog;

// The part of the game properties window that tells what the game holds: its play time and
// its save files (kind, size, time), with buttons that show their folder and put a backup back.
class GameDataPanel : public QWidget {
    Q_OBJECT

public:
    GameDataPanel(const QString& applicationFolder, const PlayLog& log, QWidget* parent = nullptr);

    // Fills the panel for the game (its List.ini entry) and the profile the emulator reads for
    // it (empty when it has none).
    void showGame(const QString& gamePath, const QString& profilePath);

    // Shows a folder in the desktop's file manager (tests replace it).
    void setFolderOpener(std::function<void(const QString&)> opener) {
        openFolder_ = std::move(opener);
    }
    // Whether the emulator runs now: save files are then left alone.
    void setRunningCheck(std::function<bool()> running) { running_ = std::move(running); }

    void OpenFolderClick();
    void RestoreClick();

    const std::vector<SaveFile>& files() const { return files_; }
    QLabel* playLabel() const { return playLabel_; }
    QTreeWidget* saveList() const { return saveList_; }

    // The kind of a save file in words ("Backup memory", "State slot 3").
    static QString kindText(const SaveFile& file);

private:
    // False when the save files could not be looked at (the program is ending, or a look is
    // already under way).
    bool refresh();

    QString folder_;
    QString core_;
    const PlayLog& log_;
    QString gamePath_;
    QString profilePath_;
    SaveRules rules_;
    std::vector<SaveFile> files_;
    QLabel* playLabel_;
    QLabel* heading_;
    QTreeWidget* saveList_;
    controls::TXiButton* openFolderButton_;
    controls::TXiButton* restoreButton_;
    std::function<void(const QString&)> openFolder_;
    std::function<bool()> running_;
    bool searching_ = false;
};

} // namespace gamedata
