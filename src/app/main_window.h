#pragma once

#include "app/app_paths.h"
#include "app/emulator_check.h"
#include "app/launcher_settings.h"
#include "controls/borderless_window.h"
#include "library/game_filter.h"
#include "platform/io_error.h"
#include "settings/profiles.h"

#include <QWidget>
#include <functional>
#include <memory>

class CompactTabStyle;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QShortcut;
class QSystemTrayIcon;
class QTableView;
class QToolButton;

namespace controls {
class GradientBar;
class TXiButton;
class TXiPanel;
} // namespace controls
namespace library {
class GameList;
class TForm2;
} // namespace library
namespace settings {
class Profiles;
class SettingsModel;
class SettingsPanel;
class UnsavedTracker;
} // namespace settings
namespace gamedata {
class PlayTracker;
}
namespace launch {
class GameLauncher;
class TForm3;
} // namespace launch

// The main window: a fixed-size borderless window with its own title bar, the game list, the
// settings tabs, the profile buttons, the language and skins selectors and the status bar.
class TForm1 : public controls::BorderlessWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Places the window in the middle of its screen's free area, its title bar kept on it.
    void centerOnDesktop();

    // Hands over the two smaller windows, created right after this one.
    void attachWindows(launch::TForm3* form3, library::TForm2* form2);

    // Replaces how the launcher starts itself again (tests).
    void setRestarter(std::function<bool(const QString&)> restarter);

    // Another start in this folder asked for the window: it comes to the front, unless it is
    // hidden while the emulator runs.
    void bringToFront();

    const AppPaths& paths() const { return paths_; }
    const LauncherSettings& settingsInForce() const { return launcherSettings_; }
    library::GameList* gameList() const { return gameList_.get(); }
    settings::SettingsModel* settingsModel() const { return settingsModel_.get(); }
    int currentSkin() const;
    QString statusText() const;
    QString countText() const;

    // The list filter: Ctrl+F shows the field, Escape clears and hides it. Rows that do not
    // match are hidden in the view only; the model's rows, List.ini and every command stay
    // on all rows, and view and model rows keep the same numbers.
    void showFilter();
    void hideFilter();
    QLineEdit* filterField() const { return filterEdit_; }

    // Handlers, under the names of the window design.
    void FormActivate();
    void PopupMenu1Popup();
    void Addgames1Click();
    void Addfolder1Click();
    void Deleteitem1Click();
    void Clearlist2Click();
    void Deletegameprofile1Click();
    void Resettoglobal1Click();
    // Shows the application folder in the desktop's file manager.
    void Openfolder1Click();
    void Gameproperties1Click();
    void ListView1SelectItem();
    void ListView1ColumnClick(int column);
    void ListView1DblClick();
    void XiButton1Click();
    void XiButton2Click();
    void XiButton7Click();
    void ComboBoxEx1Change(int index);
    void ComboBox14Change(int index);
    void LaunchSelectedGame();
    // "Map controls..." on the Controls tab: the mapping window of the shown port and device.
    void MapControlsClick();
    // Commands for games that went missing and for mistakes: look at the list again (F5),
    // remove the missing games, undo the last removal (Ctrl+Z).
    void Checkagain1Click();
    void Removemissing1Click();
    void Undo1Click();
    // Names each file the last batch of games did not add, with the reason.
    void Details1Click();

    // Whether the tabs hold changes to the shown game's settings that were not saved since they
    // were read or saved.
    bool settingsUnsaved() const;

    // The selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);

    // Public for tests: the popup menu's entries and the widgets the rules act on.
    QMenu* popupMenu() const { return PopupMenu1; }
    QTableView* listView() const { return ListView1; }
    settings::SettingsPanel* pageControl() const { return PageControl1; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void activated() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void layOutTitleBar();
    void startUp();
    void applySkin(int skinIndex);
    void applyWarningRule();
    void applySelectionRule();
    void setStatus(const QString& text);
    void showProgress(int done, int total);
    void endProgress(const QString& statusBefore);
    std::function<bool(int, int)> batchProgress();
    void restart();
    // The launcher settings in force with the selected game, the open settings tab and the
    // folder games were added from last.
    LauncherSettings placeNow() const;
    QString gamesFolder();
    void restorePlace();
    // Adds files and folders in one batch (the folder entry and dropped files); Escape ends the
    // batch early.
    void addPaths(const QStringList& paths);
    bool dropOnList(QEvent* event);
    void filterRows(int first, int last);
    void applyFilter();
    void showCount();
    void fitCountPanel();
    void showError(const QString& text);
    void emulatorStarted();
    void emulatorFinished();
    // Before the tabs' game changes or the window goes: unsaved changes are saved or dropped as
    // the user answers; a discard reads the game's stored settings back unless
    // `reloadOnDiscard` is false (another game's are read next). False when the user cancels.
    bool settleUnsavedSettings(bool reloadOnDiscard = true);
    void readGameSettings(QString path, QString name);
    void showSelectorsInForce();
    // The tabs now hold what the shown game's profile holds.
    void settingsInStore();
    void showUnsavedMark();
    void popUpListMenuAtCurrentRow();
    // The Controls tab follows the mapping of the port and device it shows.
    void buildInputCommands();
    void showNoKeysNotice();
    // The library's commands: menu entries, keys and texts.
    void buildLibraryCommands();
    void applyLibraryTexts();
    // Acting on a missing or unreadable game explains why it cannot be played and offers to
    // locate or remove it; false for a game that is there.
    bool explainAbsentGame(int row);
    void locateGame(int row);
    // Undoes "Delete profile": the file back as it was, and the tabs showing it.
    void restoreProfile(const settings::Profiles::RemovedProfile& removed, const QString& path,
                        const QString& name);
    // Looks at a game not checked yet before it is launched; false when it cannot be launched.
    bool checkBeforeLaunch(int row);
    // Play time and save data: the tracker, the list's tooltips and order, the properties panel.
    void wireGameData();
    // A located game's play time follows its new entry; Ctrl+Z moves it back with the row.
    void keepPlayTime(const QString& from, const QString& to);
    void cycleSettingsTab(int step);
    void fitLanguageSelectorPopup();
    // Runs the action; a file failure in it shows its error box.
    template <typename F> void guarded(F&& action) {
        try {
            action();
        } catch (const platform::IoError& error) {
            showError(error.text());
        }
    }

    AppPaths paths_;
    LauncherSettings launcherSettings_;
    EmulatorCheck emulatorCheck_{QString()};
    bool ending_ = false;
    bool checkPending_ = false;
    QString progressText_;
    std::function<bool(const QString&)> restarter_;

    QString saveCaption_; // "Save profile" without the unsaved mark
    bool revertingSelection_ = false;
    QString gamesFolder_; // where "Add games" or "Add folder..." was used last

    std::unique_ptr<CompactTabStyle> compactTabStyle_;
    std::unique_ptr<library::GameList> gameList_;
    std::unique_ptr<settings::SettingsModel> settingsModel_;
    std::unique_ptr<settings::Profiles> profiles_;
    // The game whose settings the tabs show, and whether they hold unsaved changes.
    std::unique_ptr<settings::UnsavedTracker> unsaved_;
    launch::GameLauncher* launcher_ = nullptr;
    std::unique_ptr<gamedata::PlayTracker> playTracker_;
    launch::TForm3* form3_ = nullptr;
    library::TForm2* form2_ = nullptr;

    // Controls under their design names.
    controls::GradientBar* BarTitle = nullptr;
    QLabel* BIcon = nullptr;
    QLabel* BTitle = nullptr;
    controls::GradientBar* BarMini = nullptr;
    QToolButton* BMini = nullptr;
    controls::GradientBar* BarExit = nullptr;
    QToolButton* BExit = nullptr;
    QComboBox* ComboBoxEx1 = nullptr;
    QTableView* ListView1 = nullptr;
    settings::SettingsPanel* PageControl1 = nullptr;
    controls::TXiPanel* Xpanel14 = nullptr;
    QLabel* Label30 = nullptr;
    QLabel* Label17 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    controls::TXiButton* XiButton1 = nullptr;
    controls::TXiButton* XiButton2 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QComboBox* ComboBox14 = nullptr;
    QWidget* StatusBar1 = nullptr;
    QLabel* StatusPanels[4] = {};
    QString status_; // the status text whole; panel 3 may show it shortened
    controls::TXiButton* XiButton7 = nullptr;
    QLineEdit* filterEdit_ = nullptr;
    library::GameFilter filter_;
    QMenu* PopupMenu1 = nullptr;
    QAction* Addgames1 = nullptr;
    QAction* Addfolder1 = nullptr;
    QShortcut* cancelBatch_ = nullptr;
    QAction* Deleteitem1 = nullptr;
    QAction* Clearlist2 = nullptr;
    QAction* Deletegameprofile1 = nullptr;
    QAction* Resettoglobal1 = nullptr;
    QAction* Openfolder1 = nullptr;
    QAction* Gameproperties1 = nullptr;
    QAction* Removemissing1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Checkagain1 = nullptr;
    QSystemTrayIcon* TrayIcon1 = nullptr;
};
