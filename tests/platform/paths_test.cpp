#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Paths, PartsFollowTheLastSeparatorOfThePlatform) {
#ifdef Q_OS_WIN
    EXPECT_EQ(folderPart("C:\\Games\\a.cue"), "C:\\Games\\");
    EXPECT_EQ(folderPart("/games/sub\\x.cue"), "/games/sub\\");
    EXPECT_EQ(fileNamePart("C:x.cue"), "x.cue");
#else
    // "\" and ":" are ordinary file name characters here.
    EXPECT_EQ(folderPart("/games/Panzer: Zwei.cue"), "/games/");
    EXPECT_EQ(fileNamePart("/games/Back\\slash.cue"), "Back\\slash.cue");
#endif
    EXPECT_EQ(upperExtension("/a.b/Game.Cue"), ".CUE");
    EXPECT_EQ(upperExtension("/a.b/Game"), "");
    EXPECT_EQ(joinPath("/app", "\\Core\\mednafen.cfg"), "/app/Core/mednafen.cfg");
    EXPECT_EQ(joinPath("/", "\\List.ini"), "/List.ini");
}

TEST(Paths, MissingFileIsFoundIgnoringLetterCase) {
    testsupport::TempFolder dir;
    dir.write("game.img", "x");
    EXPECT_TRUE(fileExists(dir.file("Game.IMG")));
    EXPECT_EQ(resolveFileCase(dir.file("Game.IMG")), dir.file("game.img"));
    EXPECT_FALSE(fileExists(dir.file("other.img")));
    EXPECT_FALSE(fileExists(dir.path())); // a folder is no file
}

TEST(TextFile, LinesEndAtLineFeedAndDropTheCarriageReturnBeforeIt) {
    EXPECT_EQ(splitLines("a\r\nb\nc"), (QList<QByteArray>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (QList<QByteArray>{"a", ""}));
    EXPECT_EQ(splitLines(""), QList<QByteArray>{});
    EXPECT_EQ(splitLines("a\rb\n"), QList<QByteArray>{"a\rb"});
}

TEST(TextFile, AtomicWriteReplacesWholeFileWithCrLf) {
    testsupport::TempFolder dir;
    const QString path = dir.write("x.ini", "old contents that are longer");
    writeTextLinesAtomic(path, {"Lang=1", "Theme=2"});
    EXPECT_EQ(testsupport::readAll(path), "Lang=1\r\nTheme=2\r\n");
    EXPECT_THROW(writeTextLinesAtomic(dir.file("missing/x.ini"), {"a"}), IoError);
    EXPECT_THROW(readTextLines(dir.file("none.txt")), IoError);
}

TEST(TextFile, TrimRemovesLowCodesAtBothEndsOnly) {
    const QString inner = QString("A") + QChar(0) + "B";
    EXPECT_EQ(trimLowCodes("  " + inner + " \t" + QChar(0)), inner);
    EXPECT_EQ(trimLowCodes(" \x01 "), "");
}
