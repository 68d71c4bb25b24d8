#include "platform/io_error.h"
#include "settings/config_store.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace settings;

TEST(ConfigLines, TerminatorsAndEndOfFile) {
    EXPECT_EQ(parseConfigLines("a\nb\n"), parseConfigLines("a\r\nb\r\n"));
    EXPECT_EQ(parseConfigLines("a\r\nb\r\n"), (QStringList{"a", "b"}));
    EXPECT_EQ(parseConfigLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(parseConfigLines("a\r\n\nlast"), (QStringList{"a", "", "last"}));
    EXPECT_EQ(parseConfigLines(""), QStringList());
    // A lone carriage return is dropped and the line goes on.
    EXPECT_EQ(parseConfigLines("ab\rc\r\nd\r"), (QStringList{"abc", "d"}));
    // Character 26 ends the file, also in the middle of a line.
    EXPECT_EQ(parseConfigLines("a\r\nb\x1a\r\nc\r\n"), (QStringList{"a", "b"}));
    EXPECT_EQ(parseConfigLines("a\r\n\x1a"), QStringList{"a"});
    // The emulator's files are UTF-8 on every platform.
    EXPECT_EQ(parseConfigLines("ss.bios_jp C:\\j\xc3\xbcrgen\\b.bin"),
              QStringList{QString::fromUtf8("ss.bios_jp C:\\j\xc3\xbcrgen\\b.bin")});
}

TEST(ConfigLines, FindSettingMatchesTheKeyExactlyAtTheStart) {
    const QStringList lines = {";ss.cart backup",
                               "SS.CART none",
                               "ss.cart",
                               "ss.cart.kof95_path rom.ic1",
                               "ss.tblur.accum.amount 30",
                               "ss.input.port10 mouse",
                               "ss.input.port1.3dpad.mode.defpos analog",
                               "ss.cart  auto ",
                               "ss.cart extram1",
                               "ss.tblur.accum 1"};
    EXPECT_EQ(findSetting(lines, "ss.cart "), "extram1"); // the last line, as in the emulator
    EXPECT_EQ(findSetting(lines, "ss.tblur.accum "), "1");
    EXPECT_EQ(findSetting(lines, "ss.input.port1 "), "");
    EXPECT_EQ(findSetting(lines, "ss.shader "), "");
    EXPECT_EQ(findSetting({"ss.cart "}, "ss.cart "), "");
    EXPECT_EQ(findSetting({}, "ss.cart "), "");
}

// The key index gives the answers a scan from the last line gives, for keys of every form.
TEST(ConfigLines, IndexedLookupAnswersAsTheScan) {
    const QStringList lines = {"ss.cart",
                               ";ss.cart backup",
                               "ss.cart  auto ",
                               "ss.cart extram1",
                               "ss.tblur.accum.amount 30",
                               " ss.shader goat",
                               "",
                               "ss.input.port1 gamepad",
                               "ss.input.port1 mouse",
                               "ss.old_name 2",
                               "ss.tblur.accum 1"};
    const ParsedConfig parsed(lines);
    const QStringList keys = {"ss.cart ", "ss.cart",   "ss.cart  ", ";ss.cart ",       " ",
                              "",         "ss. cart ", "ss.tblur ", "ss.input.port1 ", "ss.shader",
                              "missing ", "ss.cart\t"};
    for (const QString& key : keys) {
        qsizetype scanned = -1;
        for (qsizetype i = lines.size() - 1; i >= 0 && scanned < 0; --i) {
            if (lines.at(i).startsWith(key))
                scanned = i;
        }
        EXPECT_EQ(parsed.lineOf(key), scanned) << key.toStdString();
    }

    // Within a layer the legacy key counts where the key has no line, before any lower layer.
    ConfigView view(QStringList{"ss.old_name 5", "ss.cart none"}, "profile");
    view.addLayer(lines, "global");
    EXPECT_EQ(view.find("ss.new_name ", "ss.old_name ")->value, "5");
    EXPECT_EQ(view.find("ss.input.port1 ", "ss.old_name ")->file, "profile");
    EXPECT_EQ(view.find("ss.input.port1 ", "ss.gone ")->line, 9);
    EXPECT_EQ(view.find("ss.tblur.accum ")->file, "global");
    EXPECT_FALSE(view.find("ss.missing ", "ss.gone "));
}

TEST(ConfigFiles, LoadPrefersTheProfileAndFallsBackToTheGlobalFile) {
    testsupport::TempFolder dir;
    const QString global = dir.write("Core/mednafen.cfg", "ss.cart none\n");
    const QString profile = dir.write("Core/pgconfig/Game.ss.cfg", "ss.cart backup\r\n");
    EXPECT_EQ(loadConfigLines(profile, global), QStringList{"ss.cart backup"});
    EXPECT_EQ(loadConfigLines(dir.file("Core/pgconfig/Other.ss.cfg"), global),
              QStringList{"ss.cart none"});
    EXPECT_EQ(loadConfigLines(QString(), global), QStringList{"ss.cart none"});
    QFile::remove(global);
    try {
        loadConfigLines(dir.file("missing.cfg"), global);
        FAIL() << "no error";
    } catch (const platform::IoError& e) {
        EXPECT_TRUE(e.text().contains("File not found"));
    }
}

TEST(ConfigFiles, ProfileIsReplacedWithCrLfAndItsFolderIsNotCreated) {
    testsupport::TempFolder dir;
    dir.mkdir("Core/pgconfig");
    const QString path = dir.file("Core/pgconfig/Game.ss.cfg");
    writeGameProfile(path, {"ss.cart auto", "sound 1", ""});
    writeGameProfile(path, {"ss.cart none", "sound 0"});
    EXPECT_EQ(testsupport::readAll(path), "ss.cart none\r\nsound 0\r\n");

    const QString elsewhere = dir.file("Other/pgconfig/Game.ss.cfg");
    EXPECT_THROW(writeGameProfile(elsewhere, {"x"}), platform::IoError);
    EXPECT_FALSE(QDir(dir.file("Other")).exists());

    QFile::setPermissions(path, QFileDevice::ReadOwner);
    if (!QFileInfo(path).isWritable()) { // root may write anything
        EXPECT_THROW(writeGameProfile(path, {"ss.cart backup"}), platform::IoError);
        EXPECT_EQ(testsupport::readAll(path), "ss.cart none\r\nsound 0\r\n");
    }
}

TEST(ConfigFiles, ProfilePathUsesThePlaylistNameForPlaylistGames) {
    EXPECT_EQ(gameProfilePath("/app", "/games/Panzer (Disc 1).cue", "Panzer (Disc 1)"),
              "/app/Core/pgconfig/Panzer (Disc 1).ss.cfg");
    EXPECT_EQ(gameProfilePath("/app", "/games/multi/Panzer.M3U", "Panzer (Disc 1)"),
              "/app/Core/pgconfig/Panzer.ss.cfg");
#ifdef Q_OS_WIN
    EXPECT_EQ(gameProfilePath("/app", "C:\\games\\Saga.v2.m3u", "Saga Disc 1"),
              "/app/Core/pgconfig/Saga.v2.ss.cfg");
#endif
    EXPECT_EQ(gameProfilePath("/app", "/games/Saga.v2.m3u", "Saga Disc 1"),
              "/app/Core/pgconfig/Saga.v2.ss.cfg");
    EXPECT_EQ(globalConfigPath("/app"), "/app/Core/mednafen.cfg");
}
