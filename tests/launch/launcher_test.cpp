#include "launch/cd_window.h"
#include "launch/launcher.h"

#include "controls/xi_button.h"
#include "i18n/messages.h"
#include "platform/io_error.h"
#include "platform/paths.h"
#include "test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace launch;
using testsupport::FakeDialogs;
using testsupport::TempFolder;

namespace {

// Counts how often a window was shown.
class ShowCounter : public QObject {
public:
    int shown = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shown;
        return false;
    }
};

// An application folder whose Core/mednafen is the stub emulator, with both BIOS files.
class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        i18n::initMessageTable();
        app.mkdir("Core");
        app.write("Core/firmware/sega_101.bin", "jp");
        app.write("Core/firmware/mpr-17933.bin", "na");
        ASSERT_EQ(testsupport::installStubEmulator(app.path()), emulator());
        log = app.file("stub.log");
        qputenv("VARNIX_STUB_LOG", log.toLocal8Bit());
        cd.installEventFilter(&cdShown);
        QObject::connect(&launcher, &GameLauncher::emulatorStarted,
                         [this] { signals_ << "started"; });
        QObject::connect(&launcher, &GameLauncher::emulatorFinished,
                         [this] { signals_ << "finished"; });
    }
    void TearDown() override {
        for (const char* name :
             {"VARNIX_STUB_LOG", "VARNIX_STUB_CRASH", "VARNIX_STUB_SLEEP_MS", "VARNIX_STUB_EXIT",
              "VARNIX_STUB_FILL_KB", "VARNIX_STUB_SAY", "VARNIX_STUB_OUTPUT_FILE"})
            qunsetenv(name);
    }

    QString emulator() const { return app.file("Core/" + platform::emulatorFileName()); }

    // The lines the stub recorded, without the "start" marker.
    QStringList recorded() const {
        QStringList lines =
            QString::fromLocal8Bit(testsupport::readAll(log)).split('\n', Qt::SkipEmptyParts);
        lines.removeAll("start");
        return lines;
    }
    QStringList expectedRecord(int medium, const QString& path) const {
        const QString core = app.file("Core");
#ifdef Q_OS_WIN
        const QString noPopups = "1";
#else
        const QString noPopups;
#endif
        return {"arg=-force_module",
                "arg=ss",
                "arg=-which_medium",
                "arg=" + QString::number(medium),
                "arg=" + path,
                "cwd=" + core,
                "home=" + testsupport::expectedEmulatorHome(core),
                "nopopups=" + noPopups};
    }

    // Answers the disc window as a user would, once it is on screen.
    void answerDiscWindow(std::function<void(TForm3&)> answer) {
        QTimer::singleShot(0, &cd, [this, answer] {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&cd));
            answer(cd);
        });
    }

    TempFolder app;
    QString log;
    FakeDialogs dialogs;
    TForm3 cd;
    ShowCounter cdShown;
    GameLauncher launcher{app.path(), &cd, nullptr};
    QStringList signals_;
};

TEST_F(LauncherTest, CueGameStartsWithMediumZeroFromTheCoreFolder) {
    const QString game = app.write("games/My \"Best\" Game.cue", "FILE \"x.bin\" BINARY\n");
    const QString before = QDir::currentPath();

    launcher.launch(game, "sega_101.bin", "mpr-17933.bin");

    EXPECT_EQ(recorded(), expectedRecord(0, game));
    EXPECT_EQ(signals_, QStringList({"started", "finished"}));
    EXPECT_EQ(cdShown.shown, 0);
    EXPECT_TRUE(dialogs.warnings.isEmpty());
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_FALSE(launcher.running());
}

// A relative path of the list is taken against the application folder, also by the emulator,
// which runs from Core; the start-failure message shows the same path.
TEST_F(LauncherTest, RelativePathsAreMadeAbsoluteAgainstTheApplicationFolder) {
    const QString game = app.write("games/Rel.cue", "FILE \"x.bin\" BINARY\n");
    launcher.launch("games/Rel.cue", "", "");
    EXPECT_EQ(recorded(), expectedRecord(0, game));
    QFile::remove(emulator());
    launcher.launch("games/Rel.cue", "", "");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains(" \"" + game + "\"!"))
        << dialogs.errors[0].toStdString();
}

TEST_F(LauncherTest, PlaylistOffersItsDiscsAndStartsTheChosenOne) {
    const QString game =
        app.write("games/Saga.m3u", "Saga 1.cue\r\nSaga 2.cue\r\nSaga 3.cue\r\n\r\n");
    answerDiscWindow([](TForm3& w) {
        EXPECT_EQ(w.ComboBox1->count(), 3);
        EXPECT_EQ(w.Label1->text(), "Saga");
        w.ComboBox1->setCurrentIndex(1);
        QTest::mouseClick(w.XiButton6, Qt::LeftButton);
    });

    launcher.launch(game, "", "");

    EXPECT_EQ(cdShown.shown, 1);
    EXPECT_EQ(recorded(), expectedRecord(1, game));
    EXPECT_EQ(signals_, QStringList({"started", "finished"}));
}

TEST_F(LauncherTest, PlaylistExtensionInAnyLetterCase) {
    const QString game = app.write("games/Two.M3u", "a.cue\nb.cue\n");
    answerDiscWindow([](TForm3& w) {
        EXPECT_EQ(w.ComboBox1->count(), 2);
        QTest::mouseClick(w.XiButton6, Qt::LeftButton);
    });

    launcher.launch(game, "", "");

    EXPECT_EQ(cdShown.shown, 1);
    EXPECT_EQ(recorded(), expectedRecord(0, game));
}

TEST_F(LauncherTest, VanishedPlaylistStartsWithMediumZeroAndNoWindow) {
    const QString game = app.file("games/Gone.m3u");

    launcher.launch(game, "", "");

    EXPECT_EQ(cdShown.shown, 0);
    EXPECT_EQ(recorded(), expectedRecord(0, game));
}

TEST_F(LauncherTest, DiscWindowClosedWithoutLaunchCancels) {
    const QString game = app.write("games/Saga.m3u", "1.cue\n2.cue\n");
    answerDiscWindow([](TForm3& w) { w.close(); });

    launcher.launch(game, "", "");

    EXPECT_EQ(cdShown.shown, 1);
    EXPECT_FALSE(QFile::exists(log));
    EXPECT_TRUE(signals_.isEmpty());
}

TEST_F(LauncherTest, PlaylistWithoutDiscsCannotBeLaunched) {
    const QString game = app.write("games/Empty.m3u", "\n\n");
    answerDiscWindow([](TForm3& w) {
        EXPECT_EQ(w.ComboBox1->count(), 0);
        EXPECT_FALSE(w.XiButton6->isEnabled());
        QTest::keyClick(&w, Qt::Key_Return);
        EXPECT_TRUE(w.isVisible());
        QTest::keyClick(&w, Qt::Key_Escape);
    });

    launcher.launch(game, "", "");

    EXPECT_EQ(cdShown.shown, 1);
    EXPECT_FALSE(QFile::exists(log));
    EXPECT_TRUE(signals_.isEmpty());
}

TEST_F(LauncherTest, BiosCheckTestsTheDefaultFilesForBareNames) {
    const QString game = app.write("games/G.cue", "");
    // The names shown exist, the default files do not: the defaults decide.
    QFile::rename(app.file("Core/firmware/sega_101.bin"), app.file("Core/firmware/jp.bin"));
    launcher.launch(game, "jp.bin", "mpr-17933.bin");
    // The warning names the missing file and where the files go.
    const QString firmware = QDir::toNativeSeparators(app.file("Core/firmware"));
    EXPECT_EQ(dialogs.warnings,
              QStringList({i18n::message(10) + "\r" +
                           QDir::toNativeSeparators(app.file("Core/firmware/sega_101.bin")) +
                           "\r\rPut the BIOS files into " + firmware +
                           ", or choose them with \"Path\" on the \"General\" tab."}));
    // "Continue" goes on with the launch, "Cancel" starts nothing.
    EXPECT_EQ(recorded(), expectedRecord(0, game));
    EXPECT_EQ(signals_, QStringList({"started", "finished"}));
    dialogs.confirmAnswers << false;
    launcher.launch(game, "jp.bin", "mpr-17933.bin");
    EXPECT_EQ(dialogs.warnings.size(), 2);
    EXPECT_EQ(signals_, QStringList({"started", "finished"}));
}

TEST_F(LauncherTest, BiosCheckTestsFullPathsAsWritten) {
    const QString game = app.write("games/G.cue", "");
    const QString jp = app.write("bios/japan.bin", "jp");
    QFile::remove(app.file("Core/firmware/sega_101.bin"));

    launcher.launch(game, jp, "");
    EXPECT_TRUE(dialogs.warnings.isEmpty());

    // A path naming a missing file warns once even though the default file exists.
    launcher.launch(game, "", app.file("bios/usa.bin"));
    EXPECT_EQ(dialogs.warnings.size(), 1);
    EXPECT_EQ(signals_.size(), 4);
}

TEST_F(LauncherTest, EmulatorThatCannotStartShowsTheCommandLineAndTheReason) {
    QFile::remove(emulator());
    app.write("Core/" + platform::emulatorFileName(), "not a program");
    QFile::setPermissions(emulator(), QFile::ReadOwner | QFile::WriteOwner);
    const QString game = app.write("games/My Game.cue", "");

    launcher.launch(game, "", "");

    const QString commandLine =
        "Some files are missing in the key: " + QDir::toNativeSeparators(emulator()) +
        " -force_module ss -which_medium 0 \"" + game + "\"!\r";
#ifdef Q_OS_WIN
    // Windows has no execute right: the file is refused as no program, in the system's words.
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith(commandLine)) << dialogs.errors[0].toStdString();
    EXPECT_GT(dialogs.errors[0].size(), commandLine.size());
#else
    EXPECT_EQ(dialogs.errors, QStringList({commandLine + "Permission denied"}));
#endif
    EXPECT_TRUE(signals_.isEmpty());
    EXPECT_FALSE(launcher.running());
}

TEST_F(LauncherTest, FailureStatusOrCrashIsExplainedByTheLastOutputLines) {
    const QString game = app.write("games/G.cue", "");
    // Far more output than is kept, read as it comes: the emulator does not stall on it.
    qputenv("VARNIX_STUB_FILL_KB", "1024");
    qputenv("VARNIX_STUB_SAY",
            "Loading G.cue...|   |Could not find a system that supports this CD.");
    qputenv("VARNIX_STUB_EXIT", "255");
    launcher.launch(game, "", "");
    EXPECT_EQ(signals_, QStringList({"started", "finished"}));
    ASSERT_EQ(dialogs.errors.size(), 1);
    const QStringList lines = dialogs.errors[0].split('\r');
    // The emulator's reason leads, then the status, then what it said before.
    EXPECT_EQ(lines.mid(0, 3), QStringList({"Could not find a system that supports this CD.",
                                            "The emulator ended with status 255.", ""}));
    EXPECT_EQ(lines.size(), 3 + 7);
    EXPECT_EQ(lines.last(), "Loading G.cue...");

    qunsetenv("VARNIX_STUB_FILL_KB");
    qunsetenv("VARNIX_STUB_EXIT");
    qputenv("VARNIX_STUB_CRASH", "1");
    launcher.launch(game, "", "");
    EXPECT_EQ(signals_, QStringList({"started", "finished", "started", "finished"}));
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_TRUE(dialogs.errors[1].startsWith(
        "Could not find a system that supports this CD.\rThe emulator crashed (status "));

    // A normal end says nothing.
    qunsetenv("VARNIX_STUB_CRASH");
    launcher.launch(game, "", "");
    EXPECT_EQ(dialogs.errors.size(), 2);
}

// Without a console the Windows emulator writes to Core/stdout.txt: after a failure the box leads
// with the reason found there, decoded as UTF-8; a file an earlier run left says nothing.
TEST_F(LauncherTest, FailureIsExplainedByTheOutputFileThisRunWrote) {
    const QString game = app.write("games/G.cue", "");
    app.write("Core/stdout.txt", "Old run's last line.\r\n");
    // The emulator ends with -1 on an error: Windows keeps that status whole, other systems
    // pass on its last 8 bits.
    qputenv("VARNIX_STUB_EXIT", "-1");
#ifdef Q_OS_WIN
    const QString status = "The emulator ended with status -1.";
#else
    const QString status = "The emulator ended with status 255.";
#endif
    launcher.launch(game, "", "");
    EXPECT_EQ(dialogs.errors, QStringList({status}));

    const QString output =
        app.write("output.txt", "Loading...\r\nError opening file \"C:\\Spiele-"
                                "\xc3\x9c\\\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0\\"
                                "sega_101.bin\"\r\n");
    qputenv("VARNIX_STUB_OUTPUT_FILE", output.toLocal8Bit());
    launcher.launch(game, "", "");
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_EQ(dialogs.errors[1],
              QString::fromUtf8("Error opening file \"C:\\Spiele-\u00dc\\\u30b2\u30fc\u30e0\\"
                                "sega_101.bin\"\r") +
                  status + "\r\rLoading...");
}

TEST_F(LauncherTest, EventsAreHandledWhileTheEmulatorRunsAndNoSecondLaunchStarts) {
    const QString game = app.write("games/G.cue", "");
    qputenv("VARNIX_STUB_SLEEP_MS", "400");
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        // A second request while the emulator runs is ignored.
        launcher.launch(game, "", "");
    });
    QObject::connect(&launcher, &GameLauncher::emulatorStarted, [&] { timer.start(20); });

    launcher.launch(game, "", "");
    timer.stop();

    EXPECT_GT(ticks, 0);
    EXPECT_EQ(QString::fromLocal8Bit(testsupport::readAll(log)).count("start\n"), 1);
    EXPECT_EQ(signals_, QStringList({"started", "finished"}));
}

TEST_F(LauncherTest, UnreadableOrHugePlaylistStopsTheLaunchWithAnError) {
    // A playlist past the bound of files that name discs is never read whole, nor offered.
    const QString huge = app.write("games/Huge.m3u", "a.cue\n");
    QFile(huge).resize(5 << 20);
    {
        QTimer closer; // a disc window that shows all the same is closed
        QObject::connect(&closer, &QTimer::timeout, &cd, [this] {
            if (cd.isVisible())
                cd.close();
        });
        closer.start(50);
        EXPECT_THROW(launcher.launch(huge, "", ""), platform::IoError);
    }
    EXPECT_EQ(cdShown.shown, 0);

    const QString game = app.write("games/Locked.m3u", "a.cue\n");
    const testsupport::UnreadableFile locked(game);
    if (QFile(game).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";

    EXPECT_THROW(launcher.launch(game, "", ""), platform::IoError);
    EXPECT_FALSE(QFile::exists(log));
    EXPECT_TRUE(signals_.isEmpty());
}

TEST(LauncherWithoutDiscWindow, MakesItsOwnDiscWindowWhenNoneWasGiven) {
    i18n::initMessageTable();
    FakeDialogs dialogs;
    TempFolder app;
    const QString game = app.write("games/P.m3u", "a.cue\nb.cue\n");
    GameLauncher launcher(app.path(), nullptr, nullptr);
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* cd = qobject_cast<TForm3*>(w); cd && cd->isVisible()) {
                cd->ComboBox1->setCurrentIndex(1);
                cd->XiButton6Click();
            }
        }
    });
    launcher.launch(game, "", "");
    // No emulator in this folder: the failure names the chosen disc.
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("-force_module ss -which_medium 1 \""));
}

} // namespace
