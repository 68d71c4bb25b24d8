#include "i18n/messages.h"
#include "platform/io_error.h"
#include "settings/config_store.h"
#include "settings/profiles.h"
#include "settings/settings_model.h"
#include "settings/settings_table.h"
#include "test_support.h"

#include "platform/text_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace settings;

namespace {

const QByteArray globalConfig = "sound.driver default\n"
                                "ss.cart auto\n"
                                "ss.yscale 3.000000\n"
                                "ss.shader.goat.hdiv 0.50\n"
                                "ss.shader.goat.vdiv 0.50\n"
                                "ss.shader.goat.tp 0.50\n"
                                "ss.input.mouse_sensitivity 0.50\n"
                                "ss.input.port1 gamepad\n";

struct App {
    App() {
        i18n::initMessageTable();
        dir.write("Core/mednafen.cfg", globalConfig);
        dir.mkdir("Core/pgconfig");
    }
    QString profile(const QString& name) const { return dir.file("Core/pgconfig/" + name); }
    testsupport::TempFolder dir;
    SettingsModel model;
    Profiles profiles{model, dir.path()};
};

} // namespace

TEST(Profiles, SaveSelectAnotherAndSelectBack) {
    App app;
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 0); // the global configuration
    EXPECT_EQ(app.model.position(Ctl::TrackBar5), 3);
    app.model.setIndex(Ctl::ComboBox1, 2);
    EXPECT_EQ(app.profiles.saveProfile("/games/A.cue", "A"), i18n::message(6));
    EXPECT_TRUE(QFileInfo::exists(app.profile("A.ss.cfg")));

    app.profiles.selectGame("/games/B.cue", "B");
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 0);
    app.model.setIndex(Ctl::ComboBox1, 4); // edited, never saved
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 2);
    app.profiles.selectGame("/games/B.cue", "B");
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 0);
    EXPECT_FALSE(QFileInfo::exists(app.profile("B.ss.cfg")));

    // Saving again replaces the profile; it never grows.
    app.profiles.saveProfile("/games/A.cue", "A");
    app.profiles.saveProfile("/games/A.cue", "A");
    EXPECT_EQ(loadConfigLines(app.profile("A.ss.cfg"), QString()).size(), 60);
}

TEST(Profiles, PlaylistGamesUseThePlaylistsName) {
    App app;
    app.profiles.saveProfile("/games/Saga.m3u", "Saga (Disc 1)");
    EXPECT_TRUE(QFileInfo::exists(app.profile("Saga.ss.cfg")));
    EXPECT_FALSE(QFileInfo::exists(app.profile("Saga (Disc 1).ss.cfg")));
}

// The emulator reads its files as UTF-8 on every platform and refuses other bytes in a path.
TEST(Profiles, ProfilesAndTheGlobalFileAreUtf8) {
    App app;
    const QByteArray japanese = "C:\\\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0\\sega_101.bin";
    app.dir.write("Core/mednafen.cfg", globalConfig + "ss.bios_jp " + japanese + "\n");
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_EQ(app.model.text(Ctl::LabeledEdit1), QString::fromUtf8(japanese));

    const QString western = "C:\\Spiele-\u00dc\\mpr-17933.bin";
    app.model.setText(Ctl::LabeledEdit2, western);
    app.profiles.saveProfile("/games/A.cue", "A");
    const QByteArray saved = testsupport::readAll(app.profile("A.ss.cfg"));
    EXPECT_TRUE(saved.contains("ss.bios_jp " + japanese + "\r\n"));
    EXPECT_TRUE(saved.contains("ss.bios_na_eu " + western.toUtf8() + "\r\n"));
}

// The emulator's own configuration lists every setting it knows: a setting it lacks there is
// one this emulator version does not have. A short file tells nothing.
TEST(Profiles, SettingsTheEmulatorDoesNotKnow) {
    QStringList lines;
    for (int i = 0; i < 100; ++i)
        lines << QStringLiteral("ss.input.port1.gamepad.b%1 keyboard 0x0 %1").arg(i);
    for (const SettingRow& row : settingsTable()) {
        if (row.key != "ss.midsync ")
            lines << row.key + "0";
    }
    EXPECT_EQ(settingsUnknownTo(ParsedConfig(lines)), std::vector<Ctl>{Ctl::CheckBox7});
    lines << "ss.midsync 0";
    EXPECT_TRUE(settingsUnknownTo(ParsedConfig(lines)).empty());
    EXPECT_TRUE(settingsUnknownTo(ParsedConfig({"ss.cart auto"})).empty());
}

TEST(Profiles, LoadAnotherProfileThenSave) {
    App app;
    app.dir.write("other.cfg", globalConfig + "ss.cart extram4\nsound 0\n");
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_EQ(app.profiles.loadProfile(app.dir.file("other.cfg")), i18n::message(5));
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 0); // the first ss.cart line counts
    EXPECT_FALSE(app.model.checked(Ctl::CheckBox11));
    EXPECT_FALSE(QFileInfo::exists(app.profile("A.ss.cfg"))); // loading writes nothing
    app.profiles.saveProfile("/games/A.cue", "A");
    app.profiles.selectGame("/games/B.cue", "B");
    EXPECT_TRUE(app.model.checked(Ctl::CheckBox11));
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_FALSE(app.model.checked(Ctl::CheckBox11));

    // Cancelling the dialog changes nothing.
    app.model.setChecked(Ctl::CheckBox11, true);
    EXPECT_EQ(app.profiles.loadProfile(QString()), QString());
    EXPECT_TRUE(app.model.checked(Ctl::CheckBox11));
}

// A game's profile overrides the global file line by line, as the emulator reads it; nothing of
// the game shown before stays.
TEST(Profiles, SelectingReadsTheProfileOverTheGlobalFile) {
    App app;
    app.dir.write("Core/pgconfig/A.ss.cfg", "ss.shader goat\nss.yscale 1\nss.bios_jp /a/jp.bin\n"
                                            "ss.input.port2 mouse\nss.cart backup\n");
    app.dir.write("Core/pgconfig/B.ss.cfg", "video.fs 1\n");
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_EQ(app.model.index(Ctl::ComboBox9), 10);
    EXPECT_TRUE(app.model.enabled(EnableGroup::GoatShader));
    EXPECT_EQ(app.model.position(Ctl::TrackBar5), 1);

    app.profiles.selectGame("/games/B.cue", "B");
    EXPECT_TRUE(app.model.checked(Ctl::CheckBox1));
    EXPECT_EQ(app.model.index(Ctl::ComboBox9), 0); // in neither file: the initial "none"
    EXPECT_FALSE(app.model.enabled(EnableGroup::GoatShader));
    EXPECT_EQ(app.model.position(Ctl::TrackBar5), 3); // the global file's
    EXPECT_EQ(app.model.text(Ctl::LabeledEdit1), "sega_101.bin");
    EXPECT_EQ(app.model.portDevice(1), 0);
    app.profiles.saveProfile("/games/B.cue", "B");
    const QStringList saved = loadConfigLines(app.profile("B.ss.cfg"), QString());
    for (const char* line : {"video.fs 1", "ss.shader none", "ss.yscale 3.000", "ss.cart auto",
                             "ss.bios_jp sega_101.bin"})
        EXPECT_TRUE(saved.contains(line)) << line;
    EXPECT_FALSE(saved.contains("ss.input.port2 mouse"));
}

// A setting neither file has is read as the emulator reads it: a flag takes its default.
TEST(Profiles, ASettingBothFilesLackIsSavedWithItsDefault) {
    App app; // the global file has no "ss.midsync" and no multitap lines
    app.profiles.selectGame("/games/A.cue", "A");
    app.profiles.saveProfile("/games/A.cue", "A");
    const QStringList saved = loadConfigLines(app.profile("A.ss.cfg"), QString());
    for (const char* line :
         {"ss.midsync 1", "ss.input.sport1.multitap 1", "ss.input.sport2.multitap 1"})
        EXPECT_TRUE(saved.contains(line)) << line;
}

// Values the emulator accepts but the lists lack show as one extra item and are saved unchanged;
// the next game's values take the extra items away; a value it refuses is not kept.
TEST(Profiles, AcceptedValuesTheListsLackAreKeptAsAnExtraItem) {
    App app;
    app.dir.write("Core/mednafen.cfg",
                  globalConfig + "sound.rate 24000\nvideo.deinterlacer blend\nss.cart bogus\n");
    app.dir.write("Core/pgconfig/B.ss.cfg", "sound.rate 44100\nvideo.deinterlacer bob\n");
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_EQ(app.model.items(Ctl::ComboBox10).size(), 7);
    EXPECT_EQ(app.model.index(Ctl::ComboBox10), 6);
    EXPECT_EQ(app.model.items(Ctl::ComboBox10).at(2), "44100 Hz"); // designed items stay put
    EXPECT_EQ(app.model.items(Ctl::ComboBox13).value(app.model.index(Ctl::ComboBox13)), "blend");
    app.profiles.saveProfile("/games/A.cue", "A");
    const QStringList saved = loadConfigLines(app.profile("A.ss.cfg"), QString());
    for (const char* line : {"sound.rate 24000", "video.deinterlacer blend", "ss.cart auto"})
        EXPECT_TRUE(saved.contains(line)) << line;

    app.profiles.selectGame("/games/B.cue", "B");
    EXPECT_EQ(app.model.items(Ctl::ComboBox10).size(), 6);
    EXPECT_EQ(app.model.index(Ctl::ComboBox10), 2);
    EXPECT_EQ(app.model.items(Ctl::ComboBox13).size(), 3);
}

// A value that cannot be read leaves the initial state and no save, never a mix of two games;
// a load that fails leaves every control as it was.
TEST(Profiles, UnreadableValuesLeaveNoMixAndNothingToSave) {
    App app;
    app.dir.write("Core/pgconfig/A.ss.cfg", "ss.shader goat\nss.cart backup\n");
    app.dir.write("Core/pgconfig/C.ss.cfg", "ss.cart extram4\nsound 0\nss.shader.goat.hdiv wide\n");
    app.dir.write("Core/pgconfig/D.ss.cfg", QByteArray("ss.bios_jp /bios/jp\0.bin\n", 25));
    app.profiles.selectGame("/games/A.cue", "A");
    try {
        app.profiles.selectGame("/games/C.cue", "C");
        FAIL() << "no error";
    } catch (const platform::IoError& e) {
        EXPECT_EQ(e.text(), "'wide' is not a valid floating point value\nLine 3: "
                            "ss.shader.goat.hdiv\n" +
                                QDir::toNativeSeparators(app.profile("C.ss.cfg")));
    }
    EXPECT_EQ(app.model.index(Ctl::ComboBox9), 0);
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 0);
    EXPECT_TRUE(app.model.checked(Ctl::CheckBox11));
    EXPECT_FALSE(app.profiles.readable());
    EXPECT_EQ(app.profiles.saveProfile("/games/C.cue", "C"), QString());
    EXPECT_EQ(testsupport::readAll(app.profile("C.ss.cfg")),
              "ss.cart extram4\nsound 0\nss.shader.goat.hdiv wide\n");

    EXPECT_THROW(app.profiles.selectGame("/games/D.cue", "D"), platform::IoError);
    EXPECT_EQ(app.model.text(Ctl::LabeledEdit1), "sega_101.bin");
    EXPECT_THROW(writeGameProfile(app.profile("E.ss.cfg"), {"ss.bios_jp a\r\nsound 0"}),
                 platform::IoError);
    EXPECT_FALSE(QFileInfo::exists(app.profile("E.ss.cfg")));

    app.dir.write("good.cfg", "ss.cart extram1\n");
    app.profiles.loadProfile(app.dir.file("good.cfg"));
    EXPECT_TRUE(app.profiles.readable());
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 3);
    const QStringList before = app.model.collectSettings();
    app.dir.write("broken.cfg", "sound 0\nss.cart backup\nss.yscale wide\n");
    EXPECT_THROW(app.profiles.loadProfile(app.dir.file("broken.cfg")), platform::IoError);
    EXPECT_EQ(app.model.collectSettings(), before);
    EXPECT_TRUE(app.profiles.readable());

    QDir(app.dir.file("Core/pgconfig")).removeRecursively();
    EXPECT_THROW(app.profiles.saveProfile("/games/A.cue", "A"), platform::IoError);
    QFile::remove(app.dir.file("Core/mednafen.cfg"));
    EXPECT_THROW(app.profiles.selectGame("/games/A.cue", "A"), platform::IoError);
}

TEST(Profiles, DeleteReportsWhatHappened) {
    App app;
    EXPECT_EQ(app.profiles.deleteProfile("/games/A.cue", "A"), i18n::message(12));
    app.profiles.selectGame("/games/A.cue", "A");
    app.model.setIndex(Ctl::ComboBox1, 1);
    app.profiles.saveProfile("/games/A.cue", "A");
    EXPECT_EQ(app.profiles.deleteProfile("/games/A.cue", "A"), i18n::message(11));
    EXPECT_FALSE(QFileInfo::exists(app.profile("A.ss.cfg")));
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 1); // the panel is not reloaded
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 0);
}

// The global configuration is read once and kept; a rewrite that keeps its size shows on the
// next selection, written in place or replaced by rename with the same modification time.
TEST(Profiles, TheKeptGlobalConfigurationFollowsEveryRewrite) {
    App app;
    const QString global = app.dir.file("Core/mednafen.cfg");
    const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-3600);
    auto rewrite = [&](const char* cart, int seconds, bool byRename) {
        QByteArray text = globalConfig;
        text.replace("ss.cart auto", QByteArray("ss.cart ") + cart);
        if (byRename) {
            platform::writeFileAtomic(global, text);
        } else {
            QFile file(global);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text);
        }
        QFile file(global);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(longAgo.addSecs(seconds), QFileDevice::FileModificationTime);
    };
    rewrite("none", 0, false);
    app.profiles.selectGame("/games/A.cue", "A");
    app.profiles.selectGame("/games/B.cue", "B");
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 1);
    EXPECT_EQ(app.profiles.globalConfigReads(), 1);

    rewrite("auto", 1, false);
    app.profiles.selectGame("/games/A.cue", "A");
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 0);
    rewrite("none", 1, true);
    app.profiles.selectGame("/games/B.cue", "B");
    EXPECT_EQ(app.model.index(Ctl::ComboBox1), 1);

    QFile::remove(global);
    try {
        app.profiles.selectGame("/games/A.cue", "A");
        FAIL() << "no error";
    } catch (const platform::IoError& e) {
        EXPECT_TRUE(e.text().contains("File not found"));
    }
    EXPECT_FALSE(app.profiles.readable());
}

// Makes a file undeletable: a write-protected folder, or, for the superuser, the immutable
// attribute where the file system has one. Undone on destruction.
class Undeletable {
public:
    explicit Undeletable(const QString& file) : file_(file), folder_(QFileInfo(file).path()) {
#ifdef Q_OS_WIN
        // Windows refuses to delete a read-only file.
        QFile::setPermissions(file_, QFileDevice::ReadOwner);
        readOnly_ = !QFileInfo(file_).isWritable();
#endif
        QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(folder_).isWritable())
            immutable_ = QProcess::execute("chattr", {"+i", file_}) == 0;
    }
    ~Undeletable() {
        if (readOnly_)
            QFile::setPermissions(file_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (immutable_)
            QProcess::execute("chattr", {"-i", file_});
        QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
    }
    bool active() const {
        return readOnly_ || immutable_ || !QFileInfo(folder_).isWritable();
    }

private:
    QString file_, folder_;
    bool immutable_ = false;
    bool readOnly_ = false;
};

TEST(Profiles, AFailedDeleteIsAnErrorNotASuccess) {
    App app;
    app.profiles.saveProfile("/games/A.cue", "A");
    Undeletable guard(app.profile("A.ss.cfg"));
    if (!guard.active())
        GTEST_SKIP() << "no way to make a file undeletable here";
    try {
        const QString status = app.profiles.deleteProfile("/games/A.cue", "A");
        ADD_FAILURE() << "reported " << status.toStdString();
    } catch (const platform::IoError& e) {
        EXPECT_TRUE(e.text().contains("A.ss.cfg"));
    }
    EXPECT_TRUE(QFileInfo::exists(app.profile("A.ss.cfg")));
}
