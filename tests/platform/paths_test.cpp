#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QFile>
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

#ifndef Q_OS_WIN
TEST(Paths, CaseIndexListsEachFolderOnce) {
    testsupport::TempFolder dir;
    dir.write("a.img", "x");
    dir.write("b.img", "x");
    dir.write("sub/c.img", "x");
    dir.mkdir("D.IMG");
    FileCaseIndex index;
    EXPECT_EQ(index.find(dir.file("A.IMG")), dir.file("a.img"));
    EXPECT_EQ(index.find(dir.file("B.Img")), dir.file("b.img"));
    EXPECT_EQ(index.find(dir.file("none.img")), QString());
    EXPECT_FALSE(index.fileExists(dir.file("d.img"))); // a folder is no file
    EXPECT_EQ(index.listings(), 1);
    EXPECT_TRUE(index.fileExists(dir.file("sub/C.IMG")));
    EXPECT_FALSE(index.fileExists(dir.file("missing/C.IMG")));
    EXPECT_EQ(index.listings(), 3);
    // A file renamed after its folder was listed is still found.
    QFile::rename(dir.file("a.img"), dir.file("A.iMG"));
    EXPECT_TRUE(index.fileExists(dir.file("a.IMG")));
    EXPECT_EQ(index.find(dir.file("a.IMG")), dir.file("A.iMG"));
}
#endif

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
