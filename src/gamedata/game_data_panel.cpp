#include "gamedata/game_data_panel.h"

#include "controls/dialogs.h"
#include "controls/run_beside.h"
#include "controls/xi_button.h"
#include "gamedata/play_log.h"
#include "gamedata/play_text.h"
#include "gamedata/save_restore.h"
#include "i18n/messages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>

namespace gamedata {

GameDataPanel::GameDataPanel(const QString& applicationFolder, const PlayLog& log, QWidget* parent)
    : QWidget(parent), folder_(applicationFolder),
      core_(QDir(applicationFolder).filePath(QStringLiteral("Core"))), log_(log),
      openFolder_(
          [](const QString& folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); }) {
    setObjectName(QStringLiteral("GameDataPanel"));
    resize(414, 178);
    QFont bold = font();
    bold.setBold(true);

    playLabel_ = new QLabel(this);
    playLabel_->setObjectName(QStringLiteral("PlayTimeLabel"));
    playLabel_->setGeometry(2, 0, 410, 18);

    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("SaveDataHeading"));
    heading_->setFont(bold);
    heading_->setGeometry(2, 20, 410, 16);

    saveList_ = new QTreeWidget(this);
    saveList_->setObjectName(QStringLiteral("SaveDataList"));
    saveList_->setGeometry(0, 38, 414, 112);
    saveList_->setRootIsDecorated(false);
    saveList_->setColumnCount(4);
    // The kind, size and time show whole; the file name takes the rest (its tooltip is whole).
    saveList_->setTextElideMode(Qt::ElideMiddle);
    saveList_->header()->setStretchLastSection(false);
    saveList_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 4; ++column)
        saveList_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    openFolderButton_ = new controls::TXiButton(this);
    openFolderButton_->setObjectName(QStringLiteral("OpenSaveFolderButton"));
    openFolderButton_->setGeometry(0, 156, 100, 21);
    openFolderButton_->setCursor(Qt::PointingHandCursor);
    restoreButton_ = new controls::TXiButton(this);
    restoreButton_->setObjectName(QStringLiteral("RestoreButton"));
    restoreButton_->setGeometry(106, 156, 100, 21);
    restoreButton_->setCursor(Qt::PointingHandCursor);
    connect(openFolderButton_, &controls::TXiButton::clicked, this,
            &GameDataPanel::OpenFolderClick);
    connect(restoreButton_, &controls::TXiButton::clicked, this, &GameDataPanel::RestoreClick);
}

QString GameDataPanel::kindText(const SaveFile& file) {
    using i18n::Extra;
    switch (file.kind) {
    case SaveKind::BackupMemory:
        return i18n::message(Extra::SaveKindBackupMemory);
    case SaveKind::Cartridge:
        return i18n::message(Extra::SaveKindCartridge);
    case SaveKind::Clock:
        return i18n::message(Extra::SaveKindClock);
    case SaveKind::State:
        return i18n::message(Extra::SaveKindState).arg(file.slot);
    case SaveKind::Backup:
        break;
    }
    return i18n::message(Extra::SaveKindBackup);
}

void GameDataPanel::showGame(const QString& gamePath, const QString& profilePath) {
    gamePath_ = gamePath;
    profilePath_ = profilePath;
    refresh();
}

bool GameDataPanel::refresh() {
    using i18n::Extra;
    if (searching_)
        return false;
    QScopedValueRollback<bool> searchingNow(searching_, true);
    const QLocale locale;
    playLabel_->setText(playedText(log_.stats(gamePath_), locale));
    heading_->setText(i18n::message(Extra::SaveDataHeading));
    saveList_->setHeaderLabels(
        {i18n::message(Extra::SaveColumnFile), i18n::message(Extra::SaveColumnKind),
         i18n::message(Extra::SaveColumnSize), i18n::message(Extra::SaveColumnChanged)});
    openFolderButton_->setCaption(i18n::message(Extra::OpenSaveFolder));
    restoreButton_->setCaption(i18n::message(Extra::RestoreButton));
    // The buttons grow with a translation's longer captions ("Wiederherstellen...").
    int x = 0;
    for (controls::TXiButton* button : {openFolderButton_, restoreButton_}) {
        const int width =
            std::max(100, button->fontMetrics().horizontalAdvance(button->caption()) + 16);
        button->setGeometry(x, button->y(), width, button->height());
        x += width + 6;
    }

    // Looked for beside the window: a save folder may be on a drive that sleeps.
    struct Found {
        SaveRules rules;
        std::vector<SaveFile> files;
    };
    const auto look = [core = core_, profile = profilePath_,
                       game = QDir(folder_).absoluteFilePath(gamePath_)] {
        Found looked;
        looked.rules = readSaveRules(core, profile);
        looked.files = findSaveFiles(core, looked.rules, game);
        return looked;
    };
    Found found;
#ifdef Q_OS_WIN
    // Under Wine, test programs that had searched on a thread of their own could no longer end:
    // on Windows the search runs on the window's thread, as it did before.
    found = look();
#else
    if (!controls::runBeside<Found>(look, found, -1))
        return false;
#endif
    rules_ = std::move(found.rules);
    files_ = std::move(found.files);
    saveList_->clear();
    const QDir core(core_);
    for (const SaveFile& file : files_) {
        auto* item = new QTreeWidgetItem(saveList_);
        // Names below Core are shown from there ("sav/Game.bkr"); others whole.
        const QString relative = core.relativeFilePath(file.path);
        item->setText(0, QDir::toNativeSeparators(
                             relative.startsWith(QLatin1String("..")) ? file.path : relative));
        item->setToolTip(0, QDir::toNativeSeparators(file.path));
        item->setText(1, kindText(file));
        item->setText(2, locale.formattedDataSize(file.size, 0));
        item->setText(3, locale.toString(file.modified, QLocale::ShortFormat));
    }
    if (files_.empty()) {
        auto* item = new QTreeWidgetItem(saveList_);
        item->setText(0, i18n::message(Extra::NoSaveData));
        item->setFlags(Qt::NoItemFlags);
    }
    restoreButton_->setEnabled(std::any_of(files_.begin(), files_.end(), [](const SaveFile& file) {
        return file.kind == SaveKind::Backup;
    }));
    return true;
}

void GameDataPanel::OpenFolderClick() {
    const QString folder = saveFolder(core_, rules_, QDir(folder_).absoluteFilePath(gamePath_));
    // The emulator makes the folder when it first saves; until then its parent is shown.
    openFolder_(QFileInfo(folder).isDir() ? folder : core_);
}

void GameDataPanel::RestoreClick() {
    using i18n::Extra;
    if (running_ && running_()) {
        controls::dialogs().error(this, i18n::message(Extra::EmulatorRunningNow));
        return;
    }
    if (!refresh()) // the files as they are now
        return;
    // The backups newest first; the box offers the latest few.
    constexpr int MaxOffered = 8;
    std::vector<SaveFile> backups;
    for (const SaveFile& file : files_) {
        if (file.kind == SaveKind::Backup && static_cast<int>(backups.size()) < MaxOffered)
            backups.push_back(file);
    }
    if (backups.empty()) {
        controls::dialogs().information(this, i18n::message(Extra::NoSaveBackups));
        return;
    }
    const QLocale locale;
    QStringList buttons;
    for (const SaveFile& backup : backups)
        buttons << QFileInfo(backup.path).fileName() + QLatin1Char(' ') +
                       locale.toString(backup.modified, QLocale::ShortFormat);
    buttons << i18n::message(Extra::CancelButton);
    const int choice = controls::dialogs().choose(
        this, i18n::message(Extra::RestoreQuestion).arg(saveFileBase(gamePath_)), buttons);
    if (choice < 0 || choice >= static_cast<int>(backups.size()))
        return;
    const Restored restored =
        restoreBackup(files_, backups[static_cast<size_t>(choice)],
                      saveFolder(core_, rules_, QDir(folder_).absoluteFilePath(gamePath_)));
    refresh();
    if (!restored.error.isEmpty()) {
        controls::dialogs().error(this, restored.error);
        return;
    }
    if (!restored.keptAs.isEmpty())
        controls::dialogs().information(this, i18n::message(Extra::RestoreDone)
                                                  .arg(QDir::toNativeSeparators(restored.current),
                                                       QDir::toNativeSeparators(restored.keptAs)));
}

} // namespace gamedata
