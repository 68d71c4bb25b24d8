// The list's commands for games that went missing and for mistakes: looking at the games again,
// acting on a missing game (locate or remove it), removing the missing games, and undo; and
// where the application folder is: showing it, and the About box that names it.

#include "app/main_window.h"

#include "controls/dialogs.h"
#include "controls/run_beside.h"
#include "gamedata/save_rename.h"
#include "i18n/messages.h"
#include "launch/launcher.h"
#include "library/game_list.h"
#include "platform/text_file.h"
#include "settings/config_store.h"
#include "settings/profiles.h"
#include "settings/unsaved_tracker.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTableView>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>

void TForm1::buildLibraryCommands() {
    const auto addAction = [this](const char* name, void (TForm1::*slot)(),
                                  const QKeySequence& keys, QAction* before) {
        auto* action = new QAction(PopupMenu1);
        action->setObjectName(QString::fromLatin1(name));
        PopupMenu1->insertAction(before, action);
        connect(action, &QAction::triggered, this, slot);
        // The menu shows the key; the window's own shortcut runs the command.
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(new QShortcut(keys, this), &QShortcut::activated, this, slot);
        return action;
    };
    // After "Clear list": the commands that change which rows the list holds.
    QAction* afterClear =
        PopupMenu1->actions().value(PopupMenu1->actions().indexOf(Clearlist2) + 1);
    Removemissing1 =
        addAction("Removemissing1", &TForm1::Removemissing1Click, QKeySequence(), afterClear);
    Undo1 = addAction("Undo1", &TForm1::Undo1Click, QKeySequence::Undo, afterClear);
    Checkagain1 =
        addAction("Checkagain1", &TForm1::Checkagain1Click, QKeySequence(Qt::Key_F5), afterClear);
    // After "Add folder...": what the last batch did not add, and why.
    QAction* afterAddFolder =
        PopupMenu1->actions().value(PopupMenu1->actions().indexOf(Addfolder1) + 1);
    auto* details = new QAction(PopupMenu1);
    details->setObjectName(QStringLiteral("Details1"));
    PopupMenu1->insertAction(afterAddFolder, details);
    connect(details, &QAction::triggered, this, &TForm1::Details1Click);
    applyLibraryTexts();

    connect(gameList_.get(), &library::GameList::checked, this, [this] { applySelectionRule(); });
}

void TForm1::Details1Click() {
    const QStringList& refusals = gameList_->batchRefusals();
    if (refusals.isEmpty())
        return;
    // A box stays within the screen: a long list names its first files and how many more.
    constexpr qsizetype Shown = 30;
    QStringList lines = refusals.mid(0, Shown);
    if (refusals.size() > Shown)
        lines << i18n::message(i18n::Extra::MoreRefused).arg(refusals.size() - Shown);
    controls::dialogs().information(this, lines.join(QChar(13)));
}

void TForm1::applyLibraryTexts() {
    Removemissing1->setText(i18n::message(i18n::Extra::RemoveMissing));
    Undo1->setText(i18n::message(i18n::Extra::Undo));
    Checkagain1->setText(i18n::message(i18n::Extra::CheckAgain));
    PopupMenu1->findChild<QAction*>(QStringLiteral("Details1"))
        ->setText(i18n::message(i18n::Extra::BatchDetails));
}

void TForm1::Checkagain1Click() {
    gameList_->checkAgain(true);
}

void TForm1::Removemissing1Click() {
    if (gameList_->busy() || gameList_->model()->missingCount() == 0 || !settleUnsavedSettings())
        return;
    guarded([&] { gameList_->removeMissing(); });
    applyWarningRule();
    ListView1SelectItem();
}

void TForm1::Undo1Click() {
    if (gameList_->busy() || !gameList_->canUndo())
        return;
    guarded([&] { gameList_->undo(); });
    if (!gameList_->lastUndoError().isEmpty())
        showError(gameList_->lastUndoError());
    // An undone "Locate..." may have given a profile its old name back.
    profiles_->scanProfiles();
    gameList_->model()->refreshProfileMarkers();
    applyWarningRule();
    ListView1SelectItem();
}

bool TForm1::explainAbsentGame(int row) {
    const library::GameRecord& game = gameList_->model()->at(row);
    if (!game.absent())
        return false;
    const int choice = controls::dialogs().choose(this, gameList_->model()->absenceText(game),
                                                  {i18n::message(i18n::Extra::LocateButton),
                                                   i18n::message(i18n::Extra::RemoveFromList),
                                                   i18n::message(i18n::Extra::CancelButton)});
    if (choice == 0)
        locateGame(row);
    else if (choice == 1 && selectedRow() == row)
        Deleteitem1Click();
    return true;
}

namespace {

// A storage that does not answer within this time leaves the dialog at its own folder.
constexpr int NearestFolderWaitMs = 500;
// A launch tells in the status that it is still looking at its game after this time.
constexpr int LaunchCheckSlowMs = 500;

// The folder nearest to the path that exists: the file dialog opens there.
QString nearestFolder(const QString& path) {
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return QString();
        folder = parent;
    }
    return folder;
}

} // namespace

bool TForm1::checkBeforeLaunch(int row) {
    // A second launch while the first still looks at its game waits for the first.
    static bool looking = false;
    if (looking)
        return false;
    QScopedValueRollback<bool> lookingNow(looking, true);
    const library::GameRecord game = gameList_->model()->at(row);
    library::CheckedGame checked;
    const bool done = controls::runBeside<library::CheckedGame>(
        [path = game.path] { return library::checkGame(path); }, checked, -1, LaunchCheckSlowMs,
        [&] { setStatus(i18n::message(i18n::Extra::CheckingGame).arg(game.gameName)); });
    if (!done || selectedRow() < 0 || gameList_->model()->at(selectedRow()).path != game.path)
        return false; // ending, or another game was picked meanwhile
    if (statusText() == i18n::message(i18n::Extra::CheckingGame).arg(game.gameName))
        setStatus(QString());
    if (checked.outcome == library::CheckedGame::Outcome::NotSaturn) {
        setStatus(i18n::message(3));
        return false;
    }
    gameList_->applyChecked(game.path, checked);
    return true;
}

namespace {

// Renames the profile (when `profile` names one) and the save files with a located game, all or
// none, and lets Ctrl+Z rename them back with the row. Nothing is renamed while the emulator
// runs: it writes the save files when it ends.
void renameWithGame(QWidget* window, library::GameList& list, const launch::GameLauncher* launcher,
                    const gamedata::Rename& profile, const gamedata::RenamePlan& saves) {
    if (launcher && launcher->running()) {
        controls::dialogs().error(window, i18n::message(i18n::Extra::EmulatorRunningNow));
        return;
    }
    std::vector<gamedata::Rename> renames;
    if (!profile.from.isEmpty())
        renames.push_back(profile);
    renames.insert(renames.end(), saves.renames.begin(), saves.renames.end());
    const QString failure = gamedata::runRenames(renames);
    QStringList errors;
    if (!failure.isEmpty())
        errors << failure;
    for (const QString& clash : saves.clashes)
        errors << i18n::message(i18n::Extra::SaveRenameClash).arg(clash);
    if (!errors.isEmpty())
        controls::dialogs().error(window, errors.join(QChar(13)));
    if (!failure.isEmpty() || renames.empty())
        return;
    list.attachUndo([launcher, back = gamedata::reversedRenames(renames)] {
        if (launcher && launcher->running())
            return i18n::message(i18n::Extra::EmulatorRunningNow);
        return gamedata::runRenames(back);
    });
}

} // namespace

void TForm1::locateGame(int row) {
    if (gameList_->busy())
        return;
    const library::GameRecord before = gameList_->model()->at(row);
    // Looked for beside the window: the game's drive may be asleep or gone.
    QString folder;
    if (!controls::runBeside<QString>([path = before.path] { return nearestFolder(path); }, folder,
                                      NearestFolderWaitMs))
        folder.clear();
    if (gameList_->model()->rowOf(before.path) != row)
        return; // the list changed meanwhile
    const QString file = controls::dialogs().openFile(
        this, i18n::message(i18n::Extra::FilterImages) + QStringLiteral(" (*.cue *.ccd *.m3u)"),
        folder);
    if (file.isEmpty())
        return;
    // The chosen image is read beside the window too; the status tells when that takes long.
    library::GameList::LocatedImage image;
    const QString checking =
        i18n::message(i18n::Extra::CheckingGame).arg(QFileInfo(file).fileName());
    try {
        if (!controls::runBeside<library::GameList::LocatedImage>(
                [file] { return library::GameList::readLocated(file); }, image, -1,
                LaunchCheckSlowMs, [&] { setStatus(checking); }))
            return;
    } catch (const platform::IoError& error) {
        showError(error.text());
        return;
    }
    if (statusText() == checking)
        setStatus(QString());
    if (gameList_->model()->rowOf(before.path) != row)
        return; // the list changed meanwhile
    const QString oldProfile = profiles_->existingProfile(before.path, before.gameName);
    QString problem;
    const auto located = gameList_->locate(row, std::move(image), &problem);
    if (located != library::GameList::Located::Replaced) {
        setStatus(!problem.isEmpty()
                      ? problem
                      : i18n::message(located == library::GameList::Located::NotSaturn ? 3 : 13));
        return;
    }
    // The profile and the save data follow the game's name. When the chosen image has another
    // name, the profile kept under the old one and the save files named after it are offered to
    // be renamed in one question (never over an existing file); Ctrl+Z puts them back with the
    // row.
    const library::GameRecord& game = gameList_->model()->at(row);
    keepPlayTime(before.path, game.path);
    const QString newProfile = settings::gameProfilePath(paths_.folder, game.path, game.gameName);
    const bool offerProfile =
        !oldProfile.isEmpty() &&
        QFileInfo(oldProfile).fileName() != QFileInfo(newProfile).fileName() &&
        !QFileInfo::exists(newProfile);
    const gamedata::RenamePlan saves =
        gamedata::planGameSaveRenames(paths_.folder, before.path, oldProfile, game.path);
    if (offerProfile || saves.files > 0) {
        QString question;
        if (offerProfile)
            question = i18n::message(i18n::Extra::RenameProfile)
                           .arg(QFileInfo(oldProfile).fileName(), QFileInfo(newProfile).fileName());
        if (saves.files > 0)
            question +=
                offerProfile
                    ? QChar(13) + i18n::message(i18n::Extra::RenameSavesToo).arg(saves.files)
                    : i18n::message(i18n::Extra::RenameSaves).arg(saves.files);
        if (controls::dialogs().choose(this, question,
                                       {i18n::message(i18n::Extra::RenameButton),
                                        i18n::message(i18n::Extra::KeepButton)}) == 0)
            renameWithGame(this, *gameList_, launcher_,
                           offerProfile ? gamedata::Rename{oldProfile, newProfile}
                                        : gamedata::Rename{},
                           saves);
        profiles_->scanProfiles();
    }
    gameList_->model()->refreshProfileMarkers();
    // The tabs show the located game's settings, read afresh.
    unsaved_->showGame(QString(), QString());
    ListView1SelectItem();
}

void TForm1::Openfolder1Click() {
    // Without a file manager the user still learns where the folder is, in a text to copy.
    if (!controls::dialogs().showFolder(paths_.folder))
        showError(i18n::message(i18n::Extra::FolderNotOpened) + QChar(13) +
                  QDir::toNativeSeparators(paths_.folder));
}

void TForm1::XiButton7Click() {
    // Where the list, the settings and Core are, so the user knows where the BIOS files go.
    QString text =
        i18n::aboutText() + QChar(13) + QChar(13) +
        i18n::message(i18n::Extra::AppFolderIs).arg(QDir::toNativeSeparators(paths_.folder));
    // The demo folder's games only look like Saturn discs: it says so, and what playing needs.
    if (QFileInfo::exists(QDir(paths_.folder).filePath(QStringLiteral("Demo.txt"))))
        text += QString(QChar(13)) + QChar(13) + i18n::message(i18n::Extra::DemoNote);
    controls::dialogs().information(this, text);
}
