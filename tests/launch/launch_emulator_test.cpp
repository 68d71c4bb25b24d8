// End-to-end launches with the real emulator as it ships on this platform: Debian's on Linux, the
// Windows one under Wine (see testsupport::realEmulator).
#include "launch/cd_window.h"
#include "launch/launcher.h"

#include "controls/xi_button.h"
#include "i18n/messages.h"
#include "settings/config_store.h"
#include "settings/settings_model.h"
#include "test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace launch;
using testsupport::TempFolder;

namespace {

// A one-track data disc of 2048-byte sectors whose first sector carries a Saturn header; it
// holds no game and no security code the emulator knows.
QString writeSyntheticDisc(const TempFolder& app, const QString& folder, const QString& name) {
    QByteArray sectors(2048 * 32, '\0');
    const QByteArray header = QByteArray("SEGA SEGASATURN SEGA ENTERPRISES") + "T-00001   " +
                              "V1.000" + "20260101" + "CD-1/1  " + "JUE             " +
                              "J               " + QByteArray("DEMO").leftJustified(112, ' ');
    sectors.replace(0, header.size(), header);
    app.write(folder + "/" + name + ".bin", sectors);
    return app.write(folder + "/" + name + ".cue",
                     "FILE \"" + name.toUtf8() +
                         ".bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n    INDEX 01 00:00:00\r\n");
}

#ifdef Q_OS_WIN
// The emulator's own status for an error: -1.
const QString failedStatus = QStringLiteral("The emulator ended with status -1.");
#else
const QString failedStatus = QStringLiteral("The emulator ended with status 255.");
#endif

class EmulatorLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::realEmulator().isEmpty())
            GTEST_SKIP() << "the emulator is not installed";
        i18n::initMessageTable();
        ASSERT_FALSE(testsupport::installRealEmulator(app.path()).isEmpty());
#ifndef Q_OS_WIN
        // Debian's emulator runs without a display or sound device here.
        for (const char* name : {"SDL_VIDEODRIVER", "SDL_AUDIODRIVER"})
            qputenv(name, "dummy");
        qputenv("XDG_RUNTIME_DIR", app.path().toLocal8Bit());
#endif
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

// Without firmware the emulator stops after loading the disc (it knows it as a Saturn disc
// through -force_module ss) and the box leads with its reason.
TEST_F(EmulatorLaunch, RunsOnACueSheetFromItsCoreFolderAndComesBack) {
    const QString game = writeSyntheticDisc(app, "games", "Demo Game");

    launcher.launch(game, "", "");

    EXPECT_EQ(started, 1);
    EXPECT_EQ(finished, 1);
    ASSERT_EQ(dialogs.errors.size(), 1);
    const QStringList lines = dialogs.errors[0].split('\r');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Error opening file") && lines[0].contains("sega_101.bin"))
        << dialogs.errors[0].toStdString();
    EXPECT_EQ(lines[1], failedStatus);
    // Missing firmware only warns; the emulator ran with Core as its base folder.
    EXPECT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(QFile::exists(app.file("Core/mednafen.cfg")));
}

TEST_F(EmulatorLaunch, RunsOnTheChosenDiscOfAPlaylist) {
    writeSyntheticDisc(app, "games", "Saga 1");
    writeSyntheticDisc(app, "games", "Saga 2");
    const QString game = app.write("games/Saga.m3u", "Saga 1.cue\r\nSaga 2.cue\r\n");
    QTimer::singleShot(0, &cd, [this] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&cd));
        cd.ComboBox1->setCurrentIndex(1);
        QTest::mouseClick(cd.XiButton6, Qt::LeftButton);
    });

    launcher.launch(game, "", "");

    EXPECT_EQ(started, 1);
    EXPECT_EQ(finished, 1);
    // No firmware: the emulator's refusal is explained.
    EXPECT_EQ(dialogs.errors.size(), 1);
}

// A game and BIOS files in folders named with letters outside any western code page, the BIOS
// paths in the game's profile as the settings write it: the emulator reads the profile, finds
// the BIOS files and runs the game until it is closed. With one BIOS file gone, the box shows
// the emulator's reason with the path as it is.
TEST_F(EmulatorLaunch, RunsAGameInFoldersNamedBeyondTheCodePage) {
    const QString folder = QString::fromUtf8("Spiele-\u00dc/\u30b2\u30fc\u30e0");
    const QString game = writeSyntheticDisc(app, folder, "Demo");
    // Stand-ins of the right size; the profile turns the emulator's check of their contents off.
    const QString japanese = app.write(folder + "/BIOS/sega_101.bin", QByteArray(512 * 1024, 0));
    const QString western = app.write(folder + "/BIOS/mpr-17933.bin", QByteArray(512 * 1024, 0));
    settings::SettingsModel model;
    model.setText(settings::Ctl::LabeledEdit1, QDir::toNativeSeparators(japanese));
    model.setText(settings::Ctl::LabeledEdit2, QDir::toNativeSeparators(western));
    app.mkdir("Core/pgconfig");
    settings::writeGameProfile(settings::gameProfilePath(app.path(), game, "Demo"),
                               model.collectSettings() << "ss.bios_sanity 0");

    // Closed as a user closes its window, once it has had the time to start the game.
    QTimer stopper;
    stopper.setSingleShot(true);
    QObject::connect(&launcher, &GameLauncher::emulatorStarted, [&] { stopper.start(8000); });
    QObject::connect(&stopper, &QTimer::timeout, [&] { launcher.stop(); });
    launcher.launch(game, japanese, western);

    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(dialogs.warnings.isEmpty());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.value(0).toStdString();
    // The game ran: the emulator kept its backup memory when it ended.
    const QStringList saved =
        QDir(app.file("Core/sav")).entryList({QStringLiteral("Demo.*.bkr")}, QDir::Files);
    EXPECT_EQ(saved.size(), 1);

    QFile::remove(japanese);
    launcher.launch(game, japanese, western);
    EXPECT_EQ(finished, 2);
    EXPECT_EQ(dialogs.warnings.size(), 1); // the launcher's own check, answered "Continue"
    ASSERT_EQ(dialogs.errors.size(), 1);
    const QStringList lines = dialogs.errors[0].split('\r');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Error opening file") &&
                lines[0].contains(QDir::toNativeSeparators(japanese)))
        << dialogs.errors[0].toStdString();
    EXPECT_EQ(lines[1], failedStatus);
}

} // namespace
