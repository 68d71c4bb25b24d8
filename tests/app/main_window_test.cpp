#include "app/main_window.h"
#include "controls/gradient_bar.h"
#include "controls/xi_button.h"
#include "i18n/messages.h"
#include "launch/cd_window.h"
#include "library/game_list.h"
#include "library/properties_window.h"
#include "settings/settings_panel.h"
#include "test_support.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A launcher started in a fresh application folder, with its boxes answered by FakeDialogs.
struct Launcher {
    testsupport::TempFolder dir;
    testsupport::FakeDialogs dialogs;
    QString previousDir = QDir::currentPath();
    std::unique_ptr<TForm1> form;
    QStringList restarts;

    explicit Launcher(bool withEmulator = true, const QByteArray& mainIni = QByteArray()) {
        dir.mkdir("Core/pgconfig");
        if (withEmulator) {
            testsupport::installStubEmulator(dir.path());
            dir.write("Core/mednafen.cfg", ";cfg\n");
        }
        if (!mainIni.isNull())
            dir.write("Main.ini", mainIni);
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
        form->setRestarter([this](const QString& folder) {
            restarts << folder;
            return true;
        });
    }
    ~Launcher() {
        form.reset();
        QDir::setCurrent(previousDir);
    }
    QAction* action(const char* name) const {
        return form->findChild<QAction*>(QString::fromLatin1(name));
    }
    template <typename T> T* child(const char* name) const {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
};

} // namespace

TEST(MainWindow, FrameRegionsSitWhereTheDesignPutsThem) {
    Launcher app;
    EXPECT_EQ(app.form->size(), QSize(694, 503));
    EXPECT_TRUE(app.form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(app.child<QWidget>("BarTitle")->geometry(), QRect(1, 1, 692, 27));
    // The close bar ends flush with the language selector, the minimize bar starts with it.
    const QRect selector = app.child<QWidget>("ComboBoxEx1")->geometry();
    EXPECT_EQ(selector, QRect(619, 35, 64, 22));
    EXPECT_EQ(app.child<QWidget>("BarExit")->geometry().right(), selector.right());
    EXPECT_EQ(app.child<QWidget>("BarMini")->x(), selector.x());
    EXPECT_EQ(app.child<QWidget>("ListView1")->geometry(), QRect(10, 37, 377, 388));
    EXPECT_EQ(app.child<QWidget>("PageControl1")->geometry(), QRect(395, 37, 290, 442));
    EXPECT_EQ(app.child<QWidget>("Xpanel14")->geometry(), QRect(397, 202, 278, 74));
    EXPECT_EQ(app.child<QWidget>("GroupBox3")->geometry(), QRect(8, 428, 285, 51));
    EXPECT_EQ(app.child<QWidget>("GroupBox5")->geometry(), QRect(299, 428, 88, 51));
    EXPECT_EQ(app.child<QWidget>("StatusBar1")->geometry(), QRect(1, 483, 692, 19));
    EXPECT_EQ(app.child<QWidget>("XiButton7")->geometry(), QRect(644, 485, 42, 16));
    auto* menu = app.child<QMenu>("PopupMenu1");
    QStringList captions;
    for (QAction* a : menu->actions())
        captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(
        captions,
        (QStringList{"Add games", "Add folder...", "Details...", "Delete item", "Clear list",
                     "Remove missing games", "Undo", "Check the list again", "-", "Delete profile",
                     "Reset to global", "-", "Game properties", "-", "Open application folder"}));
}

TEST(MainWindow, WithoutMainIniTheSilverSkinIsInForce) {
    Launcher app;
    EXPECT_EQ(app.child<QComboBox>("ComboBox14")->currentIndex(), 3);
    EXPECT_EQ(app.child<controls::GradientBar>("BarTitle")->gradientEndColor(), QColor(0xDEE0DA));
    EXPECT_EQ(app.child<QComboBox>("ComboBoxEx1")->currentIndex(), 0);
    EXPECT_EQ(app.child<QComboBox>("ComboBoxEx1")->itemText(1), "???");
}

TEST(MainWindow, SkyThemeTintsTheTitleBar) {
    Launcher app(true, "Lang=0\r\nTheme=4\r\n");
    EXPECT_EQ(app.child<QComboBox>("ComboBox14")->currentIndex(), 4);
    EXPECT_EQ(app.child<controls::GradientBar>("BarTitle")->gradientEndColor(), QColor(0xC1E0FF));
    EXPECT_EQ(app.form->gameList()->model()->tint(), QColor(0xC1E0FF));
}

TEST(MainWindow, EmptyListOffersOnlyAddGamesAndShowsTheWarning) {
    Launcher app;
    app.form->PopupMenu1Popup();
    EXPECT_TRUE(app.action("Addgames1")->isEnabled());
    EXPECT_FALSE(app.action("Deleteitem1")->isEnabled());
    EXPECT_FALSE(app.action("Clearlist2")->isEnabled());
    EXPECT_FALSE(app.action("Deletegameprofile1")->isEnabled());
    EXPECT_FALSE(app.action("Gameproperties1")->isEnabled());
    EXPECT_FALSE(app.form->pageControl()->isVisibleTo(app.form.get()));
    EXPECT_FALSE(QFile::exists(app.dir.file("List.ini")));
    EXPECT_EQ(app.form->countText(), "0"); // a number even before the first list
}

TEST(MainWindow, PickingTheSkinInForceDoesNothingAndAnotherRestarts) {
    Launcher app;
    auto* skins = app.child<QComboBox>("ComboBox14");
    skins->setCurrentIndex(3);
    app.form->ComboBox14Change(3);
    EXPECT_TRUE(app.restarts.isEmpty());
    EXPECT_FALSE(QFile::exists(app.dir.file("Main.ini")));
    skins->setCurrentIndex(1);
    app.form->ComboBox14Change(1);
    ASSERT_EQ(app.restarts.size(), 1);
    EXPECT_EQ(app.restarts.first(), app.dir.path());
    EXPECT_EQ(testsupport::readAll(app.dir.file("Main.ini")), "Lang=0\r\nTheme=1\r\n");
}

TEST(MainWindow, SecondLanguageDoesNothingWhileItReadsQuestionMarks) {
    Launcher app;
    auto* languages = app.child<QComboBox>("ComboBoxEx1");
    languages->setCurrentIndex(1);
    app.form->ComboBoxEx1Change(1);
    EXPECT_TRUE(app.restarts.isEmpty());
    EXPECT_FALSE(QFile::exists(app.dir.file("Main.ini")));
    EXPECT_EQ(languages->currentIndex(), 1);
}

TEST(MainWindow, DraggingTheTitleBarMovesTheWindowByTheOffset) {
    Launcher app;
    app.form->move(100, 80);
    auto* bar = app.child<controls::GradientBar>("BarTitle");
    emit bar->pressed(QPoint(150, 90));
    emit bar->moved(QPoint(170, 120));
    EXPECT_EQ(app.form->pos(), QPoint(120, 110));
    emit bar->released(QPoint(170, 120));
    emit bar->moved(QPoint(300, 300));
    EXPECT_EQ(app.form->pos(), QPoint(120, 110));
}

TEST(MainWindow, AboutBoxJoinsThreeMessagesAndEndsWithTheVersion) {
    Launcher app;
    app.form->XiButton7Click();
    ASSERT_EQ(app.dialogs.informations.size(), 1);
    const QChar br(13);
    EXPECT_EQ(app.dialogs.informations.first(),
              i18n::message(2) + br + i18n::message(3) + br + br + i18n::message(4) + " (v" +
                  VARNIX_VERSION + ")" + br + br +
                  "Application folder: " + QDir::toNativeSeparators(app.dir.path()));
}

TEST(MainWindow, MissingEmulatorShowsBothMessagesAndEnds) {
    Launcher app(false);
    app.form->FormActivate();
    ASSERT_EQ(app.dialogs.errors.size(), 1);
    EXPECT_EQ(app.dialogs.errors.first(), i18n::message(0) + QChar(13) + i18n::message(1));
    EXPECT_TRUE(app.dialogs.errors.first().startsWith("\"mednafen.exe\" is not found"));
    // Later activations while ending show nothing more.
    app.form->FormActivate();
    EXPECT_EQ(app.dialogs.errors.size(), 1);
}
