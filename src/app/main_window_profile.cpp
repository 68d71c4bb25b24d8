// The settings tabs and the game's profile: what the panel shows for the selection, the
// unsaved-settings mark and question, and the profile buttons.

#include "app/main_window.h"

#include "controls/dialogs.h"
#include "controls/xi_button.h"
#include "i18n/messages.h"
#include "library/game_list.h"
#include "platform/io_error.h"
#include "settings/profiles.h"
#include "settings/settings_panel.h"
#include "settings/unsaved_tracker.h"

#include <QDir>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>

// Runs on every change of the selection and after every change of the list: the panel shows
// the selected game's settings, and a list change that keeps the same game selected (a sort, an
// add) keeps them with their unsaved edits.
void TForm1::ListView1SelectItem() {
    if (revertingSelection_)
        return;
    const int row = selectedRow();
    const bool selected = row >= 0;
    if (!unsaved_->path().isEmpty() &&
        (!selected || gameList_->model()->at(row).path != unsaved_->path()) &&
        // Another game's settings are read next, so a discard need not read this one's back.
        !settleUnsavedSettings(!selected)) {
        // Cancelled: the game whose changes the tabs hold stays selected.
        const int keep = gameList_->model()->rowOf(unsaved_->path());
        if (keep >= 0) {
            revertingSelection_ = true;
            selectRow(keep);
            ListView1->setCurrentIndex(gameList_->model()->index(keep, 1));
            revertingSelection_ = false;
            return;
        }
    }
    QString error;
    if (!selected) {
        unsaved_->showGame(QString(), QString());
    } else if (gameList_->model()->at(row).path != unsaved_->path()) {
        const library::GameRecord& game = gameList_->model()->at(row);
        try {
            readGameSettings(game.path, game.gameName);
        } catch (const platform::IoError& e) {
            error = e.text();
        }
        settingsInStore();
    }
    applySelectionRule();
    showUnsavedMark();
    showNoKeysNotice();
    if (!error.isEmpty())
        showError(error);
}

// The tabs and "Save profile" are enabled while a game is selected whose settings were read
// whole; "Load profile" while a game is selected.
void TForm1::applySelectionRule() {
    // A missing game's settings cannot be played with: the tabs and profile buttons wait until
    // it is there again ("Delete profile" still works).
    const int row = selectedRow();
    const bool selected = row >= 0 && gameList_->model()->at(row).found();
    const bool readable = selected && profiles_->readable();
    PageControl1->setEnabled(readable);
    XiButton2->setEnabled(readable);
    XiButton1->setEnabled(selected);
}

void TForm1::settingsInStore() {
    unsaved_->markStored();
    showUnsavedMark();
}

bool TForm1::settingsUnsaved() const {
    return unsaved_ && unsaved_->unsaved();
}

// "Save profile" carries a mark while the tabs hold unsaved changes.
void TForm1::showUnsavedMark() {
    const bool unsaved = settingsUnsaved();
    const bool marked = !saveCaption_.isNull();
    if (unsaved && !marked) {
        saveCaption_ = XiButton2->caption();
        XiButton2->setCaption(saveCaption_ + QStringLiteral(" *"));
    } else if (!unsaved && marked) {
        XiButton2->setCaption(saveCaption_);
        saveCaption_ = QString();
    }
}

void TForm1::readGameSettings(QString path, QString name) {
    // The read replaces every setting, so the panel's changes during it say nothing of unsaved
    // edits: no game is shown meanwhile, and the mark is not worked out once per setting. The
    // game is taken by value: the caller may pass the tracker's own strings, cleared here.
    unsaved_->showGame(QString(), QString());
    PageControl1->setGlobalSettings(nullptr);
    const auto shown = qScopeGuard([&] {
        unsaved_->showGame(path, name);
        PageControl1->setGlobalSettings(profiles_->globalSettings());
        PageControl1->setUnknownSettings(profiles_->unknownSettings());
    });
    profiles_->selectGame(path, name);
}

bool TForm1::settleUnsavedSettings(bool reloadOnDiscard) {
    if (!settingsUnsaved())
        return true;
    using Choice = controls::Dialogs::SaveChoice;
    const Choice choice = controls::dialogs().askToSave(
        this,
        i18n::message(i18n::Extra::UnsavedSettings).replace(QStringLiteral("%1"), unsaved_->name()),
        {i18n::message(i18n::Extra::SaveButton), i18n::message(i18n::Extra::DiscardButton),
         i18n::message(i18n::Extra::CancelButton)});
    if (choice == Choice::Cancel)
        return false;
    bool settled = true;
    try {
        if (choice == Choice::Save)
            setStatus(profiles_->saveProfile(unsaved_->path(), unsaved_->name()));
        else if (reloadOnDiscard) // the tabs show the stored profile
            readGameSettings(unsaved_->path(), unsaved_->name());
    } catch (const platform::IoError& error) {
        showError(error.text());
        // A failed save keeps the changes and the user where they were.
        settled = choice != Choice::Save;
    }
    if (settled)
        settingsInStore();
    return settled;
}

void TForm1::XiButton2Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const library::GameRecord& game = gameList_->model()->at(row);
    if (!profiles_->readable())
        return;
    guarded([&] {
        setStatus(profiles_->saveProfile(game.path, game.gameName));
        settingsInStore();
    });
    gameList_->model()->refreshProfileMarkers();
}

void TForm1::XiButton1Click() {
    if (selectedRow() < 0)
        return;
    // Profiles live in Core/pgconfig: the dialog opens there.
    const QString file = controls::dialogs().openFile(
        this, i18n::message(i18n::Extra::FilterProfiles) + QStringLiteral(" (*.cfg)"),
        QDir(paths_.folder).absoluteFilePath(QStringLiteral("Core/pgconfig")));
    if (file.isEmpty())
        return;
    guarded([&] { setStatus(profiles_->loadProfile(file)); });
    applySelectionRule();
}

// Every setting of the tabs back to the global file's value; "Save profile" then writes them.
void TForm1::Resettoglobal1Click() {
    if (selectedRow() >= 0 && PageControl1->isEnabled())
        PageControl1->resetToGlobal();
}

// The profile goes at once, without a question; its bytes stay in the undo history, so Ctrl+Z
// puts it back as it was.
void TForm1::Deletegameprofile1Click() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const library::GameRecord& game = gameList_->model()->at(row);
    std::optional<settings::Profiles::RemovedProfile> removed;
    guarded([&] {
        removed = profiles_->removeProfile(game.path, game.gameName);
        setStatus(removed ? i18n::message(i18n::Extra::ProfileRemoved).arg(game.gameName)
                          : i18n::message(12));
    });
    if (removed) {
        gameList_->addUndoStep([this, bytes = std::move(*removed), path = game.path,
                                name = game.gameName] { restoreProfile(bytes, path, name); });
        // The emulator now reads the global file alone for this game: the tabs show that, as
        // stored, instead of the deleted profile's values.
        guarded([&] { readGameSettings(game.path, game.gameName); });
        settingsInStore();
        applySelectionRule();
    }
    gameList_->model()->refreshProfileMarkers();
}

void TForm1::restoreProfile(const settings::Profiles::RemovedProfile& removed, const QString& path,
                            const QString& name) {
    if (!profiles_->restoreProfile(removed)) {
        setStatus(i18n::message(i18n::Extra::ProfileSavedSince).arg(name));
        return;
    }
    setStatus(i18n::message(i18n::Extra::ProfileRestored).arg(name));
    gameList_->model()->refreshProfileMarkers();
    // The tabs show the profile again, unless they hold edits of their own.
    if (unsaved_->path() == path && !settingsUnsaved()) {
        guarded([&] { readGameSettings(path, name); });
        settingsInStore();
        applySelectionRule();
    }
}
