#include "app/main_window.h"

#include "controls/dialogs.h"
#include "controls/gradient_bar.h"
#include "controls/run_beside.h"
#include "controls/text_fit.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"
#include "gamedata/play_tracker.h"
#include "i18n/language.h"
#include "i18n/messages.h"
#include "launch/cd_window.h"
#include "launch/launcher.h"
#include "library/game_list.h"
#include "library/game_list_view.h"
#include "library/properties_window.h"
#include "platform/io_error.h"
#include "platform/process.h"
#include "settings/profiles.h"
#include "settings/settings_model.h"
#include "settings/settings_panel.h"
#include "settings/unsaved_tracker.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <algorithm>

// The launcher's icons are compiled into the app library; a static library needs its resources
// registered by hand.
static void registerResources() {
    Q_INIT_RESOURCE(varnix);
}

// Tabs with less padding than the platform style's, so the four settings tabs end before
// the language selector that shares their strip.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? qMin(value, 10) : value;
    }
};

namespace {

constexpr int WindowWidth = 694;
constexpr int WindowHeight = 503;

// Added batches larger than this show their progress in the status bar.
constexpr int ProgressMinimum = 300;

} // namespace

TForm1::TForm1(QWidget* parent)
    : controls::BorderlessWindow(parent, Qt::Window),
      restarter_([](const QString& folder) { return platform::restartSelf(folder); }) {
    registerResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Varnix v" VARNIX_VERSION));
    setWindowIcon(QIcon(QStringLiteral(":/varnix.png")));
    setFixedSize(WindowWidth, WindowHeight);
    startUp();
}

TForm1::~TForm1() = default;

void TForm1::attachWindows(launch::TForm3* form3, library::TForm2* form2) {
    form3_ = form3;
    form2_ = form2;
    const auto skinSource = [this] { return currentSkin(); };
    form3_->setSkinSource(skinSource);
    form2_->setSkinSource(skinSource);
    launcher_ = new launch::GameLauncher(paths_.folder, form3_, this, this);
    connect(launcher_, &launch::GameLauncher::emulatorStarted, this, &TForm1::emulatorStarted);
    connect(launcher_, &launch::GameLauncher::emulatorFinished, this, &TForm1::emulatorFinished);
    wireGameData();
}

void TForm1::setRestarter(std::function<bool(const QString&)> restarter) {
    restarter_ = std::move(restarter);
}

void TForm1::bringToFront() {
    if (launcher_ && launcher_->running())
        return;
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TForm1::showError(const QString& text) {
    controls::dialogs().error(this, text);
}

// The start-up sequence, in its fixed order.
void TForm1::startUp() {
    buildWindow();
    layOutTitleBar();
    paths_.folder = QDir::currentPath();
    emulatorCheck_ = EmulatorCheck(paths_.folder);
    QLocale::setDefault(QLocale::c());
    i18n::initMessageTable();
    ComboBoxEx1->setCurrentIndex(0);
    guarded([&] { launcherSettings_ = LauncherSettings::read(paths_.mainIni()); });
    gamesFolder_ = launcherSettings_.gamesFolder;

    gameList_ = std::make_unique<library::GameList>(paths_.folder);
    settingsModel_ = std::make_unique<settings::SettingsModel>();
    unsaved_ = std::make_unique<settings::UnsavedTracker>(*settingsModel_);
    profiles_ = std::make_unique<settings::Profiles>(*settingsModel_, paths_.folder);
    auto* model = gameList_->model();
    library::showGameList(ListView1, model);
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ListView1SelectItem(); });
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { applyWarningRule(); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { applyWarningRule(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { applyWarningRule(); });
    connect(gameList_.get(), &library::GameList::countChanged, this, [this](const QString& text) {
        filter_.setListCount(text);
        showCount();
    });
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { filterRows(first, last); });
    connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { applyFilter(); });
    connect(model, &QAbstractItemModel::layoutChanged, this, [this] { applyFilter(); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { applyFilter(); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles.isEmpty() || roles.contains(Qt::DisplayRole))
                    filter_.rowsChanged();
            });
    connect(settingsModel_.get(), &settings::SettingsModel::controlChanged, this,
            [this] { showUnsavedMark(); });
    connect(gameList_.get(), &library::GameList::statusChanged, this,
            [this](const QString& text) { setStatus(text); });

    PageControl1 = new settings::SettingsPanel(settingsModel_.get(), this);
    PageControl1->setGeometry(395, 37, 290, 442);
    PageControl1->setVisible(false);
    PageControl1->setEnabled(false);
    connect(PageControl1, &settings::SettingsPanel::mapControlsRequested, this,
            &TForm1::MapControlsClick);
    // The language selector stands in the free right end of the tab strip, above the tabs.
    compactTabStyle_ = std::make_unique<CompactTabStyle>();
    PageControl1->tabBar()->setStyle(compactTabStyle_.get());
    Xpanel14->lower();
    ComboBoxEx1->raise();

    i18n::setLanguageIndex(launcherSettings_.language);
    guarded([&] { i18n::loadLanguage(paths_.folder, this); });
    filterEdit_->setPlaceholderText(i18n::message(i18n::Extra::FilterHint));
    Addfolder1->setText(i18n::message(i18n::Extra::AddFolder));
    Resettoglobal1->setText(i18n::message(i18n::Extra::ResetToGlobal));
    Openfolder1->setText(i18n::message(i18n::Extra::OpenAppFolder));
    PageControl1->showHelpLists();
    for (const auto& [kind, text] :
         {std::pair{controls::BoxKind::Error, i18n::Extra::TitleError},
          std::pair{controls::BoxKind::Warning, i18n::Extra::TitleWarning},
          std::pair{controls::BoxKind::Information, i18n::Extra::TitleInformation},
          std::pair{controls::BoxKind::Confirm, i18n::Extra::TitleConfirm}})
        controls::setBoxTitle(kind, i18n::message(text));
    if (auto* map =
            PageControl1->findChild<controls::TXiButton*>(QStringLiteral("MapControlsButton")))
        map->setCaption(i18n::message(i18n::Extra::MapControls));
    buildLibraryCommands();
    buildInputCommands();
    // The translated captions get their room; the settings panel fits its own when it shows.
    for (QWidget* container : {static_cast<QWidget*>(Xpanel14), static_cast<QWidget*>(GroupBox3),
                               static_cast<QWidget*>(GroupBox5)})
        controls::fitCaptions(container);
    fitLanguageSelectorPopup();
    applySkin(launcherSettings_.skin);
    // Games with a profile show their name in the list font made italic; one listing of the
    // profile folder serves every row.
    profiles_->scanProfiles();
    QFont markerFont = ListView1->font();
    markerFont.setItalic(true);
    model->setProfileMarker(
        [this](const library::GameRecord& game) {
            return profiles_->existingProfile(game.path, game.gameName);
        },
        markerFont);
    // The rows show at once; the games are checked beside the window, and a large list shows
    // in the status bar how far that has come.
    connect(gameList_.get(), &library::GameList::startUpProgress, this,
            [this](int done, int total) {
                if (total > ProgressMinimum && done < total)
                    showProgress(done, total);
            });
    connect(gameList_.get(), &library::GameList::startUpChecked, this,
            [this] { endProgress(QString()); });
    connect(gameList_.get(), &library::GameList::rowsChecked, this,
            [this] { applySelectionRule(); });
    connect(gameList_.get(), &library::GameList::failed, this, &TForm1::showError);
    if (QFileInfo(gameList_->listFilePath()).isFile()) {
        guarded([&] { gameList_->startUp(); });
    } else {
        // No list yet: "Total games:" still reads as a number.
        filter_.setListCount(QStringLiteral("0"));
        showCount();
    }
    applyWarningRule();
    if (gameList_->startUpRowsPending()) {
        // A long list shows before its rows are made: the last game is selected again once
        // they are, unless a game was chosen meanwhile.
        connect(
            gameList_.get(), &library::GameList::startUpRowsMade, this,
            [this] {
                if (selectedRow() < 0)
                    restorePlace();
                ListView1SelectItem();
            },
            Qt::SingleShotConnection);
    } else {
        restorePlace();
    }
    ListView1SelectItem();
}

// Selects the game and opens the tab that were in use when the launcher last ended or
// restarted; a game no longer listed selects nothing.
void TForm1::restorePlace() {
    if (launcherSettings_.tab > 0 && launcherSettings_.tab < PageControl1->count())
        PageControl1->setCurrentIndex(launcherSettings_.tab);
    const int row =
        launcherSettings_.game.isEmpty() ? -1 : gameList_->model()->rowOf(launcherSettings_.game);
    if (row >= 0) {
        selectRow(row);
        ListView1->scrollTo(gameList_->model()->index(row, 1), QAbstractItemView::PositionAtCenter);
    }
}

LauncherSettings TForm1::placeNow() const {
    LauncherSettings place = launcherSettings_;
    const int row = selectedRow();
    place.game = row >= 0 ? gameList_->model()->at(row).path : QString();
    place.tab = PageControl1->currentIndex();
    place.gamesFolder = gamesFolder_;
    return place;
}

int TForm1::currentSkin() const {
    return ComboBox14->currentIndex();
}

QString TForm1::statusText() const {
    return status_;
}

QString TForm1::countText() const {
    return StatusPanels[1]->text();
}

// A status text too long for its panel ends in an ellipsis and shows whole as the tool tip.
void TForm1::setStatus(const QString& text) {
    status_ = text;
    QLabel* panel = StatusPanels[3];
    // The About button stands on the panel's right end: the text stops short of it.
    const int textLeft = StatusBar1->x() + panel->x() + panel->frameWidth() + panel->indent();
    const int room = XiButton7->x() - 2 - textLeft;
    const QString shown = panel->fontMetrics().elidedText(text, Qt::ElideRight, room);
    panel->setText(shown);
    panel->setToolTip(shown == text ? QString() : text);
}

void TForm1::showProgress(int done, int total) {
    progressText_ = i18n::message(i18n::Extra::ShownOfTotal).arg(done).arg(total);
    setStatus(progressText_);
}

// What an added batch does at each progress report: the status bar shows how far a large
// batch has come, and the list grows on screen while the window stays responsive.
std::function<bool(int, int)> TForm1::batchProgress() {
    return [this](int done, int total) {
        if (total > ProgressMinimum)
            showProgress(done, total);
        QCoreApplication::processEvents();
        return true;
    };
}

// A batch that ended without a status of its own (it failed, or start-up found no game) puts
// back the status it found.
void TForm1::endProgress(const QString& statusBefore) {
    if (!progressText_.isEmpty() && statusText() == progressText_)
        setStatus(statusBefore);
    progressText_.clear();
}

void TForm1::applySkin(int skinIndex) {
    const controls::Skin skin = controls::skin(skinIndex);
    for (int page = 0; page < PageControl1->count(); ++page) {
        for (QObject* child : PageControl1->widget(page)->children()) {
            if (auto* panel = qobject_cast<controls::TXiPanel*>(child))
                panel->setColorScheme(skin.panel);
            for (QObject* inner : child->children()) {
                if (auto* button = qobject_cast<controls::TXiButton*>(inner))
                    button->setColorScheme(skin.button);
            }
        }
    }
    for (const char* name : {"Xpanel6", "Xpanel7", "Xpanel14"}) {
        if (auto* panel = findChild<controls::TXiPanel*>(QString::fromLatin1(name)))
            panel->setColorScheme(skin.panel);
    }
    for (controls::TXiButton* button : {XiButton1, XiButton2, XiButton7})
        button->setColorScheme(skin.button);
    ComboBox14->setCurrentIndex(
        skinIndex >= 0 && skinIndex < controls::SkinCount ? skinIndex : controls::DefaultSkin);
    const QColor tint = controls::skin(ComboBox14->currentIndex()).tint;
    BarTitle->setGradientEndColor(tint);
    gameList_->model()->setTint(tint);
}

// The settings tabs show exactly while the list holds a game; the warning panel lies behind.
void TForm1::applyWarningRule() {
    PageControl1->setVisible(gameList_->model()->count() > 0);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Keyboard use starts in the game list: arrows pick a game, Enter plays it. No row is
    // current until then, so the first Down picks the first game.
    if (!focusWidget()) {
        ListView1->setFocus();
        if (selectedRow() < 0)
            ListView1->setCurrentIndex(QModelIndex());
    }
    // The check belongs to the first showing too: a window is not always activated when shown.
    if (!checkPending_) {
        checkPending_ = true;
        QTimer::singleShot(0, this, [this] {
            checkPending_ = false;
            FormActivate();
        });
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Unsaved changes are settled first (a restart has settled them already).
    if (!ending_ && !settleUnsavedSettings()) {
        event->ignore();
        return;
    }
    // The place is kept for the next start; Main.ini is written only when it changed.
    if (!ending_) {
        const LauncherSettings place = placeNow();
        if (place.toLines() != launcherSettings_.toLines())
            guarded([&] { place.write(paths_.mainIni()); });
    }
    controls::BorderlessWindow::closeEvent(event);
}

void TForm1::activated() {
    if (!checkPending_)
        FormActivate();
}

void TForm1::FormActivate() {
    if (ending_)
        return;
    if (emulatorCheck_.run() == EmulatorCheck::Result::EmulatorMissing) {
        ending_ = true;
        controls::dialogs().error(this, emulatorCheck_.missingText());
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return;
    }
    // The user may have plugged a drive in meanwhile: missing games come back by themselves.
    if (!launcher_ || !launcher_->running())
        gameList_->checkAgain(false);
}

// The list's menu opened from the keyboard stands at the current row.
void TForm1::popUpListMenuAtCurrentRow() {
    const QRect row = ListView1->visualRect(ListView1->currentIndex());
    const QPoint at = row.isValid() ? QPoint(row.left(), row.bottom()) : QPoint(0, 0);
    PopupMenu1Popup();
    PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at));
    // Opened from the keyboard, the menu starts on its first entry that acts, so Enter acts.
    for (QAction* action : PopupMenu1->actions()) {
        if (!action->isSeparator() && action->isEnabled() && action->isVisible()) {
            PopupMenu1->setActiveAction(action);
            break;
        }
    }
}

// Ctrl+Tab and Ctrl+Shift+Tab step through the settings tabs wherever the focus is.
void TForm1::cycleSettingsTab(int step) {
    if (!PageControl1->isVisible() || !PageControl1->isEnabled())
        return;
    const int count = PageControl1->count();
    PageControl1->setCurrentIndex((PageControl1->currentIndex() + step + count) % count);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // The Menu key (a keyboard context-menu request) and Shift+F10 open the list's menu.
    if (watched == ListView1 && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        popUpListMenuAtCurrentRow();
        return true;
    }
    // The empty list's notice reads like a link: a click on it adds games.
    if (watched == Xpanel14 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Xpanel14->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        QTimer::singleShot(0, this, &TForm1::Addgames1Click);
        return true;
    }
    if (watched == ListView1->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop))
        return dropOnList(event);
    if (watched == filterEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            hideFilter();
            return true;
        }
        if (key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
            // On to the rows shown: the first one unless a shown row is selected.
            if (selectedRow() < 0) {
                for (int row = 0; row < gameList_->model()->count(); ++row) {
                    if (!ListView1->isRowHidden(row)) {
                        selectRow(row);
                        break;
                    }
                }
            }
            ListView1->setFocus();
            return true;
        }
    }
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            popUpListMenuAtCurrentRow();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // A held key repeats its press: only a real press starts a game, so a Return held
            // a moment too long does not start it again when the window comes back.
            if (!key->isAutoRepeat())
                LaunchSelectedGame();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            Deleteitem1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::showFilter() {
    // The clear button's icon is looked up in the desktop's icon theme, thousands of file
    // checks: done the first time the field shows, not before the window's first paint.
    filterEdit_->setClearButtonEnabled(true);
    filterEdit_->show();
    filterEdit_->raise();
    filterEdit_->setFocus();
    filterEdit_->selectAll();
}

void TForm1::hideFilter() {
    filterEdit_->clear();
    filterEdit_->hide();
    ListView1->setFocus();
}

// Hides the rows from first to last that do not match the filter text.
void TForm1::filterRows(int first, int last) {
    if (!filter_.active())
        return;
    {
        const library::UpdatesHeld held(ListView1);
        filter_.filterRows(*gameList_->model(), first, last,
                           [this](int row, bool shown) { ListView1->setRowHidden(row, !shown); });
    }
    const int selected = selectedRow();
    if (selected >= first && selected <= last && ListView1->isRowHidden(selected))
        ListView1->clearSelection();
}

void TForm1::applyFilter() {
    {
        const library::UpdatesHeld held(ListView1);
        filter_.apply(
            *gameList_->model(), [this](int row) { return !ListView1->isRowHidden(row); },
            [this](int row, bool shown) { ListView1->setRowHidden(row, !shown); });
    }
    const int selected = selectedRow();
    if (filter_.active() && selected >= 0 && ListView1->isRowHidden(selected))
        ListView1->clearSelection();
    showCount();
}

void TForm1::showCount() {
    StatusPanels[1]->setText(filter_.countText(gameList_->model()->count()));
    fitCountPanel();
}

int TForm1::selectedRow() const {
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TForm1::selectRow(int row) {
    if (row < 0)
        ListView1->clearSelection();
    else
        ListView1->selectRow(row);
}

void TForm1::PopupMenu1Popup() {
    const bool selected = selectedRow() >= 0;
    Deleteitem1->setEnabled(selected);
    Deletegameprofile1->setEnabled(selected);
    Resettoglobal1->setEnabled(selected && PageControl1->isEnabled() &&
                               profiles_->globalSettings());
    Gameproperties1->setEnabled(selected);
    Clearlist2->setEnabled(gameList_->model()->count() > 0);
    Addfolder1->setEnabled(Addgames1->isEnabled());
    Removemissing1->setEnabled(gameList_->model()->missingCount() > 0);
    Undo1->setEnabled(gameList_->canUndo());
    PopupMenu1->findChild<QAction*>(QStringLiteral("Details1"))
        ->setEnabled(!gameList_->batchRefusals().isEmpty());
    Checkagain1->setEnabled(gameList_->model()->count() > 0);
}

void TForm1::Addgames1Click() {
    if (gameList_->busy())
        return;
    const QStringList files = controls::dialogs().openFiles(
        this, i18n::message(i18n::Extra::FilterImages) + QStringLiteral(" (*.cue *.ccd *.m3u)"),
        gamesFolder());
    if (files.isEmpty())
        return;
    // The next "Add games" opens where these games were picked.
    gamesFolder_ = QFileInfo(files.first()).absolutePath();
    const QString statusBefore = statusText();
    cancelBatch_->setEnabled(true);
    guarded([&] { gameList_->addGames(files, batchProgress()); });
    endProgress(statusBefore);
    cancelBatch_->setEnabled(false);
    ListView1SelectItem();
}

void TForm1::Addfolder1Click() {
    if (gameList_->busy())
        return;
    const QString folder = controls::dialogs().openFolder(this, gamesFolder());
    if (folder.isEmpty())
        return;
    gamesFolder_ = folder;
    addPaths({folder});
}

// Where the dialogs that add games open: the folder used last (also in an earlier run), else
// the home folder, never the launcher's own (hidden, when installed) folder. The folder is
// looked at beside the window: a drive that does not answer within half a second leaves the
// dialog at the home folder instead of holding the window.
QString TForm1::gamesFolder() {
    bool isFolder = false; // stays false without an answer
    if (!gamesFolder_.isEmpty())
        controls::runBeside<bool>([folder = gamesFolder_] { return QFileInfo(folder).isDir(); },
                                  isFolder, 500);
    return isFolder ? gamesFolder_ : QDir::homePath();
}

void TForm1::addPaths(const QStringList& paths) {
    if (gameList_->busy() || paths.isEmpty())
        return;
    cancelBatch_->setEnabled(true);
    const QString statusBefore = statusText();
    guarded([&] { gameList_->addPaths(paths, batchProgress()); });
    endProgress(statusBefore);
    cancelBatch_->setEnabled(false);
    ListView1SelectItem();
}

// Accepts local files and folders while no batch runs; a drop adds them in the order given.
bool TForm1::dropOnList(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    QStringList paths;
    if (drop->mimeData()->hasUrls()) {
        for (const QUrl& url : drop->mimeData()->urls()) {
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
        }
    }
    if (paths.isEmpty() || gameList_->busy()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop) {
        // The batch runs after the drop has been answered, so the source is not kept waiting.
        QTimer::singleShot(0, this, [this, paths] { addPaths(paths); });
    }
    return true;
}

void TForm1::Deleteitem1Click() {
    if (gameList_->busy() || !settleUnsavedSettings())
        return;
    const int row = selectedRow();
    if (row >= 0) {
        // The view would select the row that takes the deleted one's place, so that the next
        // Delete removed it too: the keyboard focus moves there, but nothing is selected.
        ListView1->selectionModel()->clear();
    }
    guarded([&] {
        if (row >= 0)
            gameList_->deleteRow(row);
        else if (gameList_->model()->count() == 0)
            setStatus(QString());
    });
    if (row >= 0) {
        // The focus goes to the next row shown (a filter may hide some), else the one before.
        const int count = gameList_->model()->count();
        int focus = qMin(row, count - 1);
        while (focus < count && ListView1->isRowHidden(focus))
            ++focus;
        if (focus >= count) {
            focus = qMin(row, count) - 1;
            while (focus >= 0 && ListView1->isRowHidden(focus))
                --focus;
        }
        if (focus >= 0)
            ListView1->selectionModel()->setCurrentIndex(gameList_->model()->index(focus, 1),
                                                         QItemSelectionModel::NoUpdate);
    }
    applyWarningRule();
    ListView1SelectItem();
}

void TForm1::Clearlist2Click() {
    if (gameList_->busy() || !settleUnsavedSettings())
        return;
    guarded([&] { gameList_->clear(); });
    applyWarningRule();
    ListView1SelectItem();
}

void TForm1::ListView1ColumnClick(int column) {
    if (gameList_->busy())
        return;
    guarded([&] { gameList_->sortByColumn(column); });
    ListView1SelectItem();
}

void TForm1::Gameproperties1Click() {
    const int row = selectedRow();
    if (row < 0 || !form2_ || explainAbsentGame(row))
        return;
    const QString path = gameList_->model()->at(row).path;
    guarded([&] { form2_->showFor(path); });
}

void TForm1::ListView1DblClick() {
    LaunchSelectedGame();
}

void TForm1::LaunchSelectedGame() {
    int row = selectedRow();
    if (row < 0 || !launcher_ || gameList_->busy() || launcher_->running())
        return;
    // A game start-up has not looked at yet is looked at now.
    if (gameList_->model()->at(row).presence == library::Presence::Checking) {
        if (!checkBeforeLaunch(row))
            return;
        row = selectedRow();
    }
    if (explainAbsentGame(row))
        return;
    // The emulator reads the stored profile: unsaved changes are saved first or dropped.
    if (!settleUnsavedSettings())
        return;
    const QString path = gameList_->model()->at(row).path;
    guarded([&] {
        launcher_->launch(path, settingsModel_->text(settings::Ctl::LabeledEdit1),
                          settingsModel_->text(settings::Ctl::LabeledEdit2));
    });
}

void TForm1::emulatorStarted() {
    // Hidden only: a minimize before the hide reaches the window manager late (openbox iconifies
    // the window after it was shown again), and the window would stay iconic after the game.
    hide();
    if (QSystemTrayIcon::isSystemTrayAvailable())
        TrayIcon1->show();
}

void TForm1::emulatorFinished() {
    TrayIcon1->hide();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    centerOnDesktop();
    // The keyboard is back in the list, on the game just played: Enter plays it again.
    const int row = selectedRow();
    if (row >= 0)
        ListView1->setCurrentIndex(gameList_->model()->index(row, 1));
    ListView1->setFocus(Qt::OtherFocusReason);
    // Coming back is an activation: check the emulator again even where the platform does not
    // report one.
    FormActivate();
}

void TForm1::centerOnDesktop() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        centreIn(screen->availableGeometry());
}

void TForm1::ComboBox14Change(int index) {
    if (!skinChangeRestarts(index, launcherSettings_.skin))
        return;
    if (settleUnsavedSettings())
        restart();
    else
        showSelectorsInForce();
}

void TForm1::ComboBoxEx1Change(int index) {
    if (!i18n::languageChangeRestarts(index, launcherSettings_.language, ComboBoxEx1->itemText(1)))
        return;
    if (settleUnsavedSettings())
        restart();
    else
        showSelectorsInForce();
}

// The skin and language selectors show the entries in force (after a change that did not
// happen).
void TForm1::showSelectorsInForce() {
    ComboBox14->setCurrentIndex(launcherSettings_.skin);
    ComboBoxEx1->setCurrentIndex(launcherSettings_.language);
}

// Writes Main.ini from both selectors, closes this window and starts the launcher again from the
// application folder; the new instance reads the file just written.
void TForm1::restart() {
    LauncherSettings chosen = placeNow();
    chosen.language = ComboBoxEx1->currentIndex();
    chosen.skin = ComboBox14->currentIndex();
    try {
        chosen.write(paths_.mainIni());
    } catch (const platform::IoError& error) {
        // Nothing changes: the selectors show the entries in force again.
        showSelectorsInForce();
        showError(error.text());
        return;
    }
    ending_ = true;
    close();
    restarter_(paths_.folder);
}
