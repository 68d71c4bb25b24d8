// The save files the properties window lists are exactly the ones the real emulator writes for
// the game, here with the save folder moved by the game's profile.
#include "gamedata/save_files.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

TEST(SaveFilesEmulator, ListsExactlyTheFilesTheEmulatorWrote) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "ending the emulator the way that makes it save needs a signal";
#else
    if (testsupport::realEmulator().isEmpty())
        GTEST_SKIP() << "the emulator is not installed";
    testsupport::TempFolder app;
    const QString emulator = testsupport::installRealEmulator(app.path());
    testsupport::runRealEmulator(app.path(), {}); // writes Core/mednafen.cfg
    // Firmware of the right size; the sanity check that would refuse it is off for this game.
    const QByteArray bios(512 * 1024, '\0');
    app.write("Core/firmware/sega_101.bin", bios);
    app.write("Core/firmware/mpr-17933.bin", bios);
    app.write("Core/pgconfig/Saved Game.ss.cfg", "filesys.path_sav my saves\nss.bios_sanity 0\n");
    QByteArray sector(2048, '\0');
    sector.replace(0, 16, "SEGA SEGASATURN ");
    app.write("games/Saved Game.bin", sector.repeated(300));
    app.write("games/Saved Game.cue", "FILE \"Saved Game.bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n"
                                      "    INDEX 01 00:00:00\r\n");
    const QString game = app.file("games/Saved Game.cue");

    // The emulator writes its save files when it ends on a signal, as when its window closes.
    QProcess p;
    p.setProcessEnvironment(testsupport::realEmulatorEnvironment(app.path()));
    p.setWorkingDirectory(app.file("Core"));
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(emulator, {"-force_module", "ss", "-sound", "0", "-which_medium", "0", game});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray said;
    while (!said.contains("Initializing video") && p.state() == QProcess::Running &&
           p.waitForReadyRead(20000))
        said += p.readAll();
    ASSERT_EQ(p.state(), QProcess::Running) << said.toStdString();
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(20000));

    QStringList written;
    for (const QFileInfo& f : QDir(app.file("Core/my saves")).entryInfoList(QDir::Files))
        written << f.absoluteFilePath();
    ASSERT_GE(written.size(), 2) << (said + p.readAll()).toStdString(); // backup memory, clock
    const gamedata::SaveRules rules =
        gamedata::readSaveRules(app.file("Core"), app.file("Core/pgconfig/Saved Game.ss.cfg"));
    QStringList listed;
    for (const gamedata::SaveFile& f : gamedata::findSaveFiles(app.file("Core"), rules, game))
        listed << QFileInfo(f.path).absoluteFilePath();
    written.sort();
    listed.sort();
    EXPECT_EQ(listed, written);
#endif
}
