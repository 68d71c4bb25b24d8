#include "app/launcher_settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

LauncherSettings parse(const QStringList& lines) {
    return LauncherSettings::fromLines(lines);
}

} // namespace

TEST(MainIni, MissingOrShortFilesGiveDefaults) {
    testsupport::TempFolder dir;
    const LauncherSettings none = LauncherSettings::read(dir.file("Main.ini"));
    EXPECT_EQ(none.language, 0);
    EXPECT_EQ(none.skin, 3);
    const LauncherSettings oneLine = LauncherSettings::read(dir.write("Main.ini", "Lang=1\r\n"));
    EXPECT_EQ(oneLine.language, 1);
    EXPECT_EQ(oneLine.skin, 3);
    const LauncherSettings empty = LauncherSettings::read(dir.write("Main.ini", ""));
    EXPECT_EQ(empty.language, 0);
    EXPECT_EQ(empty.skin, 3);
}

TEST(MainIni, LinesAreReadByPositionNotByKey) {
    const LauncherSettings swapped = parse({"Theme=1", "Lang=0"});
    EXPECT_EQ(swapped.language, 1);
    EXPECT_EQ(swapped.skin, 0);
    // Everything after the first "=" is the value.
    EXPECT_EQ(parse({"a=b=1", "x=4"}).skin, 4);
    EXPECT_EQ(parse({"a=b=1", "x=4"}).language, 0);
    // A line without "=" is taken whole, and here it is a number.
    EXPECT_EQ(parse({"1", "5"}).language, 1);
    EXPECT_EQ(parse({"1", "5"}).skin, 5);
    // Lines after the second are ignored.
    EXPECT_EQ(parse({"Lang=1", "Theme=2", "Theme=5"}).skin, 2);
}

TEST(MainIni, ValuesThatAreNotUsableIndicesFallBackToDefaults) {
    EXPECT_EQ(parse({"Lang", "Theme=2"}).language, 0);
    EXPECT_EQ(parse({"Lang=1", "Theme=abc"}).skin, 3);
    EXPECT_EQ(parse({"Lang=", "Theme="}).skin, 3);
    EXPECT_EQ(parse({"Lang=-1", "Theme=-2"}).language, 0);
    EXPECT_EQ(parse({"Lang=-1", "Theme=-2"}).skin, 3);
    EXPECT_EQ(parse({"Lang=2", "Theme=6"}).language, 0);
    EXPECT_EQ(parse({"Lang=2", "Theme=6"}).skin, 3);
    EXPECT_EQ(parse({"Lang=99999999999", "Theme=4294967299"}).language, 0);
    EXPECT_EQ(parse({"Lang=99999999999", "Theme=4294967299"}).skin, 3);
    EXPECT_EQ(parse({"Lang=1.0", "Theme=0x2"}).language, 0);
    EXPECT_EQ(parse({"Lang=1.0", "Theme=0x2"}).skin, 3);
}

TEST(MainIni, WrittenWholeWithBothSelectionsAndCrLf) {
    testsupport::TempFolder dir;
    const QString path = dir.write("Main.ini", "Lang=0\r\nTheme=3\r\nsomething else\r\n");
    LauncherSettings s;
    s.language = 1;
    s.skin = 4;
    s.write(path);
    EXPECT_EQ(testsupport::readAll(path), "Lang=1\r\nTheme=4\r\n");
    const LauncherSettings back = LauncherSettings::read(path);
    EXPECT_EQ(back.language, 1);
    EXPECT_EQ(back.skin, 4);
}

TEST(MainIni, PlaceLinesFollowTheDesignedOnesAndOldFilesStillRead) {
    testsupport::TempFolder dir;
    const LauncherSettings old =
        LauncherSettings::read(dir.write("Main.ini", "Lang=1\r\nTheme=2\r\n"));
    EXPECT_EQ(old.game, "");
    EXPECT_EQ(old.tab, -1);
    LauncherSettings s = old;
    s.game = "/games/a=b.cue";
    s.tab = 2;
    const QString path = dir.file("Main.ini");
    s.write(path);
    EXPECT_EQ(testsupport::readAll(path), "Lang=1\r\nTheme=2\r\nGame=/games/a=b.cue\r\nTab=2\r\n");
    const LauncherSettings back = LauncherSettings::read(path);
    EXPECT_EQ(back.language, 1);
    EXPECT_EQ(back.skin, 2);
    EXPECT_EQ(back.game, "/games/a=b.cue");
    EXPECT_EQ(back.tab, 2);
}

TEST(RestartRules, SkinRestartsOnlyOnAnotherSkin) {
    EXPECT_FALSE(skinChangeRestarts(3, 3));
    EXPECT_TRUE(skinChangeRestarts(4, 3));
}
