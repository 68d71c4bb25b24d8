#include "app/app_folder.h"
#include "app/command_line.h"
#include "test_support.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(AppFolder, PortableFolderWinsOverThePerUserFolder) {
    testsupport::TempFolder portable, other, user;
    portable.write("Core/mednafen.cfg", ";cfg\n");
    EXPECT_EQ(chooseApplicationFolder(portable.path(), {}, user.path()).folder, portable.path());
    EXPECT_FALSE(chooseApplicationFolder(portable.path(), {}, user.path()).perUser);
    EXPECT_EQ(chooseApplicationFolder(other.path(), portable.path(), user.path()).folder,
              portable.path());
    const FolderChoice installed = chooseApplicationFolder(other.path(), {}, user.path());
    EXPECT_EQ(installed.folder, user.path());
    EXPECT_TRUE(installed.perUser);
    EXPECT_EQ(chooseApplicationFolder(other.path(), {}, {}).folder, other.path()); // Windows
    // A --folder without Core is prepared where a per-user folder could be; one with Core, or
    // on Windows, is taken as it is.
    EXPECT_TRUE(chooseApplicationFolder(portable.path(), other.path(), user.path()).prepare);
    EXPECT_FALSE(chooseApplicationFolder(other.path(), portable.path(), user.path()).prepare);
    EXPECT_FALSE(chooseApplicationFolder(portable.path(), other.path(), {}).prepare);

    // A folder with an unrelated Core is no portable folder where the per-user folder exists;
    // one whose Core holds the emulator (a program or a link to one) is.
    testsupport::TempFolder sources;
    sources.write("Core/CMakeLists.txt", "project(core)\n");
    sources.write("Core/mednafen/readme.txt", "a folder, not the emulator\n");
    EXPECT_EQ(chooseApplicationFolder(sources.path(), {}, user.path()).folder, user.path());
    EXPECT_EQ(chooseApplicationFolder(sources.path(), {}, {}).folder, sources.path()); // Windows
#ifndef Q_OS_WIN
    testsupport::TempFolder linked;
    linked.mkdir("Core");
    const QString emulator = other.write("mednafen", "#!/bin/sh\n");
    QFile::setPermissions(emulator, QFile::permissions(emulator) | QFile::ExeOwner);
    ASSERT_TRUE(QFile::link(emulator, linked.file("Core/mednafen")));
    EXPECT_EQ(chooseApplicationFolder(linked.path(), {}, user.path()).folder, linked.path());
#endif
}

TEST(AppFolder, PerUserFolderIsPreparedWithoutLosingTheUsersFiles) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the installed mode (a per-user folder linking the emulator found on the "
                    "PATH) exists only outside Windows";
#else
    testsupport::TempFolder user, install;
    const QString emulator = install.write("games/mednafen", "#!/bin/sh\n");
    install.write("lang/Lang.dat", "translation");
    install.write("lang/lang_pic.ico", "flag");
    ASSERT_TRUE(prepareUserFolder(user.path(), emulator, install.file("lang")));
    EXPECT_TRUE(QFileInfo(user.file("Core/pgconfig")).isDir());
    EXPECT_TRUE(QFileInfo(user.file("Core/firmware")).isDir());
    EXPECT_EQ(QFileInfo(user.file("Core/mednafen")).symLinkTarget(), emulator);
    EXPECT_EQ(testsupport::readAll(user.file("Res/Lang.dat")), "translation");
    EXPECT_EQ(testsupport::readAll(user.file("Res/lang_pic.ico")), "flag");

    // The emulator moved: the dead link follows it. The user's own translation stays.
    user.write("Res/Lang.dat", "mine");
    QFile::remove(emulator);
    const QString moved = install.write("bin/mednafen", "#!/bin/sh\n");
    ASSERT_TRUE(prepareUserFolder(user.path(), moved, install.file("lang")));
    EXPECT_EQ(QFileInfo(user.file("Core/mednafen")).symLinkTarget(), moved);
    EXPECT_EQ(testsupport::readAll(user.file("Res/Lang.dat")), "mine");

    // An emulator the user put there himself is never replaced.
    QFile::remove(user.file("Core/mednafen"));
    user.write("Core/mednafen", "own");
    ASSERT_TRUE(prepareUserFolder(user.path(), moved, install.file("lang")));
    EXPECT_EQ(testsupport::readAll(user.file("Core/mednafen")), "own");
#endif
}

TEST(CommandLine, ToolkitOptionsPassAndMistakesEndWithStatusTwo) {
    testsupport::TempFolder dir;
    const CommandLine run = parseCommandLine(
        {"varnix", "-platform", "offscreen", "-style", "fusion", "--folder", dir.path()});
    EXPECT_TRUE(run.run) << run.error.toStdString();
    EXPECT_EQ(run.folder, dir.path());
    for (const QStringList& wrong :
         {QStringList{"varnix", "--folder", dir.file("missing")}, QStringList{"varnix", "--fast"},
          QStringList{"varnix", "game.cue"}, QStringList{"varnix", "--help-all"}}) {
        const CommandLine result = parseCommandLine(wrong);
        EXPECT_FALSE(result.run);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_FALSE(result.error.isEmpty());
    }
}
