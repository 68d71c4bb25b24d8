#include "platform/io_error.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

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
#ifdef Q_OS_WIN
    // The system itself ignores letter case: the name stays as given.
    EXPECT_EQ(resolveFileCase(dir.file("Game.IMG")), dir.file("Game.IMG"));
#else
    EXPECT_EQ(resolveFileCase(dir.file("Game.IMG")), dir.file("game.img"));
#endif
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
    // Once listed, the listing answers without a failed open of the exact name, except where
    // several names differ only in letter case: then the exact name decides.
    EXPECT_EQ(index.listedName(dir.file("B.IMG")), dir.file("b.img"));
    dir.write("b.IMG", "y");
    index.forget(dir.file("b.img"));
    index.find(dir.file("b.img"));
    EXPECT_EQ(index.listedName(dir.file("b.img")), QString());
}
#endif

TEST(TextFile, LinesEndAtLineFeedAndDropTheCarriageReturnBeforeIt) {
    EXPECT_EQ(splitLines("a\r\nb\nc"), (QList<QByteArray>{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (QList<QByteArray>{"a", ""}));
    EXPECT_EQ(splitLines(""), QList<QByteArray>{});
    EXPECT_EQ(splitLines("a\rb\n"), QList<QByteArray>{"a\rb"});
    EXPECT_EQ(splitLines("a\r\nC.m3u\r"), (QList<QByteArray>{"a", "C.m3u"}));
}

TEST(TextFile, AtomicWriteReplacesWholeFileWithCrLf) {
    testsupport::TempFolder dir;
    const QString path = dir.write("x.ini", "old contents that are longer");
    writeTextLinesAtomic(path, {"Lang=1", "Theme=2"});
    EXPECT_EQ(testsupport::readAll(path), "Lang=1\r\nTheme=2\r\n");
    EXPECT_THROW(writeTextLinesAtomic(dir.file("missing/x.ini"), {"a"}), IoError);
    EXPECT_THROW(readTextLines(dir.file("none.txt")), IoError);
    // A long list goes out in pieces; every line arrives, the last piece's too.
    QStringList many;
    for (int i = 0; i < 20000; ++i)
        many << QStringLiteral("/games/Game number %1.cue").arg(i);
    writeTextLinesAtomic(path, many);
    EXPECT_EQ(readTextLines(path), many);
    // A read takes room for the file, not for its bound (which may be hundreds of megabytes).
    const QByteArray small = readFileBytes(dir.write("small", "twelve bytes"), qint64(256) << 20);
    EXPECT_EQ(small, "twelve bytes");
    EXPECT_LT(small.capacity(), 4096);
    EXPECT_THROW(readFileBytes(dir.file("small"), 11), IoError);
}

// The launcher's own files stay in the code page while it holds every letter, else they are
// UTF-8 with a byte order mark; read back, either gives the same text. Latin-1 stands for a
// western code page.
TEST(TextFile, LauncherFilesKeepTheCodePageWhileEverythingFits) {
    testsupport::TempFolder dir;
    const QString path = dir.file("List.ini");
    const auto latin1 = QStringConverter::Latin1;
    const QString western = "C:\\Spiele-\u00dc\\A.cue";
    writeTextLinesAtomic(path, {western}, latin1);
    EXPECT_EQ(testsupport::readAll(path), "C:\\Spiele-\xdc\\A.cue\r\n");
    EXPECT_EQ(readTextLines(path, -1, latin1), QStringList{western});

    const QStringList both{western, "C:\\\u30b2\u30fc\u30e0\\B.cue"};
    writeTextLinesAtomic(path, both, latin1);
    EXPECT_EQ(testsupport::readAll(path), "\xef\xbb\xbf" + both.join("\r\n").toUtf8() + "\r\n");
    EXPECT_EQ(readTextLines(path, -1, latin1), both);
    // Without the mark, valid UTF-8 beyond ASCII is UTF-8 too.
    dir.write("List.ini", both.join("\r\n").toUtf8());
    EXPECT_EQ(readTextLines(path, -1, latin1), both);
    EXPECT_EQ(decodeLauncherText("\xef\xbb\xbf"
                                 "A\xc3\x9c",
                                 latin1),
              "A\u00dc");

    // In the system's own code page, whatever it is, every letter comes back.
    writeTextLinesAtomic(path, both);
    EXPECT_EQ(readTextLines(path), both);
}

TEST(TextFile, TrimRemovesLowCodesAtBothEndsOnly) {
    const QString inner = QString("A") + QChar(0) + "B";
    EXPECT_EQ(trimLowCodes("  " + inner + " \t" + QChar(0)), inner);
    EXPECT_EQ(trimLowCodes(" \x01 "), "");
}

#ifndef Q_OS_WIN

namespace {

// Runs the check as a user without rights to the test's folders: under root, in a child process
// with the rights of "nobody" (root writes anywhere); otherwise right here. The check returns
// an empty text when it passes.
QString asUnprivilegedUser(const std::function<QString()>& check) {
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const QString failure = check();
        if (!failure.isEmpty())
            fprintf(stderr, "%s\n", qPrintable(failure));
        ::_exit(failure.isEmpty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0
               ? QString()
               : QStringLiteral("the check failed in the child process (status %1)").arg(status);
}

} // namespace

TEST(TextFile, FolderThatTakesNoNewFilesStillLetsAWritableFileChange) {
    testsupport::TempFolder dir;
    dir.mkdir("locked");
    const QString changeable = dir.write("locked/a.cfg", "old a\r\n");
    const QString protectedFile = dir.write("locked/b.cfg", "old b\r\n");
    QFile::setPermissions(changeable, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther);
    QFile::setPermissions(protectedFile, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    const auto readable = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
    QFile::setPermissions(dir.path(), readable | QFileDevice::WriteOwner);
    QFile::setPermissions(dir.file("locked"), readable);
    const QString failure = asUnprivilegedUser([&]() -> QString {
        try {
            writeTextLinesAtomic(changeable, {"new a"});
        } catch (const IoError& e) {
            return "changeable file not written: " + e.text();
        }
        if (testsupport::readAll(changeable) != "new a\r\n")
            return "changeable file holds " + testsupport::readAll(changeable);
        try {
            writeTextLinesAtomic(protectedFile, {"new b"});
            return QStringLiteral("write-protected file reported written");
        } catch (const IoError&) {
        }
        if (testsupport::readAll(protectedFile) != "old b\r\n")
            return QStringLiteral("write-protected file changed");
        return QString();
    });
    QFile::setPermissions(dir.file("locked"), readable | QFileDevice::WriteOwner);
    EXPECT_EQ(failure, QString());
    EXPECT_EQ(QDir(dir.file("locked")).entryList(QDir::Files).size(), 2); // no temporary files
}

#endif
