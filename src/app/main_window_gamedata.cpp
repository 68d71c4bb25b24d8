// Play time and save data: the window only wires the game data subsystem to the list, the
// launcher and the properties window.

#include "app/main_window.h"

#include "controls/dialogs.h"
#include "gamedata/game_data_panel.h"
#include "gamedata/play_text.h"
#include "gamedata/play_tracker.h"
#include "i18n/messages.h"
#include "launch/launcher.h"
#include "library/game_list.h"
#include "library/properties_window.h"
#include "settings/profiles.h"

#include <QAction>
#include <QMenu>

void TForm1::wireGameData() {
    playTracker_ = std::make_unique<gamedata::PlayTracker>(paths_.folder);
    const QString error = playTracker_->startUp();
    if (!error.isEmpty())
        showError(error);

    // A played game's tooltip ends with its play time.
    library::GameListModel* model = gameList_->model();
    model->setTipLine([this](const library::GameRecord& game) {
        const gamedata::PlayStats stats = playTracker_->log().stats(game.path);
        return stats.played() ? gamedata::playedText(stats) : QString();
    });

    connect(launcher_, &launch::GameLauncher::gameStarted, this,
            [this](const QString& path) { playTracker_->gameStarted(path); });
    connect(launcher_, &launch::GameLauncher::gameEnded, this, [this](const QString&, bool normal) {
        QString failure;
        const QString played = playTracker_->gameEnded(normal, &failure);
        if (!played.isEmpty())
            setStatus(played);
        gameList_->model()->refreshProfileMarkers();
        if (!failure.isEmpty())
            showError(failure);
    });

    // "Recently played first" follows "Undo" in the list's menu. Games never played keep their
    // order after the played ones; Ctrl+Z gives the rows their order back.
    auto* recent = new QAction(i18n::message(i18n::Extra::RecentlyPlayed), PopupMenu1);
    recent->setObjectName(QStringLiteral("Recentlyplayed1"));
    PopupMenu1->insertAction(PopupMenu1->actions().value(PopupMenu1->actions().indexOf(Undo1) + 1),
                             recent);
    connect(recent, &QAction::triggered, this, [this] {
        if (gameList_->busy())
            return;
        guarded([&] {
            gameList_->sortByKeyDescending([this](const library::GameRecord& game) {
                const gamedata::PlayStats stats = playTracker_->log().stats(game.path);
                return stats.played() ? stats.lastEnd : qint64(-1);
            });
        });
        ListView1SelectItem();
    });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this, recent] {
        recent->setEnabled(!gameList_->busy() && gameList_->model()->count() > 1);
    });

    // The properties window shows the game's play time and save files.
    if (form2_) {
        auto* panel = new gamedata::GameDataPanel(paths_.folder, playTracker_->log());
        panel->setRunningCheck([this] { return launcher_ && launcher_->running(); });
        form2_->setExtension(panel, [this, panel](const QString& path) {
            const int row = gameList_->model()->rowOf(path);
            const QString name = row >= 0 ? gameList_->model()->at(row).gameName : QString();
            panel->showGame(path, profiles_->existingProfile(path, name));
        });
    }
}

void TForm1::keepPlayTime(const QString& from, const QString& to) {
    if (from == to || !playTracker_->log().stats(from).played())
        return;
    const QString failure = playTracker_->renameGame(from, to);
    if (!failure.isEmpty()) {
        showError(failure);
        return;
    }
    gameList_->attachUndo([this, from, to] { return playTracker_->renameGame(to, from); });
}
