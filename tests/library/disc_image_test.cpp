#include "disc_writer.h"
#include "library/disc_image.h"
#include "platform/io_error.h"
#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace library;
using discwriter::Sectors;

namespace {

discwriter::Header saturn(const QByteArray& product = "T-1234", const QByteArray& area = "JUE") {
    discwriter::Header header;
    header.productNumber = product;
    header.areaSymbols = area;
    return header;
}

QByteArray rawData() {
    return discwriter::dataFile(saturn(), Sectors::Raw2352, 1);
}

// A cue sheet's text with the given lines, CR LF ended.
QByteArray cue(const QList<QByteArray>& lines) {
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

TEST(ResolveImage, CueSheetFileLineVariants) {
    testsupport::TempFolder dir;
    dir.write("Game (Track 01).bin", rawData());
    dir.write("tracks/Sub.bin", rawData());
    dir.write(QString::fromUtf8("Spiel \xc3\x84.bin"), rawData());
    struct Case {
        const char* name;
        QByteArray text;
        bool saturn;
        QString data;
    } cases[] = {
        {"quoted", cue({"FILE \"Game (Track 01).bin\" BINARY", "  TRACK 01 MODE1/2352"}), true,
         "Game (Track 01).bin"},
        {"lower case", cue({"file \"Game (Track 01).bin\" binary", "  track 01 mode1/2352"}), true,
         "Game (Track 01).bin"},
        {"indented", cue({"CATALOG 0", "    File \"Game (Track 01).bin\" BINARY"}), true,
         "Game (Track 01).bin"},
        {"one quote keeps the rest", cue({"FILE \"Game (Track 01).bin"}), true,
         "Game (Track 01).bin"},
        // The first line holding "FILE " decides, a comment included, even when a later line
        // would have been valid.
        {"comment line first",
         cue({"REM the FILE is below", "FILE \"Game (Track 01).bin\" BINARY"}), false, ""},
        {"no quote", cue({"FILE Game.bin BINARY", "FILE \"Game (Track 01).bin\" BINARY"}), false,
         ""},
        {"subfolder with backslash", cue({"FILE \"tracks\\Sub.bin\" BINARY"}), true,
         "tracks/Sub.bin"},
        {"subfolder with slash", cue({"FILE \"tracks/Sub.bin\" BINARY"}), true, "tracks/Sub.bin"},
        {"absolute name", cue({"FILE \"" + dir.file("Game (Track 01).bin").toLocal8Bit() + "\""}),
         false, ""},
        {"only on the last line, unterminated", "REM x\r\nFILE \"Game (Track 01).bin\" BINARY",
         true, "Game (Track 01).bin"},
        // Lines longer than one read of the file.
        {"after a long comment",
         cue({"REM " + QByteArray(16380, 'x'), "FILE \"Game (Track 01).bin\" BINARY"}), true,
         "Game (Track 01).bin"},
        {"long last line without line end",
         "REM x\r\nFILE \"Game (Track 01).bin\" BINARY " + QByteArray(40000, ' '), true,
         "Game (Track 01).bin"},
        // In the system code page: UTF-8 on Linux, Windows-1252 on a western Windows.
        {"non-ASCII text",
         cue({"REM " + QString::fromUtf8("\xc3\x84rger").toLocal8Bit(),
              "file \"" + QString::fromUtf8("Spiel \xc3\x84.bin").toLocal8Bit() + "\" binary"}),
         true, QString::fromUtf8("Spiel \xc3\x84.bin")},
        {"no FILE line", cue({"TRACK 01 MODE1/2352", "INDEX 01 00:00:00"}), false, ""},
        {"LF only", "FILE \"Game (Track 01).bin\" BINARY\n  TRACK 01 MODE1/2352\n", true,
         "Game (Track 01).bin"},
        {"lone CR ends the last line", "REM x\r\nFILE \"Game (Track 01).bin\r", true,
         "Game (Track 01).bin"},
        // A sheet with a line of megabytes is no cue sheet; it is not read whole.
        {"line past the bound", "FILE \"Game (Track 01).bin\" " + QByteArray(2 << 20, ' '), false,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write("Game.cue", c.text);
        const ResolvedImage image = resolveImage(path);
        EXPECT_EQ(image.kind, ".CUE");
        EXPECT_EQ(image.gameName, "Game");
        EXPECT_EQ(image.isSaturn, c.saturn);
        if (c.saturn) {
            EXPECT_EQ(image.dataFilePath, dir.file(c.data));
            EXPECT_EQ(image.headerOffset, 16);
        }
    }
}

TEST(ResolveImage, RawAndCookedSectorsAndTheSaturnTest) {
    testsupport::TempFolder dir;
    dir.write("Game.cue", cue({"FILE \"Game.bin\" BINARY"}));
    const auto check = [&](const QByteArray& data) {
        dir.write("Game.bin", data);
        return resolveImage(dir.file("Game.cue"));
    };

    ResolvedImage cooked = check(discwriter::dataFile(saturn(), Sectors::Cooked2048, 1));
    EXPECT_TRUE(cooked.isSaturn);
    EXPECT_EQ(cooked.headerOffset, 0);
    ResolvedImage raw = check(rawData());
    EXPECT_TRUE(raw.isSaturn);
    EXPECT_EQ(raw.headerOffset, 16);

    // "SEGA" at position 5 (or 21 after 00 FF FF FF) decides, whatever surrounds it.
    EXPECT_TRUE(check("xxxxxSEGA").isSaturn);
    EXPECT_TRUE(check(QByteArray("\x00\xFF\xFF\xFF", 4) + QByteArray(17, 'z') + "SEGA").isSaturn);
    // "SEGA" only at the very start is not enough.
    EXPECT_FALSE(check("SEGA MEGA DRIVE SEGA ENTERPRISES").isSaturn);
    EXPECT_FALSE(
        check(discwriter::dataFile(discwriter::nonSaturnHeader(), Sectors::Raw2352, 1)).isSaturn);
}

TEST(ResolveImage, ShortDataFilesNeverPassOnEarlierBytes) {
    testsupport::TempFolder dir;
    dir.write("A.cue", cue({"FILE \"A.bin\" BINARY"}));
    dir.write("B.cue", cue({"FILE \"B.bin\" BINARY"}));
    dir.write("A.bin", rawData());
    ASSERT_TRUE(resolveImage(dir.file("A.cue")).isSaturn);
    // Cut inside "SEGA", and empty; read right after a passing file.
    for (const QByteArray& shortData : {rawData().left(23), QByteArray(),
                                        QByteArray("\x00\xFF\xFF", 3), QByteArray("xxxxxSEG")}) {
        dir.write("B.bin", shortData);
        const ResolvedImage image = resolveImage(dir.file("B.cue"));
        EXPECT_FALSE(image.isSaturn) << shortData.size();
        const DiscHeader header = readDiscHeader(image);
        for (const QString& field : header.fields)
            EXPECT_LE(field.size(), 16);
    }
    // A header cut short ends early; the fields after it stay empty.
    dir.write("B.bin", rawData().left(16 + 40));
    ResolvedImage image = resolveImage(dir.file("B.cue"));
    ASSERT_TRUE(image.isSaturn);
    const DiscHeader header = readDiscHeader(image);
    EXPECT_EQ(header.fields[HardwareId], "SEGA SEGASATURN ");
    EXPECT_EQ(header.fields[ProductNumber], "T-1234  ");
    EXPECT_TRUE(header.fields[Version].isEmpty());
    EXPECT_TRUE(header.fields[GameTitle].isEmpty());
}

TEST(ResolveImage, CcdFindsItsImageIgnoringLetterCase) {
    testsupport::TempFolder dir;
    const QString ccd =
        discwriter::writeCcdGame(dir.path(), "Game", saturn("MK-81000", "U"), "game.IMG", 1);
    const ResolvedImage image = resolveImage(ccd);
    EXPECT_EQ(image.kind, ".CCD");
    EXPECT_EQ(image.gameName, "Game");
    EXPECT_TRUE(image.isSaturn);
    EXPECT_EQ(readDiscHeader(image).fields[ProductNumber], "MK-81000  ");

    // The extension's letter case does not matter either.
    QFile::rename(ccd, dir.file("Game.CcD"));
    EXPECT_TRUE(resolveImage(dir.file("Game.CcD")).isSaturn);
    EXPECT_FALSE(resolveImage(dir.file("Other.ccd")).isSaturn);
}

TEST(ResolveImage, PlaylistFirstLine) {
    testsupport::TempFolder dir;
    discwriter::writeCueGame(dir.path(), "Game (Disc 1)", saturn(), Sectors::Raw2352, 1);
    dir.write("CD1/Game (Disc 1).cue", "not a cue sheet");
    dir.write("Game (Disc 1) (Track 01).iso", rawData());
    struct Case {
        const char* name;
        QByteArray firstLine;
        bool saturn;
        QString kind;
    } cases[] = {
        {"cue sheet", "Game (Disc 1).cue", true, ".CUE"},
        // The folder in the line is dropped: the cue sheet comes from the playlist's folder.
        {"subfolder", "CD1\\Game (Disc 1).cue", true, ".CUE"},
        {"subfolder with slash", "CD1/Game (Disc 1).cue", true, ".CUE"},
        {"empty", "", false, ""},
        {"track file", "Game (Disc 1) (Track 01).iso", false, ".ISO"},
        {"another playlist", "Other.m3u", false, ".M3U"},
    };
    dir.write("Other.m3u", "Game (Disc 1).cue\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write("Game.m3u", c.firstLine + "\r\nGame (Disc 2).cue\r\n");
        const ResolvedImage image = resolveImage(path);
        EXPECT_EQ(image.isSaturn, c.saturn);
        EXPECT_EQ(image.kind, c.kind);
        if (c.saturn) {
            EXPECT_EQ(image.gameName, "Game (Disc 1)");
        }
    }
    EXPECT_FALSE(resolveImage(dir.file("Missing.m3u")).isSaturn);
    // A CR that ends the file is no part of its only line.
    EXPECT_TRUE(resolveImage(dir.write("Game.m3u", "Game (Disc 1).cue\r")).isSaturn);
}

TEST(ReadDiscHeader, FieldsKeepTheirBytesUntrimmed) {
    testsupport::TempFolder dir;
    discwriter::Header h = saturn("T-12", "JT");
    h.title = QByteArray("TITLE\0X", 7);
    for (Sectors format : {Sectors::Raw2352, Sectors::Cooked2048}) {
        dir.write("G.cue", cue({"FILE \"G.bin\" BINARY"}));
        dir.write("G.bin", discwriter::dataFile(h, format, 2));
        const ResolvedImage image = resolveImage(dir.file("G.cue"));
        const DiscHeader header = readDiscHeader(image);
        EXPECT_EQ(header.fields[HardwareId], "SEGA SEGASATURN ");
        EXPECT_EQ(header.fields[ProductNumber], "T-12      "); // trailing blanks kept
        EXPECT_EQ(header.fields[Version], "V1.000");
        EXPECT_EQ(header.fields[AreaSymbols], "JT              ");
        EXPECT_EQ(header.fields[GameTitle].size(), 112);
        EXPECT_EQ(header.fields[GameTitle].left(7), QString::fromLatin1("TITLE\0X", 7));
        // The header read together with the resolution is the same.
        DiscHeader together;
        resolveImage(dir.file("G.cue"), &together);
        EXPECT_EQ(together.fields, header.fields);
    }
}

TEST(ReadDiscHeader, MissingDataFileLeavesTheFieldsEmpty) {
    testsupport::TempFolder dir;
    const QString path =
        discwriter::writeCueGame(dir.path(), "Gone", saturn(), Sectors::Raw2352, 1);
    ResolvedImage image = resolveImage(path);
    ASSERT_TRUE(image.isSaturn);
    QFile::remove(image.dataFilePath);
    for (const QString& field : readDiscHeader(image).fields)
        EXPECT_TRUE(field.isEmpty());
}

TEST(ResolveImage, FilesThatExistButCannotBeReadRaiseAnError) {
    testsupport::TempFolder dir;
#ifdef Q_OS_LINUX
    // A file that opens but whose every read fails, whatever the rights of the test.
    const QString failing = QStringLiteral("/proc/self/mem");
    const QString failingCue = dir.file("Failing.cue");
    ASSERT_TRUE(QFile::link(failing, failingCue));
    EXPECT_THROW(resolveImage(failingCue), platform::IoError);
    dir.write("Data.cue", cue({"FILE \"Data.bin\" BINARY"}));
    ASSERT_TRUE(QFile::link(failing, dir.file("Data.bin")));
    EXPECT_THROW(resolveImage(dir.file("Data.cue")), platform::IoError);
#endif
    const QString path =
        discwriter::writeCueGame(dir.path(), "Locked", saturn(), Sectors::Raw2352, 1);
    const testsupport::UnreadableFile locked(path);
    if (QFile(path).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    EXPECT_THROW(resolveImage(path), platform::IoError);
}
