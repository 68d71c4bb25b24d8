#include "app/main_window.h"
#include "disc_writer.h"
#include "i18n/messages.h"
#include "launch/cd_window.h"
#include "library/game_list.h"
#include "library/properties_window.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_LINUX
// A Python that can serve a FUSE file system (fusepy; Debian: python3-fusepy).
QString fusePython() {
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(python, {"-c", "try:\n import fuse\nexcept ImportError:\n import fusepy\n"});
        if (probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return python;
    }
    return {};
}
#endif

} // namespace

// Games in a folder that never answers (a sleeping network share) hold up neither the window
// nor its closing: their rows wait, every other row is checked.
TEST(HangingStorage, TheWindowAnswersAndClosesAtOnceWhileAFolderHangs) {
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "a folder that hangs is made with FUSE, on Linux only";
#else
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        GTEST_SKIP() << "/dev/fuse cannot be used here, so no folder can be made to hang";
    const QString python = fusePython();
    if (python.isEmpty())
        GTEST_SKIP()
            << "no Python with fusepy (Debian: python3-fusepy) to serve a folder that hangs";
    i18n::initMessageTable();
    testsupport::TempFolder dir;
    dir.mkdir("mnt");
    QProcess fs;
    fs.start(python,
             {QStringLiteral(VARNIX_SOURCE_DIR "/tests/support/hanging_fs.py"), dir.file("mnt")});
    QElapsedTimer mounting;
    mounting.start();
    while (!QFileInfo(dir.file("mnt/hang")).isDir() && mounting.elapsed() < 10000)
        QTest::qWait(50);
    // The look-ups still waiting fail once the file system has gone.
    const auto unmount = [&] {
        QProcess::execute("fusermount", {"-u", "-z", dir.file("mnt")});
        fs.kill();
        fs.waitForFinished(5000);
    };
    const auto unmountAtEnd = qScopeGuard(unmount);
    if (!QFileInfo(dir.file("mnt/hang")).isDir())
        GTEST_SKIP() << "a FUSE file system cannot be mounted here: "
                     << fs.readAllStandardError().toStdString();

    dir.mkdir("Core/pgconfig");
    testsupport::installStubEmulator(dir.path());
    // The save files are kept in a folder that answers slowly.
    dir.write("Core/mednafen.cfg", "filesys.path_sav " + dir.file("mnt/slow/sav").toUtf8() + "\n");
    QStringList lines;
    for (int i = 0; i < 200; ++i) {
        if (i % 100 == 0)
            lines << dir.file(QStringLiteral("mnt/hang/Sleeping %1.cue").arg(i));
        discwriter::Header header;
        header.productNumber = QByteArray("T-") + QByteArray::number(i);
        lines << discwriter::writeCueGame(dir.file("games"), QStringLiteral("Game %1").arg(i),
                                          header, discwriter::Sectors::Raw2352, 1);
    }
    QByteArray list;
    for (const QString& line : lines)
        list += line.toUtf8() + "\r\n";
    dir.write("List.ini", list);

    testsupport::FakeDialogs dialogs;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
    QElapsedTimer clock;
    clock.start();
    auto form = std::make_unique<TForm1>();
    auto form3 = std::make_unique<launch::TForm3>(form.get());
    auto form2 = std::make_unique<library::TForm2>(form.get());
    form->attachWindows(form3.get(), form2.get());
    form->setRestarter([](const QString&) { return true; });
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_LT(clock.elapsed(), 3000);
    library::GameListModel* model = form->gameList()->model();
    EXPECT_EQ(model->count(), 202); // every row at once

    // The event loop's longest standstill while the check goes on.
    qint64 longest = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceTick.restart()); });
    tick.start(5);
    const auto othersChecked = [&] {
        return model->checkingCount() == 2 && model->missingCount() == 0 &&
               !form->gameList()->startUpChecking();
    };
    QElapsedTimer waiting;
    waiting.start();
    while (!othersChecked() && waiting.elapsed() < 20000)
        QTest::qWait(20);
    ASSERT_TRUE(othersChecked()) << model->checkingCount() << " rows still being checked";
    EXPECT_EQ(model->at(0).presence, library::Presence::Checking);
    EXPECT_EQ(model->at(101).presence, library::Presence::Checking);
    EXPECT_EQ(model->index(0, 1).data(Qt::ToolTipRole).toString(),
              i18n::message(i18n::Extra::Checking));
    EXPECT_EQ(model->at(1).gameId, "T-0");

    // A filter keystroke is answered at once.
    auto* filter = form->findChild<QLineEdit*>("FilterEdit");
    ASSERT_NE(filter, nullptr);
    for (const QChar c : QStringLiteral("Game 1")) {
        QElapsedTimer typing;
        typing.start();
        QTest::keyClick(filter, c.toLatin1());
        EXPECT_LT(typing.elapsed(), 100);
    }
    QTest::qWait(100);
    tick.stop();
    // The window never waits for the folder (that would be a standstill of seconds); the bound
    // leaves room for a busy machine's scheduling.
    EXPECT_LT(longest, 250);
    auto* view = form->findChild<QTableView*>("ListView1");
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isRowHidden(11)); // "Game 10"
    EXPECT_TRUE(view->isRowHidden(3));   // "Game 2"

    // Adding a game from that folder reads it beside the window: it answers while the file
    // hangs, and Esc ends the batch.
    dialogs.openFilesAnswers << QStringList{dir.file("mnt/hang/more/Another.cue")};
    longest = 0;
    bool answeredWhileAdding = false;
    QTimer::singleShot(300, form.get(), [&] {
        answeredWhileAdding = form->gameList()->busy();
        QTest::keyClick(form.get(), Qt::Key_Escape);
    });
    tick.start(5);
    sinceTick.restart();
    form->Addgames1Click();
    tick.stop();
    EXPECT_TRUE(answeredWhileAdding);
    EXPECT_FALSE(form->gameList()->busy());
    EXPECT_EQ(model->count(), 202);
    EXPECT_LT(longest, 250);
    // The next dialog would open in that folder: it opens at home instead of waiting for it.
    dialogs.folders.clear();
    longest = 0;
    tick.start(5);
    sinceTick.restart();
    form->Addgames1Click();
    tick.stop();
    EXPECT_EQ(dialogs.folders, QStringList{QDir::homePath()});
    EXPECT_LT(longest, 250);

    // The save files a game's properties list are looked for beside the window: it answers
    // while their folder is slow.
    filter->clear();
    form->selectRow(1);
    longest = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (form2->isVisible())
            form2->close();
    });
    closer.start(50);
    tick.start(5);
    sinceTick.restart();
    form->Gameproperties1Click();
    tick.stop();
    closer.stop();
    EXPECT_LT(longest, 250);

    // The properties of a game in that folder are read beside the window: it answers while
    // they wait, and the reading gives up once the folder has gone.
    form->selectRow(0);
    longest = 0;
    bool answered = false;
    QTimer::singleShot(300, form.get(), [&] {
        answered = !form2->isVisible();
        unmount();
    });
    tick.start(5);
    sinceTick.restart();
    form->Gameproperties1Click();
    tick.stop();
    EXPECT_TRUE(answered);
    EXPECT_LT(longest, 250);

    // Closing does not wait for the folder.
    QElapsedTimer closing;
    closing.start();
    form->close();
    form2.reset();
    form3.reset();
    form.reset();
    EXPECT_LT(closing.elapsed(), 500);
#endif
}
