// End-to-end launches with the emulator installed on this machine.
#include "launch/cd_window.h"
#include "launch/launcher.h"

#include "controls/xi_button.h"
#include "i18n/messages.h"
#include "test_support.h"

#include <QComboBox>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace launch;
using testsupport::TempFolder;

namespace {

const QString installedEmulator = QStringLiteral("/usr/games/mednafen");

// A one-track data disc of 2048-byte sectors whose first sector carries a Saturn header; it
// does not boot (no security code, no firmware), so the emulator ends by itself.
QString writeSyntheticDisc(const TempFolder& app, const QString& name) {
    QByteArray sectors(2048 * 32, '\0');
    const QByteArray header = QByteArray("SEGA SEGASATURN SEGA ENTERPRISES") + "T-00001   " +
                              "V1.000" + "20260101" + "CD-1/1  " + "JUE             " +
                              "J               " + QByteArray("DEMO").leftJustified(112, ' ');
    sectors.replace(0, header.size(), header);
    app.write("games/" + name + ".bin", sectors);
    return app.write("games/" + name + ".cue", "FILE \"" + name.toUtf8() +
                                                   ".bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n"
                                                   "    INDEX 01 00:00:00\r\n");
}

class EmulatorLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(installedEmulator))
            GTEST_SKIP() << "the emulator is not installed";
        i18n::initMessageTable();
        app.mkdir("Core");
        ASSERT_TRUE(QFile::link(installedEmulator, app.file("Core/mednafen")));
        qputenv("SDL_VIDEODRIVER", "dummy");
        qputenv("SDL_AUDIODRIVER", "dummy");
        qputenv("XDG_RUNTIME_DIR", app.path().toLocal8Bit());
        QObject::connect(&launcher, &GameLauncher::emulatorStarted, [this] { ++started; });
        QObject::connect(&launcher, &GameLauncher::emulatorFinished, [this] { ++finished; });
    }

    void TearDown() override {
        for (const char* name : {"SDL_VIDEODRIVER", "SDL_AUDIODRIVER", "XDG_RUNTIME_DIR"})
            qunsetenv(name);
    }

    TempFolder app;
    testsupport::FakeDialogs dialogs;
    TForm3 cd;
    GameLauncher launcher{app.path(), &cd, nullptr};
    int started = 0, finished = 0;
};

TEST_F(EmulatorLaunch, RunsOnACueSheetFromItsCoreFolderAndComesBack) {
    const QString game = writeSyntheticDisc(app, "Demo Game");

    launcher.launch(game, "", "");

    EXPECT_EQ(started, 1);
    EXPECT_EQ(finished, 1);
    // The emulator refuses the synthetic disc; the box says so in its own words.
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith(
        "Could not find a system that supports this CD.\rThe emulator ended with status 255."));
    // Missing firmware only warns; the emulator ran with Core as its base folder.
    EXPECT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(QFile::exists(app.file("Core/mednafen.cfg")));
}

TEST_F(EmulatorLaunch, RunsOnTheChosenDiscOfAPlaylist) {
    writeSyntheticDisc(app, "Saga 1");
    writeSyntheticDisc(app, "Saga 2");
    const QString game = app.write("games/Saga.m3u", "Saga 1.cue\r\nSaga 2.cue\r\n");
    QTimer::singleShot(0, &cd, [this] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&cd));
        cd.ComboBox1->setCurrentIndex(1);
        QTest::mouseClick(cd.XiButton6, Qt::LeftButton);
    });

    launcher.launch(game, "", "");

    EXPECT_EQ(started, 1);
    EXPECT_EQ(finished, 1);
    // The playlist's discs do not exist: the emulator's refusal is explained.
    EXPECT_EQ(dialogs.errors.size(), 1);
}

} // namespace
