#include "i18n/messages.h"
#include "launch/launch_logic.h"
#include "launch/output_tail.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace launch;
using testsupport::TempFolder;

TEST(BiosFileToTest, BareNamesAndEmptyFieldsMeanTheDefaultFirmwareFile) {
    TempFolder app;
    const QString jp = app.file("Core/firmware/sega_101.bin");
    EXPECT_EQ(biosFileToTest(app.path(), "", "sega_101.bin"), jp);
    // Whatever name the field holds, the default file is the one tested.
    EXPECT_EQ(biosFileToTest(app.path(), "my_bios.bin", "sega_101.bin"), jp);
    EXPECT_EQ(biosFileToTest(app.path(), "mpr-17933.bin", "sega_101.bin"), jp);
}

TEST(BiosFileToTest, PathsAreTakenAsWrittenAgainstTheApplicationFolder) {
    TempFolder app;
#ifdef Q_OS_WIN
    EXPECT_EQ(biosFileToTest(app.path(), "D:\\bios\\jp.bin", "sega_101.bin"), "D:/bios/jp.bin");
#else
    EXPECT_EQ(biosFileToTest(app.path(), "/opt/bios/jp.bin", "sega_101.bin"), "/opt/bios/jp.bin");
#endif
    EXPECT_EQ(biosFileToTest(app.path(), "bios/jp.bin", "sega_101.bin"), app.file("bios/jp.bin"));
    EXPECT_EQ(biosFileToTest(app.path(), "bios\\jp.bin", "sega_101.bin"), app.file("bios/jp.bin"));
}

TEST(BiosFilesPresent, NeedsBothFiles) {
    TempFolder app;
    EXPECT_FALSE(biosFilesPresent(app.path(), "", ""));
    app.write("Core/firmware/sega_101.bin", "jp");
    EXPECT_FALSE(biosFilesPresent(app.path(), "", ""));
    app.write("Core/firmware/mpr-17933.bin", "na");
    EXPECT_TRUE(biosFilesPresent(app.path(), "sega_101.bin", "mpr-17933.bin"));
    EXPECT_FALSE(biosFilesPresent(app.path(), "", app.file("elsewhere/na.bin")));
}

TEST(Playlist, ExtensionNameAndDiscCount) {
    EXPECT_TRUE(isPlaylist("/games/Game.m3u"));
    EXPECT_TRUE(isPlaylist("/games/Game.M3u"));
    EXPECT_FALSE(isPlaylist("/games/Game.cue"));
    EXPECT_FALSE(isPlaylist("/games.m3u/Game"));

    EXPECT_EQ(playlistName("/games/Panzer Dragoon Saga.m3u"), "Panzer Dragoon Saga");
#ifdef Q_OS_WIN
    EXPECT_EQ(playlistName("C:\\games\\Game.M3U"), "Game");
#endif
    EXPECT_EQ(playlistName("/games/Game.M3U"), "Game");
    EXPECT_EQ(playlistName("/games/.m3"), "");

    // Every non-empty line is a disc, a comment included.
    EXPECT_EQ(discCount({"Disc 1.cue", "", "#comment", "Disc 2.cue", " "}), 4);
    EXPECT_EQ(discCount({}), 0);
    EXPECT_EQ(discCount({"", ""}), 0);
}

TEST(CommandLine, TextForTheMessageAndArgumentsForTheStart) {
    const QString program = QDir::toNativeSeparators("/app/Core/mednafen");
    EXPECT_EQ(commandLineText("/app/Core/mednafen", 0, "/games/My Game.cue"),
              program + " -force_module ss -which_medium 0 \"/games/My Game.cue\"");
    EXPECT_EQ(commandLineText("/app/Core/mednafen", -1, "x"),
              program + " -force_module ss -which_medium -1 \"x\"");
    // The Saturn module is named before the disc: the emulator's own detection refuses discs
    // whose security code it does not know.
    EXPECT_EQ(emulatorArguments(2, "/games/A \"B\".m3u"),
              QStringList({"-force_module", "ss", "-which_medium", "2", "/games/A \"B\".m3u"}));

    TempFolder app;
    EXPECT_TRUE(QDir::isAbsolutePath(emulatorProgram(".")));
    EXPECT_EQ(coreFolder(app.path()), app.file("Core"));
}

// The emulator's own -1 stays a number; Windows exception statuses are shown in hex, the
// common ones with their meaning first.
TEST(FailureReport, StatusesInWordsAndNumbers) {
    i18n::initMessageTable();
    EXPECT_EQ(failureReport(false, -1, {}), "The emulator ended with status -1.");
    EXPECT_EQ(failureReport(false, 255, {}), "The emulator ended with status 255.");
    EXPECT_EQ(failureReport(true, static_cast<int>(0xC0000135u), {"Loading"}),
              "Loading\rThe emulator ended: a DLL it needs is missing. Status 0xC0000135.");
    EXPECT_EQ(failureReport(true, static_cast<int>(0xC0000005u), {}),
              "The emulator ended: it crashed (access violation). Status 0xC0000005.");
    EXPECT_TRUE(failureReport(true, static_cast<int>(0xC000007Bu), {}).contains("architecture"));
    EXPECT_TRUE(failureReport(true, static_cast<int>(0xC0000409u), {}).contains("overrun"));
    EXPECT_EQ(failureReport(true, static_cast<int>(0xC0000017u), {}),
              "The emulator crashed (status 0xC0000017).");
}
