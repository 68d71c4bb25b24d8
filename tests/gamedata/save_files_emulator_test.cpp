// The save files the properties window lists are exactly the ones the real emulator writes for
// the game (here with the save folder moved by the game's profile), and a backup put back is one
// it reads.
#include "gamedata/save_files.h"
#include "gamedata/save_restore.h"
#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>

TEST(SaveFilesEmulator, ListsExactlyTheFilesTheEmulatorWrote) {
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

    // The emulator writes its save files when it ends on a signal or when its window is closed
    // (Windows), and backs up the save files it finds when it starts. It is ended once its
    // video is up; on Windows its output goes to Core/stdout.txt.
    const QString stdoutFile = app.file("Core/stdout.txt");
    const auto play = [&] {
        QFile::remove(stdoutFile);
        QProcess p;
        p.setProcessEnvironment(testsupport::realEmulatorEnvironment(app.path()));
        p.setWorkingDirectory(app.file("Core"));
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(emulator, {"-force_module", "ss", "-sound", "0", "-which_medium", "0", game});
        EXPECT_TRUE(p.waitForStarted());
        QByteArray said;
        QElapsedTimer waited;
        waited.start();
        while (!said.contains("Initializing video") && p.state() == QProcess::Running &&
               waited.elapsed() < 60000) {
            p.waitForReadyRead(200);
            said += p.readAll();
            if (QFileInfo::exists(stdoutFile))
                said = testsupport::readAll(stdoutFile);
        }
        EXPECT_EQ(p.state(), QProcess::Running) << said.toStdString();
        p.terminate();
        EXPECT_TRUE(p.waitForFinished(60000));
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished();
        }
        said += p.readAll();
        if (QFileInfo::exists(stdoutFile))
            said = testsupport::readAll(stdoutFile);
        return QString::fromUtf8(said);
    };
    const QString firstRun = play();
    play();

    QStringList written;
    for (const QFileInfo& f : QDir(app.file("Core/my saves")).entryInfoList(QDir::Files))
        written << f.absoluteFilePath();
    // The backups, numbered, beside the counter of the emulator's backups ("C.bkr").
    QDirIterator backups(app.file("Core/b"), {"[0-9]*"}, QDir::Files, QDirIterator::Subdirectories);
    while (backups.hasNext())
        written << QFileInfo(backups.next()).absoluteFilePath();
    ASSERT_GE(written.size(), 4) << firstRun.toStdString(); // backup memory, clock, backups
    const gamedata::SaveRules rules =
        gamedata::readSaveRules(app.file("Core"), app.file("Core/pgconfig/Saved Game.ss.cfg"));
    const std::vector<gamedata::SaveFile> found =
        gamedata::findSaveFiles(app.file("Core"), rules, game);
    QStringList listed;
    for (const gamedata::SaveFile& f : found)
        listed << QFileInfo(f.path).absoluteFilePath();
    written.sort();
    listed.sort();
    EXPECT_EQ(listed, written);

    // A backup put back is a save file the emulator reads.
    const auto backup = std::find_if(found.begin(), found.end(), [](const gamedata::SaveFile& f) {
        return f.kind == gamedata::SaveKind::Backup && f.path.endsWith(".bkr");
    });
    ASSERT_NE(backup, found.end());
    const gamedata::Restored restored = gamedata::restoreBackup(
        found, *backup, gamedata::saveFolder(app.file("Core"), rules, game));
    ASSERT_TRUE(restored.error.isEmpty()) << restored.error.toStdString();
    const QString said = play();
    EXPECT_FALSE(said.contains("Error reading")) << said.toStdString();
}
