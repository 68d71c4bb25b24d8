#include "app/main_window.h"
#include "controls/dialogs.h"
#include "controls/text_fit.h"
#include "controls/xi_button.h"
#include "disc_writer.h"
#include "i18n/language.h"
#include "i18n/messages.h"
#include "i18n/text_bindings.h"
#include "input/mapping_editor.h"
#include "launch/cd_window.h"
#include "library/game_list.h"
#include "library/properties_window.h"
#include "settings/settings_model.h"
#include "settings/settings_panel.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using discwriter::Header;

Header header(const char* product, const char* area) {
    Header h;
    h.productNumber = product;
    h.areaSymbols = area;
    return h;
}

// An application folder with the stub emulator and a few synthetic games; the launcher is
// started there once the test has arranged List.ini and Main.ini.
struct GamesApp {
    testsupport::TempFolder dir;
    testsupport::FakeDialogs dialogs;
    QString previousDir = QDir::currentPath();
    QString cue, ccd, m3u, notSaturn;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<launch::TForm3> form3;
    std::unique_ptr<library::TForm2> form2;

    GamesApp() {
        dir.mkdir("Core/pgconfig");
        testsupport::installStubEmulator(dir.path());
        dir.write("Core/mednafen.cfg", ";global\nss.yscale 2.000000\nss.shader.goat.hdiv 0.500000\n"
                                       "ss.shader.goat.vdiv -0.500000\nss.shader.goat.tp 0.500000\n"
                                       "ss.input.mouse_sensitivity 0.500000\n");
        const QString games = dir.file("games");
        QDir().mkpath(games);
        cue = discwriter::writeCueGame(games, "Alpha", header("T-1234", "JTUE"));
        ccd = discwriter::writeCcdGame(games, "Beta", header("MK-81000", "U"));
        m3u = discwriter::writeM3uGame(games, "Gamma",
                                       {header("T-00002G", "JE"), header("T-00002G", "JE")});
        Header other = discwriter::nonSaturnHeader();
        notSaturn = discwriter::writeCueGame(games, "Other", other);
    }
    void start() {
        // Starting again begins with a new launcher, as a restart does.
        form2.reset();
        form3.reset();
        form.reset();
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
        form3 = std::make_unique<launch::TForm3>(form.get());
        form2 = std::make_unique<library::TForm2>(form.get());
        form->attachWindows(form3.get(), form2.get());
        form->setRestarter([](const QString&) { return true; });
        form->gameList()->waitForStartUpCheck();
    }
    ~GamesApp() {
        form2.reset();
        form3.reset();
        form.reset();
        QDir::setCurrent(previousDir);
        qunsetenv("VARNIX_STUB_LOG");
    }
    QAction* action(const char* name) const {
        return form->findChild<QAction*>(QString::fromLatin1(name));
    }
    QByteArray listFile() const { return testsupport::readAll(dir.file("List.ini")); }
};

} // namespace

TEST(MainWindowGames, StartUpKeepsExactlyTheValidatedListInOrder) {
    GamesApp app;
    // A duplicate, a missing file (kept), a non-Saturn image, an empty line, LF-only line ends.
    const QString gone = app.dir.file("gone.cue");
    const QByteArray lines = app.cue.toLocal8Bit() + "\n" + gone.toLocal8Bit() + "\n\n" +
                             app.notSaturn.toLocal8Bit() + "\n" + app.m3u.toLocal8Bit() + "\r\n" +
                             app.cue.toLocal8Bit() + "\n" + app.ccd.toLocal8Bit();
    app.dir.write("List.ini", lines);
    app.start();
    EXPECT_EQ(
        app.listFile(),
        (app.cue + "\r\n" + gone + "\r\n" + app.m3u + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    library::GameListModel* model = app.form->gameList()->model();
    ASSERT_EQ(model->count(), 4);
    EXPECT_EQ(model->at(0).gameName, "Alpha");
    EXPECT_EQ(model->at(0).gameId, "T-1234");
    EXPECT_EQ(model->at(0).region, "JTUE");
    EXPECT_EQ(model->at(1).gameName, "gone");
    EXPECT_EQ(model->at(2).gameName, "Gamma (Disc 1)");
    EXPECT_EQ(model->at(2).path, app.m3u);
    EXPECT_EQ(app.form->countText(), "4 (1 missing)");
    // The repeat, the empty line and the other disc were dropped.
    EXPECT_EQ(app.form->statusText(), i18n::message(i18n::Extra::LoadedDropped).arg(3));
    EXPECT_TRUE(app.form->pageControl()->isVisibleTo(app.form.get()));
    // Rows alternate between the tint and white.
    EXPECT_EQ(model->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(0xDEE0DA));
    EXPECT_EQ(model->index(1, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_EQ(model->index(2, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(0xDEE0DA));
}

TEST(MainWindowGames, MenuSelectionAndDeleteFollowTheList) {
    GamesApp app;
    app.dir.write("List.ini", (app.cue + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    app.start();
    app.form->PopupMenu1Popup();
    EXPECT_TRUE(app.action("Clearlist2")->isEnabled());
    EXPECT_FALSE(app.action("Deleteitem1")->isEnabled());
    EXPECT_FALSE(app.form->pageControl()->isEnabled());

    app.form->selectRow(1);
    app.form->PopupMenu1Popup();
    EXPECT_TRUE(app.action("Deleteitem1")->isEnabled());
    EXPECT_TRUE(app.action("Deletegameprofile1")->isEnabled());
    EXPECT_TRUE(app.action("Gameproperties1")->isEnabled());
    EXPECT_TRUE(app.form->pageControl()->isEnabled());

    // The Delete key removes the selected game exactly as the menu's "Delete item" does.
    QTest::keyClick(app.form->listView(), Qt::Key_Delete);
    EXPECT_EQ(app.listFile(), (app.cue + "\r\n").toLocal8Bit());
    EXPECT_EQ(app.form->countText(), "1");

    app.form->selectRow(0);
    app.form->Deleteitem1Click();
    EXPECT_EQ(app.listFile(), QByteArray());
    EXPECT_EQ(app.form->countText(), "0");
    EXPECT_EQ(app.form->statusText(), i18n::message(i18n::Extra::RemovedOne));
    EXPECT_FALSE(app.form->pageControl()->isVisibleTo(app.form.get()));
}

// After a delete nothing is selected, so a second Delete deletes nothing; every change of the
// list runs the selection rules, and a sort keeps the selected game's unsaved edits.
TEST(MainWindowGames, DeleteRemovesOneGameAndTheRulesFollowTheSelection) {
    GamesApp app;
    app.dir.write("List.ini",
                  (app.cue + "\r\n" + app.ccd + "\r\n" + app.m3u + "\r\n").toLocal8Bit());
    app.start();
    auto* load = app.form->findChild<controls::TXiButton*>("XiButton1");
    auto* save = app.form->findChild<controls::TXiButton*>("XiButton2");
    app.form->selectRow(0);
    ASSERT_TRUE(save->isEnabled());
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(app.form->listView(), Qt::Key_Delete);
    EXPECT_EQ(app.listFile(), (app.ccd + "\r\n" + app.m3u + "\r\n").toLocal8Bit());
    EXPECT_EQ(app.form->selectedRow(), -1);
    EXPECT_EQ(app.form->listView()->currentIndex().row(), 0);
    EXPECT_FALSE(app.form->pageControl()->isEnabled());
    EXPECT_FALSE(load->isEnabled());
    EXPECT_FALSE(save->isEnabled());

    app.form->selectRow(1);
    app.form->settingsModel()->setChecked(settings::Ctl::CheckBox1, true);
    app.form->ListView1ColumnClick(1);
    EXPECT_TRUE(app.form->settingsModel()->checked(settings::Ctl::CheckBox1));
    EXPECT_TRUE(save->isEnabled());

    app.form->Clearlist2Click();
    EXPECT_FALSE(load->isEnabled());
    EXPECT_FALSE(save->isEnabled());
    app.dialogs.openFilesAnswers << QStringList{app.cue};
    app.form->Addgames1Click();
    EXPECT_TRUE(app.form->pageControl()->isVisibleTo(app.form.get()));
    EXPECT_FALSE(app.form->pageControl()->isEnabled());
    EXPECT_FALSE(save->isEnabled());
}

// A profile that cannot be read leaves only "Load profile" and "Delete profile" until a read
// succeeds.
TEST(MainWindowGames, AnUnreadableProfileLeavesOnlyLoadAndDelete) {
    GamesApp app;
    app.dir.write("Core/pgconfig/Alpha.ss.cfg", "ss.yscale wide\n");
    app.dir.write("good.cfg", "ss.yscale 4\n");
    app.dir.write("List.ini", (app.cue + "\r\n").toLocal8Bit());
    app.start();
    auto* load = app.form->findChild<controls::TXiButton*>("XiButton1");
    auto* save = app.form->findChild<controls::TXiButton*>("XiButton2");
    app.form->selectRow(0);
    ASSERT_EQ(app.dialogs.errors.size(), 1);
    EXPECT_TRUE(app.dialogs.errors[0].contains("Alpha.ss.cfg"));
    EXPECT_FALSE(app.form->pageControl()->isEnabled());
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(load->isEnabled());
    app.form->PopupMenu1Popup();
    EXPECT_TRUE(app.action("Deletegameprofile1")->isEnabled());

    app.dialogs.openFileAnswers << app.dir.file("good.cfg");
    app.form->XiButton1Click();
    EXPECT_TRUE(app.form->pageControl()->isEnabled());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(app.form->settingsModel()->position(settings::Ctl::TrackBar5), 4);
}

// A batch of several files counts its outcomes; one file tells its own, a missing data file by
// name; a deletion leaves no status of the step before.
TEST(MainWindowGames, AddingGamesReportsWhatHappened) {
    GamesApp app;
    app.start();
    app.dialogs.openFilesAnswers << QStringList{app.cue, app.notSaturn, app.ccd, app.cue};
    app.form->Addgames1Click();
    EXPECT_EQ(app.form->gameList()->model()->count(), 2);
    EXPECT_EQ(app.form->statusText(), "2 games added, 1 not a Saturn disc, 1 already in the list");
    EXPECT_EQ(app.form->countText(), "2");
    EXPECT_EQ(app.listFile(), (app.cue + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    EXPECT_TRUE(app.dialogs.filters.first().contains("*.cue"));
    // A cancelled dialog changes nothing.
    app.form->Addgames1Click();
    EXPECT_EQ(app.form->gameList()->model()->count(), 2);
    // The second dialog opens where the games were picked; "Load profile" opens in the profiles.
    EXPECT_EQ(app.dialogs.folders, QStringList({QDir::homePath(), app.dir.file("games")}));
    app.form->selectRow(0);
    app.form->XiButton1Click();
    EXPECT_EQ(app.dialogs.folders.last(), app.dir.file("Core/pgconfig"));

    const QString lost = app.dir.write("games/Lost.cue", "FILE \"Lost.bin\" BINARY\n");
    app.dialogs.openFilesAnswers << QStringList{lost};
    app.form->Addgames1Click();
    EXPECT_EQ(app.form->statusText(),
              "Not found: " + QDir::toNativeSeparators(app.dir.file("games/Lost.bin")) +
                  ", named in " + QDir::toNativeSeparators(lost));
    app.dialogs.openFilesAnswers << QStringList{app.m3u, lost};
    app.form->Addgames1Click();
    EXPECT_EQ(app.form->statusText(), "1 game added, 1 with a file not found");
    app.form->selectRow(2);
    app.form->Deleteitem1Click();
    // The status no longer speaks of the step before: it offers the undo.
    EXPECT_EQ(app.form->statusText(), i18n::message(i18n::Extra::RemovedOne));
    EXPECT_EQ(app.form->countText(), "2");
}

TEST(MainWindowGames, SavedProfileOfAPlaylistGameIsNamedAfterThePlaylist) {
    GamesApp app;
    app.dir.write("List.ini", (app.m3u + "\r\n" + app.cue + "\r\n").toLocal8Bit());
    app.start();
    app.form->selectRow(0);
    app.form->XiButton2Click();
    EXPECT_TRUE(QFile::exists(app.dir.file("Core/pgconfig/Gamma.ss.cfg")))
        << app.dialogs.errors.join("\n").toStdString();
    EXPECT_EQ(app.form->statusText(), i18n::message(6));
    app.form->selectRow(1);
    app.form->Deletegameprofile1Click();
    EXPECT_EQ(app.form->statusText(), i18n::message(12));
    EXPECT_TRUE(app.dialogs.errors.isEmpty()) << app.dialogs.errors.join("\n").toStdString();
}

TEST(MainWindowGames, EnterStartsTheEmulatorAndTheWindowComesBackCentred) {
    GamesApp app;
    app.dir.write("List.ini", (app.cue + "\r\n").toLocal8Bit());
    const QString log = app.dir.file("stub.log");
    qputenv("VARNIX_STUB_LOG", log.toLocal8Bit());
    app.start();
    app.form->show();
    app.form->move(5, 5);
    app.form->selectRow(0);
    bool hiddenWhileRunning = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!app.form->isVisible())
            hiddenWhileRunning = true;
    });
    probe.start(5);
    qputenv("VARNIX_STUB_SLEEP_MS", "300");
    QTest::keyClick(app.form->listView(), Qt::Key_Return);
    qunsetenv("VARNIX_STUB_SLEEP_MS");
    probe.stop();
    const QString record = QString::fromLocal8Bit(testsupport::readAll(log));
    EXPECT_TRUE(record.contains("arg=-which_medium\narg=0\narg=" + app.cue))
        << record.toStdString();
    EXPECT_TRUE(hiddenWhileRunning);
    EXPECT_TRUE(app.form->isVisible());
    // Missing firmware is only a warning.
    ASSERT_EQ(app.dialogs.warnings.size(), 1);
    EXPECT_TRUE(app.dialogs.warnings[0].startsWith(i18n::message(10)));
    const QRect desktop = app.form->screen()->availableGeometry();
    EXPECT_LE((app.form->geometry().center() - desktop.center()).manhattanLength(), 1);
    // The keyboard is back in the list on the game just played; a held Return's repeats do not
    // start it again.
    EXPECT_EQ(app.form->focusWidget(), app.form->listView());
    EXPECT_EQ(app.form->listView()->currentIndex().row(), 0);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(app.form->listView(), &repeat);
    EXPECT_EQ(QString::fromLocal8Bit(testsupport::readAll(log)).count("start\n"), 1);
}

TEST(MainWindowGames, TheShippedTranslationReachesEveryTextOfTheMainWindow) {
    GamesApp app;
    app.dir.mkdir("Res");
    for (const char* name : {"Lang.dat", "lang_pic.ico"})
        QFile::copy(QStringLiteral(VARNIX_SOURCE_DIR "/res/lang/") + name,
                    app.dir.file(QStringLiteral("Res/") + name));
    app.dir.write("Main.ini", "Lang=1\r\nTheme=0\r\n");
    app.dir.write("List.ini", (app.cue + "\r\n" + app.dir.file("gone.cue") + "\r\n").toUtf8());
    app.start();
    // The verb bends for one missing game; the type filter and the mapping window speak German.
    EXPECT_EQ(app.form->countText(), "2 (1 fehlt)");
    app.form->Addgames1Click();
    EXPECT_EQ(app.dialogs.filters.last(), "Image-Dateien (CUE, CCD, M3U) (*.cue *.ccd *.m3u)");
    const input::MappingEditor pad(1, "gamepad", {});
    EXPECT_EQ(pad.label(0), "Oben ↑");
    EXPECT_EQ(pad.label(11), "L-Taste");
    EXPECT_EQ(pad.conflict(0, 64), "dem Emulatorbefehl \"F7 Laden\"");
    auto* selector = app.form->findChild<QComboBox*>("ComboBoxEx1");
    EXPECT_EQ(selector->currentIndex(), 1);
    EXPECT_NE(selector->itemText(1), "???");
    EXPECT_FALSE(selector->itemIcon(1).isNull());
    // The drop-down shows the translation's name whole beside its flag.
    app.form->show();
    selector->showPopup();
    EXPECT_GE(selector->view()->width(),
              QFontMetrics(selector->view()->font()).horizontalAdvance(selector->itemText(1)) +
                  selector->iconSize().width());
    selector->hidePopup();
    EXPECT_NE(app.form->findChild<QLabel*>("Label20")->text(), "BIOS settings");
    EXPECT_NE(app.action("Addgames1")->text(), "Add games");
    EXPECT_NE(i18n::message(3), "Supports only Sega Saturn system!");
    // Applying the file again finds a control for every entry of the main window.
    const i18n::ApplyResult again =
        i18n::applyTexts(i18n::Form::Main, app.form.get(), i18n::languageText(), 1);
    EXPECT_TRUE(again.unmatched.isEmpty()) << again.unmatched.join(", ").toStdString();
    EXPECT_EQ(again.kept, 0);
    i18n::initMessageTable();
    i18n::setLanguageIndex(0);
}

TEST(MainWindowGames, UnsavedSettingsAreMarkedAndAskedAboutOnce) {
    GamesApp app;
    app.dir.write("List.ini", (app.cue + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    app.start();
    app.form->show();
    auto* save = app.form->findChild<controls::TXiButton*>("XiButton2");
    settings::SettingsModel* model = app.form->settingsModel();
    using Choice = controls::Dialogs::SaveChoice;
    app.form->selectRow(0);
    EXPECT_EQ(save->caption(), "Save profile");
    model->setChecked(settings::Ctl::CheckBox1, !model->checked(settings::Ctl::CheckBox1));
    EXPECT_EQ(save->caption(), "Save profile *");

    // Cancel keeps the game and its changes; Save writes them before the other game shows.
    app.dialogs.saveAnswers << Choice::Cancel << Choice::Save;
    app.form->selectRow(1);
    EXPECT_EQ(app.dialogs.questions.size(), 1);
    EXPECT_EQ(app.form->selectedRow(), 0);
    EXPECT_TRUE(app.form->settingsUnsaved());
    app.form->selectRow(1);
    EXPECT_EQ(app.dialogs.questions.size(), 2);
    EXPECT_TRUE(app.dialogs.questions[1].contains("\"Alpha\""));
    EXPECT_EQ(app.form->selectedRow(), 1);
    EXPECT_FALSE(QDir(app.dir.file("Core/pgconfig")).isEmpty());
    EXPECT_EQ(save->caption(), "Save profile");

    // Closing asks too; a cancel keeps the window.
    model->setChecked(settings::Ctl::CheckBox1, !model->checked(settings::Ctl::CheckBox1));
    app.dialogs.saveAnswers << Choice::Cancel << Choice::Discard;
    EXPECT_FALSE(app.form->close());
    EXPECT_TRUE(app.form->close());
    EXPECT_EQ(app.dialogs.questions.size(), 4);
}

TEST(MainWindowGames, KeyboardStartsInTheListAndReachesMenuAndTabs) {
    GamesApp app;
    app.dir.write("List.ini", (app.cue + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    app.start();
    app.form->show();
    app.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.form.get()));
    QTableView* list = app.form->listView();
    EXPECT_EQ(app.form->focusWidget(), list);
    EXPECT_FALSE(list->currentIndex().isValid());
    // The first Down picks the first game.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(app.form->selectedRow(), 0);

    // Ctrl+Tab and Ctrl+Shift+Tab cycle the tabs.
    QTabWidget* tabs = app.form->pageControl();
    QTest::keyClick(list, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
    QTest::keyClick(list, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tabs->currentIndex(), tabs->count() - 1);

    // Shift+F10 opens the list's menu; Tab leaves the list without changing the game.
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(app.form->popupMenu()->isVisible());
    app.form->popupMenu()->close();
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_NE(app.form->focusWidget(), list);
    EXPECT_EQ(app.form->selectedRow(), 0);
}

TEST(MainWindowGames, LauncherFilesAreFoundIgnoringLetterCaseAndKeepALastLineEndedByCr) {
    GamesApp app;
    app.dir.write("main.ini", "Lang=0\r\nTheme=1\r\n");
    // The last entry ends in a lone CR, no LF.
    app.dir.write("list.ini", (app.cue + "\r\n" + app.m3u + "\r").toLocal8Bit());
    app.start();
    EXPECT_EQ(app.form->currentSkin(), 1);
    EXPECT_EQ(app.form->gameList()->model()->count(), 2);
    // The file is rewritten under the name it has; no second list appears beside it.
    EXPECT_EQ(testsupport::readAll(app.dir.file("list.ini")),
              (app.cue + "\r\n" + app.m3u + "\r\n").toLocal8Bit());
    EXPECT_FALSE(QDir(app.dir.path()).entryList(QDir::Files).contains("List.ini"));
}

// The language pass resets the lists stored by item index to their first item; the settings
// model follows, so a configuration read afterwards shows its values even where they equal the
// model's state before the pass (the emulator's default stretch is the list's fourth item).
TEST(MainWindowGames, TranslatedListsShowTheValuesInForce) {
    GamesApp app;
    app.dir.mkdir("Res");
    QFile::copy(VARNIX_SOURCE_DIR "/res/lang/Lang.dat", app.dir.file("Res/Lang.dat"));
    app.dir.write("Main.ini", "Lang=1\r\nTheme=0\r\n");
    app.dir.write("Core/mednafen.cfg", testsupport::readAll(app.dir.file("Core/mednafen.cfg")) +
                                           "ss.stretch aspect_mult2\nss.smpc.autortc.lang german\n"
                                           "ss.region_default eu\nss.cart backup\nss.videoip x\n"
                                           "ss.forcemono 1\nsound.driver alsa\n");
    app.dir.write("List.ini", app.cue.toUtf8() + "\r\n");
    app.start();
    auto* panel = app.form->findChild<settings::SettingsPanel*>("PageControl1");
    app.form->selectRow(0);

    using settings::Ctl;
    const std::pair<Ctl, int> expected[] = {
        {Ctl::ComboBox6, 3}, {Ctl::ComboBox3, 1},  {Ctl::ComboBox2, 2}, {Ctl::ComboBox1, 2},
        {Ctl::ComboBox7, 2}, {Ctl::ComboBox11, 1}, {Ctl::ComboBox12, 1}};
    for (const auto& [ctl, index] : expected) {
        SCOPED_TRACE(settings::ctlName(ctl).toStdString());
        EXPECT_EQ(panel->model()->index(ctl), index);
        EXPECT_EQ(static_cast<QComboBox*>(panel->widgetFor(ctl))->currentIndex(), index);
    }
    i18n::initMessageTable();
    i18n::setLanguageIndex(0);
}

namespace {

// Designed overlaps: the title bar's buttons, the empty-list notice under the settings panel
// (its heading's box touches the notice by a pixel), the About button on the status bar, the
// language selector in the free end of the tab strip.
bool designedOverlap(const QWidget* a, const QWidget* b) {
    static const QList<QStringList> pairs{
        {"BarTitle", "BarMini"}, {"Xpanel14", "PageControl1"}, {"Label30", "Label17"},
        {"BarTitle", "BarExit"}, {"StatusBar1", "XiButton7"},  {"PageControl1", "ComboBoxEx1"}};
    for (const QStringList& pair : pairs)
        if ((a->objectName() == pair[0] && b->objectName() == pair[1]) ||
            (a->objectName() == pair[1] && b->objectName() == pair[0]))
            return true;
    return false;
}

// Every shown caption under the window is whole, inside its container, and no two controls of a
// container overlap.
QStringList layoutProblems(QWidget* window) {
    QStringList problems;
    QList<QWidget*> all = window->findChildren<QWidget*>();
    all.prepend(window);
    for (QWidget* parent : all) {
        if (!parent->isVisible() || parent->window() != window)
            continue;
        if (!controls::captionFits(parent))
            problems << parent->objectName() + " cut";
        // A closed list shows its chosen item whole, whichever it is.
        if (const auto* list = qobject_cast<const QComboBox*>(parent)) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            option.frame = list->hasFrame();
            const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                              QStyle::SC_ComboBoxEditField, list);
            for (int i = 0; i < list->count(); ++i)
                if (list->fontMetrics().horizontalAdvance(list->itemText(i)) > field.width() - 2)
                    problems << list->objectName() + " item " + list->itemText(i) + " cut";
        }
        const bool container = parent->isWindow() || parent->inherits("controls::TXiPanel") ||
                               parent->inherits("QGroupBox") ||
                               parent->objectName() == "StatusBar1" ||
                               parent->objectName().startsWith("TabSheet");
        if (!container)
            continue;
        QList<QWidget*> kids;
        for (QWidget* kid : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (kid->isVisible() && !kid->isWindow())
                kids << kid;
        for (qsizetype i = 0; i < kids.size(); ++i) {
            if (!parent->isWindow() && !parent->rect().contains(kids[i]->geometry()))
                problems << kids[i]->objectName() + " outside " + parent->objectName();
            for (qsizetype j = i + 1; j < kids.size(); ++j)
                if (kids[i]->geometry().intersects(kids[j]->geometry()) &&
                    !designedOverlap(kids[i], kids[j]))
                    problems << kids[i]->objectName() + " overlaps " + kids[j]->objectName();
        }
    }
    return problems;
}

// The settings tabs' pane shows its left, right and bottom edges at the scale in force: each
// edge's device pixels hold a line darker than the faces around it.
QStringList paneFrameProblems(TForm1* form) {
    // The Fusion style (Linux) draws the pane as a dark outline; other styles shade it.
    if (form->pageControl()->style()->name().compare("fusion", Qt::CaseInsensitive) != 0)
        return {};
    const QImage image = form->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QRect pane = form->pageControl()->geometry();
    const auto dark = [&](qreal x0, qreal x1, qreal y0, qreal y1) {
        for (int y = int(std::floor(y0 * ratio)); y < int(std::ceil(y1 * ratio)); ++y)
            for (int x = int(std::floor(x0 * ratio)); x < int(std::ceil(x1 * ratio)); ++x)
                if (qGray(image.pixel(x, y)) < 200)
                    return true;
        return false;
    };
    const qreal midX = pane.center().x(), midY = pane.center().y();
    const qreal left = pane.left(), right = pane.right() + 1, bottom = pane.bottom() + 1;
    QStringList problems;
    if (!dark(left, left + 1, midY, midY + 1))
        problems << "pane's left edge lost";
    if (!dark(right - 2, right, midY, midY + 1))
        problems << "pane's right edge lost";
    if (!dark(midX, midX + 1, bottom - 2, bottom))
        problems << "pane's bottom edge lost";
    return problems;
}

// With VARNIX_SCREENSHOT_DIR set, writes a picture of the window for a look at the layout.
void shoot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("VARNIX_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        window->grab().save(folder + "/varnix-de-" + name + ".png");
}

} // namespace

// Shows every tab of the main window in turn (the Video tab's inner tabs each) and calls check
// with the shown tab's name and a name for its screenshot.
template <typename Check> void forEveryTab(TForm1* form, Check check) {
    auto* pages = form->pageControl();
    auto* inner = pages->findChild<QTabWidget*>("PageControl2");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        for (int sub = 0; sub < (page == 1 ? inner->count() : 1); ++sub) {
            inner->setCurrentIndex(sub);
            check(pages->tabText(page), QStringLiteral("main-%1-%2").arg(page).arg(sub));
        }
    }
}

// Every tab of the main window in built-in English, lists included.
TEST(MainWindowGames, EnglishFitsEveryTab) {
    GamesApp app;
    app.dir.write("List.ini", app.cue.toUtf8() + "\r\n");
    app.start();
    app.form->show();
    app.form->selectRow(0);
    forEveryTab(app.form.get(), [&](const QString&, const QString&) {
        EXPECT_EQ(layoutProblems(app.form.get()), QStringList());
        EXPECT_EQ(paneFrameProblems(app.form.get()), QStringList());
    });
}

// The shipped translation fits every tab of the main window and both small windows.
TEST(MainWindowGames, ShippedTranslationFitsEveryWindow) {
    GamesApp app;
    app.dir.mkdir("Res");
    QFile::copy(VARNIX_SOURCE_DIR "/res/lang/Lang.dat", app.dir.file("Res/Lang.dat"));
    app.dir.write("Main.ini", "Lang=1\r\nTheme=0\r\n");
    app.dir.write("List.ini", (app.m3u + "\r\n" + app.cue + "\r\n").toLocal8Bit());
    app.start();
    app.form->show();
    app.form->selectRow(0);

    forEveryTab(app.form.get(), [&](const QString& tab, const QString& shot) {
        shoot(app.form.get(), shot);
        const QStringList problems =
            layoutProblems(app.form.get()) + paneFrameProblems(app.form.get());
        EXPECT_TRUE(problems.isEmpty())
            << tab.toStdString() << ": " << problems.join("; ").toStdString();
    });
    auto* pages = app.form->pageControl();
    const QTabBar* tabs = pages->tabBar();
    EXPECT_LT(tabs->mapTo(app.form.get(), tabs->tabRect(tabs->count() - 1).topRight()).x(),
              app.form->findChild<QWidget*>("ComboBoxEx1")->x());

    // The longest status texts show whole before the About button.
    auto* status = app.form->findChild<QLabel*>("StatusBar1Panel3");
    app.form->XiButton2Click();
    EXPECT_EQ(status->text(), i18n::message(6));
    app.dialogs.openFileAnswers << app.dir.file("Core/pgconfig/Gamma.ss.cfg");
    app.form->XiButton1Click();
    EXPECT_EQ(status->text(), i18n::message(5));
    EXPECT_LE(
        status->mapTo(app.form.get(), QPoint(status->frameWidth() + status->indent(), 0)).x() +
            status->fontMetrics().horizontalAdvance(status->text()),
        app.form->findChild<QWidget*>("XiButton7")->x());

    // The boxes' titles speak German; the group titles show whole; the caption of the low
    // "About" button stays clear of its frame (the dots of "Ü" were lost under it).
    EXPECT_EQ(controls::boxTitle(controls::BoxKind::Error), "Fehler");
    EXPECT_EQ(controls::boxTitle(controls::BoxKind::Warning), "Warnung");
    EXPECT_EQ(controls::boxTitle(controls::BoxKind::Confirm), "Bestätigen");
    for (const QGroupBox* group : app.form->findChildren<QGroupBox*>())
        EXPECT_LE(group->fontMetrics().horizontalAdvance(group->title()) + 16, group->width())
            << group->title().toStdString();
    auto* about = app.form->findChild<controls::TXiButton*>("XiButton7");
    EXPECT_EQ(about->caption(), "Über");
    const auto inkRows = [about](const QString& caption) {
        about->setCaption(QString());
        const QImage bare = about->grab().toImage();
        about->setCaption(caption);
        const QImage shown = about->grab().toImage();
        int rows = 0;
        for (int y = 0; y < bare.height(); ++y) {
            for (int x = 0; x < bare.width(); ++x) {
                if (shown.pixel(x, y) != bare.pixel(x, y)) {
                    ++rows;
                    break;
                }
            }
        }
        return rows;
    };
    // The dots show as many rows as on a button tall enough for any caption.
    const auto dotRows = [&inkRows] { return inkRows("Über") - inkRows("Uber"); };
    const int onTheButton = dotRows();
    const QSize size = about->size();
    about->resize(size.width(), 40);
    const int unclipped = dotRows();
    about->resize(size);
    about->setCaption("Über");
    EXPECT_GT(unclipped, 0);
    // At a fractional scale the dots' edge rows depend on where between device pixels the
    // caption falls, which differs on the taller button: there the dots need only show.
    const qreal ratio = about->devicePixelRatioF();
    if (ratio == std::floor(ratio))
        EXPECT_EQ(onTheButton, unclipped);
    else
        EXPECT_GT(onTheButton, 0);

    // The two small windows, each as it shows.
    const auto checkWindow = [&](auto* window, const char* title, const char* shotName) {
        window->show();
        window->FormActivate();
        EXPECT_EQ(window->windowTitle(), title);
        shoot(window, shotName);
        EXPECT_EQ(layoutProblems(window), QStringList());
        window->hide();
    };
    checkWindow(app.form2.get(), "Spieleigenschaften", "properties");
    checkWindow(app.form3.get(), "CD-Auswahl", "cd-selection");
    i18n::initMessageTable();
    i18n::setLanguageIndex(0);
}

TEST(MainWindowGames, RowsShowTheirPathAndWhichProfileApplies) {
    GamesApp app;
    app.dir.write("Core/pgconfig/Alpha.ss.cfg", "ss.cart auto\r\n");
    // The emulator reads a playlist game's profile under the playlist's name, not the disc's.
    app.dir.write("Core/pgconfig/Gamma (Disc 1).ss.cfg", "ss.cart auto\r\n");
    app.dir.write("List.ini",
                  (app.cue + "\r\n" + app.ccd + "\r\n" + app.m3u + "\r\n").toLocal8Bit());
    app.start();
    library::GameListModel* model = app.form->gameList()->model();
    const auto marked = [&](int row) {
        return model->index(row, 1).data(Qt::FontRole).value<QFont>().italic();
    };
    const auto tip = [&](int row) { return model->index(row, 2).data(Qt::ToolTipRole).toString(); };
    EXPECT_TRUE(marked(0));
    EXPECT_FALSE(marked(1));
    EXPECT_FALSE(marked(2));
    EXPECT_EQ(tip(0), QDir::toNativeSeparators(app.cue) + "\n" +
                          i18n::message(i18n::Extra::ProfileTip) +
                          QDir::toNativeSeparators(app.dir.file("Core/pgconfig/Alpha.ss.cfg")));
    EXPECT_EQ(tip(1), QDir::toNativeSeparators(app.ccd));

    // The marker follows saving and deleting profiles.
    app.form->selectRow(2);
    app.form->XiButton2Click();
    EXPECT_TRUE(marked(2));
    EXPECT_TRUE(tip(2).endsWith("Gamma.ss.cfg"));
    app.form->selectRow(0);
    app.form->Deletegameprofile1Click();
    EXPECT_FALSE(marked(0));
    EXPECT_EQ(tip(0), QDir::toNativeSeparators(app.cue));
}

TEST(MainWindowGames, SelectedGameAndOpenTabSurviveARestartAndTheNextStart) {
    GamesApp app;
    app.dir.write("List.ini",
                  (app.cue + "\r\n" + app.ccd + "\r\n" + app.m3u + "\r\n").toLocal8Bit());
    app.start();
    app.form->selectRow(1);
    app.form->pageControl()->setCurrentIndex(2);
    app.form->findChild<QComboBox*>("ComboBox14")->setCurrentIndex(1);
    app.form->ComboBox14Change(1);
    app.start();
    EXPECT_EQ(app.form->currentSkin(), 1);
    EXPECT_EQ(app.form->selectedRow(), 1);
    EXPECT_EQ(app.form->pageControl()->currentIndex(), 2);

    // Closing keeps the place for the next start.
    app.form->selectRow(2);
    app.form->pageControl()->setCurrentIndex(0);
    app.form->close();
    EXPECT_EQ(testsupport::readAll(app.dir.file("Main.ini")),
              ("Lang=0\r\nTheme=1\r\nGame=" + app.m3u + "\r\n").toLocal8Bit());
    app.start();
    EXPECT_EQ(app.form->selectedRow(), 2);
    EXPECT_EQ(app.form->pageControl()->currentIndex(), 0);
}

TEST(MainWindowGames, FilterHidesRowsInTheViewWhileCommandsActOnTheRealRows) {
    GamesApp app;
    app.dir.write("List.ini",
                  (app.cue + "\r\n" + app.ccd + "\r\n" + app.m3u + "\r\n").toLocal8Bit());
    app.start();
    QTableView* view = app.form->listView();
    library::GameListModel* model = app.form->gameList()->model();
    app.form->show();
    app.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.form.get()));
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(app.form->filterField()->isVisibleTo(app.form.get()));
    QTest::keyClicks(app.form->filterField(), "t-");
    EXPECT_FALSE(view->isRowHidden(0));
    EXPECT_TRUE(view->isRowHidden(1)); // Beta, MK-81000
    EXPECT_FALSE(view->isRowHidden(2));
    EXPECT_EQ(app.form->countText(), "2 of 3");

    // Sorting by region moves the hidden row last; it stays hidden under its new number.
    app.form->ListView1ColumnClick(3);
    ASSERT_EQ(model->at(2).gameName, "Beta");
    EXPECT_TRUE(view->isRowHidden(2));
    EXPECT_FALSE(view->isRowHidden(0));
    EXPECT_EQ(app.listFile(),
              (app.m3u + "\r\n" + app.cue + "\r\n" + app.ccd + "\r\n").toLocal8Bit());

    // Deleting the selected row deletes that game and keeps the hidden one in List.ini.
    app.form->selectRow(0);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(app.listFile(), (app.cue + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    EXPECT_TRUE(view->isRowHidden(1));
    EXPECT_EQ(app.form->countText(), "1 of 2");

    // Escape clears and hides the field; every row shows again.
    QTest::keyClick(app.form->filterField(), Qt::Key_Escape);
    EXPECT_FALSE(app.form->filterField()->isVisibleTo(app.form.get()));
    EXPECT_FALSE(view->isRowHidden(1));
    EXPECT_EQ(app.form->countText(), "2");
}

TEST(MainWindowGames, FoldersAndFilesComeInByTheMenuAndByDropping) {
    GamesApp app;
    app.start();
    const QList<QAction*> entries = app.form->popupMenu()->actions();
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries.at(1)->objectName(), "Addfolder1");
    EXPECT_EQ(entries.at(1)->text(), i18n::message(i18n::Extra::AddFolder));

    app.dialogs.openFolderAnswers << app.dir.file("games");
    app.form->Addfolder1Click();
    library::GameListModel* model = app.form->gameList()->model();
    ASSERT_EQ(model->count(), 3);
    EXPECT_EQ(model->at(0).path, app.cue);
    EXPECT_EQ(model->at(2).path, app.m3u);

    // A dropped folder and a file of another kind: the file is refused as "Add games" would.
    app.form->Clearlist2Click();
    const QString text = app.dir.write("notes.txt", "not a game");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(app.dir.file("games")), QUrl::fromLocalFile(text)});
    QWidget* viewport = app.form->listView()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(model->count(), 3);
    EXPECT_EQ(app.form->statusText(), "3 games added, 2 not a Saturn disc");
    EXPECT_EQ(app.listFile(),
              (app.cue + "\r\n" + app.ccd + "\r\n" + app.m3u + "\r\n").toLocal8Bit());
}

// "Don't save" before playing: the tabs show the stored profile again, still as the game's, and
// a later save keeps what the profile held.
TEST(MainWindowGames, DiscardingBeforePlayingShowsTheStoredProfileAgain) {
    GamesApp app;
    app.dir.write("List.ini", app.cue.toUtf8() + "\r\n");
    app.dir.write("Core/pgconfig/Alpha.ss.cfg", "ss.input.port1 3dpad\r\nvideo.fs 1\r\n");
    app.start();
    app.form->show();
    app.form->selectRow(0);
    settings::SettingsModel* model = app.form->settingsModel();
    using settings::Ctl;
    model->setChecked(Ctl::CheckBox13, !model->checked(Ctl::CheckBox13));
    app.dialogs.saveAnswers << controls::Dialogs::SaveChoice::Discard;
    app.form->LaunchSelectedGame();
    EXPECT_EQ(app.dialogs.questions.size(), 1);
    EXPECT_EQ(model->portDevice(0), 2);
    EXPECT_TRUE(model->checked(Ctl::CheckBox1));
    EXPECT_FALSE(app.form->settingsUnsaved());
    model->setChecked(Ctl::CheckBox13, !model->checked(Ctl::CheckBox13));
    EXPECT_TRUE(app.form->settingsUnsaved());
    app.form->XiButton2Click();
    const QByteArray saved = testsupport::readAll(app.dir.file("Core/pgconfig/Alpha.ss.cfg"));
    EXPECT_TRUE(saved.contains("ss.input.port1 3dpad\r\n") && saved.contains("video.fs 1\r\n"))
        << saved.toStdString();
}

// After "Delete profile" the tabs show what the emulator now reads: the global file alone.
TEST(MainWindowGames, DeletingTheProfileShowsTheGlobalSettings) {
    GamesApp app;
    app.dir.write("List.ini", app.cue.toUtf8() + "\r\n");
    app.dir.write("Core/pgconfig/Alpha.ss.cfg", "video.fs 1\r\n");
    app.start();
    app.form->selectRow(0);
    EXPECT_TRUE(app.form->settingsModel()->checked(settings::Ctl::CheckBox1));
    app.form->Deletegameprofile1Click();
    EXPECT_EQ(app.form->statusText(), "Profile of \"Alpha\" removed. Ctrl+Z restores it.");
    EXPECT_FALSE(app.form->settingsModel()->checked(settings::Ctl::CheckBox1));
    EXPECT_FALSE(app.form->settingsUnsaved());
}

// "Delete profile" is one click, and Ctrl+Z puts the file back as it was, in the same history
// as the list's removals; a profile saved after the deletion is not overwritten.
TEST(MainWindowGames, CtrlZPutsADeletedProfileBack) {
    GamesApp app;
    const QByteArray profile = "video.fs 1\r\n; kept as written \xe9\xff\nss.cart backup\n";
    app.dir.write("List.ini", (app.cue + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    app.dir.write("Core/pgconfig/Alpha.ss.cfg", profile);
    app.start();
    app.form->show();
    app.form->selectRow(0);
    app.form->Deletegameprofile1Click();
    EXPECT_FALSE(QFile::exists(app.dir.file("Core/pgconfig/Alpha.ss.cfg")));
    app.form->selectRow(1);
    app.form->Deleteitem1Click(); // a later step of the same history, undone first
    app.form->Undo1Click();
    EXPECT_EQ(app.form->gameList()->model()->count(), 2);
    EXPECT_FALSE(QFile::exists(app.dir.file("Core/pgconfig/Alpha.ss.cfg")));
    app.form->selectRow(0);
    app.form->Undo1Click();
    EXPECT_EQ(testsupport::readAll(app.dir.file("Core/pgconfig/Alpha.ss.cfg")), profile);
    EXPECT_EQ(app.form->statusText(), "Profile of \"Alpha\" put back.");
    EXPECT_TRUE(app.form->settingsModel()->checked(settings::Ctl::CheckBox1));
    EXPECT_FALSE(app.form->settingsUnsaved());

    app.form->Deletegameprofile1Click();
    app.form->XiButton2Click();
    const QByteArray saved = testsupport::readAll(app.dir.file("Core/pgconfig/Alpha.ss.cfg"));
    app.form->Undo1Click();
    EXPECT_EQ(testsupport::readAll(app.dir.file("Core/pgconfig/Alpha.ss.cfg")), saved);
}

// A tick at opacity 0 or another device alone is an edit: marked, unsaved, and saved.
TEST(MainWindowGames, ATickAtZeroOrADeviceAloneIsAnEdit) {
    GamesApp app;
    app.dir.write("List.ini", app.cue.toUtf8() + "\r\n");
    app.start();
    app.form->show();
    app.form->selectRow(0);
    settings::SettingsPanel* panel = app.form->pageControl();
    using settings::Ctl;
    static_cast<QCheckBox*>(panel->widgetFor(Ctl::CheckBox10))->setChecked(true);
    EXPECT_EQ(app.form->settingsModel()->position(Ctl::TrackBar4), 20);
    EXPECT_TRUE(app.form->settingsUnsaved());
    EXPECT_FALSE(panel->markedControls().empty());
    app.form->XiButton2Click();
    EXPECT_TRUE(testsupport::readAll(app.dir.file("Core/pgconfig/Alpha.ss.cfg"))
                    .contains("ss.scanlines 20\r\n"));

    // The user picks the 3D pad the way the list reports it: the widget's index first.
    auto* device = static_cast<QComboBox*>(panel->widgetFor(Ctl::ComboBox15));
    device->setCurrentIndex(2);
    emit device->activated(2);
    EXPECT_TRUE(app.form->settingsUnsaved());
    EXPECT_NE(
        std::find(panel->markedControls().begin(), panel->markedControls().end(), Ctl::ComboBox15),
        panel->markedControls().end());
}

// The emulator maps keys only to port 1's digital pad: a device nothing drives says so, and
// its mapping window copies the shared buttons from the pad.
TEST(MainWindowGames, ADeviceWithoutKeysSaysSo) {
    GamesApp app;
    app.dir.write("List.ini", app.cue.toUtf8() + "\r\n");
    app.start();
    app.form->show();
    app.form->selectRow(0);
    settings::SettingsPanel* panel = app.form->pageControl();
    auto* notice = panel->findChild<QLabel*>("NoKeysNotice");
    EXPECT_TRUE(notice->isHidden());
    auto* device = static_cast<QComboBox*>(panel->widgetFor(settings::Ctl::ComboBox15));
    device->setCurrentIndex(2);
    emit device->activated(2);
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(notice->text().contains("No keys are mapped for this device."));
    EXPECT_EQ(layoutProblems(app.form.get()), QStringList());
    app.dir.write("Core/mednafen.cfg", "ss.input.port1.3dpad.a keyboard 0x0 4\n");
    device->setCurrentIndex(1);
    emit device->activated(1);
    device->setCurrentIndex(2);
    emit device->activated(2);
    EXPECT_TRUE(notice->isHidden());
}

// After a batch the menu names each file it did not add, with the reason.
TEST(MainWindowGames, DetailsNameWhatABatchRefused) {
    GamesApp app;
    app.dir.write("List.ini", app.cue.toUtf8() + "\r\n");
    app.start();
    app.dialogs.openFilesAnswers << QStringList{app.cue, app.notSaturn, app.ccd};
    app.form->Addgames1Click();
    app.form->PopupMenu1Popup();
    ASSERT_TRUE(app.action("Details1")->isEnabled());
    app.action("Details1")->trigger();
    ASSERT_EQ(app.dialogs.informations.size(), 1);
    EXPECT_EQ(app.dialogs.informations[0],
              QDir::toNativeSeparators(app.cue) + ": " + i18n::message(13) + "\r" +
                  QDir::toNativeSeparators(app.notSaturn) + ": " + i18n::message(3));

    // A desktop that cannot show the folder: its path is named in an error box.
    app.dialogs.showFolderAnswer = false;
    app.action("Openfolder1")->trigger();
    ASSERT_EQ(app.dialogs.errors.size(), 1);
    EXPECT_TRUE(app.dialogs.errors[0].endsWith(QDir::toNativeSeparators(app.dir.path())));
}

// A profile that differs from the global file in three settings marks exactly those three; the
// marks follow the tabs; "Use the global value" and "Reset to global" go back to the global file,
// and the profile then saved equals one saved for a game without a profile.
TEST(MainWindowGames, DifferencesFromTheGlobalFileAreMarkedAndUndone) {
    GamesApp app;
    app.dir.write("List.ini", (app.cue + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    app.dir.write("Core/pgconfig/Alpha.ss.cfg",
                  "video.fs 1\r\nss.cart backup\r\nss.scanlines -30\r\n");
    app.start();
    app.form->show();
    settings::SettingsPanel* panel = app.form->pageControl();
    settings::SettingsModel* model = app.form->settingsModel();
    using settings::Ctl;
    using Marks = std::vector<Ctl>;
    app.form->selectRow(1); // Beta has no profile: nothing differs
    EXPECT_EQ(panel->markedControls(), Marks());
    app.form->XiButton2Click();
    const QByteArray withoutProfile =
        testsupport::readAll(app.dir.file("Core/pgconfig/Beta.ss.cfg"));

    app.form->selectRow(0);
    EXPECT_EQ(panel->markedControls(), (Marks{Ctl::ComboBox1, Ctl::CheckBox10, Ctl::CheckBox1}));
    EXPECT_EQ(panel->widgetFor(Ctl::ComboBox1)->toolTip(), "Global: Auto");
    EXPECT_TRUE(panel->widgetFor(Ctl::CheckBox1)->toolTip().endsWith("Global: off"));
    int dots = 0;
    for (QWidget* dot : panel->findChildren<QWidget*>("GlobalDot"))
        dots += dot->isHidden() ? 0 : 1;
    EXPECT_EQ(dots, 3);

    model->setChecked(Ctl::CheckBox13, true);
    EXPECT_EQ(panel->markedControls().size(), 4u);
    std::unique_ptr<QMenu> menu(panel->contextMenuFor(Ctl::CheckBox1));
    QAction* use = menu->findChild<QAction*>("UseGlobalValue");
    ASSERT_TRUE(use && use->isEnabled());
    use->trigger();
    EXPECT_FALSE(model->checked(Ctl::CheckBox1));
    EXPECT_EQ(panel->markedControls(), (Marks{Ctl::ComboBox1, Ctl::CheckBox10, Ctl::CheckBox13}));

    app.form->PopupMenu1Popup();
    ASSERT_TRUE(app.action("Resettoglobal1")->isEnabled());
    app.action("Resettoglobal1")->trigger();
    EXPECT_EQ(panel->markedControls(), Marks());
    EXPECT_TRUE(app.form->settingsUnsaved());
    app.form->XiButton2Click();
    EXPECT_EQ(testsupport::readAll(app.dir.file("Core/pgconfig/Alpha.ss.cfg")), withoutProfile);
}

// A game missing at start-up shows in grey italics; playing it explains why it cannot start and
// "Locate..." puts the chosen image in its row, offering to rename its profile; Ctrl+Z brings
// a cleared list back.
TEST(MainWindowGames, MissingGameIsExplainedAndLocatedAndCtrlZUndoesAClear) {
    GamesApp app;
    const QString lost = app.dir.file("old/Lost.cue");
    app.dir.write("Core/pgconfig/Lost.ss.cfg", "ss.tblur 1\n");
    app.dir.write("List.ini", (app.cue + "\r\n" + lost + "\r\n" + app.ccd + "\r\n").toLocal8Bit());
    app.start();
    app.form->show();
    app.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.form.get()));
    library::GameListModel* model = app.form->gameList()->model();
    EXPECT_EQ(app.form->countText(), "3 (1 missing)");
    EXPECT_EQ(model->data(model->index(1, 1), Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::gray));
    EXPECT_TRUE(model->data(model->index(1, 2), Qt::FontRole).value<QFont>().italic());
    app.form->selectRow(1);
    EXPECT_FALSE(app.form->pageControl()->isEnabled());
    app.form->PopupMenu1Popup();
    EXPECT_TRUE(app.action("Removemissing1")->isEnabled());
    EXPECT_FALSE(app.action("Undo1")->isEnabled());

    const QString found =
        discwriter::writeCueGame(app.dir.file("new"), "Found", header("T-9", "J"));
    app.dialogs.chooseAnswers << 0 << 0; // "Locate...", then "Rename"
    app.dialogs.openFileAnswers << found;
    QTest::keyClick(app.form->listView(), Qt::Key_Return);
    ASSERT_EQ(app.dialogs.questions.size(), 2);
    EXPECT_EQ(app.dialogs.questions.first(),
              i18n::message(i18n::Extra::NotFound).arg(QDir::toNativeSeparators(lost)));
    EXPECT_EQ(app.dialogs.folders.last(), app.dir.path()); // the nearest folder there is
    const QByteArray located = (app.cue + "\r\n" + found + "\r\n" + app.ccd + "\r\n").toLocal8Bit();
    EXPECT_EQ(app.listFile(), located);
    EXPECT_TRUE(QFile::exists(app.dir.file("Core/pgconfig/Found.ss.cfg")));
    EXPECT_FALSE(QFile::exists(app.dir.file("Core/pgconfig/Lost.ss.cfg")));
    EXPECT_EQ(app.form->selectedRow(), 1);
    EXPECT_TRUE(app.form->pageControl()->isEnabled());
    EXPECT_EQ(app.form->countText(), "3");

    app.form->Clearlist2Click();
    EXPECT_EQ(app.form->countText(), "0");
    QTest::keyClick(app.form->listView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(app.listFile(), located);
    EXPECT_EQ(app.form->countText(), "3");
    EXPECT_TRUE(app.form->pageControl()->isVisible());
}

// The empty-list notice lies under the settings tabs: with games listed the tabs cover it whole,
// whatever the platform's style paints (the Windows style leaves tab pages unpainted).
TEST(MainWindowGames, TheTabsCoverTheEmptyListNotice) {
    const QString previousStyle = QApplication::style()->name();
    QApplication::setStyle(QStringLiteral("Windows"));
    GamesApp app;
    app.dir.write("List.ini", app.cue.toUtf8() + "\r\n");
    app.start();
    app.form->show();
    app.form->selectRow(0);
    auto* notice = app.form->findChild<QWidget*>("Xpanel14");
    ASSERT_TRUE(notice);
    notice->show();
    const QImage shown = app.form->grab(notice->geometry()).toImage();
    notice->hide();
    EXPECT_EQ(shown, app.form->grab(notice->geometry()).toImage());
    QApplication::setStyle(previousStyle);
}
