// Every profile the settings panel can write is loaded by the real emulator (Debian's, or the
// Windows one under Wine): it must accept all lines but "ss.midsync" (unknown to mednafen 1.29
// and 1.32) and never refuse the file.
#include "platform/text_file.h"
#include "setting_values.h"
#include "settings/config_store.h"
#include "settings/profiles.h"
#include "settings/settings_model.h"
#include "settings/settings_table.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

using namespace settings;

namespace {

const QString accepted = QStringLiteral("Loaded 59 valid settings and ignored 1 unknown settings.");

class EmulatorProfiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (testsupport::realEmulator().isEmpty())
            return;
        app = new testsupport::TempFolder;
        testsupport::installRealEmulator(app->path());
        run({}); // with no arguments it writes its configuration and ends
        QByteArray sector(2048, '\0');
        sector.replace(0, 16, "SEGA SEGASATURN ");
        app->write("games/Demo.bin", sector);
        app->write(
            "games/Demo.cue",
            "FILE \"Demo.bin\" BINARY\r\n  TRACK 01 MODE1/2048\r\n    INDEX 01 00:00:00\r\n");
        app->write("games/Saga.m3u", "Demo.cue\r\n");
    }
    static void TearDownTestSuite() {
        delete app;
        app = nullptr;
    }
    void SetUp() override {
        if (!app)
            GTEST_SKIP() << "the emulator is not installed";
        ASSERT_TRUE(QFileInfo::exists(core("mednafen.cfg")));
    }

    static QString core(const QString& name) { return app->file("Core/" + name); }

    static QString run(const QStringList& args) {
        return testsupport::runRealEmulator(app->path(), args);
    }

    // Starts the emulator on a game and returns what it said about the per-game file.
    static QString startOn(const QString& game) {
        return run({"-force_module", "ss", "-which_medium", "0", app->file("games/" + game)});
    }

    static testsupport::TempFolder* app;
};

testsupport::TempFolder* EmulatorProfiles::app = nullptr;

// The configurations the profiles are made from: the emulator's own file, every value of every
// line put in front of it, values that leave list controls without a selection, and odd forms.
std::vector<QStringList> configurations(const QStringList& fresh) {
    std::vector<QStringList> out{fresh};
    auto with = [&](const QStringList& lines) { out.push_back(lines + fresh); };
    for (const auto& [row, value] : settingstest::valuesOfEveryLine())
        with({row->key + value});
    for (const SettingRow& row : settingsTable()) {
        if (row.kind == Kind::WordList || row.kind == Kind::ItemText ||
            row.kind == Kind::ItemIndex) {
            with({row.key + "bogus"});
            with({row.key});
            with({row.key + " " + (row.words ? row.words->last() : QString("none"))});
            if (row.words)
                with({row.key + row.words->last().toUpper()});
        }
    }
    with({"ss.stretch 0", "ss.yscale 3"});
    with({"ss.stretch 0", "ss.yscale 8"});
    with({"ss.stretch 0", "ss.yscale 9"});
    with({"ss.yscale 2.7"});
    with({"ss.yscale 12"});
    with({"ss.scanlines -30"});
    with({"ss.correct_aspect 0"});
    with({"ss.shader IPXNOTY"});
    with({"ss.shader go"});
    with({"ss.shader "});
    with({"ss.cart Auto"});
    with({"ss.forcemono -1"});
    with({"ss.forcemono 2"});
    with({"ss.input.port3 gun", "ss.input.port4 lightgun",
          "ss.input.port1.3dpad.mode.defpos ANALOG"});
    with({"sound yes", "video.fs 2", "ss.h_blend -1", "ss.tblurm 1"});
    with({"sound.volume 999", "ss.scsp.resamp_quality -5", "ss.tblur.accum.amount 0"});
    with({"ss.shader.goat.hdiv 9", "ss.shader.goat.tp -1", "ss.input.mouse_sensitivity 0.001"});
    // Values the emulator accepts that the lists lack: kept as their extra items.
    with({"sound.rate 24000", "video.deinterlacer blend", "ss.cart ar4mp"});
    with({"sound.rate 22051", "video.deinterlacer BLEND_RG", "sound.driver openbsd"});
    with({"sound.rate 8000", "sound.rate 192001"});
    return out;
}

} // namespace

TEST_F(EmulatorProfiles, EveryWrittenProfileLoads) {
    const QStringList fresh = loadConfigLines(QString(), core("mednafen.cfg"));
    ASSERT_GT(fresh.size(), 1000);
    QSet<QString> seen;
    int checked = 0;
    for (const QStringList& config : configurations(fresh)) {
        SettingsModel model;
        ASSERT_EQ(model.applySettings(ConfigView(config), SettingsModel::Missing::ReadAsEmpty),
                  std::nullopt)
            << config.first().toStdString();
        const QStringList profile = model.collectSettings();
        if (config.first() == "sound.rate 24000") { // the extra items are written unchanged
            for (const char* line :
                 {"sound.rate 24000", "video.deinterlacer blend", "ss.cart ar4mp"})
                EXPECT_TRUE(profile.contains(line)) << line;
        }
        const QString joined = profile.join('\n');
        if (seen.contains(joined))
            continue;
        seen.insert(joined);
        writeGameProfile(core("pgconfig/Demo.ss.cfg"), profile);
        const QString said = startOn("Demo.cue");
        EXPECT_TRUE(said.contains(QDir::toNativeSeparators("pgconfig/Demo.ss.cfg")))
            << said.toStdString();
        EXPECT_TRUE(said.contains(accepted) && !said.contains("Failed to load settings"))
            << "made from " << config.first().toStdString() << "\n"
            << said.toStdString();
        ++checked;
    }
    RecordProperty("profiles", checked);
    EXPECT_GT(checked, 150);
    QFile::remove(core("pgconfig/Demo.ss.cfg"));
}

TEST_F(EmulatorProfiles, APlaylistGamesProfileIsTheOneTheEmulatorReads) {
    SettingsModel model;
    Profiles profiles(model, app->path());
    QFile::remove(core("pgconfig/Demo.ss.cfg"));
    profiles.selectGame(app->file("games/Saga.m3u"), "Demo");
    model.setIndex(Ctl::ComboBox1, 2);
    profiles.saveProfile(app->file("games/Saga.m3u"), "Demo");
    EXPECT_FALSE(QFileInfo::exists(core("pgconfig/Demo.ss.cfg")));
    const QString said = startOn("Saga.m3u");
    EXPECT_TRUE(said.contains(QDir::toNativeSeparators("pgconfig/Saga.ss.cfg")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(accepted)) << said.toStdString();
    EXPECT_TRUE(said.contains("Cart: Backup Memory")) << said.toStdString();
}
