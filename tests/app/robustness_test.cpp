#include "app/launcher_settings.h"
#include "app/main_window.h"
#include "disc_writer.h"
#include "i18n/messages.h"
#include "library/game_list.h"
#include "settings/config_store.h"
#include "test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cstdio>
#ifndef Q_OS_WIN
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A small tmpfs mounted for one test; mounting needs root, so a test without it skips.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString& path) : path_(path) {
        QDir().mkpath(path);
        mounted_ = run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", path});
    }
    ~SmallFileSystem() {
        if (mounted_)
            run("umount", {"-l", path_});
    }
    bool mounted() const { return mounted_; }
    void fill() const {
        QFile filler(path_ + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size()) {
        }
    }
    bool makeReadOnly() const { return run("mount", {"-o", "remount,ro", path_}); }

private:
    QString path_;
    bool mounted_ = false;
};

} // namespace

// A launcher whose folder is full, or read-only: every write shows the system's error, leaves
// the old file whole, claims no success, and the launcher goes on.
TEST(Robustness, FullOrReadOnlyFolderKeepsEveryFileAndReportsTheError) {
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "full" : "read-only");
        testsupport::TempFolder dir;
        discwriter::Header header;
        header.productNumber = "T-1";
        const QString cue = discwriter::writeCueGame(dir.file("games"), "Alpha", header,
                                                     discwriter::Sectors::Raw2352, 1);
        const QString app = dir.file("app");
        SmallFileSystem fs(app);
        if (!fs.mounted())
            GTEST_SKIP() << "a tmpfs cannot be mounted here (it needs root): skipped";
        QDir().mkpath(app + "/Core/pgconfig");
        testsupport::installStubEmulator(app);
        const QByteArray config =
            "ss.cart auto\r\nss.yscale 2.000000\r\nss.shader.goat.hdiv 0.5\r\n"
            "ss.shader.goat.vdiv -0.5\r\nss.shader.goat.tp 0.5\r\n"
            "ss.input.mouse_sensitivity 0.5\r\n";
        const auto put = [&](const QString& name, const QByteArray& bytes) {
            QFile file(app + "/" + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        put("Core/mednafen.cfg", config);
        put("Core/pgconfig/Alpha.ss.cfg", config);
        // LF line ends, so every rewrite differs from what is there.
        const QByteArray mainIni = "Lang=0\nTheme=3\n";
        const QByteArray listIni = cue.toLocal8Bit() + "\n";
        put("Main.ini", mainIni);
        put("List.ini", listIni);
        if (full)
            fs.fill();
        else
            ASSERT_TRUE(fs.makeReadOnly());
        const QString reason = full ? "No space left on device" : "Read-only file system";

        testsupport::FakeDialogs dialogs;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(app);
        {
            TForm1 form;
            form.gameList()->waitForStartUpCheck();
            QStringList restarts;
            form.setRestarter([&](const QString& folder) {
                restarts << folder;
                return true;
            });
            // Start-up: the list shows, the status does not claim it was loaded.
            ASSERT_EQ(dialogs.errors.size(), 1);
            EXPECT_TRUE(dialogs.errors.last().contains(reason))
                << qPrintable(dialogs.errors.last());
            EXPECT_EQ(testsupport::readAll(app + "/List.ini"), listIni);
            EXPECT_EQ(form.gameList()->model()->count(), 1);
            EXPECT_NE(form.statusText(), i18n::message(8));

            form.selectRow(0);
            form.XiButton2Click();
            ASSERT_EQ(dialogs.errors.size(), 2) << qPrintable(dialogs.errors.join("|"));
            EXPECT_TRUE(dialogs.errors.last().contains(reason));
            EXPECT_EQ(testsupport::readAll(app + "/Core/pgconfig/Alpha.ss.cfg"), config);
            EXPECT_NE(form.statusText(), i18n::message(6));

            auto* skins = form.findChild<QComboBox*>("ComboBox14");
            skins->setCurrentIndex(1);
            form.ComboBox14Change(1);
            ASSERT_EQ(dialogs.errors.size(), 3);
            EXPECT_EQ(testsupport::readAll(app + "/Main.ini"), mainIni);
            EXPECT_EQ(skins->currentIndex(), 3); // the skin in force again
            EXPECT_TRUE(restarts.isEmpty());

            form.ListView1ColumnClick(1);
            EXPECT_EQ(dialogs.errors.size(), 4);
            EXPECT_EQ(testsupport::readAll(app + "/List.ini"), listIni);
        }
        QDir::setCurrent(previous);
        // No temporary file is left behind.
        EXPECT_EQ(QDir(app).entryList(QDir::Files).size(), full ? 3 : 2);
    }
}

#ifndef Q_OS_WIN
namespace {

// Writes one of two contents in a loop until it is killed; each call writes the other one.
using Rewrite = std::function<void(bool second)>;

// Kills a process that rewrites a file in a loop at random moments; returns how many times the
// file afterwards held something other than the whole old or the whole new contents.
int killWhileRewriting(const QString& path, const Rewrite& rewrite, const QByteArray& first,
                       const QByteArray& second, int kills, QRandomGenerator& random) {
    int damaged = 0;
    rewrite(false);
    for (int k = 0; k < kills; ++k) {
        const pid_t child = ::fork();
        if (child == 0) {
            try {
                for (bool other = true;; other = !other)
                    rewrite(other);
            } catch (...) {
                ::_exit(3);
            }
        }
        ::usleep(200 + random.bounded(3000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const QByteArray now = testsupport::readAll(path);
        if (now != first && now != second)
            ++damaged;
    }
    std::printf("%s: killed %d times while it was rewritten, %d times damaged\n",
                qPrintable(QFileInfo(path).fileName()), kills, damaged);
    return damaged;
}

} // namespace

#endif

TEST(Robustness, KilledWhileWritingEveryFileHoldsTheWholeOldOrNewContents) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "kills a forked writer at random moments; Windows has no fork()";
#else
    testsupport::TempFolder dir;
    dir.mkdir("Core/pgconfig");
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(QString("seed %1").arg(seed).toStdString());
    QRandomGenerator random(seed);
    constexpr int Kills = 100;

    // A long list: the list file takes many writes to replace.
    library::GameList list(dir.path());
    for (int i = 0; i < 4000; ++i)
        list.model()->append(library::GameRecord{
            QString("/games/some rather long folder name/Game number %1 (Disc 1).cue").arg(i),
            {},
            {},
            {}});
    const library::GameRecord last = list.model()->at(list.model()->count() - 1);
    const auto rewriteList = [&](bool second) {
        if (second)
            list.model()->removeAt(list.model()->count() - 1);
        else if (!list.model()->isListed(last.path))
            list.model()->append(last);
        list.save();
    };
    rewriteList(true);
    const QByteArray shortList = testsupport::readAll(list.listFilePath());
    rewriteList(false);
    const QByteArray longList = testsupport::readAll(list.listFilePath());
    EXPECT_EQ(
        killWhileRewriting(list.listFilePath(), rewriteList, longList, shortList, Kills, random),
        0);

    const QString profile = settings::gameProfilePath(dir.path(), "/games/A.cue", "A");
    QStringList linesA, linesB;
    for (int i = 0; i < 60; ++i) {
        linesA << QString("ss.setting%1 %2").arg(i).arg(i);
        linesB << QString("ss.setting%1 value %2 changed").arg(i).arg(i * 7);
    }
    const auto rewriteProfile = [&](bool second) {
        settings::writeGameProfile(profile, second ? linesB : linesA);
    };
    rewriteProfile(true);
    const QByteArray profileB = testsupport::readAll(profile);
    rewriteProfile(false);
    const QByteArray profileA = testsupport::readAll(profile);
    EXPECT_EQ(killWhileRewriting(profile, rewriteProfile, profileA, profileB, Kills, random), 0);

    const QString mainIni = dir.file("Main.ini");
    const auto rewriteMain = [&](bool second) {
        LauncherSettings settings;
        settings.language = second ? 1 : 0;
        settings.skin = second ? 5 : 3;
        settings.write(mainIni);
    };
    EXPECT_EQ(killWhileRewriting(mainIni, rewriteMain, "Lang=0\r\nTheme=3\r\n",
                                 "Lang=1\r\nTheme=5\r\n", Kills, random),
              0);
#endif
}

// What a real folder may hold where the launcher's files should be: a pipe as the language file
// and as the selected game's profile (reading one would wait for a writer forever), or a
// language file far too large. The launcher starts in English and names each file in a box.
TEST(Robustness, PipesAndHugeFilesNeverHoldTheStartUp) {
    for (const bool pipes : {true, false}) {
#ifdef Q_OS_WIN
        if (pipes)
            continue; // a pipe cannot stand in a Windows folder
#endif
        SCOPED_TRACE(pipes ? "pipes" : "huge language file");
        testsupport::TempFolder dir;
        dir.mkdir("Core/pgconfig");
        testsupport::installStubEmulator(dir.path());
        dir.write("Core/mednafen.cfg", "ss.cart auto\r\n");
        const QString cue = discwriter::writeCueGame(dir.file("games"), "Alpha", {},
                                                     discwriter::Sectors::Raw2352, 1);
        dir.write("List.ini", cue.toLocal8Bit() + "\r\n");
        dir.write("Main.ini", "Lang=1\r\nTheme=3\r\nGame=" + cue.toLocal8Bit() + "\r\n");
        dir.mkdir("Res");
        if (pipes) {
#ifndef Q_OS_WIN
            for (const char* name : {"Res/Lang.dat", "Core/pgconfig/Alpha.ss.cfg"})
                ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(name)).constData(), 0600), 0);
#endif
        } else {
            QFile(dir.write("Res/Lang.dat", "x[Main]\r\n")).resize(5 << 20);
        }

        testsupport::FakeDialogs dialogs;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        {
            TForm1 form;
            form.gameList()->waitForStartUpCheck();
            ASSERT_EQ(dialogs.errors.size(), pipes ? 2 : 1) << qPrintable(dialogs.errors.join("|"));
            for (const QString& error : dialogs.errors)
                EXPECT_TRUE(error.contains(pipes ? "Not a regular file" : "File too large"));
            EXPECT_EQ(form.findChild<QComboBox*>("ComboBoxEx1")->itemText(1), "???");
            EXPECT_EQ(form.gameList()->model()->count(), 1);
        }
        QDir::setCurrent(previous);
    }
}
