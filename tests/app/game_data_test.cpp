#include "app/main_window.h"
#include "disc_writer.h"
#include "gamedata/game_data_panel.h"
#include "i18n/messages.h"
#include "launch/cd_window.h"
#include "library/game_list.h"
#include "library/properties_window.h"
#include "test_support.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

// An application folder with the stand-in emulator, four games in List.ini and the play time of
// two of them.
struct PlayedApp {
    testsupport::TempFolder dir;
    testsupport::FakeDialogs dialogs;
    QString previousDir = QDir::currentPath();
    QStringList games;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<launch::TForm3> form3;
    std::unique_ptr<library::TForm2> form2;

    PlayedApp() {
        dir.mkdir("Core/pgconfig");
        testsupport::installStubEmulator(dir.path());
        dir.write("Core/mednafen.cfg", ";global\n");
        dir.write("Core/firmware/sega_101.bin", "jp");
        dir.write("Core/firmware/mpr-17933.bin", "na");
        QDir().mkpath(dir.file("games"));
        discwriter::Header header;
        header.productNumber = "T-1234";
        for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"})
            games << discwriter::writeCueGame(dir.file("games"), name, header);
        dir.write("List.ini", (games.join("\r\n") + "\r\n").toLocal8Bit());
        // Gamma was played last, Alpha before it; Beta and Delta never.
        dir.write("PlayTime.ini",
                  ("600 2 1000 1300 1 " + games[0] + "\r\n7260 3 1900 2000 0 " + games[2] + "\r\n")
                      .toLocal8Bit());
    }
    void start() {
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>();
        form3 = std::make_unique<launch::TForm3>(form.get());
        form2 = std::make_unique<library::TForm2>(form.get());
        form->attachWindows(form3.get(), form2.get());
    }
    ~PlayedApp() {
        form2.reset();
        form3.reset();
        form.reset();
        QDir::setCurrent(previousDir);
    }
    QStringList order() const { return form->gameList()->model()->paths(); }
};

} // namespace

TEST(GameData, RecentlyPlayedFirstSortsUndoablyAndTooltipsTellThePlayTime) {
    PlayedApp app;
    app.start();
    library::GameListModel* model = app.form->gameList()->model();
    EXPECT_TRUE(model->index(2, 1)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains("Played 2 h 1 min in 3 sessions, last on "));
    EXPECT_FALSE(model->index(1, 1).data(Qt::ToolTipRole).toString().contains("Played"));

    app.form->findChild<QAction*>("Recentlyplayed1")->trigger();
    const QStringList sorted = {app.games[2], app.games[0], app.games[1], app.games[3]};
    EXPECT_EQ(app.order(), sorted);
    EXPECT_EQ(testsupport::readAll(app.dir.file("List.ini")),
              (sorted.join("\r\n") + "\r\n").toLocal8Bit());

    app.form->Undo1Click();
    EXPECT_EQ(app.order(), app.games);
    EXPECT_EQ(testsupport::readAll(app.dir.file("List.ini")),
              (app.games.join("\r\n") + "\r\n").toLocal8Bit());
    EXPECT_EQ(app.form->statusText(), i18n::message(i18n::Extra::OrderRestored));
}

TEST(GameData, APlayedSessionIsRecordedAndShownInTheProperties) {
    PlayedApp app;
    app.start();
    qputenv("VARNIX_STUB_SLEEP_MS", "1100");
    app.form->selectRow(1);
    app.form->LaunchSelectedGame();
    qunsetenv("VARNIX_STUB_SLEEP_MS");
    EXPECT_TRUE(app.form->statusText().startsWith("Played "))
        << app.form->statusText().toStdString();
    const QString file = QString::fromLocal8Bit(testsupport::readAll(app.dir.file("PlayTime.ini")));
    EXPECT_TRUE(file.contains(" 1 " + app.games[1] + "\r\n")) << file.toStdString();
    EXPECT_FALSE(QFile::exists(app.dir.file("PlayTime.run")));

    app.dir.write("Core/sav/Beta.0123456789abcdef0123456789abcdef.bkr", "backup memory");
    QString shown;
    int files = 0;
    testsupport::whenShown(app.form2.get(), [&] {
        auto* panel = app.form2->findChild<gamedata::GameDataPanel*>();
        shown = panel->playLabel()->text();
        files = static_cast<int>(panel->files().size());
        app.form2->close();
    });
    app.form->Gameproperties1Click();
    EXPECT_TRUE(shown.startsWith("Played ") && shown.contains(" in 1 session, on "))
        << shown.toStdString();
    EXPECT_EQ(files, 1);
}

TEST(GameData, LocateRenamesProfileSavesAndStatesAndCtrlZPutsThemBack) {
    PlayedApp app;
    const QByteArray md5 = "0123456789abcdef0123456789abcdef";
    const QString lost = app.dir.file("old/Lost.cue");
    app.dir.write("List.ini", (app.games[0] + "\r\n" + lost + "\r\n").toLocal8Bit());
    const QStringList before = {"Core/pgconfig/Lost.ss.cfg", "Core/sav/Lost." + md5 + ".bkr",
                                "Core/mcs/Lost." + md5 + ".mc0", "Core/b/Lost." + md5 + "/0.bkr",
                                "Core/sav/Lost." + md5 + ".bcr"};
    for (const QString& file : before)
        app.dir.write(file, "kept");
    app.dir.write("Core/sav/Found." + md5 + ".bcr", "taken");
    app.dir.write("PlayTime.ini", ("600 2 1000 1300 1 " + lost + "\r\n").toLocal8Bit());
    app.start();
    discwriter::Header header;
    header.productNumber = "T-9";
    const QString found = discwriter::writeCueGame(app.dir.file("new"), "Found", header);
    app.dialogs.chooseAnswers << 0 << 0; // "Locate...", then "Rename"
    app.dialogs.openFileAnswers << found;
    app.form->selectRow(1);
    app.form->LaunchSelectedGame();
    ASSERT_EQ(app.dialogs.questions.size(), 2);
    EXPECT_TRUE(app.dialogs.questions[1].contains("Its 4 save files"))
        << app.dialogs.questions[1].toStdString();
    const QStringList after = {"Core/pgconfig/Found.ss.cfg", "Core/sav/Found." + md5 + ".bkr",
                               "Core/mcs/Found." + md5 + ".mc0", "Core/b/Found." + md5 + "/0.bkr"};
    for (const QString& file : after)
        EXPECT_TRUE(QFile::exists(app.dir.file(file))) << file.toStdString();
    // The clash is named and both files are left as they were.
    ASSERT_EQ(app.dialogs.errors.size(), 1);
    EXPECT_TRUE(app.dialogs.errors[0].contains("Found." + md5 + ".bcr"));
    EXPECT_EQ(testsupport::readAll(app.dir.file("Core/sav/Found." + md5 + ".bcr")), "taken");
    EXPECT_TRUE(QFile::exists(app.dir.file("Core/sav/Lost." + md5 + ".bcr")));
    // The play time goes with the game.
    const auto playTime = [&app] { return testsupport::readAll(app.dir.file("PlayTime.ini")); };
    EXPECT_TRUE(playTime().contains(("600 2 1000 1300 1 " + found).toLocal8Bit()))
        << playTime().toStdString();

    app.form->Undo1Click();
    EXPECT_TRUE(playTime().contains(("600 2 1000 1300 1 " + lost).toLocal8Bit()))
        << playTime().toStdString();
    EXPECT_EQ(app.order(), QStringList({app.games[0], lost}));
    for (const QString& file : before)
        EXPECT_TRUE(QFile::exists(app.dir.file(file))) << file.toStdString();
    for (const QString& file : after)
        EXPECT_FALSE(QFile::exists(app.dir.file(file))) << file.toStdString();
}
